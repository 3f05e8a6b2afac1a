#include "SourceText.h"

#include "ShellLinkCharacters.h"
#include "ShellLinkFile.h"
#include "Utf8Text.h"

#include <algorithm>

namespace ShellLinkFile {
namespace {

bool IsSeparator(wchar_t c) {
    return c == L'\\' || c == L'/';
}

// Characters no file or folder name may hold.
bool IsValidNameCharacter(wchar_t c) {
    return c >= 0x20 && std::wstring_view(L"<>:\"|?*").find(c) == std::wstring_view::npos;
}

std::wstring Joined(const std::vector<std::wstring>& names, std::size_t first = 0) {
    std::wstring path;
    for (std::size_t i = first; i < names.size(); ++i) {
        if (i > first)
            path += L'\\';
        path += names[i];
    }
    return path;
}

// ---- Sources ----

// A name along a path: no longer than a file system takes, of valid characters.
SourceProblem ProblemOfName(std::wstring_view name) {
    if (name.size() > MaxNameLength)
        return SourceProblem::TooLong;
    for (wchar_t c : name)
        if (!IsValidNameCharacter(c))
            return SourceProblem::InvalidCharacter;
    return SourceProblem::None;
}

bool IsDotName(std::wstring_view name) {
    return name == L"." || name == L"..";
}

// The next name of path from at on, past the separators before it; at
// moves past the name. Empty at the end of path.
std::wstring_view NextName(std::wstring_view path, std::size_t& at) {
    while (at < path.size() && IsSeparator(path[at]))
        ++at;
    const std::size_t start = at;
    while (at < path.size() && !IsSeparator(path[at]))
        ++at;
    return path.substr(start, at - start);
}

// Appends the names of the components of rest to names: repeated
// separators and "." left out, ".." taking away the name before it but
// never one of the first rootNames (the server and share of a share path):
// as Windows resolves a path, ".." at its root stays at the root.
SourceProblem AppendNames(std::wstring_view rest, std::size_t rootNames, std::vector<std::wstring>& names) {
    std::size_t at = 0;
    for (std::wstring_view name = NextName(rest, at); !name.empty(); name = NextName(rest, at)) {
        if (name == L".")
            continue;
        if (name == L"..") {
            if (names.size() > rootNames)
                names.pop_back();
            continue;
        }
        if (const SourceProblem problem = ProblemOfName(name); problem != SourceProblem::None)
            return problem;
        names.emplace_back(name);
    }
    return SourceProblem::None;
}

SourceClassification Refused(SourceProblem problem, std::wstring named = {}) {
    SourceClassification refused;
    refused.problem = problem;
    refused.named = std::move(named);
    return refused;
}

SourceClassification Classified(Source source) {
    SourceClassification classified;
    classified.source = std::move(source);
    return classified;
}

bool EqualsIgnoringAsciiCase(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (AsciiUpper(a[i]) != AsciiUpper(b[i]))
            return false;
    return true;
}

// The share name under which the web-folder redirector serves a web
// server's root.
constexpr std::wstring_view WebFolderRoot = L"DavWWWRoot";

// "C:\rest".
SourceClassification ClassifyLocal(std::wstring_view text) {
    std::vector<std::wstring> names;
    if (const SourceProblem problem = AppendNames(text.substr(3), 0, names); problem != SourceProblem::None)
        return Refused(problem);
    return Classified({SourceKind::LocalDrive, std::wstring{text[0], L':', L'\\'} + Joined(names)});
}

// "\\server\share\rest"; text starts with two separators.
SourceClassification ClassifyShare(std::wstring_view text) {
    const std::wstring_view rest = text.substr(2);
    // "\\.\" and "\\?\" name devices; "\\.srv" is a server.
    if (!rest.empty() && (rest[0] == L'.' || rest[0] == L'?') && (rest.size() == 1 || IsSeparator(rest[1])))
        return Refused(SourceProblem::DevicePath);
    // A third separator at the start leaves the server's name empty.
    if (rest.empty() || IsSeparator(rest[0]))
        return Refused(SourceProblem::NoShare);
    std::size_t at = 0;
    const std::wstring_view server = NextName(rest, at);
    const std::wstring_view share = NextName(rest, at);
    if (share.empty() || IsDotName(server) || IsDotName(share))
        return Refused(SourceProblem::NoShare);
    for (std::wstring_view name : {server, share})
        if (const SourceProblem problem = ProblemOfName(name); problem != SourceProblem::None)
            return Refused(problem);
    std::vector<std::wstring> names{std::wstring(server), std::wstring(share)};
    if (const SourceProblem problem = AppendNames(rest.substr(at), 2, names); problem != SourceProblem::None)
        return Refused(problem);
    Source source{SourceKind::NetworkShare, L"\\\\" + Joined(names)};
    // The environment-variable block holds the whole path.
    if (ToUtf16(source.path).size() >= EnvironmentCharacters)
        return Refused(SourceProblem::TooLong);
    // No SMB server name holds an "@": one that does is the redirector's
    // "host@SSL@port".
    source.webFolder =
        server.find(L'@') != std::wstring_view::npos || EqualsIgnoringAsciiCase(share, WebFolderRoot);
    return Classified(std::move(source));
}

// The length of the scheme of "scheme:...": a letter, then at least one
// more letter, digit, "+", "-" or "." (one letter before the colon is a
// drive); 0 when text starts with none.
std::size_t SchemeLength(std::wstring_view text) {
    const std::size_t colon = text.find(L':');
    if (colon == std::wstring_view::npos || colon < 2 || !IsAsciiLetter(text[0]))
        return 0;
    for (wchar_t c : text.substr(1, colon - 1))
        if (!IsAsciiLetter(c) && !IsAsciiDigit(c) && c != L'+' && c != L'-' && c != L'.')
            return 0;
    return colon;
}

bool IsHexDigit(wchar_t c) {
    return IsAsciiDigit(c) || (c >= L'a' && c <= L'f') || (c >= L'A' && c <= L'F');
}

// "host[:port]" of an address: a host name, or an IPv6 address in
// brackets; a port, when given, a number from 1 to 65535 ("host:" is the
// scheme's own port).
SourceProblem ParseServer(std::wstring_view hostPort, std::wstring_view& host, std::optional<unsigned>& port,
                          std::wstring_view& portText) {
    std::size_t hostEnd = 0;
    if (hostPort.starts_with(L'[')) {
        hostEnd = hostPort.find(L']');
        if (hostEnd == std::wstring_view::npos)
            return SourceProblem::InvalidCharacter;
        for (wchar_t c : hostPort.substr(1, hostEnd - 1))
            if (!IsHexDigit(c) && c != L':' && c != L'.')
                return SourceProblem::InvalidCharacter;
        ++hostEnd;
    } else {
        hostEnd = std::min(hostPort.find(L':'), hostPort.size());
        for (wchar_t c : hostPort.substr(0, hostEnd))
            if (!IsValidNameCharacter(c) || c == L' ' || c == L'\\')
                return SourceProblem::InvalidCharacter;
    }
    host = hostPort.substr(0, hostEnd);
    if (host.empty() || host == L"[]" || IsDotName(host))
        return SourceProblem::AddressWithoutServer;
    std::wstring_view after = hostPort.substr(hostEnd);
    if (after.empty())
        return SourceProblem::None;
    if (after[0] != L':')
        return SourceProblem::InvalidCharacter;
    after.remove_prefix(1);
    if (after.empty())
        return SourceProblem::None;
    portText = after;
    unsigned value = 0;
    for (wchar_t c : after) {
        if (!IsAsciiDigit(c) || value > 65535)
            return SourceProblem::InvalidPort;
        value = value * 10 + static_cast<unsigned>(c - L'0');
    }
    if (value == 0 || value > 65535)
        return SourceProblem::InvalidPort;
    port = value;
    return SourceProblem::None;
}

// "user:password" with a password that is not empty.
bool HoldsPassword(std::wstring_view userInfo) {
    const std::size_t colon = userInfo.find(L':');
    return colon != std::wstring_view::npos && colon + 1 < userInfo.size();
}

// A name of a web address with its "%XX" escapes decoded as UTF-8, the form
// a folder name has; nothing for a broken escape or bytes that are no UTF-8.
std::optional<std::wstring> PercentDecoded(std::wstring_view text) {
    const auto hex = [](wchar_t c) {
        return static_cast<unsigned>(IsAsciiDigit(c) ? c - L'0' : AsciiUpper(c) - L'A' + 10);
    };
    std::wstring decoded;
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] != L'%') {
            decoded += text[i++];
            continue;
        }
        std::string bytes;
        for (; i < text.size() && text[i] == L'%'; i += 3) {
            if (text.size() - i < 3 || !IsHexDigit(text[i + 1]) || !IsHexDigit(text[i + 2]))
                return std::nullopt;
            bytes += static_cast<char>(hex(text[i + 1]) * 16 + hex(text[i + 2]));
        }
        const auto piece = Utf8Text::Decode(bytes);
        if (!piece)
            return std::nullopt;
        decoded += *piece;
    }
    return decoded;
}

