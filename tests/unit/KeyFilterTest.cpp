#include "L_KEYASC.h"

#include <gtest/gtest.h>

using L_KEYASC::KeyAscii;

namespace {

constexpr KeyAscii kBackspace = 8, kEnter = 13, kCtrlV = 22;
constexpr KeyAscii kAe = 228, kOe = 246, kUe = 252, kAeUpper = 196, kOeUpper = 214, kSz = 223;

// The code a key leaves behind in a style, and the dispatcher's answer.
struct Filtered {
    KeyAscii code;
    bool result;
};
Filtered Filter(std::int32_t style, KeyAscii code, const std::wstring& mask = L"*") {
    const bool result = L_KEYASC::KeyAscFilter(code, style, mask);
    return {code, result};
}
KeyAscii After(int style, KeyAscii code, const std::wstring& mask = L"*") {
    return Filter(style, code, mask).code;
}

} // namespace

TEST(KeyFilter, StyleZeroPassesEverything) {
    for (int code = 0; code < 256; ++code)
        EXPECT_EQ(After(0, static_cast<KeyAscii>(code)), code);
    EXPECT_TRUE(Filter(0, 'x').result);
}

TEST(KeyFilter, UpperCaseStyles) {
    EXPECT_EQ(After(1, kSz), kSz);
    EXPECT_EQ(After(1, '1'), '1');
    EXPECT_EQ(After(1, '!'), '!');
    EXPECT_EQ(After(1, kAe), kAeUpper);
    EXPECT_EQ(After(1, 'z'), 'Z');

    EXPECT_EQ(After(2, kUe), 220);
    EXPECT_EQ(After(2, '1'), 0);
    EXPECT_EQ(After(2, kEnter), kEnter);

    EXPECT_EQ(After(3, kAe), 0);
    EXPECT_EQ(After(3, kAeUpper), 0);
    EXPECT_EQ(After(3, 'b'), 'B');
    EXPECT_EQ(After(3, ' '), 0);
    EXPECT_EQ(After(3, kBackspace), kBackspace);
    EXPECT_FALSE(Filter(3, ' ').result);
    EXPECT_TRUE(Filter(3, 'b').result);
}

TEST(KeyFilter, LowerCaseStyles) {
    EXPECT_EQ(After(4, 'Q'), 'q');
    EXPECT_EQ(After(4, kOeUpper), kOe);
    EXPECT_EQ(After(4, '?'), '?');
    // Style 6 is the same call as style 5: umlauts are kept, not rejected.
    for (int style : {5, 6}) {
        EXPECT_EQ(After(style, kOeUpper), kOe) << style;
        EXPECT_EQ(After(style, 'Q'), 'q') << style;
        EXPECT_EQ(After(style, ' '), 0) << style;
        EXPECT_EQ(After(style, kCtrlV), kCtrlV) << style;
    }
    KeyAscii code = kAeUpper;
    EXPECT_FALSE(L_KEYASC::KeyAscLower(code, false, false));
    EXPECT_EQ(code, 0);
}

TEST(KeyFilter, NumberDateAndTimeStyles) {
    EXPECT_EQ(After(7, '.'), ',');
    EXPECT_EQ(After(7, 'e'), 'e');
    EXPECT_EQ(After(7, 'E'), 'E');
    EXPECT_EQ(After(7, 'x'), 0);

    EXPECT_EQ(After(8, '/'), '-');
    EXPECT_EQ(After(8, '.'), '-');
    EXPECT_EQ(After(8, 'p'), 'p');
    EXPECT_EQ(After(8, 'q'), 0);
    EXPECT_EQ(After(8, ' '), ' ');

    EXPECT_EQ(After(11, '7'), '7');
    EXPECT_EQ(After(11, '-'), '-');
    EXPECT_EQ(After(11, 'a'), 0);
    EXPECT_EQ(After(11, ','), 0);

    EXPECT_EQ(After(13, ':'), ':');
    EXPECT_EQ(After(13, '.'), 0);
}

