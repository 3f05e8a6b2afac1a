// Conversion between UTF-16 characters and the Windows-1252 codes in which
// typed characters travel as KeyAscii. Portable: no platform code page is
// consulted, so the mapping is the same on every machine.
#pragma once

#include <cstdint>
#include <optional>

namespace Windows1252 {

// The code of ch, or nothing when Windows-1252 has no such character.
std::optional<std::int16_t> CodeOf(wchar_t ch);
// The character of a code 0..255; nothing for a code outside the page or
// one of the five unassigned codes 0x81, 0x8D, 0x8F, 0x90, 0x9D.
std::optional<wchar_t> CharOf(std::int16_t code);

} // namespace Windows1252
