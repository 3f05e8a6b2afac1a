#include "FtpAddress.h"

#include <algorithm>

namespace {

bool StartsWithIgnoringCase(std::wstring_view text, std::wstring_view prefix) {
    if (text.size() < prefix.size())
        return false;
    return std::equal(prefix.begin(), prefix.end(), text.begin(), [](wchar_t p, wchar_t t) {
        return p == (t >= L'A' && t <= L'Z' ? t - L'A' + L'a' : t);
    });
}

std::optional<std::uint16_t> ParsePort(std::wstring_view digits) {
    if (digits.empty() || digits.size() > 5 ||
        !std::all_of(digits.begin(), digits.end(), [](wchar_t ch) { return ch >= L'0' && ch <= L'9'; }))
        return std::nullopt;
    unsigned port = 0;
    for (const wchar_t digit : digits)
        port = port * 10 + static_cast<unsigned>(digit - L'0');
    if (port == 0 || port > 65535)
        return std::nullopt;
    return static_cast<std::uint16_t>(port);
}

} // namespace

std::optional<FtpServer> FtpServerOf(std::wstring_view source) {
    constexpr std::wstring_view scheme = L"ftp://";
    if (!StartsWithIgnoringCase(source, scheme))
        return std::nullopt;
    std::wstring_view authority = source.substr(scheme.size());
    authority = authority.substr(0, authority.find_first_of(L"/\\?#"));
    if (const auto at = authority.rfind(L'@'); at != std::wstring_view::npos)
        authority.remove_prefix(at + 1);

    // An empty port after the colon means the default one.
    FtpServer server;
    std::wstring_view portText;
    if (authority.starts_with(L'[')) {
        const auto close = authority.find(L']');
        if (close == std::wstring_view::npos)
            return std::nullopt;
        server.host = authority.substr(1, close - 1);
        const std::wstring_view rest = authority.substr(close + 1);
        if (!rest.empty() && !rest.starts_with(L':'))
            return std::nullopt;
        portText = rest.substr(rest.empty() ? 0 : 1);
    } else {
        const auto colon = authority.find(L':');
        server.host = authority.substr(0, colon);
        if (colon != std::wstring_view::npos)
            portText = authority.substr(colon + 1);
    }
    if (server.host.empty())
        return std::nullopt;
    if (!portText.empty()) {
        const auto port = ParsePort(portText);
        if (!port)
            return std::nullopt;
        server.port = *port;
    }
    return server;
}
