#include "Windows1252.h"

#include <gtest/gtest.h>

TEST(Windows1252, MapsEveryAssignedCodeBothWays) {
    int assigned = 0;
    for (int code = 0; code < 256; ++code) {
        const auto ch = Windows1252::CharOf(static_cast<std::int16_t>(code));
        if (!ch)
            continue;
        ++assigned;
        EXPECT_EQ(Windows1252::CodeOf(*ch), code) << code;
    }
    EXPECT_EQ(assigned, 251);
}

TEST(Windows1252, KnownCharactersAndGaps) {
    EXPECT_EQ(Windows1252::CodeOf(L'\u20AC'), 128); // euro sign
    EXPECT_EQ(Windows1252::CodeOf(L'\u00E4'), 228); // ä
    EXPECT_EQ(Windows1252::CodeOf(L'\u00DF'), 223); // ß
    EXPECT_EQ(Windows1252::CodeOf(L'\u201E'), 132); // „
    EXPECT_FALSE(Windows1252::CodeOf(L'\u0416'));   // Cyrillic Zhe has no code
    EXPECT_FALSE(Windows1252::CodeOf(L'\u0081'));   // C1 control that the page leaves out
    EXPECT_FALSE(Windows1252::CharOf(0x81));
    EXPECT_FALSE(Windows1252::CharOf(-1));
    EXPECT_FALSE(Windows1252::CharOf(256));
}
