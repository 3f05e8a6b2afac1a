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

TEST(RemoveTrailingSeparators, DropsEveryTrailingSeparator) {
    EXPECT_EQ(RemoveTrailingSeparators(L"C:\\daten\\ziel/"), L"C:\\daten\\ziel");
    EXPECT_EQ(RemoveTrailingSeparators(L"C:\\daten\\ziel\\/\\"), L"C:\\daten\\ziel");
    EXPECT_EQ(RemoveTrailingSeparators(L"C:\\"), L"C:");
    EXPECT_EQ(RemoveTrailingSeparators(L"\\\\"), L"\\");
    EXPECT_EQ(RemoveTrailingSeparators(L""), L"");
}

TEST(TrimPathInput, BlanksAndOnePairOfQuotes) {
    EXPECT_EQ(TrimPathInput(L"  C:\\daten  "), L"C:\\daten");
    EXPECT_EQ(TrimPathInput(L"\"C:\\daten\""), L"C:\\daten");
    EXPECT_EQ(TrimPathInput(L" \t\" C:\\daten \" "), L"C:\\daten");
    EXPECT_EQ(TrimPathInput(L"\"\"C:\\daten\"\""), L"\"C:\\daten\"");
    EXPECT_EQ(TrimPathInput(L"\"C:\\daten"), L"\"C:\\daten");
    EXPECT_EQ(TrimPathInput(L"\""), L"\"");
    EXPECT_EQ(TrimPathInput(L" \"\" "), L"");
    EXPECT_EQ(TrimPathInput(L"   "), L"");
}

TEST(IsFullPath, DriveWithSeparatorOrShare) {
    for (const wchar_t* full : {L"C:\\", L"c:/x", L"\\\\srv\\share", L"//srv/share/dir", L"\\\\srv\\share\\"})
        EXPECT_TRUE(IsFullPath(full)) << std::wstring(full).size();
    for (const wchar_t* relative :
         {L"", L"C:", L"C:x", L"\\x", L"x\\y", L"..\\x", L"\\\\srv", L"\\\\srv\\", L"\\\\\\share",
          L"\\\\?\\C:\\x", L"\\\\.\\C:\\x", L"ftp://host/x", L"1:\\x"})
        EXPECT_FALSE(IsFullPath(relative)) << std::wstring(relative).size();
}

TEST(IsRootPath, DrivesAndSharesThemselves) {
    for (const wchar_t* root : {L"C:", L"C:\\", L"c:/", L"C:\\\\", L"\\\\srv\\share", L"\\\\srv\\share\\/"})
        EXPECT_TRUE(IsRootPath(root));
    for (const wchar_t* below : {L"C:\\x", L"\\\\srv\\share\\x", L"\\\\srv", L"x", L""})
        EXPECT_FALSE(IsRootPath(below));
}

TEST(ShortenInTheMiddle, KeepsBeginningAndEnd) {
    EXPECT_EQ(ShortenInTheMiddle(L"C:\\kurz", 10), L"C:\\kurz");
    EXPECT_EQ(ShortenInTheMiddle(L"0123456789", 10), L"0123456789");
    EXPECT_EQ(ShortenInTheMiddle(L"0123456789A", 10), L"0123...89A");
    EXPECT_EQ(ShortenInTheMiddle(L"0123456789AB", 9), L"012...9AB");
    EXPECT_EQ(ShortenInTheMiddle(L"0123456789", 3), L"0123456789"); // no room for anything but the dots
}

namespace {

// A pair is written as its two code units, so that the native build (whose
// wchar_t holds a whole character) sees what Windows sees.
const std::wstring Grin = {wchar_t(0xD83D), wchar_t(0xDE00)}; // U+1F600

bool HasLoneHalf(const std::wstring& text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool high = text[i] >= 0xD800 && text[i] <= 0xDBFF;
        const bool low = text[i] >= 0xDC00 && text[i] <= 0xDFFF;
        const bool nextLow = i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF;
        const bool previousHigh = i > 0 && text[i - 1] >= 0xD800 && text[i - 1] <= 0xDBFF;
        if ((high && !nextLow) || (low && !previousHigh))
            return true;
    }
    return false;
}

} // namespace

TEST(ShortenInTheMiddle, NeverSplitsAPairAtAnyLength) {
    const std::wstring path = L"C:\\" + Grin + Grin + L"\\Fotos " + Grin + L"\\" + Grin + L"x" + Grin + Grin;
    for (std::size_t maxChars = 0; maxChars <= path.size() + 1; ++maxChars) {
        const std::wstring shown = ShortenInTheMiddle(path, maxChars);
        EXPECT_FALSE(HasLoneHalf(shown)) << maxChars;
        if (shown == path)
            continue;
        const std::size_t dots = shown.find(L"...");
        ASSERT_NE(dots, std::wstring::npos) << maxChars;
        EXPECT_LE(shown.size(), maxChars);
        EXPECT_GE(shown.size() + 2, maxChars); // at most one unit given up at each cut
        EXPECT_TRUE(path.starts_with(shown.substr(0, dots))) << maxChars;
        EXPECT_TRUE(path.ends_with(shown.substr(dots + 3))) << maxChars;
    }
    // Both cuts fall inside a pair: each pair is left out whole.
    EXPECT_EQ(ShortenInTheMiddle(L"a" + Grin + L"bcd" + Grin + L"e", 7), L"a...e");
}
