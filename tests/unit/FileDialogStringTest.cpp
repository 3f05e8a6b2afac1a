#include "L_COMDLG.h"

#include <gtest/gtest.h>

using namespace L_COMDLG;
using namespace std::string_literals;

using Parts = std::vector<std::wstring>;

TEST(ReplaceFirst, OnlyTheFirstOccurrence) {
    std::wstring text = L"a-b-c";
    EXPECT_EQ(ReplaceFirst(text, L"-", L"+", CompareExact), 1);
    EXPECT_EQ(text, L"a+b-c");
    EXPECT_EQ(ReplaceFirst(text, L"", L"x", CompareExact), 0);
    EXPECT_EQ(ReplaceFirst(text, L"z", L"x", CompareExact), 0);
    EXPECT_EQ(text, L"a+b-c");

    text = L"Wert %S";
    EXPECT_EQ(ReplaceFirst(text, L"%s", L"1", CompareExact), 0);
    EXPECT_EQ(ReplaceFirst(text, L"%s", L"1", CompareText), 1);
    EXPECT_EQ(text, L"Wert 1");

    text = L"\u00C4rger";
    EXPECT_EQ(ReplaceFirst(text, L"\u00E4", L"A", CompareText), 1);
    EXPECT_EQ(text, L"Arger");
}

TEST(FormatText, FillsPlaceholdersInOrder) {
    EXPECT_EQ(FormatText(L"Datei \u00F6ffnen :", {}), L"Datei \u00F6ffnen :");
    EXPECT_EQ(FormatText(L"%s von %S", {L"1", L"2"}), L"1 von 2");
    // More arguments than placeholders: the rest is ignored.
    EXPECT_EQ(FormatText(L"%s", {L"a", L"b"}), L"a");
    // Fewer: the remaining placeholders stay.
    EXPECT_EQ(FormatText(L"%s-%s", {L"a"}), L"a-%s");
    // An argument holding "%s" is taken as text, not as the next placeholder.
    EXPECT_EQ(FormatText(L"%s und %s", {L"%s", L"x"}), L"%s und x");
    EXPECT_EQ(FormatText(L"", {L"a"}), L"");
}

TEST(SplitText, PartsBetweenDelimiters) {
    Parts parts;
    EXPECT_EQ(SplitText(L" a | b ||c", L"|", parts, CompareExact, true, false), 4);
    EXPECT_EQ(parts, (Parts{L"a", L"b", L"", L"c"}));
    EXPECT_EQ(SplitText(L" a | b ||c", L"|", parts, CompareExact, false, true), 3);
    EXPECT_EQ(parts, (Parts{L" a ", L" b ", L"c"}));
    EXPECT_EQ(SplitText(L"aXbxc", L"x", parts, CompareText, false, false), 3);
    EXPECT_EQ(parts, (Parts{L"a", L"b", L"c"}));
    EXPECT_EQ(SplitText(L"a::b", L"::", parts, CompareExact, false, false), 2);
    EXPECT_EQ(parts, (Parts{L"a", L"b"}));
    // The text after the last delimiter always forms a part.
    EXPECT_EQ(SplitText(L"a|", L"|", parts, CompareExact, false, false), 2);
    EXPECT_EQ(parts, (Parts{L"a", L""}));
    EXPECT_EQ(SplitText(L"", L"|", parts, CompareExact, false, false), 1);
    EXPECT_EQ(parts, (Parts{L""}));
    EXPECT_EQ(SplitText(L"", L"|", parts, CompareExact, false, true), 0);
    EXPECT_TRUE(parts.empty());
    parts = {L"old"};
    EXPECT_EQ(SplitText(L"a|b", L"", parts, CompareExact, false, false), 0);
    EXPECT_TRUE(parts.empty());
}

// A delimiter that the text's end and the start of the delimiter would form
// together is no delimiter: the text after the last real one is kept whole.
TEST(SplitText, TheTextsEndNeverCompletesADelimiter) {
    struct Case {
        std::wstring text;
        std::wstring delimiter;
        int compare;
        Parts parts;
    };
    const Case cases[] = {
        {L"a:", L"::", CompareExact, {L"a:"}},        {L"a::b:", L"::", CompareExact, {L"a", L"b:"}},
        {L"xab", L"aba", CompareExact, {L"xab"}},     {L"xA", L"aa", CompareText, {L"xA"}},
        {L"|-|-", L"|-|", CompareExact, {L"", L"-"}},
    };
    for (const Case& c : cases) {
        Parts parts;
        EXPECT_EQ(SplitText(c.text, c.delimiter, parts, c.compare, false, false),
                  static_cast<std::int32_t>(c.parts.size()));
        EXPECT_EQ(parts, c.parts);
    }
}

