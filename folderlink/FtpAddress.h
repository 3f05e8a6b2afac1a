// The server part of an FTP address such as ftp://user@host:2121/dir.
// Portable.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct FtpServer {
    std::wstring host; // a name or an address; an IPv6 address without its brackets
    std::uint16_t port = 21;
};

// Nothing when source does not start with "ftp://" (any case) or names no
// host or an invalid port.
std::optional<FtpServer> FtpServerOf(std::wstring_view source);
