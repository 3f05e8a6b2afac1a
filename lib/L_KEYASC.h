// Filters for single typed characters. KeyAscii is the Windows-1252 code of
// the character; a filter may replace it or set it to 0, which makes the field
// drop the key. Every filter returns whether KeyAscii is non-zero afterwards.
#pragma once

#include <cstdint>
#include <string>

namespace L_KEYASC {

using KeyAscii = std::int16_t;

// The filter of textBoxStyle 1..15; any other style, 0 included, filters
// nothing and returns true.
bool KeyAscFilter(KeyAscii& keyAscii, std::int32_t textBoxStyle, const std::wstring& textMask);

bool KeyAscUpper(KeyAscii& keyAscii, bool lettersOnly, bool allowUmlauts);
bool KeyAscLower(KeyAscii& keyAscii, bool lettersOnly, bool allowUmlauts);
bool KeyAscUpperDigits(KeyAscii& keyAscii, bool allowUmlauts);
bool KeyAscFloat(KeyAscii& keyAscii);
bool KeyAscDate(KeyAscii& keyAscii);
bool KeyAscHex(KeyAscii& keyAscii);
bool KeyAscInteger(KeyAscii& keyAscii);
bool KeyAscTime(KeyAscii& keyAscii);
bool KeyAscHexPrefix(KeyAscii& keyAscii);
bool KeyAscMask(KeyAscii& keyAscii, const std::wstring& textMask);
bool KeyAscDecimal(KeyAscii& keyAscii, const std::wstring& currentText);
void KeyAscOnce(KeyAscii& keyAscii, KeyAscii limited, const std::wstring& currentText);

// The user's decimal and thousands separators; false when the locale gave no
// single-character pair (the strings are then left unchanged).
bool GetNumberSeparators(std::wstring& decimalSep, std::wstring& thousandsSep);

} // namespace L_KEYASC
