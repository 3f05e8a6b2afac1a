#include "L_FOLDER.h"
#include "LetterCase.h"

#include <gtest/gtest.h>

using L_FOLDER::ProperCaseName;

TEST(ProperCaseName, UpperCaseAfterSeparators) {
    EXPECT_EQ(ProperCaseName(L"README.TXT", true), L"Readme.txt");
    EXPECT_EQ(ProperCaseName(L"my-data_2", true), L"My-Data_2");
    EXPECT_EQ(ProperCaseName(L"C:\\PROGRAMME\\MEIN ORDNER\\", true), L"C:\\Programme\\Mein Ordner\\");
    EXPECT_EQ(ProperCaseName(L"a(b[c+d:e&f\u00A7g=h;i<j>k|l~m#n\"o/p{q", false),
              L"A(B[C+D:E&F\u00A7G=H;I<J>K|L~M#N\"O/P{Q");
    EXPECT_EQ(ProperCaseName(L"eins\r\nzwei", true), L"Eins\r\nZwei");
    // A "." does not start a word.
    EXPECT_EQ(ProperCaseName(L"a.b.c", true), L"A.b.c");
}

TEST(ProperCaseName, KeepsOrLowersTheRest) {
    EXPECT_EQ(ProperCaseName(L"mIXed cASE", false), L"MIXed CASE");
    EXPECT_EQ(ProperCaseName(L"mIXed cASE", true), L"Mixed Case");
    EXPECT_EQ(ProperCaseName(L"\u00C4RGER \u00FCBER \u00D6L", true), L"\u00C4rger \u00DCber \u00D6l");
    EXPECT_EQ(ProperCaseName(L"STRA\u00DFE", true), L"Stra\u00DFe");
    EXPECT_EQ(ProperCaseName(L"", true), L"");
}

TEST(ProperCaseName, BracedNamesUnchanged) {
    EXPECT_EQ(ProperCaseName(L"{20D04FE0-3AEA-1069-A2D8-08002B30309D}", true),
              L"{20D04FE0-3AEA-1069-A2D8-08002B30309D}");
    EXPECT_EQ(ProperCaseName(L"{ab}", true), L"{ab}");
    EXPECT_EQ(ProperCaseName(L"{ab", true), L"{Ab");
}

TEST(LetterCase, PairsBeyondAscii) {
    EXPECT_EQ(LetterCase::ToUpper(L"\u00E4\u00F6\u00FC\u00DF\u00FF\u0101\u013A\u017E\u03B1\u0434\u0451"),
              L"\u00C4\u00D6\u00DC\u00DF\u0178\u0100\u0139\u017D\u0391\u0414\u0401");
    EXPECT_EQ(LetterCase::ToLower(L"\u00C4\u00D6\u00DC\u0178\u0100\u0139\u017D\u0391\u0414\u0401"),
              L"\u00E4\u00F6\u00FC\u00FF\u0101\u013A\u017E\u03B1\u0434\u0451");
    // Multiplication and division signs are not letters.
    EXPECT_EQ(LetterCase::ToUpper(L"\u00F7"), L"\u00F7");
    EXPECT_EQ(LetterCase::ToLower(L"\u00D7"), L"\u00D7");
}
