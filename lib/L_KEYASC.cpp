#include "L_KEYASC.h"

#include "Windows1252.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace L_KEYASC {
namespace {

constexpr KeyAscii kCtrlC = 3, kBackspace = 8, kTab = 9, kEnter = 13, kCtrlV = 22, kCtrlX = 24;
constexpr KeyAscii kUpperA = 196, kUpperO = 214, kUpperU = 220; // Ä Ö Ü
constexpr KeyAscii kLowerA = 228, kLowerO = 246, kLowerU = 252; // ä ö ü

bool IsEditingKey(KeyAscii k) {
    return k == kCtrlC || k == kBackspace || k == kTab || k == kEnter || k == kCtrlV || k == kCtrlX;
}
bool InRange(KeyAscii k, char from, char to) {
    return k >= from && k <= to;
}
bool IsDigit(KeyAscii k) {
    return InRange(k, '0', '9');
}

// The umlaut pair of k, or 0 when k is not one of the six umlauts.
KeyAscii UpperUmlaut(KeyAscii k) {
    if (k == kUpperA || k == kLowerA)
        return kUpperA;
    if (k == kUpperO || k == kLowerO)
        return kUpperO;
    if (k == kUpperU || k == kLowerU)
        return kUpperU;
    return 0;
}
KeyAscii LowerUmlaut(KeyAscii k) {
    const KeyAscii upper = UpperUmlaut(k);
    return upper == 0 ? 0 : static_cast<KeyAscii>(upper + 32);
}

// Steps shared by KeyAscUpper and KeyAscUpperDigits: true when k was decided.
bool UpperLettersAndUmlauts(KeyAscii& k, bool allowUmlauts) {
    if (InRange(k, 'a', 'z')) {
        k = static_cast<KeyAscii>(k - 32);
        return true;
    }
    if (InRange(k, 'A', 'Z'))
        return true;
    if (const KeyAscii upper = UpperUmlaut(k)) {
        k = allowUmlauts ? upper : 0;
        return true;
    }
    return false;
}

bool Passes(KeyAscii k) {
    return k != 0;
}

// Whether the character of code k occurs in text (exact comparison).
bool ContainsChar(const std::wstring& text, KeyAscii k) {
    const auto ch = Windows1252::CharOf(k);
    return ch && text.find(*ch) != std::wstring::npos;
}

// A separator that has no Windows-1252 code can never be typed; -1 matches no key.
KeyAscii CodeOf(const std::wstring& oneChar) {
    return Windows1252::CodeOf(oneChar[0]).value_or(-1);
}

} // namespace

bool KeyAscUpper(KeyAscii& k, bool lettersOnly, bool allowUmlauts) {
    if (!UpperLettersAndUmlauts(k, allowUmlauts) && lettersOnly && !IsEditingKey(k))
        k = 0;
    return Passes(k);
}

bool KeyAscLower(KeyAscii& k, bool lettersOnly, bool allowUmlauts) {
    if (InRange(k, 'A', 'Z'))
        k = static_cast<KeyAscii>(k + 32);
    else if (InRange(k, 'a', 'z'))
        ;
    else if (const KeyAscii lower = LowerUmlaut(k))
        k = allowUmlauts ? lower : 0;
    else if (lettersOnly && !IsEditingKey(k))
        k = 0;
    return Passes(k);
}

bool KeyAscUpperDigits(KeyAscii& k, bool allowUmlauts) {
    if (!UpperLettersAndUmlauts(k, allowUmlauts) && !IsEditingKey(k) && !IsDigit(k))
        k = 0;
    return Passes(k);
}

bool KeyAscFloat(KeyAscii& k) {
    if (k == '.')
        k = ',';
    else if (!IsDigit(k) && !IsEditingKey(k) && k != ',' && k != '+' && k != '-' && k != 'E' && k != 'e')
        k = 0;
    return Passes(k);
}

bool KeyAscDate(KeyAscii& k) {
    if (k == ',' || k == '.' || k == '/')
        k = '-';
    else if (!IsDigit(k) && !IsEditingKey(k) && k != ' ' && k != ':' && k != '-' && k != 'A' && k != 'P' &&
             k != 'M' && k != 'a' && k != 'p' && k != 'm')
        k = 0;
    return Passes(k);
}

