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
