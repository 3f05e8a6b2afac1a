#include "LetterCase.h"

namespace LetterCase {
namespace {

bool Between(wchar_t ch, wchar_t from, wchar_t to) {
    return ch >= from && ch <= to;
}

// Latin Extended-A pairs each capital (even code) with its small letter (odd
// code), except in U+0139..U+0148 and U+0179..U+017E where the capital is odd.
bool IsOddCapitalRange(wchar_t ch) {
    return Between(ch, 0x0139, 0x0148) || Between(ch, 0x0179, 0x017E);
}
bool IsPairedExtendedA(wchar_t ch) {
    // U+0130/U+0131 (dotted and dotless i), U+0138 (kra), U+0149 and U+017F
    // have no simple partner.
    return Between(ch, 0x0100, 0x017E) && ch != 0x0130 && ch != 0x0131 && ch != 0x0138 && ch != 0x0149;
}
bool IsCapitalExtendedA(wchar_t ch) {
    return IsOddCapitalRange(ch) ? (ch % 2) == 1 : (ch % 2) == 0;
}

} // namespace

wchar_t Upper(wchar_t ch) {
    if (Between(ch, L'a', L'z'))
        return static_cast<wchar_t>(ch - 0x20);
    // à..þ without ÷; ß has no single capital and stays.
    if (Between(ch, 0x00E0, 0x00FE) && ch != 0x00F7)
        return static_cast<wchar_t>(ch - 0x20);
    if (ch == 0x00FF)
        return 0x0178;
    if (IsPairedExtendedA(ch) && !IsCapitalExtendedA(ch))
        return static_cast<wchar_t>(ch - 1);
    if (Between(ch, 0x03B1, 0x03C9) && ch != 0x03C2) // Greek; final sigma stays
        return static_cast<wchar_t>(ch - 0x20);
    if (Between(ch, 0x0430, 0x044F))
        return static_cast<wchar_t>(ch - 0x20);
    if (Between(ch, 0x0450, 0x045F))
        return static_cast<wchar_t>(ch - 0x50);
    return ch;
}

wchar_t Lower(wchar_t ch) {
    if (Between(ch, L'A', L'Z'))
        return static_cast<wchar_t>(ch + 0x20);
    if (Between(ch, 0x00C0, 0x00DE) && ch != 0x00D7)
        return static_cast<wchar_t>(ch + 0x20);
    if (ch == 0x0178)
        return 0x00FF;
    if (IsPairedExtendedA(ch) && IsCapitalExtendedA(ch))
        return static_cast<wchar_t>(ch + 1);
    if (Between(ch, 0x0391, 0x03A9) && ch != 0x03A2)
        return static_cast<wchar_t>(ch + 0x20);
    if (Between(ch, 0x0410, 0x042F))
        return static_cast<wchar_t>(ch + 0x20);
    if (Between(ch, 0x0400, 0x040F))
        return static_cast<wchar_t>(ch + 0x50);
    return ch;
}

std::wstring ToUpper(std::wstring text) {
    for (wchar_t& ch : text)
        ch = Upper(ch);
    return text;
}

std::wstring ToLower(std::wstring text) {
    for (wchar_t& ch : text)
        ch = Lower(ch);
    return text;
}

} // namespace LetterCase
