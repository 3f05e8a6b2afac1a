#include "ShellLinkRead.h"
#include "ShellLinkFile.h"
#include "Windows1252CodePage.h"
#include "WindowsLinkSamples.h"

#include <gtest/gtest.h>

#include <random>

using namespace ShellLinkFile;
using namespace WindowsLinkSamples;

namespace {

void PutU16(ByteVector& b, std::uint32_t v) {
    b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(v >> 8));
}

void PutU32(ByteVector& b, std::uint32_t v) {
    PutU16(b, v & 0xFFFF);
    PutU16(b, v >> 16);
}

void Append(ByteVector& b, const ByteVector& more) {
    b.insert(b.end(), more.begin(), more.end());
}

// A link file around the given records: the header with flags, the ID list
// of items (when HasLinkTargetIDList is set), then the other bytes as they come.
ByteVector LinkFile(std::uint32_t flags, const std::vector<ByteVector>& items, const ByteVector& rest = {}) {
    ByteVector b;
    PutU32(b, 0x4C);
    Append(b,
           {0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46});
    PutU32(b, flags);
    PutU32(b, 0x10);
    b.resize(0x4C);
    if (flags & HasLinkTargetIDList) {
        ByteVector list;
        for (const ByteVector& item : items)
            Append(list, item);
        PutU16(list, 0);
        PutU16(b, static_cast<std::uint32_t>(list.size()));
        Append(b, list);
    }
    Append(b, rest);
    PutU32(b, 0); // terminal block
    return b;
}

// The environment-variable block as win10-unc-share.lnk holds it: 260 ANSI
// bytes, then 260 UTF-16 characters, each zero-filled.
ByteVector EnvironmentBlock(const std::string& ansi, const std::u16string& unicode) {
    ByteVector b;
    PutU32(b, 0x314);
    PutU32(b, 0xA0000001);
    ByteVector ansiPart(260, 0);
    std::copy(ansi.begin(), ansi.end(), ansiPart.begin());
    Append(b, ansiPart);
    for (std::size_t i = 0; i < 260; ++i)
        PutU16(b, i < unicode.size() ? unicode[i] : 0);
    return b;
}

std::optional<LinkRecords> Read(const ByteVector& file) {
    return ReadLinkRecords(file, FromWindows1252);
}

std::optional<FoundTarget> TargetOf(const ByteVector& file) {
    const auto records = Read(file);
    return records ? PrimaryTarget(*records) : std::nullopt;
}

void ExpectTarget(const ByteVector& file, const std::wstring& path, TargetRecord record) {
    const auto found = TargetOf(file);
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(found->path, path);
    EXPECT_EQ(found->record, record);
}

const std::wstring ArabicName = L"\u062A\u062C\u0631\u0628\u0629.txt";

// A known-folder item below the computer root, as the public description of
// shell items shows one: type 0x2E (a volume item without the name flag
// 0x01), a flag byte 0x80, the folder's identifier (here the Desktop,
// {B4BFCC3A-DB2C-424C-B029-7FE99A87C641}), then an extension block
// 0xBEEF0025 and its offset. The identifier begins with 0x3A, a ":" in ASCII.
const ByteVector DesktopKnownFolderItem = {
    0x32, 0x00, 0x2E, 0x80, 0x3A, 0xCC, 0xBF, 0xB4, 0x2C, 0xDB, 0x4C, 0x42, 0xB0, 0x29, 0x7F, 0xE9, 0x9A,
    0x87, 0xC6, 0x41, 0x1E, 0x00, 0x00, 0x00, 0x25, 0x00, 0xEF, 0xBE, 0x11, 0x00, 0x00, 0x00, 0xFA, 0x66,
    0xA2, 0x86, 0x36, 0x74, 0xCF, 0x01, 0x2D, 0x81, 0xFE, 0xBC, 0xBA, 0x9B, 0xCF, 0x01, 0x14, 0x00,
};

// The same item cut after its identifier: no zero byte anywhere in it.
ByteVector WithoutExtensionBlock(ByteVector item) {
    item.resize(20);
    item[0] = 20;
    return item;
}

} // namespace

