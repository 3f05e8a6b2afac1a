#include "LinkListFile.h"

#include <algorithm>
#include <optional>

namespace {

void AppendCodePoint(std::wstring& text, char32_t codePoint) {
    if constexpr (sizeof(wchar_t) == 2) {
        if (codePoint > 0xFFFF) {
            codePoint -= 0x10000;
            text += static_cast<wchar_t>(0xD800 + (codePoint >> 10));
            text += static_cast<wchar_t>(0xDC00 + (codePoint & 0x3FF));
            return;
        }
    }
    text += static_cast<wchar_t>(codePoint);
}

bool IsSurrogate(char32_t codePoint) {
    return codePoint >= 0xD800 && codePoint <= 0xDFFF;
}

// Strict UTF-8: no overlong forms, no surrogates, nothing beyond U+10FFFF.
std::optional<std::wstring> DecodeUtf8(std::string_view bytes) {
    std::wstring text;
    for (std::size_t i = 0; i < bytes.size();) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        std::size_t length = 0;
        char32_t codePoint = 0;
        char32_t smallest = 0;
        if (lead < 0x80) {
            length = 1;
            codePoint = lead;
        } else if ((lead & 0xE0) == 0xC0) {
            length = 2;
            codePoint = lead & 0x1F;
            smallest = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3;
            codePoint = lead & 0x0F;
            smallest = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4;
            codePoint = lead & 0x07;
            smallest = 0x10000;
        } else {
            return std::nullopt;
        }
        if (bytes.size() - i < length)
            return std::nullopt;
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + k]);
            if ((next & 0xC0) != 0x80)
                return std::nullopt;
            codePoint = (codePoint << 6) | (next & 0x3F);
        }
        if (codePoint < smallest || codePoint > 0x10FFFF || IsSurrogate(codePoint))
            return std::nullopt;
        AppendCodePoint(text, codePoint);
        i += length;
    }
    return text;
}

// Little-endian UTF-16; an unpaired surrogate or an odd byte makes it fail.
std::optional<std::wstring> DecodeUtf16(std::string_view bytes) {
    if (bytes.size() % 2 != 0)
        return std::nullopt;
    const auto unitAt = [&bytes](std::size_t i) -> char32_t {
        return static_cast<unsigned char>(bytes[i]) | (static_cast<unsigned char>(bytes[i + 1]) << 8);
    };
    std::wstring text;
    for (std::size_t i = 0; i < bytes.size(); i += 2) {
        const char32_t unit = unitAt(i);
        if (!IsSurrogate(unit)) {
            AppendCodePoint(text, unit);
            continue;
        }
        if (unit >= 0xDC00 || i + 4 > bytes.size())
            return std::nullopt;
        const char32_t low = unitAt(i + 2);
        if (low < 0xDC00 || low > 0xDFFF)
            return std::nullopt;
        AppendCodePoint(text, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
        i += 2;
    }
    return text;
}

bool IsBlankCharacter(wchar_t ch) {
    return ch == L' ' || ch == L'\t';
}

std::wstring TrimBlanks(std::wstring_view text) {
    const auto first = text.find_first_not_of(L' ');
    if (first == std::wstring_view::npos)
        return {};
    return std::wstring(text.substr(first, text.find_last_not_of(L' ') - first + 1));
}

// A decoded line without its line end: nothing for a blank or comment line.
std::optional<LinkListLine> ReadLine(std::size_t lineNumber, const std::optional<std::wstring>& decoded) {
    LinkListLine line;
    line.lineNumber = lineNumber;
    if (!decoded) {
        line.error = L"Die Zeile enthält ungültig kodierte Zeichen (erwartet wird UTF-8).";
        return line;
    }
    const std::wstring& text = *decoded;
    const auto firstVisible = std::find_if_not(text.begin(), text.end(), IsBlankCharacter);
    if (firstVisible == text.end() || *firstVisible == L'#')
        return std::nullopt;
    if (text.find(L'\0') != std::wstring::npos) {
        line.error = L"Die Zeile enthält ein NUL-Zeichen.";
        return line;
    }
    const auto tab = text.find(L'\t');
    if (tab == std::wstring::npos) {
        line.error = L"Quelle und Ziel sind nicht durch einen Tabulator getrennt.";
        return line;
    }
    if (text.find(L'\t', tab + 1) != std::wstring::npos) {
        line.error = L"Die Zeile enthält mehr als einen Tabulator.";
        return line;
    }
    line.source = TrimBlanks(std::wstring_view(text).substr(0, tab));
    line.target = TrimBlanks(std::wstring_view(text).substr(tab + 1));
    if (line.source.empty())
        line.error = L"Die Quelle fehlt.";
    else if (line.target.empty())
        line.error = L"Das Ziel fehlt.";
    return line;
}

} // namespace

std::vector<LinkListLine> ParseLinkList(std::string_view bytes) {
    const bool utf16 = bytes.starts_with("\xFF\xFE");
    if (utf16)
        bytes.remove_prefix(2);
    else if (bytes.starts_with("\xEF\xBB\xBF"))
        bytes.remove_prefix(3);

    // A line feed is one byte in UTF-8 and the unit 0A 00 in UTF-16, and
    // neither occurs inside another character: lines split before decoding,
    // so a damaged line leaves its neighbours readable.
    const std::string_view lineFeed = utf16 ? std::string_view("\n\0", 2) : std::string_view("\n");
    const std::string_view carriageReturn = utf16 ? std::string_view("\r\0", 2) : std::string_view("\r");
    std::vector<LinkListLine> lines;
    std::size_t lineNumber = 0;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = start;
        while (end < bytes.size() && bytes.substr(end, lineFeed.size()) != lineFeed)
            end += lineFeed.size();
        std::string_view raw = bytes.substr(start, end - start);
        if (raw.ends_with(carriageReturn))
            raw.remove_suffix(carriageReturn.size());
        if (auto line = ReadLine(++lineNumber, utf16 ? DecodeUtf16(raw) : DecodeUtf8(raw)))
            lines.push_back(std::move(*line));
        start = end + lineFeed.size();
    }
    return lines;
}