// An http or https address in the UNC form of the web-folder redirector,
// "\\host[@SSL][@port]\DavWWWRoot\path", which Windows opens as a folder;
// the scheme's own port (80, 443) is not written.
SourceClassification ClassifyWebAddress(bool secure, std::wstring_view host, std::optional<unsigned> port,
                                        std::wstring_view path) {
    // A query or a fragment names a page, not a folder.
    if (path.find_first_of(L"?#") != std::wstring_view::npos)
        return Refused(SourceProblem::InvalidCharacter);
    std::wstring unc = L"\\\\" + std::wstring(host);
    if (secure)
        unc += L"@SSL";
    if (port && *port != (secure ? 443u : 80u))
        unc += L"@" + std::to_wstring(*port);
    unc += L'\\';
    unc += WebFolderRoot;
    std::size_t at = 0;
    for (std::wstring_view raw = NextName(path, at); !raw.empty(); raw = NextName(path, at)) {
        const auto name = PercentDecoded(raw);
        if (!name || name->find_first_of(L"\\/") != std::wstring::npos)
            return Refused(SourceProblem::InvalidCharacter);
        unc += L'\\' + *name;
    }
    return ClassifyShare(unc);
}

// "scheme://[user[:password]@]host[:port][/path]".
SourceClassification ClassifyAddress(std::wstring_view text, std::size_t schemeLength) {
    const std::wstring_view scheme = text.substr(0, schemeLength);
    const bool ftp = EqualsIgnoringAsciiCase(scheme, L"ftp");
    const bool http = EqualsIgnoringAsciiCase(scheme, L"http");
    const bool https = EqualsIgnoringAsciiCase(scheme, L"https");
    if (!ftp && !http && !https)
        return Refused(SourceProblem::UnsupportedScheme, std::wstring(scheme));
    for (wchar_t c : text)
        if (c < 0x20)
            return Refused(SourceProblem::InvalidCharacter);
    std::wstring_view rest = text.substr(schemeLength + 1);
    if (!rest.starts_with(L"//"))
        return Refused(SourceProblem::AddressWithoutServer);
    rest.remove_prefix(2);
    const std::size_t authorityEnd = std::min(rest.find_first_of(L"/?#"), rest.size());
    const std::wstring_view authority = rest.substr(0, authorityEnd);
    const std::size_t userEnd = authority.rfind(L'@');
    const bool hasUser = userEnd != std::wstring_view::npos;
    std::wstring_view host;
    std::optional<unsigned> port;
    std::wstring_view portText;
    if (const SourceProblem problem =
            ParseServer(hasUser ? authority.substr(userEnd + 1) : authority, host, port, portText);
        problem != SourceProblem::None)
        return Refused(problem,
                       problem == SourceProblem::InvalidPort ? std::wstring(portText) : std::wstring());
    if (!ftp) {
        // The web-folder redirector takes a server's name, not an address
        // in brackets.
        if (host.starts_with(L'['))
            return Refused(SourceProblem::Ipv6WebAddress);
        SourceClassification web = ClassifyWebAddress(https, host, port, rest.substr(authorityEnd));
        if (web.source)
            web.source->userDropped = hasUser;
        return web;
    }
    if (!FitsUrlItem(ToUtf16(text).size()))
        return Refused(SourceProblem::TooLong);
    Source source{SourceKind::Address, std::wstring(text)};
    source.holdsPassword = hasUser && HoldsPassword(authority.substr(0, userEnd));
    return Classified(std::move(source));
}

} // namespace

