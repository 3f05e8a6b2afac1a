#include "Utf16Text.h"

#include <algorithm>

namespace Utf16Text {
namespace {

bool IsHighSurrogate(wchar_t ch) {
    return ch >= 0xD800 && ch <= 0xDBFF;
}

bool IsLowSurrogate(wchar_t ch) {
    return ch >= 0xDC00 && ch <= 0xDFFF;
}

// Only a well-formed pair is held together: a lone half stays a unit of its
// own, so that cutting next to it never swallows its neighbour.
bool InsidePair(std::wstring_view text, std::size_t at) {
    return at > 0 && at < text.size() && IsHighSurrogate(text[at - 1]) && IsLowSurrogate(text[at]);
}

} // namespace

std::size_t BoundaryAtOrBefore(std::wstring_view text, std::size_t at) {
    return InsidePair(text, at) ? at - 1 : at;
}

std::size_t BoundaryAtOrAfter(std::wstring_view text, std::size_t at) {
    return InsidePair(text, at) ? at + 1 : at;
}

std::size_t PieceEnd(std::wstring_view text, std::size_t begin, std::size_t cchMax) {
    const std::size_t end = begin + std::min(cchMax, text.size() - begin);
    const std::size_t cut = BoundaryAtOrBefore(text, end);
    return cut > begin ? cut : BoundaryAtOrAfter(text, std::min(begin + 1, text.size()));
}

} // namespace Utf16Text