TEST(ShellLinkRead, WindowsItemsOfALocalPath) {
    const ByteVector system32 =
        LinkFile(HasLinkTargetIDList, {ComputerRootItem, DriveCItem, WindowsFolderItem, System32FolderItem});
    ExpectTarget(system32, L"C:\\Windows\\System32", TargetRecord::ItemIdList);
    EXPECT_EQ(Read(system32)->itemTypes, (std::vector<std::uint8_t>{0x1F, 0x2F, 0x31, 0x31}));
    ExpectTarget(LinkFile(HasLinkTargetIDList, {ComputerRootItem, DriveCItem}), L"C:\\",
                 TargetRecord::ItemIdList);
    // The long name comes from the extension block, not from the short primary name.
    ExpectTarget(LinkFile(HasLinkTargetIDList, {ComputerRootItem, DriveCItem, NewFolderItem}),
                 L"C:\\New folder", TargetRecord::ItemIdList);
    ExpectTarget(
        LinkFile(HasLinkTargetIDList, {ComputerRootItem, DriveCItem, TestFolderItem, ArabicFileItem}),
        L"C:\\test\\" + ArabicName, TargetRecord::ItemIdList);
}

TEST(ShellLinkRead, WindowsItemsOfAnAddressAndOfAShare) {
    ExpectTarget(LinkFile(HasLinkTargetIDList | ForceNoLinkInfo, {InternetRootItem, HttpUrlItem}),
                 L"http://go.microsoft.com/fwlink/?LinkID=220890", TargetRecord::ItemIdList);
    // The share item's Unicode location, then a folder item with an extension block of version 3.
    ExpectTarget(
        LinkFile(HasLinkTargetIDList, {NetworkRootItem, ServerItem, ShareItem, GmaldherisFolderItem}),
        L"\\\\als-fichiers3\\Qualit\u00E9\\GMAldheris", TargetRecord::ItemIdList);
}

TEST(ShellLinkRead, TheExtensionBlockIsFoundThroughTheItemsLastOffset) {
    // "System32" with two more bytes between its name and its block, and the
    // item's size and last offset moved on by them.
    ByteVector moved = System32FolderItem;
    moved.insert(moved.begin() + 24, {0xAA, 0xBB});
    moved[0] = static_cast<std::uint8_t>(moved.size());
    moved[moved.size() - 2] = 24 + 2;
    ExpectTarget(LinkFile(HasLinkTargetIDList, {ComputerRootItem, DriveCItem, moved}), L"C:\\System32",
                 TargetRecord::ItemIdList);
    // Without a block anywhere the primary name serves.
    ByteVector bare(System32FolderItem.begin(), System32FolderItem.begin() + 24);
    bare[0] = 24;
    ExpectTarget(LinkFile(HasLinkTargetIDList, {ComputerRootItem, DriveCItem, bare}), L"C:\\System32",
                 TargetRecord::ItemIdList);
}

TEST(ShellLinkRead, ItemsOfUnknownKindsNameNoTargetButAreNoDamage) {
    // A list that starts below the desktop with a folder item cannot be followed alone.
    const auto records = Read(LinkFile(HasLinkTargetIDList, {NewFolderItem}));
    ASSERT_TRUE(records.has_value());
    EXPECT_TRUE(records->hasItemIdList);
    EXPECT_FALSE(records->itemIdListTarget.has_value());
    EXPECT_FALSE(PrimaryTarget(*records).has_value());
}

// "This PC\Desktop\test\<file>": the known-folder item is no drive, with or
// without a zero byte in it; the list names nothing, and the target comes
// from the intact LinkInfo (items and LinkInfo of win10-local-unicode.lnk).
TEST(ShellLinkRead, AKnownFolderItemEndsTheListAndLinkInfoNamesTheTarget) {
    const std::wstring linkInfoPath = L"C:\\Users\\u0041\\Desktop\\test\\" + ArabicName;
    for (const ByteVector& knownFolder :
         {DesktopKnownFolderItem, WithoutExtensionBlock(DesktopKnownFolderItem)}) {
        const auto records = Read(LinkFile(HasLinkTargetIDList | HasLinkInfo | IsUnicode,
                                           {ComputerRootItem, knownFolder, TestFolderItem, ArabicFileItem},
                                           UnicodeLocalLinkInfo));
        ASSERT_TRUE(records.has_value()) << "not damaged";
        EXPECT_FALSE(records->itemIdListTarget.has_value());
        const auto found = PrimaryTarget(*records);
        ASSERT_TRUE(found.has_value());
        EXPECT_EQ(found->path, linkInfoPath);
        EXPECT_EQ(found->record, TargetRecord::LocalPath);
    }
    // Without LinkInfo, the environment block names the target.
    ExpectTarget(LinkFile(HasLinkTargetIDList | IsUnicode | HasExpString,
                          {ComputerRootItem, DesktopKnownFolderItem, TestFolderItem},
                          EnvironmentBlock("\\\\srv\\share\\docs", u"\\\\srv\\share\\docs")),
                 L"\\\\srv\\share\\docs", TargetRecord::EnvironmentBlock);
    // Windows 10's link to a server alone (win10-unc-vboxsvr.lnk) has neither an
    // ID list nor LinkInfo, only HasExpString and the block.
    ExpectTarget(LinkFile(IsUnicode | HasExpString, {}, EnvironmentBlock("\\\\VBOXSVR", u"\\\\VBOXSVR")),
                 L"\\\\VBOXSVR", TargetRecord::EnvironmentBlock);
    // A drive item holds its name only with the flag 0x01: the same bytes as type 0x2E name no drive.
    ByteVector unnamedDrive = DriveCItem;
    unnamedDrive[2] = 0x2E;
    const auto records =
        Read(LinkFile(HasLinkTargetIDList, {ComputerRootItem, unnamedDrive, WindowsFolderItem}));
    ASSERT_TRUE(records.has_value());
    EXPECT_FALSE(records->itemIdListTarget.has_value());
}

