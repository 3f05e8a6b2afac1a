#include "ShellLinkFile.h"
#include "Windows1252.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

using namespace ShellLinkFile;

namespace {

using ByteVector = std::vector<std::uint8_t>;

// Windows-1252 as the ANSI code page, with "?" for a character it lacks, as
// the platform's conversion does.
AnsiText ToWindows1252(std::wstring_view text) {
    AnsiText ansi;
    for (wchar_t ch : text) {
        const auto code = Windows1252::CodeOf(ch);
        ansi.bytes += code ? static_cast<char>(*code) : '?';
        ansi.exact = ansi.exact && code.has_value();
    }
    return ansi;
}

std::uint32_t U32At(const ByteVector& b, std::size_t at) {
    return static_cast<std::uint32_t>(b.at(at)) | static_cast<std::uint32_t>(b.at(at + 1)) << 8 |
           static_cast<std::uint32_t>(b.at(at + 2)) << 16 | static_cast<std::uint32_t>(b.at(at + 3)) << 24;
}

std::uint16_t U16At(const ByteVector& b, std::size_t at) {
    return static_cast<std::uint16_t>(b.at(at) | b.at(at + 1) << 8);
}

std::string AnsiZAt(const ByteVector& b, std::size_t at) {
    std::string s;
    while (b.at(at) != 0)
        s += static_cast<char>(b.at(at++));
    return s;
}

std::u16string Utf16ZAt(const ByteVector& b, std::size_t at) {
    std::u16string s;
    while (U16At(b, at) != 0) {
        s += static_cast<char16_t>(U16At(b, at));
        at += 2;
    }
    return s;
}

std::u16string Utf16At(const ByteVector& b, std::size_t at, std::size_t count) {
    std::u16string s;
    for (std::size_t i = 0; i < count; ++i)
        s += static_cast<char16_t>(U16At(b, at + 2 * i));
    return s;
}

ByteVector Build(const Target& target) {
    auto bytes = Serialize(target, ToWindows1252);
    EXPECT_TRUE(bytes.has_value());
    return bytes.value_or(ByteVector{});
}

// After the LinkInfo (or the header when there is none) comes the
// RelativePath string and the terminal block; checks both, and that the file
// ends there.
void ExpectRelativePathAndEnd(const ByteVector& b, std::size_t at, const std::u16string& path) {
    ASSERT_EQ(U16At(b, at), path.size());
    EXPECT_EQ(Utf16At(b, at + 2, path.size()), path);
    const std::size_t terminal = at + 2 + 2 * path.size();
    ASSERT_EQ(b.size(), terminal + 4);
    EXPECT_EQ(U32At(b, terminal), 0u);
}

constexpr std::size_t LinkInfoAt = HeaderSize;

} // namespace

TEST(ShellLinkFile, HeaderHasTheFixedSizeClassAndDefaults) {
    Target target;
    target.path = L"C:\\Links";
    target.fileAttributes = 0x10;
    const ByteVector b = Build(target);
    ASSERT_GE(b.size(), HeaderSize);
    EXPECT_EQ(U32At(b, 0), 0x4Cu);
    const ByteVector clsid(b.begin() + 4, b.begin() + 20);
    EXPECT_EQ(clsid, (ByteVector{0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 0xC0, 0x00, 0x00, 0x00, 0x00,
                                 0x00, 0x00, 0x46}));
    EXPECT_EQ(U32At(b, 0x14), HasLinkInfo | HasRelativePath | IsUnicode);
    EXPECT_EQ(U32At(b, 0x18), 0x10u);
    for (std::size_t at = 0x1C; at < 0x3C; at += 4)
        EXPECT_EQ(U32At(b, at), 0u) << "times, size and icon index are empty at " << at;
    EXPECT_EQ(U32At(b, 0x3C), 1u); // SW_SHOWNORMAL
    EXPECT_EQ(U16At(b, 0x40), 0u); // no hot key
    EXPECT_EQ(U16At(b, 0x42), 0u);
    EXPECT_EQ(U32At(b, 0x44), 0u);
    EXPECT_EQ(U32At(b, 0x48), 0u);
}