TEST(FirstExtension, UpToTheFirstSemicolon) {
    EXPECT_EQ(FirstExtension(L"htm;*.html"), L"htm");
    EXPECT_EQ(FirstExtension(L" txt ; *.log"), L"txt");
    EXPECT_EQ(FirstExtension(L"txt|log"), L"txt|log"); // the "|" list is not split
    EXPECT_EQ(FirstExtension(L"  "), L"");
    EXPECT_EQ(FirstExtension(L";x"), L"");
}

TEST(BuildFilter, OnlyAllFilesWithoutTypes) {
    const DialogFilter f = BuildFilter(L"", L"txt");
    EXPECT_EQ(f.filter, L"Alle Dateien (*.*)\0*.*\0"s);
    EXPECT_EQ(f.typeCount, 0);
    EXPECT_EQ(f.filterIndex, 1);
}

TEST(BuildFilter, OneTypePreselected) {
    const DialogFilter f = BuildFilter(L"Textdatei", L"txt");
    EXPECT_EQ(f.filter, L"Alle Dateien (*.*)\0*.*\0Textdatei (*.txt)\0*.txt\0"s);
    EXPECT_EQ(f.typeCount, 1);
    EXPECT_EQ(f.filterIndex, 2);
}

TEST(BuildFilter, SeveralTypesAndPatternLists) {
    const DialogFilter f = BuildFilter(L"Text | Webseite", L"txt|htm;*.html");
    EXPECT_EQ(f.filter,
              L"Alle Dateien (*.*)\0*.*\0Text (*.txt)\0*.txt\0Webseite (*.htm;*.html)\0*.htm;*.html\0"s);
    EXPECT_EQ(f.typeCount, 2);
    EXPECT_EQ(f.filterIndex, 2);
}

TEST(BuildFilter, MismatchedListsKeepTheFirstPair) {
    const DialogFilter f = BuildFilter(L"A|B|C", L"a|b");
    EXPECT_EQ(f.filter, L"Alle Dateien (*.*)\0*.*\0A (*.a)\0*.a\0"s);
    EXPECT_EQ(f.typeCount, 1);

    // A name without any extension text: the pattern is "*." alone.
    const DialogFilter bare = BuildFilter(L"Ordner", L"");
    EXPECT_EQ(bare.filter, L"Alle Dateien (*.*)\0*.*\0Ordner (*.)\0*.\0"s);
    EXPECT_EQ(bare.typeCount, 1);
}

namespace {

using Pair = std::pair<std::wstring, std::wstring>;

// The filter as the dialog reads it: NUL-ended texts two at a time, up to
// the empty text that the string's own terminator makes.
std::vector<Pair> PairsAsTheDialogReadsThem(const std::wstring& filter) {
    const std::wstring buffer = filter + L'\0';
    std::vector<Pair> pairs;
    std::size_t at = 0;
    const auto next = [&buffer, &at] {
        const std::size_t end = buffer.find(L'\0', at);
        std::wstring text = buffer.substr(at, end - at);
        at = end + 1;
        return text;
    };
    while (at < buffer.size()) {
        std::wstring description = next();
        if (description.empty() || at >= buffer.size())
            break;
        pairs.emplace_back(std::move(description), next());
    }
    return pairs;
}

} // namespace