// The URL item's data size is 16 bits at offset 4 and counts itself; the
// address follows the data and 16 zero bits. Both Windows samples hold no
// data; here ten bytes of it.
TEST(ShellLinkRead, TheUrlItemsAddressFollowsItsData) {
    ByteVector withData(HttpUrlItem.begin(), HttpUrlItem.begin() + 4);
    Append(withData, {0x0A, 0x00, 0x01, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00});
    withData.insert(withData.end(), HttpUrlItem.begin() + 8, HttpUrlItem.end());
    withData[0] = static_cast<std::uint8_t>(withData.size());
    ExpectTarget(LinkFile(HasLinkTargetIDList | ForceNoLinkInfo, {InternetRootItem, withData}),
                 L"http://go.microsoft.com/fwlink/?LinkID=220890", TargetRecord::ItemIdList);
}

TEST(ShellLinkRead, WindowsLinkInfoWithUnicodeStrings) {
    ByteVector info = UnicodeLocalLinkInfo;
    const auto records = Read(LinkFile(HasLinkInfo | IsUnicode, {}, info));
    ASSERT_TRUE(records.has_value());
    EXPECT_EQ(records->localPath, L"C:\\Users\\u0041\\Desktop\\test\\" + ArabicName);
    EXPECT_FALSE(records->networkPath.has_value());
    EXPECT_EQ(PrimaryTarget(*records)->record, TargetRecord::LocalPath);
}

TEST(ShellLinkRead, WindowsShareLinkInfoAndEnvironmentBlock) {
    ByteVector rest = ShareLinkInfo;
    Append(rest, EnvironmentBlock("\\\\127.0.0.1\\test\\test.txt", u"\\\\127.0.0.1\\test\\test.txt"));
    const auto records = Read(LinkFile(HasLinkInfo | IsUnicode | HasExpString, {}, rest));
    ASSERT_TRUE(records.has_value());
    EXPECT_EQ(records->networkPath, L"\\\\127.0.0.1\\TEST\\test.txt");
    EXPECT_EQ(records->environmentTarget, L"\\\\127.0.0.1\\test\\test.txt");
    EXPECT_EQ(PrimaryTarget(*records)->record, TargetRecord::EnvironmentBlock);

    // Without HasExpString the shell ignores the block and takes the network path.
    ExpectTarget(LinkFile(HasLinkInfo | IsUnicode, {}, rest), L"\\\\127.0.0.1\\TEST\\test.txt",
                 TargetRecord::NetworkPath);
    // The ANSI half serves when the Unicode half is empty.
    ByteVector ansiOnly = ShareLinkInfo;
    Append(ansiOnly, EnvironmentBlock("\\\\srv\\\xC4nderungen", u""));
    ExpectTarget(LinkFile(HasLinkInfo | IsUnicode | HasExpString, {}, ansiOnly), L"\\\\srv\\\u00C4nderungen",
                 TargetRecord::EnvironmentBlock);
}

