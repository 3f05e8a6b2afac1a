#include "Utf8Text.h"

namespace Utf8Text {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// The character at text[at], moving at past it: a surrogate pair where
// wchar_t has 16 bits; a lone half, or no character at all, as U+FFFD.
char32_t NextCodePoint(std::wstring_view text, std::size_t& at) {
    const auto unit = static_cast<char32_t>(text[at++]);
    if (unit >= 0xD800 && unit <= 0xDBFF && sizeof(wchar_t) == 2 && at < text.size()) {
        const auto low = static_cast<char32_t>(text[at]);
        if (low >= 0xDC00 && low <= 0xDFFF) {
            ++at;
            return 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
        }
    }
    if ((unit >= 0xD800 && unit <= 0xDFFF) || unit > 0x10FFFF)
        return kReplacement;
    return unit;
}

// The bytes of codePoint into bytes; returns how many.
std::size_t Bytes(char32_t codePoint, char (&bytes)[4]) {
    if (codePoint < 0x80) {
        bytes[0] = static_cast<char>(codePoint);
        return 1;
    }
    const std::size_t count = codePoint < 0x800 ? 2 : codePoint < 0x10000 ? 3 : 4;
    constexpr unsigned char Lead[] = {0, 0, 0xC0, 0xE0, 0xF0};
    for (std::size_t k = count - 1; k > 0; --k) {
        bytes[k] = static_cast<char>(0x80 | (codePoint & 0x3F));
        codePoint >>= 6;
    }
    bytes[0] = static_cast<char>(Lead[count] | codePoint);
    return count;
}

} // namespace

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

std::string Encode(std::wstring_view text) {
    std::string bytes;
    bytes.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        char character[4];
        bytes.append(character, Bytes(NextCodePoint(text, at), character));
    }
    return bytes;
}

std::size_t EncodeInto(std::wstring_view text, char* out, std::size_t capacity) {
    std::size_t written = 0;
    for (std::size_t at = 0; at < text.size();) {
        char character[4];
        const std::size_t count = Bytes(NextCodePoint(text, at), character);
        if (count > capacity - written)
            break;
        for (std::size_t k = 0; k < count; ++k)
            out[written++] = character[k];
    }
    return written;
}

} // namespace Utf8Text
