// Windows-1252 as the ANSI code page of the link tests, with "?" for a
// character it lacks, as the platform's conversion does.
#pragma once

#include "ShellLinkFile.h"
#include "Windows1252.h"

#include <cstdint>
#include <string>
#include <string_view>

inline ShellLinkFile::AnsiText ToWindows1252(std::wstring_view text) {
    ShellLinkFile::AnsiText ansi;
    for (wchar_t ch : text) {
        const auto code = Windows1252::CodeOf(ch);
        ansi.bytes += code ? static_cast<char>(*code) : '?';
        ansi.exact = ansi.exact && code.has_value();
    }
    return ansi;
}

inline std::wstring FromWindows1252(std::string_view bytes) {
    std::wstring text;
    for (char c : bytes)
        text += Windows1252::CharOf(static_cast<std::uint8_t>(c)).value_or(L'?');
    return text;
}
