#include "ShellLinkCheck.h"
#include "WindowsLinkSamples.h"

#include <gtest/gtest.h>

using namespace ShellLinkFile;
using namespace WindowsLinkSamples;

namespace {

Source SourceOf(const std::wstring& text) {
    return ClassifySource(text).value_or(Source{});
}

// What our reader would find in a shell file holding path in its ID list,
// with the header and items Windows writes for a local folder: the
// directory attribute, the computer root, the drive and one folder item
// (types of ComputerRootItem, DriveCItem and NewFolderItem).
LinkRecords ItemIdListNaming(const std::wstring& path) {
    LinkRecords records;
    records.fileAttributes = DirectoryAttribute;
    records.hasItemIdList = true;
    records.itemTypes = {ComputerRootItem[2], DriveCItem[2], NewFolderItem[2]};
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

// The items and header a shell wrote for "C:\New folder", an existing
// folder, by writer. Windows writes folder items and the folder's attributes
// (win10-local-folder.lnk: 0x10; win10-local-disk.lnk, the drive root:
// 0x16). Wine's shell writes the folder's own item as a file item (0x32) and
// the attributes as 0: Windows would take that link for one to a file, so
// the format writes the link instead.
TEST(KeepsShellLinkFile, ALocalFolderIsKeptOnlyInTheFormWindowsWrites) {
    struct Case {
        const char* writer;
        std::wstring path;
        std::vector<std::uint8_t> itemTypes;
        std::uint32_t fileAttributes;
        bool kept;
    };
    const std::vector<Case> cases = {
        {"Windows", L"C:\\New folder", {0x1F, 0x2F, 0x31}, 0x10, true},
        {"Windows, the drive root", L"C:\\", {0x1F, 0x2F}, 0x16, true},
        {"Windows, Unicode primary names", L"C:\\a\\b", {0x1F, 0x2F, 0x35, 0xB1}, 0x11, true},
        {"Wine", L"C:\\New folder", {0x1F, 0x2F, 0x32}, 0, false},
        {"a file item with the directory attribute", L"C:\\New folder", {0x1F, 0x2F, 0x32}, 0x10, false},
        {"folder items without the directory attribute", L"C:\\New folder", {0x1F, 0x2F, 0x31}, 0, false},
        {"a file item along the path", L"C:\\a\\b", {0x1F, 0x2F, 0x32, 0x31}, 0x10, false},
        {"no drive item", L"C:\\New folder", {0x1F, 0x31}, 0x10, false},
    };
    for (const Case& c : cases) {
        LinkRecords records = ItemIdListNaming(c.path);
        records.itemTypes = c.itemTypes;
        records.fileAttributes = c.fileAttributes;
        EXPECT_EQ(KeepsShellLinkFile(SourceOf(c.path), ShellReads(c.path), records), c.kept) << c.writer;
    }
}

TEST(KeepsShellLinkFile, AShareNeedsTheNetworkAndEnvironmentBlocksOrAnIdList) {
    const Source source = SourceOf(L"\\\\srv\\share\\docs");
    LinkRecords blocks;
    blocks.fileAttributes = DirectoryAttribute;
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
    // The header must say folder, as Windows writes it for a folder on a share.
    LinkRecords noDirectory = blocks;
    noDirectory.fileAttributes = 0;
    EXPECT_FALSE(KeepsShellLinkFile(source, ShellReads(source.path), noDirectory));
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
