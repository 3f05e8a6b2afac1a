// A source read from text, before any link is written: its kind (a local
// path, a share, an address), the form it is recorded in, and why a text
// names none; the folder names of a local path and the share of a network
// path. Portable. It lives in the link file's namespace, whose records it
// fills.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ShellLinkFile {

enum class SourceKind { LocalDrive, NetworkShare, Address };

// Why a text names no source a link can record so that Windows follows it.
enum class SourceProblem {
    None,
    Empty,
    NotFullPath,          // relative, "\dir" without a drive, or "C:dir"
    InvalidCharacter,     // a NUL, or a character no name may hold; in a web address also a query or fragment
    NoShare,              // a share path whose server or share is missing ("\\\srv\share") or "." or ".."
    DevicePath,           // "\\.\..." or "\\?\..."
    AddressWithoutServer, // "ftp:", "ftp:/x", "http://"
    InvalidPort,          // a port that is no number from 1 to 65535
    Ipv6WebAddress,       // a web address whose server is an IPv6 address: no web folder can name it
    UnsupportedScheme,    // an address of another scheme than ftp, http and https
    TooLong,              // a name longer than 255 characters, or a path or address too long for its record
};

// A source in the form it is recorded in:
//  - a local path with "\" separators, no repeated or trailing separator and
//    no "." or ".." component ("C:\a\..\b" is "C:\b"; ".." at the root stays
//    there, as Windows resolves it);
//  - a share path likewise ("//srv/share/docs" is "\\srv\share\docs"), whose
//    server and share stay as typed ("\\srv\share\..\x" is "\\srv\share\x");
//  - an ftp address as typed;
//  - an http or https address as the share of Windows' web-folder
//    redirector, which opens it as a folder (Windows needs its WebClient
//    service for it): "\\host[@SSL][@port]\DavWWWRoot\path", "@SSL" for
//    https, the port only when it is not the scheme's own (80, 443), the
//    path's "%XX" escapes decoded; a user name or password in the address
//    is not part of that form (Windows asks for them when it opens the
//    folder).
// A recorded form classifies again to itself.
struct Source {
    SourceKind kind = SourceKind::LocalDrive;
    std::wstring path;
    bool webFolder = false;     // a share of the web-folder redirector (a server with "@", or DavWWWRoot)
    bool holdsPassword = false; // an ftp address with a password, which the link would keep readable
    bool userDropped = false;   // a web address's user name (and password), which the web folder leaves out
};

// A source, or why the text names none (named: what the refusal names, as
// typed: the scheme of UnsupportedScheme, the port of InvalidPort).
struct SourceClassification {
    std::optional<Source> source;
    SourceProblem problem = SourceProblem::None;
    std::wstring named;
};

// The kind of a source and its recorded form, decided once, from a text
// the caller has trimmed and unquoted.
SourceClassification ClassifySourceText(std::wstring_view text);

// ClassifySourceText(text).source.
std::optional<Source> ClassifySource(std::wstring_view text);

// The folder names of a local path below its drive root, in order
// ("C:\a\b" gives "a", "b"); empty for anything else.
std::vector<std::wstring> FolderNamesOf(const Source& source);

// "\\server\share\rest" split into "\\server\share" and "rest" (empty when
// the path ends at the share).
struct NetworkPath {
    std::wstring netName;
    std::wstring suffix;
};
std::optional<NetworkPath> SplitNetworkPath(std::wstring_view path);

} // namespace ShellLinkFile
