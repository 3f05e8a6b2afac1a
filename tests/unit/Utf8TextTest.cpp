#include "Utf8Text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::wstring Of(char32_t codePoint) {
    std::wstring text;
    Utf8Text::AppendCodePoint(text, codePoint);
    return text;
}

// Text and its UTF-8 bytes: one, two, three and four bytes a character, and
// a lone surrogate half written as U+FFFD.
struct Encoding {
    const char* name;
    std::wstring text;
    std::string bytes;
};

const Encoding kEncodings[] = {
    {"ascii", L"a\r\n", "a\r\n"},
    {"umlaut", L"\u00FC", "\xC3\xBC"},
    {"quotes", L"\u201E\u201C", "\xE2\x80\x9E\xE2\x80\x9C"},
    {"beyond the plane", Of(0x1F600), "\xF0\x9F\x98\x80"},
    {"lone half", std::wstring(1, wchar_t(0xD83D)) + L"x", "\xEF\xBF\xBDx"},
};

} // namespace

TEST(Utf8Text, EncodesEveryCharacterAndOnlyWholeOnesIntoAFixedBuffer) {
    for (const Encoding& e : kEncodings) {
        SCOPED_TRACE(e.name);
        EXPECT_EQ(Utf8Text::Encode(e.text), e.bytes);
        char buffer[8]{};
        EXPECT_EQ(std::string(buffer, Utf8Text::EncodeInto(e.text, buffer, sizeof buffer)), e.bytes);
        // One byte short: the last character is left out, never cut.
        const std::size_t cut = Utf8Text::EncodeInto(e.text, buffer, e.bytes.size() - 1);
        EXPECT_LT(cut, e.bytes.size());
        EXPECT_EQ(std::string(buffer, cut), e.bytes.substr(0, cut));
        EXPECT_EQ(Utf8Text::Decode(std::string(buffer, cut)).has_value(), true);
    }
}
