// Decoding UTF-8 into the program's wide strings, strictly: what is no
// well-formed UTF-8 is refused rather than guessed at. Portable.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace Utf8Text {

// Appends the code point to text: as a surrogate pair where wchar_t has 16
// bits (Windows), as one character where it has 32.
void AppendCodePoint(std::wstring& text, char32_t codePoint);

// The text the bytes hold; nothing for an overlong form, a surrogate, a code
// point beyond U+10FFFF or a sequence that is cut off or malformed.
std::optional<std::wstring> Decode(std::string_view bytes);

} // namespace Utf8Text