// Each configured type gives exactly one pair, whatever its parts hold; a NUL
// inside a part is left out instead of shifting the pairs after it.
TEST(BuildFilter, EveryTypeReadsBackAsOnePair) {
    struct Case {
        std::wstring fileTypes;
        std::wstring extensions;
        std::vector<Pair> pairs;
    };
    const Pair allFiles{L"Alle Dateien (*.*)", L"*.*"};
    const Case cases[] = {
        {L"Text|Protokoll",
         L"txt|log",
         {allFiles, {L"Text (*.txt)", L"*.txt"}, {L"Protokoll (*.log)", L"*.log"}}},
        {L"Te\0xt|Protokoll"s,
         L"txt|l\0og"s,
         {allFiles, {L"Text (*.txt)", L"*.txt"}, {L"Protokoll (*.log)", L"*.log"}}},
        {L"\0|Protokoll"s, L"\0\0|log"s, {allFiles, {L" (*.)", L"*."}, {L"Protokoll (*.log)", L"*.log"}}},
    };
    for (const Case& c : cases) {
        const DialogFilter f = BuildFilter(c.fileTypes, c.extensions);
        EXPECT_EQ(f.typeCount + 1, static_cast<std::int32_t>(c.pairs.size()));
        EXPECT_EQ(PairsAsTheDialogReadsThem(f.filter), c.pairs);
    }
}

TEST(SplitFileTypes, ParallelLists) {
    Parts names{L"stale"}, patterns{L"stale"};
    EXPECT_EQ(SplitFileTypes(L"", L"txt", names, patterns), 0);
    EXPECT_TRUE(names.empty());
    EXPECT_TRUE(patterns.empty());
    EXPECT_EQ(SplitFileTypes(L"A|B|C", L"a|b", names, patterns), 1);
    EXPECT_EQ(names, (Parts{L"A"}));
    EXPECT_EQ(patterns, (Parts{L"a"}));
}

TEST(FilterEntry, AppendsPairWithNuls) {
    EXPECT_EQ(FilterEntry(L"x\0"s, L"D", L"*.d"), L"x\0D\0*.d\0"s);
}

TEST(DropDotName, OnlyDotAndDotDot) {
    for (const wchar_t* dots : {L".", L".."}) {
        std::wstring name = dots;
        DropDotName(name);
        EXPECT_EQ(name, L"");
    }
    std::wstring name = L"...";
    DropDotName(name);
    EXPECT_EQ(name, L"...");
}

TEST(TrimBuffer, RemovesBlanksTabsAndNulsAtBothEnds) {
    EXPECT_EQ(TrimBuffer(L" \t\0 C:\\a.txt\0\0   \t"s), L"C:\\a.txt");
    EXPECT_EQ(TrimBuffer(L"C:\\d\0a\0b\0\0\0"s), L"C:\\d\0a\0b"s); // inner NULs stay
    EXPECT_EQ(TrimBuffer(L"\0\0\0"s), L"");
    EXPECT_EQ(TrimBuffer(L""), L"");
    EXPECT_EQ(TrimBuffer(L"a b"), L"a b");
}

TEST(SplitNulList, KeepsNonEmptyPartsNotStartingWithSemicolon) {
    Parts parts{L"stale"};
    EXPECT_EQ(SplitNulList(L"", parts), 0);
    EXPECT_TRUE(parts.empty());
    EXPECT_EQ(SplitNulList(L"a\0\0;c\0d"s, parts), 2);
    EXPECT_EQ(parts, (Parts{L"a", L"d"}));
    EXPECT_EQ(SplitNulList(L"a\0"s, parts), 1);
    EXPECT_EQ(parts, (Parts{L"a"}));
}

TEST(ParseMultiSelect, OneFileIsAFullPath) {
    Parts files;
    EXPECT_EQ(ParseMultiSelect(L"C:\\Daten\\a.txt", files), 1);
    EXPECT_EQ(files, (Parts{L"C:\\Daten\\a.txt"}));
}

TEST(ParseMultiSelect, SeveralFilesJoinFolderAndName) {
    Parts files;
    EXPECT_EQ(ParseMultiSelect(L"C:\\Daten\0b.txt\0a.txt\0x"s, files), 3);
    // In the dialog's order, and a trailing one-character name is not lost.
    EXPECT_EQ(files, (Parts{L"C:\\Daten\\b.txt", L"C:\\Daten\\a.txt", L"C:\\Daten\\x"}));
    // A drive root already ends in "\".
    EXPECT_EQ(ParseMultiSelect(L"C:\\\0a\0b"s, files), 2);
    EXPECT_EQ(files, (Parts{L"C:\\a", L"C:\\b"}));
    EXPECT_EQ(ParseMultiSelect(L"", files), 0);
}
