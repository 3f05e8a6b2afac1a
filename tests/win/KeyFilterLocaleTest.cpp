// The decimal-number filter with the separators of the user's real locale.
#include "L_KEYASC.h"
#include "Windows1252.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

using L_KEYASC::KeyAscii;

namespace {

// The user's locale formatting 1000 with one decimal and groups of three,
// read independently of the separators the filter module asks for: the
// thousands separator is the 2nd character, the decimal separator the 6th.
std::wstring ThousandFormatted() {
    wchar_t formatted[32]{};
    const int cch = GetNumberFormatEx(LOCALE_NAME_USER_DEFAULT, 0, L"1000", nullptr, formatted,
                                      static_cast<int>(std::size(formatted)));
    return cch > 0 ? std::wstring(formatted) : std::wstring();
}

KeyAscii CodeOf(wchar_t ch) {
    return Windows1252::CodeOf(ch).value_or(-1);
}

KeyAscii AfterDecimalStyle(KeyAscii code) {
    L_KEYASC::KeyAscFilter(code, 12, L"*");
    return code;
}

} // namespace

TEST(NumberSeparators, AreTheUserLocales) {
    const std::wstring formatted = ThousandFormatted();
    ASSERT_GE(formatted.size(), 7u) << "the locale formats 1000 without decimals";
    std::wstring decimal, thousands;
    ASSERT_TRUE(L_KEYASC::GetNumberSeparators(decimal, thousands));
    EXPECT_EQ(thousands, formatted.substr(1, 1));
    EXPECT_EQ(decimal, formatted.substr(5, 1));
    EXPECT_NE(decimal, thousands);
}

TEST(NumberSeparators, DecimalStyleTurnsTheThousandsSeparatorIntoTheDecimalOne) {
    std::wstring decimal, thousands;
    ASSERT_TRUE(L_KEYASC::GetNumberSeparators(decimal, thousands));
    const KeyAscii decimalCode = CodeOf(decimal[0]);
    const KeyAscii thousandsCode = CodeOf(thousands[0]);
    ASSERT_GT(decimalCode, 0);
    ASSERT_GT(thousandsCode, 0);

    EXPECT_EQ(AfterDecimalStyle(thousandsCode), decimalCode);
    EXPECT_EQ(AfterDecimalStyle(decimalCode), decimalCode);
    // No current text reaches the filter from the dispatcher: a second separator passes too.
    EXPECT_EQ(AfterDecimalStyle(decimalCode), decimalCode);
    EXPECT_EQ(AfterDecimalStyle('7'), '7');
    EXPECT_EQ(AfterDecimalStyle('-'), '-');
    EXPECT_EQ(AfterDecimalStyle('a'), 0);

    // Called directly with the field's text, a separator already there rejects another.
    KeyAscii code = decimalCode;
    EXPECT_FALSE(L_KEYASC::KeyAscDecimal(code, L"12" + decimal + L"5"));
    EXPECT_EQ(code, 0);
    code = thousandsCode;
    EXPECT_FALSE(L_KEYASC::KeyAscDecimal(code, L"12" + decimal + L"5"));
}
