#include "ShellLinkCheck.h"

#include <gtest/gtest.h>

using namespace ShellLinkFile;

namespace {

Source SourceOf(const std::wstring& text) {
    return ClassifySource(text).value_or(Source{});
}

// What our reader would find in a shell file holding path in its ID list.
LinkRecords ItemIdListNaming(const std::wstring& path) {
    LinkRecords records;
    records.hasItemIdList = true;
    records.itemIdListTarget = path;
    return records;
}

ShellReadBack ShellReads(const std::wstring& path) {
    return {path, path, std::nullopt};
}

} // namespace

TEST(KeepsShellLinkFile, ALocalPathDifferingOnlyByCaseOrOneTrailingSeparatorIsKept) {
    const Source source = SourceOf(L"c:\\daten\\\u00E4nderungen\\");
    EXPECT_EQ(source.path, L"c:\\daten\\\u00E4nderungen");
    EXPECT_TRUE(KeepsShellLinkFile(
        source, {L"c:\\daten\\\u00E4nderungen\\", L"C:\\Daten\\\u00C4nderungen", std::nullopt},
        ItemIdListNaming(L"C:\\Daten\\\u00C4nderungen\\")));
}

TEST(KeepsShellLinkFile, ALocalPathDifferingOtherwiseIsReplaced) {
    const Source source = SourceOf(L"C:\\\u0414\u043E\u043A");
    // The shell kept only an ANSI path: "?" for every Cyrillic letter.
    EXPECT_FALSE(KeepsShellLinkFile(source, ShellReads(L"C:\\???"), ItemIdListNaming(L"C:\\???")));
    EXPECT_FALSE(KeepsShellLinkFile(source, ShellReads(source.path), ItemIdListNaming(L"C:\\???")));
    EXPECT_FALSE(
        KeepsShellLinkFile(source, ShellReads(source.path), ItemIdListNaming(source.path + L"\\\\")));
    EXPECT_FALSE(
        KeepsShellLinkFile(source, {source.path, std::nullopt, std::nullopt}, ItemIdListNaming(source.path)));
    // LinkInfo alone is not where Windows looks first for a local path.
    LinkRecords linkInfoOnly;
    linkInfoOnly.localPath = source.path;
    EXPECT_FALSE(KeepsShellLinkFile(source, ShellReads(source.path), linkInfoOnly));
}

TEST(KeepsShellLinkFile, AShareNeedsTheNetworkAndEnvironmentBlocksOrAnIdList) {
    const Source source = SourceOf(L"\\\\srv\\share\\docs");
    LinkRecords blocks;
    blocks.linkFlags = HasLinkInfo | IsUnicode | HasExpString;
    blocks.networkPath = L"\\\\SRV\\SHARE\\docs";
    blocks.environmentTarget = L"\\\\srv\\share\\docs\\";
    EXPECT_TRUE(KeepsShellLinkFile(source, ShellReads(source.path), blocks));
    EXPECT_TRUE(KeepsShellLinkFile(source, ShellReads(source.path), ItemIdListNaming(source.path)));

    LinkRecords noEnvironment = blocks;
    noEnvironment.linkFlags &= ~HasExpString;
    EXPECT_FALSE(KeepsShellLinkFile(source, ShellReads(source.path), noEnvironment));
    LinkRecords localBaseOnly; // what a shell that writes no network block leaves
    localBaseOnly.localPath = source.path;
    EXPECT_FALSE(KeepsShellLinkFile(source, ShellReads(source.path), localBaseOnly));
    EXPECT_FALSE(KeepsShellLinkFile(source, {source.path, std::nullopt, std::nullopt}, blocks));
}

TEST(KeepsShellLinkFile, AnAddressNeedsItsUrlItem) {
    const Source source = SourceOf(L"ftp://host/pub");
    const ShellReadBack url{std::nullopt, std::nullopt, L"FTP://host/pub/"};
    EXPECT_TRUE(KeepsShellLinkFile(source, url, ItemIdListNaming(L"ftp://host/pub")));
    // A shell that turns the address into a file path below the current folder.
    EXPECT_FALSE(KeepsShellLinkFile(
        source, {L"Z:\\tmp\\ftp:\\host\\pub", L"C:\\users\\Desktop\\ftp://host/pub", std::nullopt},
        ItemIdListNaming(L"C:\\users\\Desktop\\ftp://host/pub")));
    EXPECT_FALSE(KeepsShellLinkFile(source, {std::nullopt, std::nullopt, L"ftp://host/pub/x"},
                                    ItemIdListNaming(L"ftp://host/pub")));
}