TEST(ShellLinkFile, LocalPathHasVolumeAndLocalBasePath) {
    Target target;
    target.path = L"C:\\Links\\Docs";
    target.volume = {3, 0x1234ABCD, L"Daten"};
    const ByteVector b = Build(target);

    const std::size_t li = LinkInfoAt;
    const std::uint32_t size = U32At(b, li);
    EXPECT_EQ(U32At(b, li + 4), 0x1Cu);
    EXPECT_EQ(U32At(b, li + 8), VolumeIDAndLocalBasePath);
    const std::uint32_t volumeAt = U32At(b, li + 12);
    EXPECT_EQ(volumeAt, 0x1Cu);
    EXPECT_EQ(U32At(b, li + 20), 0u); // no network link

    EXPECT_EQ(U32At(b, li + volumeAt), 0x10u + 6);
    EXPECT_EQ(U32At(b, li + volumeAt + 4), 3u);
    EXPECT_EQ(U32At(b, li + volumeAt + 8), 0x1234ABCDu);
    EXPECT_EQ(U32At(b, li + volumeAt + 12), 0x10u);
    EXPECT_EQ(AnsiZAt(b, li + volumeAt + 0x10), "Daten");

    const std::uint32_t baseAt = U32At(b, li + 16);
    EXPECT_EQ(baseAt, volumeAt + 0x16);
    EXPECT_EQ(AnsiZAt(b, li + baseAt), "C:\\Links\\Docs");
    const std::uint32_t suffixAt = U32At(b, li + 24);
    EXPECT_EQ(suffixAt, baseAt + 14);
    EXPECT_EQ(AnsiZAt(b, li + suffixAt), "");
    EXPECT_EQ(size, suffixAt + 1);
    ExpectRelativePathAndEnd(b, li + size, u"C:\\Links\\Docs");
}

TEST(ShellLinkFile, LocalPathOutsideTheCodePageAddsUnicodeForms) {
    Target target;
    target.path = L"D:\\\u0414\u043E\u043A";
    target.volume = {3, 7, L"\u0414\u0438\u0441\u043A"};
    const ByteVector b = Build(target);

    const std::size_t li = LinkInfoAt;
    ASSERT_EQ(U32At(b, li + 4), 0x24u);
    const std::uint32_t volumeAt = U32At(b, li + 12);
    EXPECT_EQ(volumeAt, 0x24u);
    // A VolumeLabelOffset of 0x14 points to the Unicode label.
    EXPECT_EQ(U32At(b, li + volumeAt + 12), 0x14u);
    EXPECT_EQ(U32At(b, li + volumeAt + 16), 0x14u);
    EXPECT_EQ(Utf16ZAt(b, li + volumeAt + 0x14), u"\u0414\u0438\u0441\u043A");
    EXPECT_EQ(AnsiZAt(b, li + U32At(b, li + 16)), "D:\\???");
    EXPECT_EQ(Utf16ZAt(b, li + U32At(b, li + 28)), u"D:\\\u0414\u043E\u043A");
    EXPECT_EQ(Utf16ZAt(b, li + U32At(b, li + 32)), u"");
    ExpectRelativePathAndEnd(b, li + U32At(b, li), u"D:\\\u0414\u043E\u043A");
}

TEST(ShellLinkFile, NetworkShareHasNetworkLinkAndPathSuffix) {
    Target target;
    target.path = L"\\\\srv\\share\\docs\\2024";
    const ByteVector b = Build(target);

    const std::size_t li = LinkInfoAt;
    const std::uint32_t size = U32At(b, li);
    EXPECT_EQ(U32At(b, li + 4), 0x1Cu);
    EXPECT_EQ(U32At(b, li + 8), CommonNetworkRelativeLinkAndPathSuffix);
    EXPECT_EQ(U32At(b, li + 12), 0u); // no volume
    EXPECT_EQ(U32At(b, li + 16), 0u); // no local base path
    const std::uint32_t netAt = U32At(b, li + 20);
    EXPECT_EQ(netAt, 0x1Cu);

    const std::size_t net = li + netAt;
    const std::uint32_t netSize = U32At(b, net);
    EXPECT_EQ(U32At(b, net + 4), ValidNetType);
    EXPECT_EQ(U32At(b, net + 8), 0x14u);
    EXPECT_EQ(U32At(b, net + 12), 0u); // no device
    EXPECT_EQ(U32At(b, net + 16), NetworkProviderLanman);
    EXPECT_EQ(AnsiZAt(b, net + 0x14), "\\\\srv\\share");
    EXPECT_EQ(netSize, 0x14u + 12);

    const std::uint32_t suffixAt = U32At(b, li + 24);
    EXPECT_EQ(suffixAt, netAt + netSize);
    EXPECT_EQ(AnsiZAt(b, li + suffixAt), "docs\\2024");
    EXPECT_EQ(size, suffixAt + 10);
    ExpectRelativePathAndEnd(b, li + size, u"\\\\srv\\share\\docs\\2024");
}

