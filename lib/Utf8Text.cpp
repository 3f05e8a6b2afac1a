#include "Utf8Text.h"

namespace Utf8Text {

void AppendCodePoint(std::wstring& text, char32_t codePoint) {
    if (sizeof(wchar_t) == 2 && codePoint > 0xFFFF) {
        const char32_t offset = codePoint - 0x10000;
        text += static_cast<wchar_t>(0xD800 + (offset >> 10));
        text += static_cast<wchar_t>(0xDC00 + (offset & 0x3FF));
    } else {
        text += static_cast<wchar_t>(codePoint);
    }
}

std::optional<std::wstring> Decode(std::string_view bytes) {
    constexpr char32_t Smallest[] = {0, 0x80, 0x800, 0x10000};
    std::wstring text;
    for (std::size_t i = 0; i < bytes.size();) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        std::size_t more = 0;
        if (lead >= 0xC2 && lead <= 0xDF)
            more = 1;
        else if ((lead & 0xF0) == 0xE0)
            more = 2;
        else if (lead >= 0xF0 && lead <= 0xF4)
            more = 3;
        else if (lead >= 0x80)
            return std::nullopt;
        if (bytes.size() - i - 1 < more)
            return std::nullopt;
        char32_t code = more == 0 ? lead : lead & (0x3F >> more);
        for (std::size_t k = 1; k <= more; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + k]);
            if ((next & 0xC0) != 0x80)
                return std::nullopt;
            code = code << 6 | (next & 0x3F);
        }
        if (code < Smallest[more] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return std::nullopt;
        AppendCodePoint(text, code);
        i += more + 1;
    }
    return text;
}

} // namespace Utf8Text