TEST(ShellLinkRead, StringDataInUnicodeAndAnsi) {
    ByteVector unicode;
    PutU16(unicode, 4);
    for (char16_t c : u"Docs")
        if (c)
            PutU16(unicode, c);
    PutU16(unicode, 2);
    PutU16(unicode, u'C');
    PutU16(unicode, u':');
    auto records = Read(LinkFile(HasName | HasWorkingDir | IsUnicode, {}, unicode));
    ASSERT_TRUE(records.has_value());
    EXPECT_EQ(records->name, L"Docs");
    EXPECT_EQ(records->workingDir, L"C:");

    ByteVector ansi;
    PutU16(ansi, 5);
    Append(ansi, {'f', 't', 'p', ':', 0xE4});
    records = Read(LinkFile(HasRelativePath, {}, ansi));
    ASSERT_TRUE(records.has_value());
    EXPECT_EQ(records->relativePath, L"ftp:\u00E4");
    EXPECT_EQ(PrimaryTarget(*records)->record, TargetRecord::RelativePath);
}

TEST(ShellLinkRead, TheShellsOrderOfRecords) {
    ByteVector rest = UnicodeLocalLinkInfo;
    Append(rest, EnvironmentBlock("", u"\\\\srv\\share"));
    const std::vector<ByteVector> items = {ComputerRootItem, DriveCItem, WindowsFolderItem};
    ExpectTarget(LinkFile(HasLinkTargetIDList | HasLinkInfo | IsUnicode | HasExpString, items, rest),
                 L"\\\\srv\\share", TargetRecord::EnvironmentBlock);
    ExpectTarget(LinkFile(HasLinkTargetIDList | HasLinkInfo | IsUnicode, items, rest), L"C:\\Windows",
                 TargetRecord::ItemIdList);
    // ForceNoLinkInfo: the LinkInfo present is passed over.
    const auto records = Read(LinkFile(HasLinkInfo | ForceNoLinkInfo | IsUnicode, {}, UnicodeLocalLinkInfo));
    ASSERT_TRUE(records.has_value());
    EXPECT_FALSE(records->localPath.has_value());
}

// Our writer's records decode back to the source: the ID list's folder
// items for every script, the share's network block and environment block,
// the address's URL item.
TEST(ShellLinkRead, OurOwnLinksReadBack) {
    struct Case {
        std::wstring path;
        TargetRecord record;
    };
    const std::vector<Case> cases = {
        {L"C:\\Links\\Docs", TargetRecord::ItemIdList},
        {L"C:\\Daten\\\u00C4nderungen \u00FCber", TargetRecord::ItemIdList},
        {L"D:\\\u0414\u043E\u043A\u0443\u043C\u0435\u043D\u0442\u044B", TargetRecord::ItemIdList},
        {L"E:\\\u6587\u6863\\\u8D44\u6599", TargetRecord::ItemIdList},
        {L"C:\\", TargetRecord::ItemIdList},
        {L"\\\\srv\\share\\docs", TargetRecord::EnvironmentBlock},
        {L"\\\\\u0441\u0435\u0440\u0432\u0435\u0440\\\u043E\u0431\u0449\u0438\u0439\\\u0414\u043E\u043A",
         TargetRecord::EnvironmentBlock},
        {L"\\\\srv\\\u5171\u4EAB", TargetRecord::EnvironmentBlock},
        {L"\\\\dav.example.org@SSL@8443\\DavWWWRoot\\team", TargetRecord::EnvironmentBlock},
        {L"ftp://host/\u00FCber/\u6587", TargetRecord::ItemIdList},
    };
    for (const Case& c : cases) {
        const auto source = ClassifySource(c.path);
        ASSERT_TRUE(source.has_value());
        LocalFacts facts;
        facts.volume = {3, 0x1234, L"\u0414\u0438\u0441\u043A"};
        const auto bytes = Serialize(*source, facts, ToWindows1252);
        ASSERT_TRUE(bytes.has_value());
        const auto records = Read(*bytes);
        ASSERT_TRUE(records.has_value());
        const auto found = PrimaryTarget(*records);
        ASSERT_TRUE(found.has_value());
        EXPECT_EQ(found->path, c.path);
        EXPECT_EQ(found->record, c.record);
        if (source->kind == SourceKind::LocalDrive) {
            EXPECT_EQ(records->localPath, c.path);
        }
        if (source->kind == SourceKind::NetworkShare) {
            EXPECT_EQ(records->networkPath, c.path);
        }
    }
}

