#include "LinkListFile.h"

#include <gtest/gtest.h>

namespace {

struct Expected {
    std::size_t lineNumber;
    std::wstring source;
    std::wstring target;
    bool good;
};

// A process in which no environment variable is set.
std::optional<std::wstring> NoVariables(std::wstring_view) {
    return std::nullopt;
}

void ExpectLines(const LinkList& list, const std::vector<Expected>& expected) {
    const std::vector<LinkListLine>& lines = list.lines;
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

// Little-endian UTF-16 with its byte-order mark, as PowerShell's Out-File
// writes it.
std::string Utf16LeWithMark(std::u16string_view units) {
    std::string bytes = "\xFF\xFE";
    for (const char16_t unit : units) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

// Big-endian UTF-16 with its byte-order mark, as Notepad's "UTF-16 BE" saves it.
std::string Utf16BeWithMark(std::u16string_view units) {
    std::string bytes = "\xFE\xFF";
    for (const char16_t unit : units) {
        bytes += static_cast<char>(unit >> 8);
        bytes += static_cast<char>(unit & 0xFF);
    }
    return bytes;
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
    ExpectLines(ParseLinkList(text, NoVariables),
                {
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
    // continuation byte, a NUL: each spoils its own line only. The mark makes
    // it UTF-8; without one such a file would be read as Windows-1252.
    const std::string text = "\xEF\xBB\xBF"
                             "a\xC0\xAF\tb\n"
                             "a\xED\xA0\x80\tb\n"
                             "a\xF4\x90\x80\x80\tb\n"
                             "a\x80\tb\n" +
                             std::string("a\0\tb\n", 5) + "\xF0\x9F\x93\x81\tC:\\x\n";
    std::wstring folderEmoji;
    if constexpr (sizeof(wchar_t) == 2)
        folderEmoji = {static_cast<wchar_t>(0xD83D), static_cast<wchar_t>(0xDCC1)};
    else
        folderEmoji = {static_cast<wchar_t>(0x1F4C1)};
    ExpectLines(ParseLinkList(text, NoVariables), {{1, {}, {}, false},
                                                   {2, {}, {}, false},
                                                   {3, {}, {}, false},
                                                   {4, {}, {}, false},
                                                   {5, {}, {}, false},
                                                   {6, folderEmoji, L"C:\\x", true}});
}

// What PowerShell's Out-File writes by default: UTF-16 with its mark.
TEST(LinkListFile, Utf16WithItsByteOrderMark) {
    const std::string bytes = Utf16LeWithMark(u"# Liste\r\n\\\\srv\\\u00E4\tC:\\x\r\nkaputt\r\n");
    ExpectLines(ParseLinkList(bytes, NoVariables),
                {{2, L"\\\\srv\\\u00E4", L"C:\\x", true}, {3, {}, {}, false}});
    ExpectLines(ParseLinkList(bytes + "\x41", NoVariables),
                {{2, L"\\\\srv\\\u00E4", L"C:\\x", true}, {3, {}, {}, false}, {4, {}, {}, false}});
}

TEST(LinkListFile, EmptyFile) {
    EXPECT_TRUE(ParseLinkList("", NoVariables).lines.empty());
    EXPECT_TRUE(ParseLinkList("\xEF\xBB\xBF", NoVariables).lines.empty());
    EXPECT_TRUE(ParseLinkList("\n\n# nur Kommentar\n", NoVariables).lines.empty());
}

namespace {

struct EncodingCase {
    const char* name;
    std::string bytes;
    LinkListEncoding encoding;
    std::vector<Expected> lines;
};

const EncodingCase kEncodingCases[] = {
    {"UTF-8 without mark",
     "\\\\srv\\\xC3\xA4mter\tC:\\\xE2\x82\xAC\n",
     LinkListEncoding::Utf8,
     {{1, L"\\\\srv\\\u00E4mter", L"C:\\\u20AC", true}}},
    {"UTF-8 with mark",
     "\xEF\xBB\xBF"
     "a\tb\n",
     LinkListEncoding::Utf8WithBom,
     {{1, L"a", L"b", true}}},
    {"UTF-16 with mark", Utf16LeWithMark(u"a\tb\n"), LinkListEncoding::Utf16Le, {{1, L"a", L"b", true}}},
    {"big-endian UTF-16 with mark",
     Utf16BeWithMark(u"# Liste\r\n\\\\srv\\\u00E4\tC:\\\U0001F4C1\r\n"),
     LinkListEncoding::Utf16Be,
     {{2, L"\\\\srv\\\u00E4", L"C:\\\U0001F4C1", true}}},
    {"ANSI as older Notepad saves it",
     "# Pl\xE4ne der Buchhaltung\r\n\\\\srv\\\xC4mter\tC:\\Links\\\x80\r\n",
     LinkListEncoding::Windows1252,
     {{2, L"\\\\srv\\\u00C4mter", L"C:\\Links\\\u20AC", true}}},
    {"a code that Windows-1252 leaves unassigned",
     "\\\\srv\\\xC4\tC:\\x\n\\\\srv\\\x81\tC:\\y\n",
     LinkListEncoding::Windows1252,
     {{1, L"\\\\srv\\\u00C4", L"C:\\x", true}, {2, {}, {}, false}}},
    {"an ANSI comment among UTF-8 lines",
     "# f\xFCr alle\n\\\\srv\\\xC3\xA4\tC:\\x\n",
     LinkListEncoding::Utf8,
     {{2, L"\\\\srv\\\u00E4", L"C:\\x", true}}},
    {"an ANSI comment in UTF-8 with mark",
     "\xEF\xBB\xBF  # f\xFCr alle\n\\\\srv\\a\tC:\\x\n",
     LinkListEncoding::Utf8WithBom,
     {{2, L"\\\\srv\\a", L"C:\\x", true}}},
    {"a comment with a lone surrogate in UTF-16",
     Utf16LeWithMark(u"\t# \xD800 kaputt\r\na\tb\r\n"),
     LinkListEncoding::Utf16Le,
     {{2, L"a", L"b", true}}},
};

struct UnreadableCase {
    const char* name;
    std::string bytes;
    std::wstring error;
};

const UnreadableCase kUnreadableCases[] = {
    {"UTF-8 with mark",
     "\xEF\xBB\xBF"
     "a\xC3\tb\n",
     L"Die Zeile ist kein gültiges UTF-8, obwohl die Datei mit dessen Byte-Order-Mark beginnt. "
     L"Gelesen werden UTF-8, UTF-16 mit Byte-Order-Mark und Windows-1252."},
    {"UTF-16 with mark", Utf16LeWithMark(u"a\tb\n") + "\x41",
     L"Die Zeile ist kein gültiges UTF-16, obwohl die Datei mit dessen Byte-Order-Mark beginnt. "
     L"Gelesen werden UTF-8, UTF-16 mit Byte-Order-Mark und Windows-1252."},
    {"big-endian UTF-16 with mark", Utf16BeWithMark(u"a\xD800\tb\n"),
     L"Die Zeile ist kein gültiges UTF-16, obwohl die Datei mit dessen Byte-Order-Mark beginnt. "
     L"Gelesen werden UTF-8, UTF-16 mit Byte-Order-Mark und Windows-1252."},
    {"Windows-1252", "a\x9D\tb\n",
     L"Die Datei ist kein gültiges UTF-8 und wird als Windows-1252 gelesen, aber die Zeile enthält ein Byte, "
     L"das dort kein Zeichen ist. Gelesen werden UTF-8, UTF-16 mit Byte-Order-Mark und Windows-1252."},
};

} // namespace

TEST(LinkListFile, TheEncodingIsDecidedOnceByTheLinesThatAreNoComments) {
    for (const EncodingCase& test : kEncodingCases) {
        SCOPED_TRACE(test.name);
        const LinkList list = ParseLinkList(test.bytes, NoVariables);
        EXPECT_EQ(list.encoding, test.encoding);
        ExpectLines(list, test.lines);
    }
}

TEST(LinkListFile, AnUnreadableLineNamesTheEncodingItWasReadIn) {
    for (const UnreadableCase& test : kUnreadableCases) {
        SCOPED_TRACE(test.name);
        const LinkList list = ParseLinkList(test.bytes, NoVariables);
        ASSERT_FALSE(list.lines.empty());
        EXPECT_EQ(list.lines.back().error, test.error);
    }
}

TEST(LinkListFile, EveryCarriageReturnBeforeALineEndIsDropped) {
    const std::pair<const char*, std::string> cases[] = {
        {"CR LF", "a\tb\r\n"},
        {"CR CR LF", "a\tb\r\r\n"},
        {"CR CR at the end", "a\tb\r\r"},
        {"blank CR CR LF", "a\tb \r\r\n"},
        {"UTF-16 CR CR LF", Utf16LeWithMark(u"a\tb\r\r\n")},
    };
    for (const auto& [name, bytes] : cases) {
        SCOPED_TRACE(name);
        ExpectLines(ParseLinkList(bytes, NoVariables), {{1, L"a", L"b", true}});
    }
}

namespace {

struct VariableCase {
    const char* line;
    std::wstring source;
    std::wstring target;
    std::wstring error;
};

const VariableCase kVariableCases[] = {
    {"%HOME_SERVER%\\%USERNAME%\tC:\\Links\\Home", L"\\\\srv\\home\\mmuster", L"C:\\Links\\Home", L""},
    {"\\\\srv\\a%%b\tC:\\100%%", L"\\\\srv\\a%b", L"C:\\100%", L""},
    {"%RABATT%\t%LEERZEICHEN%", L"50%", L"x", L""}, // values are not expanded again, but trimmed
    {"\\\\srv\\%UNBEKANNT%\tC:\\x", L"", L"C:\\x", L"Die Umgebungsvariable %UNBEKANNT% ist nicht gesetzt."},
    {"\\\\srv\\a\tC:\\%NICHT_DA%\\x", L"\\\\srv\\a", L"",
     L"Die Umgebungsvariable %NICHT_DA% ist nicht gesetzt."},
    {"\\\\srv\\%USERNAME\tC:\\x", L"", L"C:\\x",
     L"Zu einem % fehlt das schließende %: eine Umgebungsvariable steht als %NAME%, ein Prozentzeichen "
     L"selbst "
     L"als %%."},
    {"%LEER%\tC:\\x", L"", L"C:\\x", L"Die Quelle fehlt."},
};

std::optional<std::wstring> TestEnvironment(std::wstring_view name) {
    static const std::pair<std::wstring_view, std::wstring_view> variables[] = {
        {L"HOME_SERVER", L"\\\\srv\\home"},
        {L"USERNAME", L"mmuster"},
        {L"RABATT", L"50%"},
        {L"LEERZEICHEN", L"  x  "},
        {L"LEER", L""},
    };
    for (const auto& [variable, value] : variables)
        if (variable == name)
            return std::wstring(value);
    return std::nullopt;
}

} // namespace

TEST(LinkListFile, VariablesAreExpandedBeforeTheLineIsJudged) {
    for (const VariableCase& test : kVariableCases) {
        SCOPED_TRACE(test.line);
        const LinkList list = ParseLinkList(test.line, TestEnvironment);
        ASSERT_EQ(list.lines.size(), 1u);
        EXPECT_EQ(list.lines[0].source, test.source);
        EXPECT_EQ(list.lines[0].target, test.target);
        EXPECT_EQ(list.lines[0].error, test.error);
    }
    // Without a lookup no variable is set, and "%%" is still a "%".
    EXPECT_EQ(ParseLinkList("%USERNAME%\tC:\\x", NoVariables).lines[0].error,
              L"Die Umgebungsvariable %USERNAME% ist nicht gesetzt.");
    EXPECT_EQ(ParseLinkList("a%%\tb", NoVariables).lines[0].source, L"a%");
}

TEST(LinkListFile, AnEscapedPathReadsBackAsItself) {
    const std::pair<std::wstring, std::wstring> cases[] = {
        {L"\\\\srv\\\u00C4mter", L"\\\\srv\\\u00C4mter"},
        {L"C:\\100%", L"C:\\100%%"},
        {L"%USERNAME%", L"%%USERNAME%%"},
        {L"%%", L"%%%%"},
    };
    for (const auto& [path, escaped] : cases) {
        EXPECT_EQ(EscapePercent(path), escaped);
        // As /list writes it, so that /from reads it: each path as source and target.
        std::u16string line;
        for (const std::wstring& field : {escaped, L"\t" + escaped})
            for (const wchar_t ch : field)
                line += static_cast<char16_t>(ch);
        const LinkList list = ParseLinkList(Utf16LeWithMark(line), TestEnvironment);
        ExpectLines(list, {{1, path, path, true}});
    }
}