bool KeyAscTime(KeyAscii& k) {
    if (!IsDigit(k) && !IsEditingKey(k) && k != ':')
        k = 0;
    return Passes(k);
}

bool KeyAscInteger(KeyAscii& k) {
    if (!IsDigit(k) && !IsEditingKey(k) && k != '+' && k != '-')
        k = 0;
    return Passes(k);
}

bool KeyAscHex(KeyAscii& k) {
    if (InRange(k, 'a', 'f'))
        k = static_cast<KeyAscii>(k - 32);
    if (!IsDigit(k) && !IsEditingKey(k) && !InRange(k, 'A', 'F'))
        k = 0;
    return Passes(k);
}

bool KeyAscHexPrefix(KeyAscii& k) {
    if (InRange(k, 'a', 'f'))
        k = static_cast<KeyAscii>(k - 32);
    if (k == 'X' || k == 'x')
        k = 'x';
    else if (k == 'H' || k == 'h')
        k = 'H';
    else if (k != '&' && !IsDigit(k) && !IsEditingKey(k) && !InRange(k, 'A', 'F'))
        k = 0;
    return Passes(k);
}

bool KeyAscMask(KeyAscii& k, const std::wstring& textMask) {
    if (!IsEditingKey(k) && textMask != L"*" && !ContainsChar(textMask, k))
        k = 0;
    return Passes(k);
}

void KeyAscOnce(KeyAscii& k, KeyAscii limited, const std::wstring& currentText) {
    if (k == limited && ContainsChar(currentText, limited))
        k = 0;
}

bool KeyAscDecimal(KeyAscii& k, const std::wstring& currentText) {
    std::wstring decimalSep, thousandsSep;
    if (!GetNumberSeparators(decimalSep, thousandsSep)) {
        decimalSep = L",";
        thousandsSep = L".";
    }
    const KeyAscii decimal = CodeOf(decimalSep), thousands = CodeOf(thousandsSep);

    if (k != kBackspace && k != kTab && k != kEnter && !IsDigit(k)) {
        if (k == thousands)
            k = decimal;
        else if (k != '+' && k != '-' && k != decimal && k != kCtrlX && k != kCtrlC && k != kCtrlV)
            k = 0;
    }
    KeyAscOnce(k, '+', currentText);
    KeyAscOnce(k, decimal, currentText);
    KeyAscOnce(k, '-', currentText);
    return Passes(k);
}

bool KeyAscFilter(KeyAscii& k, std::int32_t textBoxStyle, const std::wstring& textMask) {
    switch (textBoxStyle) {
    case 1:
        return KeyAscUpper(k, false, true);
    case 2:
        return KeyAscUpper(k, true, true);
    case 3:
        return KeyAscUpper(k, true, false);
    case 4:
        return KeyAscLower(k, false, true);
    case 5:
    case 6:
        return KeyAscLower(k, true, true);
    case 7:
        return KeyAscFloat(k);
    case 8:
        return KeyAscDate(k);
    case 9:
        return KeyAscMask(k, textMask);
    case 10:
        return KeyAscHex(k);
    case 11:
        return KeyAscInteger(k);
    case 12:
        return KeyAscDecimal(k, std::wstring());
    case 13:
        return KeyAscTime(k);
    case 14:
        return KeyAscUpperDigits(k, true);
    case 15:
        return KeyAscHexPrefix(k);
    default:
        // Style 0, and a style outside 0..15 (a stored value from elsewhere)
        // as style 0: the key passes unchanged, and the result says so, as
        // for every key a filter lets through.
        return true;
    }
}

bool GetNumberSeparators(std::wstring& decimalSep, std::wstring& thousandsSep) {
#ifdef _WIN32
    // The user's own separators, as the locale would format 1000 with "0,000.0".
    wchar_t decimal[8]{}, thousands[8]{};
    const int cchDecimal = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, decimal, 8);
    const int cchThousands = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_STHOUSAND, thousands, 8);
    // Counts include the terminator: only single characters give a seven-character "1.000,0".
    if (cchDecimal != 2 || cchThousands != 2)
        return false;
    decimalSep.assign(1, decimal[0]);
    thousandsSep.assign(1, thousands[0]);
    return true;
#else
    (void)decimalSep;
    (void)thousandsSep;
    return false; // no locale probe on this platform: callers fall back to "," and "."
#endif
}

} // namespace L_KEYASC
