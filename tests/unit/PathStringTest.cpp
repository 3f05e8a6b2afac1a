#include "L_PFADE.h"

#include <gtest/gtest.h>

using namespace L_PFADE;

TEST(AddBackslash, TrimsAndAppendsOnlyWhenMissing) {
    EXPECT_EQ(AddBackslash(L""), L"");
    EXPECT_EQ(AddBackslash(L"   "), L"");
    EXPECT_EQ(AddBackslash(L"  C:\\x  "), L"C:\\x\\");
    EXPECT_EQ(AddBackslash(L"C:\\x\\"), L"C:\\x\\");
    EXPECT_EQ(AddBackslash(L"C:\\x/"), L"C:\\x/\\"); // "/" is not taken for a separator here
    EXPECT_EQ(AddBackslash(L"\t"), L"\t\\");         // only blanks are trimmed
}

TEST(RemoveBackslash, DropsOneTrailingSeparator) {
    EXPECT_EQ(RemoveBackslash(L"\\"), L"\\");
    EXPECT_EQ(RemoveBackslash(L"C:\\"), L"C:");
    EXPECT_EQ(RemoveBackslash(L"a/"), L"a");
    EXPECT_EQ(RemoveBackslash(L"a\\\\"), L"a\\");
    EXPECT_EQ(RemoveBackslash(L" a\\ "), L" a\\ ");
    EXPECT_EQ(RemoveBackslash(L""), L"");
}

TEST(ExtractFileName, PartAfterLastSeparator) {
    EXPECT_EQ(ExtractFileName(L"C:\\dir\\", false), L"");
    EXPECT_EQ(ExtractFileName(L"C:\\dir\\", true), L"dir");
    EXPECT_EQ(ExtractFileName(L"C:\\dir/file.txt", false), L"file.txt");
    EXPECT_EQ(ExtractFileName(L"file.txt", false), L"file.txt");
    EXPECT_EQ(ExtractFileName(L"\\\\srv\\share", true), L"share");
}

TEST(ExtractFolder, PartBeforeLastSeparator) {
    EXPECT_EQ(ExtractFolder(L"C:\\file.txt"), L"C:");
    EXPECT_EQ(ExtractFolder(L"file.txt"), L"file.txt");
    EXPECT_EQ(ExtractFolder(L"a/b\\c"), L"a/b");
    EXPECT_EQ(ExtractFolder(L"C:\\dir\\"), L"C:\\dir");
}

TEST(ReplaceText, ReplacesAndNeverSearchesTheReplacement) {
    std::wstring text = L"aaa";
    EXPECT_EQ(ReplaceText(text, L"", L"x", CompareExact), 0);
    EXPECT_EQ(text, L"aaa");
    EXPECT_EQ(ReplaceText(text, L"a", L"aa", CompareExact), 3);
    EXPECT_EQ(text, L"aaaaaa");

    text = L"C:/a/b/";
    EXPECT_EQ(ReplaceText(text, L"/", L"\\", CompareExact), 3);
    EXPECT_EQ(text, L"C:\\a\\b\\");

    text = L"Ab ab AB";
    EXPECT_EQ(ReplaceText(text, L"ab", L"x", CompareExact), 1);
    EXPECT_EQ(text, L"Ab x AB");
    EXPECT_EQ(ReplaceText(text, L"ab", L"y", CompareText), 2);
    EXPECT_EQ(text, L"y x y");

    // Case-insensitive comparison folds letters beyond ASCII as well.
    text = L"\u00C4rger \u00E4rger \u0416\u0436";
    EXPECT_EQ(ReplaceText(text, L"\u00E4", L"a", CompareText), 2);
    EXPECT_EQ(text, L"arger arger \u0416\u0436");
    EXPECT_EQ(ReplaceText(text, L"\u0436", L"z", CompareText), 2);
    EXPECT_EQ(text, L"arger arger zz");

    text = L"abc";
    EXPECT_EQ(ReplaceText(text, L"b", L"", CompareExact), 1);
    EXPECT_EQ(text, L"ac");
    EXPECT_EQ(ReplaceText(text, L"abcd", L"", CompareText), 0);
}