TEST(KeyFilter, MaskStyle) {
    EXPECT_EQ(After(9, 'A', L"ABC"), 'A');
    EXPECT_EQ(After(9, 'a', L"ABC"), 0);
    EXPECT_EQ(After(9, kCtrlV, L"ABC"), kCtrlV);
    EXPECT_EQ(After(9, 128, L"\u20AC"), 128); // the euro sign is code 128 in the mask's terms
    EXPECT_EQ(After(9, kAe, L"\u00E4"), kAe);
    for (int code = 1; code < 256; ++code)
        EXPECT_EQ(After(9, static_cast<KeyAscii>(code), L"*"), code);
}

TEST(KeyFilter, HexStyles) {
    EXPECT_EQ(After(10, 'f'), 'F');
    EXPECT_EQ(After(10, 'g'), 0);
    EXPECT_EQ(After(10, 'x'), 0);

    EXPECT_EQ(After(15, 'X'), 'x');
    EXPECT_EQ(After(15, 'x'), 'x');
    EXPECT_EQ(After(15, 'h'), 'H');
    EXPECT_EQ(After(15, '&'), '&');
    EXPECT_EQ(After(15, 'b'), 'B');
    EXPECT_EQ(After(15, 'g'), 0);
}

TEST(KeyFilter, UpperDigitsStyle) {
    EXPECT_EQ(After(14, 'a'), 'A');
    EXPECT_EQ(After(14, kUe), 220);
    EXPECT_EQ(After(14, '5'), '5');
    EXPECT_EQ(After(14, '-'), 0);
    EXPECT_EQ(After(14, kSz), 0);
}

TEST(KeyFilter, DecimalStyleFallsBackToGermanSeparators) {
    // Natively no locale probe works, so "," is decimal and "." thousands.
    std::wstring decimal = L"?", thousands = L"?";
    ASSERT_FALSE(L_KEYASC::GetNumberSeparators(decimal, thousands));
    EXPECT_EQ(After(12, '.'), ',');
    EXPECT_EQ(After(12, ','), ',');
    EXPECT_EQ(After(12, '+'), '+');
    EXPECT_EQ(After(12, 'a'), 0);
    // The dispatcher hands no current text on: a second separator passes.
    EXPECT_EQ(After(12, ','), ',');

    KeyAscii code = ',';
    EXPECT_FALSE(L_KEYASC::KeyAscDecimal(code, L"12,5"));
    code = '-';
    EXPECT_FALSE(L_KEYASC::KeyAscDecimal(code, L"-3"));
    code = '4';
    EXPECT_TRUE(L_KEYASC::KeyAscDecimal(code, L"-3,5"));
}

TEST(KeyFilter, OnceOnlyRule) {
    KeyAscii code = ',';
    L_KEYASC::KeyAscOnce(code, ',', L"12,5");
    EXPECT_EQ(code, 0);
    code = '7';
    L_KEYASC::KeyAscOnce(code, ',', L"12,5");
    EXPECT_EQ(code, '7');
    code = ',';
    L_KEYASC::KeyAscOnce(code, ',', L"125");
    EXPECT_EQ(code, ',');
}

TEST(KeyFilter, UnknownStylesAndZeroKeys) {
    // A style outside 0..15 filters as style 0 does: the key passes, and the
    // result says that it passed.
    for (const std::int32_t style : {16, -1, 1000, INT32_MIN, INT32_MAX})
        for (const KeyAscii key : {KeyAscii{'a'}, kAe, kEnter}) {
            const Filtered f = Filter(style, key);
            EXPECT_EQ(f.code, key) << style;
            EXPECT_TRUE(f.result) << style;
        }
    for (int style = 1; style <= 15; ++style) {
        const Filtered f = Filter(style, 0, L"ABC");
        EXPECT_EQ(f.code, 0) << style;
        EXPECT_FALSE(f.result) << style;
    }
    // The editing keys survive every style that rejects anything.
    for (int style = 0; style <= 15; ++style)
        for (KeyAscii key : {3, 8, 9, 13, 22, 24})
            EXPECT_EQ(After(style, key, L"ABC"), key) << "style " << style << " key " << key;
}
