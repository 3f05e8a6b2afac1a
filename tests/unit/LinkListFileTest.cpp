#include "LinkListFile.h"

#include <gtest/gtest.h>

namespace {

struct Expected {
    std::size_t lineNumber;
    std::wstring source;
    std::wstring target;
    bool good;
};

void ExpectLines(const std::vector<LinkListLine>& lines, const std::vector<Expected>& expected) {
    ASSERT_EQ(lines.size(), expected.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        SCOPED_TRACE("entry " + std::to_string(i));
        EXPECT_EQ(lines[i].lineNumber, expected[i].lineNumber);
        EXPECT_EQ(lines[i].error.empty(), expected[i].good);
        if (expected[i].good) {
            EXPECT_EQ(lines[i].source, expected[i].source);
            EXPECT_EQ(lines[i].target, expected[i].target);
        }
    }
}

} // namespace

TEST(LinkListFile, GoodBadBlankAndCommentLinesKeepTheirNumbers) {
    const std::string text = "\xEF\xBB\xBF"                                            // byte-order mark
                             "# Netzlaufwerke der Buchhaltung\r\n"                     // 1 comment
                             "\\\\srv\\share\\docs\tC:\\Links\\Docs\r\n"               // 2
                             "\r\n"                                                    // 3 blank
                             "   \t  \n"                                               // 4 blank
                             "  # eingerückter Kommentar\n"                            // 5 comment
                             "ftp://host/dir\tC:\\Links\\FTP mit Leerzeichen\n"        // 6
                             "nur ein Feld\n"                                          // 7 no tab
                             "a\tb\tc\n"                                               // 8 two tabs
                             "\tC:\\Links\\x\n"                                        // 9 no source
                             "\\\\srv\\x\t   \n"                                       // 10 no target
                             "\\\\srv\\bad\xC3\tC:\\Links\\Bad\n"                      // 11 broken UTF-8
                             "  \\\\srv\\\xC3\xA4mter  \t  C:\\Links\\\xE2\x82\xAC  "; // 12, no line end
    ExpectLines(ParseLinkList(text), {
                                         {2, L"\\\\srv\\share\\docs", L"C:\\Links\\Docs", true},
                                         {6, L"ftp://host/dir", L"C:\\Links\\FTP mit Leerzeichen", true},
                                         {7, {}, {}, false},
                                         {8, {}, {}, false},
                                         {9, {}, {}, false},
                                         {10, {}, {}, false},
                                         {11, {}, {}, false},
                                         {12, L"\\\\srv\\\u00E4mter", L"C:\\Links\\\u20AC", true},
                                     });
}

TEST(LinkListFile, StrictUtf8) {
    // Overlong "/", an encoded surrogate, a code beyond U+10FFFF, a lone
    // continuation byte, a NUL: each spoils its own line only.
    const std::string text = "a\xC0\xAF\tb\n"
                             "a\xED\xA0\x80\tb\n"
                             "a\xF4\x90\x80\x80\tb\n"
                             "a\x80\tb\n" +
                             std::string("a\0\tb\n", 5) + "\xF0\x9F\x93\x81\tC:\\x\n";
    std::wstring folderEmoji;
    if constexpr (sizeof(wchar_t) == 2)
        folderEmoji = {static_cast<wchar_t>(0xD83D), static_cast<wchar_t>(0xDCC1)};
    else
        folderEmoji = {static_cast<wchar_t>(0x1F4C1)};
    ExpectLines(ParseLinkList(text), {{1, {}, {}, false},
                                      {2, {}, {}, false},
                                      {3, {}, {}, false},
                                      {4, {}, {}, false},
                                      {5, {}, {}, false},
                                      {6, folderEmoji, L"C:\\x", true}});
}

// What PowerShell's Out-File writes by default: UTF-16 with its mark.
TEST(LinkListFile, Utf16WithItsByteOrderMark) {
    const std::u16string units = u"# Liste\r\n\\\\srv\\\u00E4\tC:\\x\r\nkaputt\r\n";
    std::string bytes = "\xFF\xFE";
    for (const char16_t unit : units) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    ExpectLines(ParseLinkList(bytes), {{2, L"\\\\srv\\\u00E4", L"C:\\x", true}, {3, {}, {}, false}});
    ExpectLines(ParseLinkList(bytes + "\x41"),
                {{2, L"\\\\srv\\\u00E4", L"C:\\x", true}, {3, {}, {}, false}, {4, {}, {}, false}});
}

TEST(LinkListFile, EmptyFile) {
    EXPECT_TRUE(ParseLinkList("").empty());
    EXPECT_TRUE(ParseLinkList("\xEF\xBB\xBF").empty());
    EXPECT_TRUE(ParseLinkList("\n\n# nur Kommentar\n").empty());
}
