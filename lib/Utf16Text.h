// Cutting UTF-16 text without splitting a character: a character outside the
// Basic Multilingual Plane (most emoji, many CJK additions) is a surrogate
// pair of two code units, and a cut between them leaves two halves that no
// font draws and no conversion to UTF-8 keeps. Portable.
#pragma once

#include <cstddef>
#include <string_view>

namespace Utf16Text {

// at, or one less where at falls between the two halves of a surrogate pair.
// at must not exceed text.size().
std::size_t BoundaryAtOrBefore(std::wstring_view text, std::size_t at);

// at, or one more where at falls between the two halves of a surrogate pair.
// at must not exceed text.size().
std::size_t BoundaryAtOrAfter(std::wstring_view text, std::size_t at);

// The end of the piece of text that starts at begin (a boundary) and holds at
// most cchMax code units without splitting a character. Past begin whenever
// text goes on past it: a pair is kept whole even when cchMax is 1.
std::size_t PieceEnd(std::wstring_view text, std::size_t begin, std::size_t cchMax);

} // namespace Utf16Text
