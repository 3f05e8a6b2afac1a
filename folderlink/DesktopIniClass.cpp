#include "DesktopIniClass.h"

#include <string>

namespace {

// The text with every character outside ASCII replaced by "?": the names
// compared here are ASCII, so nothing else needs decoding.
std::wstring AsciiText(std::string_view bytes) {
    std::wstring text;
    const bool utf16 = bytes.starts_with("\xFF\xFE");
    if (utf16) {
        for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
            const unsigned unit =
                static_cast<unsigned char>(bytes[i]) | (static_cast<unsigned char>(bytes[i + 1]) << 8);
            text += unit < 0x80 ? static_cast<wchar_t>(unit) : L'?';
        }
        return text;
    }
    if (bytes.starts_with("\xEF\xBB\xBF"))
        bytes.remove_prefix(3);
    for (const char byte : bytes)
        text += static_cast<unsigned char>(byte) < 0x80 ? static_cast<wchar_t>(byte) : L'?';
    return text;
}

std::wstring Trimmed(std::wstring_view text) {
    const auto first = text.find_first_not_of(L" \t");
    if (first == std::wstring_view::npos)
        return {};
    return std::wstring(text.substr(first, text.find_last_not_of(L" \t") - first + 1));
}

bool SameIgnoringCase(std::wstring_view a, std::wstring_view b) {
    const auto lower = [](wchar_t ch) { return ch >= L'A' && ch <= L'Z' ? ch - L'A' + L'a' : ch; };
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i]))
            return false;
    return true;
}

} // namespace

bool NamesFolderShortcutClass(std::string_view desktopIniBytes) {
    const std::wstring text = AsciiText(desktopIniBytes);
    bool inShellClassInfo = false;
    std::size_t start = 0;
    while (start <= text.size()) {
        auto end = text.find_first_of(L"\r\n", start);
        if (end == std::wstring::npos)
            end = text.size();
        const std::wstring line = Trimmed(std::wstring_view(text).substr(start, end - start));
        start = end + 1;
        if (line.starts_with(L'[')) {
            const auto close = line.find(L']');
            inShellClassInfo = close != std::wstring::npos &&
                               SameIgnoringCase(Trimmed(line.substr(1, close - 1)), L".ShellClassInfo");
            continue;
        }
        const auto equals = line.find(L'=');
        if (!inShellClassInfo || equals == std::wstring::npos)
            continue;
        const std::wstring key = Trimmed(std::wstring_view(line).substr(0, equals));
        if ((SameIgnoringCase(key, L"CLSID2") || SameIgnoringCase(key, L"CLSID")) &&
            SameIgnoringCase(Trimmed(std::wstring_view(line).substr(equals + 1)), FolderShortcutClass))
            return true;
    }
    return false;
}
