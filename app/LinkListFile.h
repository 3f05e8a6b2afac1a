// The list file of "/create /from": one folder link per line, SOURCE, a tab,
// TARGET. Portable: the caller reads the file's bytes.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

struct LinkListLine {
    std::size_t lineNumber = 0; // counted from 1
    std::wstring source;
    std::wstring target;
    std::wstring error; // why the line names no link, in German; empty when it does
};

// Every line that is neither blank nor a comment (its first non-blank
// character "#"), in file order. The text is UTF-8, with or without a
// byte-order mark, or UTF-16 (little-endian) with its byte-order mark. Lines
// end in LF or CR LF; blanks around each field are dropped. A line that cannot
// be read is reported with its error and never affects the others.
std::vector<LinkListLine> ParseLinkList(std::string_view bytes);