TEST(ShellLinkRead, DamagedFilesAreRefused) {
    const ByteVector good = LinkFile(HasLinkTargetIDList | HasLinkInfo | IsUnicode,
                                     {ComputerRootItem, DriveCItem}, UnicodeLocalLinkInfo);
    ASSERT_TRUE(Read(good).has_value());

    const auto damaged = [&](std::size_t at, std::uint8_t value) {
        ByteVector b = good;
        b.at(at) = value;
        return b;
    };
    EXPECT_FALSE(Read(damaged(0, 0x4D))) << "header size";
    EXPECT_FALSE(Read(damaged(4, 0x02))) << "class identifier";
    EXPECT_FALSE(Read(damaged(0x4C, 0xFF))) << "ID list longer than the file";
    EXPECT_FALSE(Read(damaged(0x4E, 0x02))) << "an item of two bytes";
    EXPECT_FALSE(Read(damaged(0x4E, 0x15))) << "items that overrun the list";
    const std::size_t info = 0x4C + 2 + ComputerRootItem.size() + DriveCItem.size() + 2;
    EXPECT_FALSE(Read(damaged(info, 0xFF))) << "LinkInfo longer than the file";
    EXPECT_FALSE(Read(damaged(info + 28, 0xAB))) << "a string offset past the LinkInfo";
    ByteVector unterminated = good;
    unterminated[info + 0xAA] = 'x'; // the last Unicode string's NUL
    EXPECT_FALSE(Read(unterminated));
    for (std::size_t size : {std::size_t{0}, std::size_t{0x4B}, std::size_t{0x4D}, info + 3, good.size() - 5})
        EXPECT_FALSE(Read(ByteVector(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(size))))
            << "cut at " << size;
}

// Random damage to whole files of every kind: the reader either refuses the
// file or reads it, and never reads outside the bytes it was given (the
// sanitizers watch every access of the exactly sized copies).
TEST(ShellLinkRead, RandomDamageNeverReadsOutsideTheFile) {
    ByteVector share = ShareLinkInfo;
    Append(share, EnvironmentBlock("\\\\srv\\share", u"\\\\srv\\share"));
    std::vector<ByteVector> files = {
        LinkFile(HasLinkTargetIDList | HasLinkInfo | IsUnicode,
                 {ComputerRootItem, DriveCItem, TestFolderItem, ArabicFileItem}, UnicodeLocalLinkInfo),
        LinkFile(HasLinkTargetIDList | ForceNoLinkInfo | IsUnicode, {InternetRootItem, HttpUrlItem}),
        LinkFile(HasLinkTargetIDList, {NetworkRootItem, ServerItem, ShareItem, GmaldherisFolderItem}),
        LinkFile(HasLinkInfo | IsUnicode | HasExpString, {}, share),
    };
    for (const wchar_t* ours :
         {L"C:\\Daten\\\u0414\u043E\u043A", L"\\\\srv\\\u00C4nderungen\\x", L"ftp://host/pub"})
        files.push_back(Serialize(*ClassifySource(ours), {}, ToWindows1252).value());
    std::mt19937 random(20261207);
    int read = 0;
    for (int round = 0; round < 20000; ++round) {
        ByteVector b = files[static_cast<std::size_t>(round) % files.size()];
        const int changes = 1 + static_cast<int>(random() % 4);
        for (int i = 0; i < changes; ++i) {
            const std::size_t at = random() % b.size();
            switch (random() % 3) {
            case 0:
                b[at] = static_cast<std::uint8_t>(random());
                break;
            case 1:
                b[at] ^= static_cast<std::uint8_t>(1u << (random() % 8));
                break;
            default:
                b.resize(at + 1);
            }
        }
        b.shrink_to_fit();
        if (const auto records = Read(b)) {
            ++read;
            PrimaryTarget(*records);
        }
    }
    EXPECT_GT(read, 0); // not every change is damage the reader must see
}

TEST(ShellLinkRead, SameTargetAsWindowsComparesPaths) {
    EXPECT_TRUE(SameTarget(L"C:\\Daten\\\u00C4nderungen", L"c:\\DATEN\\\u00E4nderungen\\"));
    EXPECT_TRUE(SameTarget(L"ftp://host/pub/", L"FTP://HOST/pub"));
    EXPECT_TRUE(
        SameTarget(L"\\\\srv\\\u043E\u0431\u0449\u0438\u0439", L"\\\\SRV\\\u041E\u0411\u0429\u0418\u0419"));
    EXPECT_FALSE(SameTarget(L"C:\\Daten\\\\", L"C:\\Daten"));
    EXPECT_FALSE(SameTarget(L"C:\\Daten", L"C:\\Date"));
    EXPECT_FALSE(SameTarget(L"ftp://host/pub", L"ftp://host/pub/x"));
}
