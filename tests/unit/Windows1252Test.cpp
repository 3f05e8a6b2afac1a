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

namespace {

// What a KeyPress handler saw, and what it leaves.
struct KeyPressProbe {
    std::int16_t leave;
    std::int16_t seen = -1;
    std::optional<wchar_t> Run(wchar_t typed) {
        return Windows1252::CharacterAfterKeyPress(typed, [this](std::int16_t& keyAscii) {
            seen = keyAscii;
            keyAscii = leave;
        });
    }
};

std::optional<wchar_t> Unchanged(wchar_t typed) {
    return Windows1252::CharacterAfterKeyPress(typed, [](std::int16_t&) {});
}

} // namespace

TEST(Windows1252KeyPress, CharacterWithCodeTravelsAsItsCode) {
    EXPECT_EQ(Unchanged(L'a'), L'a');
    EXPECT_EQ(Unchanged(L'\u00E4'), L'\u00E4'); // ä
    EXPECT_EQ(Unchanged(L'\u20AC'), L'\u20AC'); // euro sign, code 128
    EXPECT_EQ(Unchanged(L'?'), L'?');

    KeyPressProbe upper{'A'};
    EXPECT_EQ(upper.Run(L'a'), L'A');
    EXPECT_EQ(upper.seen, 'a');
    KeyPressProbe euro{128};
    EXPECT_EQ(euro.Run(L'\u00E4'), L'\u20AC');
    EXPECT_EQ(euro.seen, 228);
}

TEST(Windows1252KeyPress, CharacterWithoutCodeTravelsAsQuestionMarkAndStaysItself) {
    KeyPressProbe left{'?'};
    EXPECT_EQ(left.Run(L'\u0416'), L'\u0416'); // Cyrillic Zhe, inserted as typed
    EXPECT_EQ(left.seen, '?');
    KeyPressProbe replaced{'x'};
    EXPECT_EQ(replaced.Run(L'\u0416'), L'x');
    EXPECT_EQ(replaced.seen, '?');
}

TEST(Windows1252KeyPress, ZeroOrAValueWithoutCharacterInsertsNothing) {
    for (const wchar_t typed : {L'a', L'\u0416'}) {
        for (const std::int16_t leave :
             {std::int16_t{0}, std::int16_t{0x81}, std::int16_t{256}, std::int16_t{-1}}) {
            KeyPressProbe probe{leave};
            EXPECT_EQ(probe.Run(typed), std::nullopt) << static_cast<int>(typed) << " " << leave;
        }
    }
}

TEST(Windows1252KeyPress, WithoutHandlerTheTypedCharacterComesBack) {
    for (const wchar_t typed : {L'a', L'\u00DF', L'\u201E', L'\u0416', L'\u0081'})
        EXPECT_EQ(Windows1252::CharacterAfterKeyPress(typed, nullptr), typed) << static_cast<int>(typed);
}
