// Characters as both the link file and the reading of a source as text count
// them: ASCII letters and digits, the longest name, UTF-16 code units. Portable;
// shared by ShellLinkFile.cpp and SourceText.cpp only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace ShellLinkFile {

// The longest name a file system takes, and a folder item records.
inline constexpr std::size_t MaxNameLength = 255;

inline bool IsAsciiLetter(wchar_t c) {
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z');
}

inline bool IsAsciiDigit(wchar_t c) {
    return c >= L'0' && c <= L'9';
}

inline wchar_t AsciiUpper(wchar_t c) {
    return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - L'a' + L'A') : c;
}

// The file stores UTF-16 whatever the width of wchar_t on the building system.
inline std::u16string ToUtf16(std::wstring_view text) {
    std::u16string utf16;
    utf16.reserve(text.size());
    for (wchar_t ch : text) {
        const auto code = static_cast<std::uint32_t>(ch);
        if (code > 0xFFFF) {
            const std::uint32_t offset = code - 0x10000;
            utf16 += static_cast<char16_t>(0xD800 + (offset >> 10));
            utf16 += static_cast<char16_t>(0xDC00 + (offset & 0x3FF));
        } else {
            utf16 += static_cast<char16_t>(code);
        }
    }
    return utf16;
}

} // namespace ShellLinkFile