TEST(ShellLinkFile, NetworkShareOutsideTheCodePageAddsUnicodeForms) {
    Target target;
    target.path = L"\\\\srv\\\u043E\u0431\u0449\u0438\u0439\\\u0414\u043E\u043A";
    const ByteVector b = Build(target);

    const std::size_t li = LinkInfoAt;
    const std::uint32_t size = U32At(b, li);
    ASSERT_EQ(U32At(b, li + 4), 0x24u);
    EXPECT_EQ(U32At(b, li + 28), 0u); // no local base path, not even a Unicode one
    const std::uint32_t netAt = U32At(b, li + 20);
    EXPECT_EQ(netAt, 0x24u);

    const std::size_t net = li + netAt;
    // A NetNameOffset above 0x14 announces the Unicode offsets.
    ASSERT_EQ(U32At(b, net + 8), 0x1Cu);
    EXPECT_EQ(AnsiZAt(b, net + 0x1C), "\\\\srv\\?????");
    const std::uint32_t unicodeNameAt = U32At(b, net + 0x14);
    EXPECT_EQ(unicodeNameAt, 0x1Cu + 12);
    EXPECT_EQ(U32At(b, net + 0x18), 0u); // no device
    EXPECT_EQ(Utf16ZAt(b, net + unicodeNameAt), u"\\\\srv\\\u043E\u0431\u0449\u0438\u0439");
    EXPECT_EQ(U32At(b, net), unicodeNameAt + 2 * 12);

    EXPECT_EQ(AnsiZAt(b, li + U32At(b, li + 24)), "???");
    const std::uint32_t suffixUnicodeAt = U32At(b, li + 32);
    EXPECT_EQ(Utf16ZAt(b, li + suffixUnicodeAt), u"\u0414\u043E\u043A");
    EXPECT_EQ(size, suffixUnicodeAt + 8);
    ExpectRelativePathAndEnd(b, li + size, u"\\\\srv\\\u043E\u0431\u0449\u0438\u0439\\\u0414\u043E\u043A");
}

TEST(ShellLinkFile, FtpAddressIsOnlyTheRelativePath) {
    Target target;
    target.path = L"ftp://host/pub/dir";
    const ByteVector b = Build(target);
    EXPECT_EQ(U32At(b, 0x14), HasRelativePath | IsUnicode);
    ExpectRelativePathAndEnd(b, HeaderSize, u"ftp://host/pub/dir");
}

TEST(ShellLinkFile, PathsThatCannotBeStoredAreRefused) {
    Target target;
    EXPECT_FALSE(Serialize(target, ToWindows1252));
    target.path = std::wstring(L"C:\\a\0b", 6);
    EXPECT_FALSE(Serialize(target, ToWindows1252));
    target.path = L"C:\\" + std::wstring(65533, L'x');
    EXPECT_FALSE(Serialize(target, ToWindows1252));
    target.path.pop_back();
    EXPECT_TRUE(Serialize(target, ToWindows1252)); // exactly 65535 characters fit
}

TEST(ShellLinkFile, KindsOfPaths) {
    EXPECT_EQ(KindOf(L"C:\\"), PathKind::LocalDrive);
    EXPECT_EQ(KindOf(L"z:/dir"), PathKind::LocalDrive);
    EXPECT_EQ(KindOf(L"C:dir"), PathKind::Other);
    EXPECT_EQ(KindOf(L"\\\\srv\\share"), PathKind::NetworkShare);
    EXPECT_EQ(KindOf(L"\\\\srv"), PathKind::Other);
    EXPECT_EQ(KindOf(L"\\\\srv\\"), PathKind::Other);
    EXPECT_EQ(KindOf(L"ftp://host/path"), PathKind::Other);
    EXPECT_EQ(KindOf(L"relative\\dir"), PathKind::Other);
}

TEST(ShellLinkFile, SplitNetworkPathAtTheShare) {
    auto split = SplitNetworkPath(L"\\\\srv\\share");
    ASSERT_TRUE(split);
    EXPECT_EQ(split->netName, L"\\\\srv\\share");
    EXPECT_EQ(split->suffix, L"");
    split = SplitNetworkPath(L"\\\\srv\\share\\");
    ASSERT_TRUE(split);
    EXPECT_EQ(split->netName, L"\\\\srv\\share");
    EXPECT_EQ(split->suffix, L"");
    split = SplitNetworkPath(L"\\\\srv\\share\\a\\b\\");
    ASSERT_TRUE(split);
    EXPECT_EQ(split->netName, L"\\\\srv\\share");
    EXPECT_EQ(split->suffix, L"a\\b\\");
    EXPECT_FALSE(SplitNetworkPath(L"\\\\\\share\\x"));
    EXPECT_FALSE(SplitNetworkPath(L"\\\\srv\\\\x"));
    EXPECT_FALSE(SplitNetworkPath(L"\\srv\\share"));
}
