// UTF-8 and the program's wide strings. Decoding is strict: what is no
// well-formed UTF-8 is refused rather than guessed at. Encoding writes a
// lone surrogate half as U+FFFD, as the platform's own conversion does.
// Portable.
#pragma once

#include <cstddef>
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

// The UTF-8 bytes of text.
std::string Encode(std::wstring_view text);

// Encode without allocating, for a writer that must not touch the heap (the
// crash report): as many whole characters of text as fit into the capacity
// bytes at out; returns the number of bytes written.
std::size_t EncodeInto(std::wstring_view text, char* out, std::size_t capacity);

} // namespace Utf8Text
