#include "LogTrim.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The end of a log cut somewhere, and what is kept of it.
struct TrimCase {
    const char* name;
    std::string tail;
    std::string kept;
};
const TrimCase kTrimCases[] = {
    {"cut within a line", "de\r\n2026 \xC3\xA4\r\n", "2026 \xC3\xA4\r\n"},
    {"cut at a line's start", "\n2026 a\r\n", "2026 a\r\n"},
    {"one long line cut within an umlaut", "\xA4\xC3\xB6z", "\xC3\xB6z"},
    {"one long line cut within a four-byte character", "\x9F\x98\x80x", "x"},
    {"nothing", "", ""},
};

} // namespace

TEST(LogTrim, KeepsWholeLinesAndWholeCharacters) {
    for (const TrimCase& c : kTrimCases)
        EXPECT_EQ(c.tail.substr(WholeLinesStart(c.tail)), c.kept) << c.name;
}