SourceClassification ClassifySourceText(std::wstring_view text) {
    if (text.empty())
        return Refused(SourceProblem::Empty);
    if (text.find(L'\0') != std::wstring_view::npos)
        return Refused(SourceProblem::InvalidCharacter);
    if (const std::size_t schemeLength = SchemeLength(text))
        return ClassifyAddress(text, schemeLength);
    if (text.size() >= 3 && IsAsciiLetter(text[0]) && text[1] == L':' && IsSeparator(text[2]))
        return ClassifyLocal(text);
    if (text.size() >= 2 && IsSeparator(text[0]) && IsSeparator(text[1]))
        return ClassifyShare(text);
    return Refused(SourceProblem::NotFullPath);
}

std::optional<Source> ClassifySource(std::wstring_view text) {
    return ClassifySourceText(text).source;
}

std::vector<std::wstring> FolderNamesOf(const Source& source) {
    std::vector<std::wstring> names;
    if (source.kind != SourceKind::LocalDrive)
        return names;
    std::size_t at = std::min<std::size_t>(3, source.path.size());
    for (std::wstring_view name = NextName(source.path, at); !name.empty(); name = NextName(source.path, at))
        names.emplace_back(name);
    return names;
}

std::optional<NetworkPath> SplitNetworkPath(std::wstring_view path) {
    if (path.size() < 5 || !IsSeparator(path[0]) || !IsSeparator(path[1]))
        return std::nullopt;
    std::size_t serverEnd = 2;
    while (serverEnd < path.size() && !IsSeparator(path[serverEnd]))
        ++serverEnd;
    if (serverEnd == 2 || serverEnd + 1 >= path.size())
        return std::nullopt; // no server name, or no share after it
    std::size_t shareEnd = serverEnd + 1;
    while (shareEnd < path.size() && !IsSeparator(path[shareEnd]))
        ++shareEnd;
    if (shareEnd == serverEnd + 1)
        return std::nullopt; // "\\server\\..." names no share
    NetworkPath split;
    split.netName = std::wstring(path.substr(0, shareEnd));
    if (shareEnd < path.size())
        split.suffix = std::wstring(path.substr(shareEnd + 1));
    return split;
}

} // namespace ShellLinkFile
