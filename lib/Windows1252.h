// Conversion between UTF-16 characters and the Windows-1252 codes in which
// typed characters travel as KeyAscii. Portable: no platform code page is
// consulted, so the mapping is the same on every machine.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>

namespace Windows1252 {

// The code of ch, or nothing when Windows-1252 has no such character.
std::optional<std::int16_t> CodeOf(wchar_t ch);
// The character of a code 0..255; nothing for a code outside the page or
// one of the five unassigned codes 0x81, 0x8D, 0x8F, 0x90, 0x9D.
std::optional<wchar_t> CharOf(std::int16_t code);

// A typed character through a KeyPress handler, which sees it as its code
// (KeyAscii) and may change that code: returns the character to insert, or
// nothing for 0 and for a value that names no character. A character without
// a code reaches the handler as "?", as a conversion to the code page gives
// it, so that the key filters still decide on it; left as "?", it is inserted
// as typed, never turned into the question mark. Without a handler the typed
// character comes back.
std::optional<wchar_t> CharacterAfterKeyPress(wchar_t typed,
                                              const std::function<void(std::int16_t& keyAscii)>& keyPress);

} // namespace Windows1252
