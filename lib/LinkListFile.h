// The list file of "/create /from", "/sync" and the manager's import and
// export: one folder link per line, SOURCE, a tab, TARGET. Portable: the
// caller reads the file's bytes and supplies the environment variables.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The largest list file read: one of a hundred thousand links is well below it.
inline constexpr std::size_t cbLargestLinkList = 64u << 20;

struct LinkListLine {
    std::size_t lineNumber = 0; // counted from 1
    std::wstring source;
    std::wstring target;
    std::wstring error; // why the line names no link, in German; empty when it does
};

// How the file's bytes were read. Windows1252 is what older Notepad saves as
// "ANSI": a text without byte-order mark that is no valid UTF-8.
enum class LinkListEncoding { Utf8, Utf8WithBom, Utf16Le, Utf16Be, Windows1252 };

struct LinkList {
    LinkListEncoding encoding = LinkListEncoding::Utf8;
    std::vector<LinkListLine> lines;
};

// The value of the environment variable name, or nothing when it is not set.
using VariableLookup = std::function<std::optional<std::wstring>(std::wstring_view name)>;

// Every line that is neither blank nor a comment (its first non-blank
// character "#"), in file order. The text is UTF-16 (little-endian) when it
// starts with that byte-order mark, UTF-8 when it starts with UTF-8's, and
// without a mark UTF-8 unless a line that is no comment is invalid UTF-8:
// then the whole file is Windows-1252. Comments are never decoded, so their
// bytes never decide anything. Lines end in LF, CR LF or LF after several CRs;
// blanks around each field are dropped.
//
// Each field's "%NAME%" is replaced by the variable's value before anything
// else is judged, and "%%" by "%"; a variable that lookUpVariable does not
// know, or a "%" without its closing one, refuses the line. A line that cannot be read is reported with its
// error and never affects the others.
LinkList ParseLinkList(std::string_view bytes, const VariableLookup& lookUpVariable);

// path with each "%" written as "%%": the form in which a list file holds a
// path that is to be taken literally.
std::wstring EscapePercent(std::wstring_view path);

// A folder link as a list file names it: its source and its target, both as
// they are meant (no variable in them).
struct LinkListEntry {
    std::wstring source;
    std::wstring target;
};

// The bytes of a list file that ParseLinkList reads back as entries: UTF-8
// with byte-order mark, a comment line "# " + comment first, then one line
// per entry, every "%" escaped, each line ending in CR LF. A field holds no
// tab or line end (a path cannot, nor a source read from a link).
std::string WriteLinkList(std::wstring_view comment, const std::vector<LinkListEntry>& entries);
