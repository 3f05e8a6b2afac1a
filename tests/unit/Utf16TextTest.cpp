#include "Utf16Text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

// Written as code units, so that the native build (whose wchar_t holds a
// whole character) sees the same pairs as Windows.
const std::wstring Grin = {wchar_t(0xD83D), wchar_t(0xDE00)};  // U+1F600
const std::wstring GClef = {wchar_t(0xD834), wchar_t(0xDD1E)}; // U+1D11E
const std::wstring LoneHigh = {wchar_t(0xD83D)};
const std::wstring LoneLow = {wchar_t(0xDE00)};

bool IsHigh(wchar_t ch) {
    return ch >= 0xD800 && ch <= 0xDBFF;
}

bool IsLow(wchar_t ch) {
    return ch >= 0xDC00 && ch <= 0xDFFF;
}

// Whether a piece of text begins with the second half of a pair that text
// holds whole, or ends with the first half of one.
bool CutsAPair(const std::wstring& text, std::size_t begin, std::size_t end) {
    const auto inside = [&text](std::size_t at) {
        return at > 0 && at < text.size() && IsHigh(text[at - 1]) && IsLow(text[at]);
    };
    return inside(begin) || inside(end);
}

} // namespace

TEST(Utf16Text, BoundariesMoveOnlyInsideAWellFormedPair) {
    struct Case {
        const char* name;
        std::wstring text;
        std::size_t at;
        std::size_t before;
        std::size_t after;
    };
    const Case cases[] = {
        {"inside a pair", L"a" + Grin + L"b", 2, 1, 3},
        {"before a pair", L"a" + Grin + L"b", 1, 1, 1},
        {"after a pair", L"a" + Grin + L"b", 3, 3, 3},
        {"between two pairs", Grin + GClef, 2, 2, 2},
        {"at the end", Grin, 2, 2, 2},
        {"at the start", Grin, 0, 0, 0},
        {"after a lone first half", LoneHigh + L"b", 1, 1, 1},
        {"before a lone second half", L"a" + LoneLow, 1, 1, 1},
        {"two first halves", LoneHigh + Grin, 1, 1, 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Utf16Text::BoundaryAtOrBefore(c.text, c.at), c.before) << c.name;
        EXPECT_EQ(Utf16Text::BoundaryAtOrAfter(c.text, c.at), c.after) << c.name;
    }
}

// The console's pieces: joined they give the text back, none is longer than
// allowed (but for a pair that alone exceeds a limit of one), none splits a
// pair, and each makes progress.
TEST(Utf16Text, PiecesNeverSplitAPairAtAnyLimit) {
    std::wstring text;
    for (int i = 0; i < 9; ++i)
        text += (i % 3 == 0 ? L"ab" : i % 3 == 1 ? Grin : L"c" + GClef) + LoneLow;
    for (std::size_t cchMax = 1; cchMax <= text.size() + 1; ++cchMax) {
        std::wstring joined;
        for (std::size_t at = 0; at < text.size();) {
            const std::size_t end = Utf16Text::PieceEnd(text, at, cchMax);
            ASSERT_GT(end, at) << cchMax;
            EXPECT_LE(end - at, std::max<std::size_t>(cchMax, 2)) << cchMax;
            EXPECT_FALSE(CutsAPair(text, at, end)) << "limit " << cchMax << " at " << at;
            joined += text.substr(at, end - at);
            at = end;
        }
        EXPECT_EQ(joined, text) << cchMax;
    }
}

TEST(Utf16Text, ConsolePieceStopsBeforeAPairAcrossItsLimit) {
    constexpr std::size_t cchChunk = 8192;
    const std::wstring text = std::wstring(cchChunk - 1, L'a') + Grin + L"b";
    EXPECT_EQ(Utf16Text::PieceEnd(text, 0, cchChunk), cchChunk - 1);
    EXPECT_EQ(Utf16Text::PieceEnd(text, cchChunk - 1, cchChunk), text.size());
    EXPECT_EQ(Utf16Text::PieceEnd(text, text.size(), cchChunk), text.size());
}
