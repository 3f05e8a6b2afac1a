#include "Windows1252.h"

namespace Windows1252 {
namespace {

// Codes 0x80..0x9F; 0 marks the unassigned ones. Every other code below 256
// is the Latin-1 character of the same number.
constexpr wchar_t kHighControls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

} // namespace

std::optional<std::int16_t> CodeOf(wchar_t ch) {
    if (ch < 0x80 || (ch >= 0xA0 && ch <= 0xFF))
        return static_cast<std::int16_t>(ch);
    for (int i = 0; i < 32; ++i)
        if (kHighControls[i] != 0 && kHighControls[i] == ch)
            return static_cast<std::int16_t>(0x80 + i);
    return std::nullopt;
}

std::optional<wchar_t> CharOf(std::int16_t code) {
    if (code < 0 || code > 0xFF)
        return std::nullopt;
    if (code < 0x80 || code >= 0xA0)
        return static_cast<wchar_t>(code);
    const wchar_t ch = kHighControls[code - 0x80];
    return ch != 0 ? std::optional<wchar_t>(ch) : std::nullopt;
}

std::optional<wchar_t> CharacterAfterKeyPress(wchar_t typed,
                                              const std::function<void(std::int16_t& keyAscii)>& keyPress) {
    constexpr std::int16_t kStandIn = '?';
    const std::optional<std::int16_t> code = CodeOf(typed);
    std::int16_t keyAscii = code.value_or(kStandIn);
    if (keyPress)
        keyPress(keyAscii);
    if (!code && keyAscii == kStandIn)
        return typed;
    return keyAscii != 0 ? CharOf(keyAscii) : std::nullopt;
}

} // namespace Windows1252
