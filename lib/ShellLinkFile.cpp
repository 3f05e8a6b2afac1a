#include "ShellLinkFile.h"

#include "ShellLinkCharacters.h"

#include <array>
#include <limits>

namespace ShellLinkFile {
namespace {

// Item types and the sort bytes Windows gives its root items.
constexpr std::uint8_t RootItemType = 0x1F;
constexpr std::uint8_t ComputerSortByte = 0x50;
constexpr std::uint8_t InternetSortByte = 0x68;
constexpr std::uint8_t DriveItemType = 0x2F;
constexpr std::uint8_t DriveItemSize = 25;
constexpr std::uint8_t FolderItemType = 0x31;
constexpr std::uint8_t FileItemType = 0x32;
constexpr std::uint8_t UrlItemUnicode = 0x80;

// The folder items' extension block as Windows 8.1 and 10 write it.
constexpr std::uint16_t FileEntryExtensionVersion = 9;
constexpr std::uint16_t LongNameOffsetVersion9 = 46;

constexpr std::uint32_t LinkInfoHeaderSizeAnsi = 0x1C;
constexpr std::uint32_t LinkInfoHeaderSizeUnicode = 0x24;
constexpr std::uint32_t VolumeIdHeaderSizeAnsi = 0x10;
constexpr std::uint32_t VolumeIdHeaderSizeUnicode = 0x14;
constexpr std::uint32_t NetworkLinkHeaderSizeAnsi = 0x14;
constexpr std::uint32_t NetworkLinkHeaderSizeUnicode = 0x1C;

// Little-endian byte sink; positions are counted from the start of what it holds.
class Bytes {
public:
    void U8(std::uint8_t v) { data_.push_back(v); }
    void U16(std::uint16_t v) {
        U8(static_cast<std::uint8_t>(v));
        U8(static_cast<std::uint8_t>(v >> 8));
    }
    void U32(std::uint32_t v) {
        U16(static_cast<std::uint16_t>(v));
        U16(static_cast<std::uint16_t>(v >> 16));
    }
    void U64(std::uint64_t v) {
        U32(static_cast<std::uint32_t>(v));
        U32(static_cast<std::uint32_t>(v >> 32));
    }
    void Zeros(std::size_t count) { data_.insert(data_.end(), count, 0); }
    // One zero byte when the next byte would lie on an odd offset.
    void AlignEven() {
        if (data_.size() % 2 != 0)
            U8(0);
    }
    // Byte by byte: a range insert here trips a false out-of-bounds warning of GCC 12.
    void Raw(const std::uint8_t* p, std::size_t count) {
        for (std::size_t i = 0; i < count; ++i)
            data_.push_back(p[i]);
    }
    template <std::size_t N> void Raw(const std::array<std::uint8_t, N>& bytes) { Raw(bytes.data(), N); }
    void AnsiZ(const std::string& s) {
        Raw(reinterpret_cast<const std::uint8_t*>(s.data()), s.size());
        U8(0);
    }
    void Utf16(const std::u16string& s) {
        for (char16_t c : s)
            U16(static_cast<std::uint16_t>(c));
    }
    void Utf16Z(const std::u16string& s) {
        Utf16(s);
        U16(0);
    }
    void Append(const Bytes& other) { data_.insert(data_.end(), other.data_.begin(), other.data_.end()); }
    void PatchU16(std::size_t at, std::uint16_t v) {
        data_[at] = static_cast<std::uint8_t>(v);
        data_[at + 1] = static_cast<std::uint8_t>(v >> 8);
    }
    void PatchU32(std::size_t at, std::uint32_t v) {
        PatchU16(at, static_cast<std::uint16_t>(v));
        PatchU16(at + 2, static_cast<std::uint16_t>(v >> 16));
    }
    std::uint32_t Size() const { return static_cast<std::uint32_t>(data_.size()); }
    std::vector<std::uint8_t> Take() { return std::move(data_); }

private:
    std::vector<std::uint8_t> data_;
};

// ---- Item ID list ----

Bytes RootItem(std::uint8_t sortByte, const std::array<std::uint8_t, 16>& clsid) {
    Bytes item;
    item.U16(20);
    item.U8(RootItemType);
    item.U8(sortByte);
    item.Raw(clsid);
    return item;
}

// "C:\" in ASCII, zero-filled to the 25 bytes of Windows' drive item.
Bytes DriveItem(wchar_t driveLetter) {
    Bytes item;
    item.U16(DriveItemSize);
    item.U8(DriveItemType);
    item.U8(static_cast<std::uint8_t>(AsciiUpper(driveLetter)));
    item.U8(':');
    item.U8('\\');
    item.Zeros(DriveItemSize - item.Size());
    return item;
}

// A folder item as Windows 10 writes it: size, type, an unused byte, the
// file size (0), the time of last write, the attributes, the primary name
// in ASCII on an even end; then the extension block 0xBEEF0004 of version 9
// with the creation and access times, the file reference and the long name
// in UTF-16; the item ends with the block's offset within it.
std::optional<Bytes> FolderItem(const std::wstring& name, const std::optional<FolderFacts>& known) {
    if (name.size() > MaxNameLength)
        return std::nullopt;
    const FolderFacts facts = known.value_or(FolderFacts{});
    const bool isFile = known && !(known->attributes & DirectoryAttribute);
    std::string primary;
    for (wchar_t c : PrimaryNameOf(name, facts.shortName))
        primary += static_cast<char>(c);

    Bytes item;
    item.U16(0); // size, patched below
    item.U8(isFile ? FileItemType : FolderItemType);
    item.U8(0);
    item.U32(0);
    item.U16(facts.modified.date);
    item.U16(facts.modified.time);
    item.U16(static_cast<std::uint16_t>(facts.attributes));
    item.AnsiZ(primary);
    item.AlignEven();

    const std::uint16_t blockAt = static_cast<std::uint16_t>(item.Size());
    const std::u16string longName = ToUtf16(name);
    Bytes block;
    block.U16(static_cast<std::uint16_t>(LongNameOffsetVersion9 + 2 * (longName.size() + 1) + 2));
    block.U16(FileEntryExtensionVersion);
    block.U32(FileEntryExtensionSignature);
    block.U16(facts.created.date);
    block.U16(facts.created.time);
    block.U16(facts.accessed.date);
    block.U16(facts.accessed.time);
    block.U16(LongNameOffsetVersion9);
    block.U16(0);
    block.U64(facts.fileReference);
    block.Zeros(8);
    block.U16(0); // no localized name
    block.Zeros(4 + 4);
    block.Utf16Z(longName);
    block.U16(blockAt);
    item.Append(block);
    item.PatchU16(0, static_cast<std::uint16_t>(item.Size()));
    return item;
}

// The size of the URL item of an address of utf16Units UTF-16 units.
std::size_t UrlItemSize(std::size_t utf16Units) {
    return 8 + 2 * (utf16Units + 1) + 2;
}

} // namespace

bool FitsUrlItem(std::size_t utf16Units) {
    return UrlItemSize(utf16Units) <= std::numeric_limits<std::uint16_t>::max() - 2 - 20;
}

namespace {

// The URL item: size, type, the Unicode flag, a 16-bit size of data (0:
// none), 16 zero bits, the address in UTF-16 with its NUL, and 16 zero bits.
std::optional<Bytes> UrlItem(const std::wstring& address) {
    const std::u16string url = ToUtf16(address);
    if (!FitsUrlItem(url.size()))
        return std::nullopt;
    const std::size_t size = UrlItemSize(url.size());
    Bytes item;
    item.U16(static_cast<std::uint16_t>(size));
    item.U8(UrlItemType);
    item.U8(UrlItemUnicode);
    item.U16(0);
    item.U16(0);
    item.Utf16Z(url);
    item.U16(0);
    return item;
}

// The list with its 16-bit size in front and its terminating 16-bit 0.
std::optional<Bytes> ItemIdList(const std::vector<Bytes>& items) {
    Bytes list;
    for (const Bytes& item : items)
        list.Append(item);
    list.U16(0);
    if (list.Size() > std::numeric_limits<std::uint16_t>::max())
        return std::nullopt;
    Bytes sized;
    sized.U16(static_cast<std::uint16_t>(list.Size()));
    sized.Append(list);
    return sized;
}

std::optional<Bytes> LocalItemIdList(const Source& source, const LocalFacts& facts) {
    std::vector<Bytes> items{RootItem(ComputerSortByte, ComputerClassId), DriveItem(source.path[0])};
    const std::vector<std::wstring> names = FolderNamesOf(source);
    for (std::size_t i = 0; i < names.size(); ++i) {
        auto item = FolderItem(names[i], i < facts.folders.size() ? facts.folders[i] : std::nullopt);
        if (!item)
            return std::nullopt;
        items.push_back(std::move(*item));
    }
    return ItemIdList(items);
}

std::optional<Bytes> AddressItemIdList(const Source& source) {
    auto url = UrlItem(source.path);
    if (!url)
        return std::nullopt;
    return ItemIdList({RootItem(InternetSortByte, InternetClassId), std::move(*url)});
}

// ---- LinkInfo ----

Bytes VolumeId(const Volume& volume, const AnsiEncoder& toAnsi) {
    const AnsiText label = toAnsi(volume.label);
    Bytes v;
    v.U32(0); // size, patched below
    v.U32(volume.driveType);
    v.U32(volume.serialNumber);
    if (label.exact) {
        v.U32(VolumeIdHeaderSizeAnsi);
        v.AnsiZ(label.bytes);
    } else {
        // VolumeLabelOffset 0x14 says: the label is the Unicode one.
        v.U32(VolumeIdHeaderSizeUnicode);
        v.U32(VolumeIdHeaderSizeUnicode);
        v.Utf16Z(ToUtf16(volume.label));
    }
    v.PatchU32(0, v.Size());
    return v;
}

// The network block; with the Unicode form of the share's name only when the
// ANSI code page cannot hold it, as Windows writes it.
Bytes NetworkLink(const std::wstring& netName, const AnsiText& ansiName, std::uint32_t providerType) {
    const bool unicode = !ansiName.exact;
    Bytes n;
    n.U32(0); // size, patched below
    n.U32(ValidNetType);
    n.U32(unicode ? NetworkLinkHeaderSizeUnicode : NetworkLinkHeaderSizeAnsi); // NetNameOffset
    n.U32(0);                                                                  // DeviceNameOffset: no device
    n.U32(providerType);
    if (unicode) {
        n.U32(0); // NetNameOffsetUnicode, patched below
        n.U32(0); // DeviceNameOffsetUnicode: no device
    }
    n.AnsiZ(ansiName.bytes);
    if (unicode) {
        n.AlignEven();
        n.PatchU32(NetworkLinkHeaderSizeAnsi, n.Size());
        n.Utf16Z(ToUtf16(netName));
    }
    n.PatchU32(0, n.Size());
    return n;
}

// The LinkInfo header fields, in their stored order.
struct LinkInfoHeader {
    std::uint32_t flags = 0;
    std::uint32_t volumeIdOffset = 0;
    std::uint32_t localBasePathOffset = 0;
    std::uint32_t networkLinkOffset = 0;
    std::uint32_t commonPathSuffixOffset = 0;
    std::uint32_t localBasePathOffsetUnicode = 0;
    std::uint32_t commonPathSuffixOffsetUnicode = 0;
};

// Assembles LinkInfo from its header and its body; offsets in the header
// count from the start of LinkInfo, so the body starts at headerSize.
class LinkInfoBuilder {
public:
    explicit LinkInfoBuilder(bool unicode)
        : unicode_(unicode), headerSize_(unicode ? LinkInfoHeaderSizeUnicode : LinkInfoHeaderSizeAnsi) {}

    bool Unicode() const { return unicode_; }
    std::uint32_t Offset() const { return headerSize_ + body_.Size(); }
    Bytes& Body() { return body_; }
    // Unicode strings start on even offsets within LinkInfo (the header
    // sizes are even, so the body's parity is LinkInfo's).
    std::uint32_t AlignedOffset() {
        body_.AlignEven();
        return Offset();
    }

    Bytes Build(const LinkInfoHeader& h) const {
        Bytes info;
        info.U32(headerSize_ + body_.Size());
        info.U32(headerSize_);
        info.U32(h.flags);
        info.U32(h.volumeIdOffset);
        info.U32(h.localBasePathOffset);
        info.U32(h.networkLinkOffset);
        info.U32(h.commonPathSuffixOffset);
        if (unicode_) {
            info.U32(h.localBasePathOffsetUnicode);
            info.U32(h.commonPathSuffixOffsetUnicode);
        }
        info.Append(body_);
        return info;
    }

private:
    bool unicode_;
    std::uint32_t headerSize_;
    Bytes body_;
};

// Windows' order: VolumeID, LocalBasePath, LocalBasePathUnicode,
// CommonPathSuffix, CommonPathSuffixUnicode.
Bytes LocalLinkInfo(const std::wstring& path, const Volume& volume, const AnsiEncoder& toAnsi) {
    const AnsiText base = toAnsi(path);
    LinkInfoBuilder b(!base.exact);
    LinkInfoHeader h;
    h.flags = VolumeIDAndLocalBasePath;
    h.volumeIdOffset = b.Offset();
    b.Body().Append(VolumeId(volume, toAnsi));
    h.localBasePathOffset = b.Offset();
    b.Body().AnsiZ(base.bytes);
    if (b.Unicode()) {
        h.localBasePathOffsetUnicode = b.AlignedOffset();
        b.Body().Utf16Z(ToUtf16(path));
    }
    h.commonPathSuffixOffset = b.Offset();
    b.Body().AnsiZ({}); // the whole path is the base; the suffix is empty
    if (b.Unicode()) {
        h.commonPathSuffixOffsetUnicode = b.AlignedOffset();
        b.Body().Utf16Z({});
    }
    return b.Build(h);
}

Bytes NetworkLinkInfo(const NetworkPath& path, std::uint32_t providerType, const AnsiEncoder& toAnsi) {
    const AnsiText netName = toAnsi(path.netName);
    const AnsiText suffix = toAnsi(path.suffix);
    LinkInfoBuilder b(!netName.exact || !suffix.exact);
    LinkInfoHeader h;
    h.flags = CommonNetworkRelativeLinkAndPathSuffix;
    h.networkLinkOffset = b.Offset();
    b.Body().Append(NetworkLink(path.netName, netName, providerType));
    h.commonPathSuffixOffset = b.Offset();
    b.Body().AnsiZ(suffix.bytes);
    if (b.Unicode()) {
        h.commonPathSuffixOffsetUnicode = b.AlignedOffset();
        b.Body().Utf16Z(ToUtf16(path.suffix));
    }
    return b.Build(h);
}

// ---- Extra data ----

// The environment-variable block: the path in 260 ANSI bytes, then in 260
// UTF-16 characters, each zero-filled; nothing when it does not fit.
std::optional<Bytes> EnvironmentBlock(const std::wstring& path, const AnsiEncoder& toAnsi) {
    const AnsiText ansi = toAnsi(path);
    const std::u16string unicode = ToUtf16(path);
    if (ansi.bytes.size() >= EnvironmentCharacters || unicode.size() >= EnvironmentCharacters)
        return std::nullopt;
    Bytes block;
    block.U32(EnvironmentBlockSize);
    block.U32(EnvironmentBlockSignature);
    block.AnsiZ(ansi.bytes);
    block.Zeros(EnvironmentCharacters - ansi.bytes.size() - 1);
    block.Utf16Z(unicode);
    block.Zeros(2 * (EnvironmentCharacters - unicode.size() - 1));
    return block;
}

// ---- The file ----

struct Records {
    std::uint32_t flags = IsUnicode;
    std::uint32_t fileAttributes = 0;
    std::optional<Bytes> itemIdList;
    std::optional<Bytes> linkInfo;
    std::optional<Bytes> extraData;
};

std::optional<Records> RecordsFor(const Source& source, const LocalFacts& facts, const AnsiEncoder& toAnsi) {
    Records r;
    switch (source.kind) {
    case SourceKind::LocalDrive:
        r.itemIdList = LocalItemIdList(source, facts);
        if (!r.itemIdList)
            return std::nullopt;
        r.flags |= HasLinkTargetIDList | HasLinkInfo;
        r.fileAttributes = facts.fileAttributes;
        r.linkInfo = LocalLinkInfo(source.path, facts.volume, toAnsi);
        return r;
    case SourceKind::NetworkShare: {
        const auto split = SplitNetworkPath(source.path);
        r.extraData = EnvironmentBlock(source.path, toAnsi);
        if (!split || !r.extraData)
            return std::nullopt;
        r.flags |= HasLinkInfo | HasExpString;
        r.fileAttributes = DirectoryAttribute;
        // A web folder is served by the WebDAV redirector, a share by the SMB one.
        r.linkInfo =
            NetworkLinkInfo(*split, source.webFolder ? NetworkProviderDav : NetworkProviderLanman, toAnsi);
        return r;
    }
    case SourceKind::Address:
        r.itemIdList = AddressItemIdList(source);
        if (!r.itemIdList)
            return std::nullopt;
        r.flags |= HasLinkTargetIDList | ForceNoLinkInfo;
        return r;
    }
    return std::nullopt;
}

} // namespace

namespace {

// Characters of an 8.3 name besides letters and digits.
bool IsShortNameCharacter(wchar_t c) {
    return IsAsciiLetter(c) || IsAsciiDigit(c) ||
           std::wstring_view(L"!#$%&'()-@^_`{}~").find(c) != std::wstring_view::npos;
}

bool IsValidShortName(std::wstring_view name) {
    const std::size_t dot = name.find(L'.');
    const std::wstring_view base = name.substr(0, dot);
    const std::wstring_view extension =
        dot == std::wstring_view::npos ? std::wstring_view{} : name.substr(dot + 1);
    if (base.empty() || base.size() > 8 || extension.size() > 3 ||
        (dot != std::wstring_view::npos && extension.empty()))
        return false;
    for (wchar_t c : base)
        if (!IsShortNameCharacter(c))
            return false;
    for (wchar_t c : extension)
        if (!IsShortNameCharacter(c))
            return false;
    return true;
}

std::wstring ShortNameCharacters(std::wstring_view text, std::size_t max) {
    std::wstring kept;
    for (wchar_t c : text)
        if (kept.size() < max && IsShortNameCharacter(c))
            kept += AsciiUpper(c);
    return kept;
}

} // namespace

std::wstring PrimaryNameOf(const std::wstring& longName, const std::wstring& fileSystemShortName) {
    if (IsValidShortName(longName))
        return longName;
    if (IsValidShortName(fileSystemShortName))
        return fileSystemShortName;
    const std::size_t dot = longName.rfind(L'.');
    const bool hasExtension = dot != std::wstring::npos && dot > 0;
    std::wstring base =
        ShortNameCharacters(std::wstring_view(longName).substr(0, hasExtension ? dot : longName.size()), 6);
    if (base.empty()) {
        // A name without one usable character gets four hex digits of its hash.
        std::uint32_t hash = 0;
        for (wchar_t c : longName)
            hash = hash * 31 + static_cast<std::uint32_t>(c);
        constexpr wchar_t Hex[] = L"0123456789ABCDEF";
        for (int shift = 12; shift >= 0; shift -= 4)
            base += Hex[(hash >> shift) & 0xF];
    }
    const std::wstring extension =
        hasExtension ? ShortNameCharacters(std::wstring_view(longName).substr(dot + 1), 3) : L"";
    return base + L"~1" + (extension.empty() ? L"" : L"." + extension);
}

std::optional<std::vector<std::uint8_t>> Serialize(const Source& source, const LocalFacts& facts,
                                                   const AnsiEncoder& toAnsi) {
    const auto records = RecordsFor(source, facts, toAnsi);
    if (!records)
        return std::nullopt;
    const bool local = source.kind == SourceKind::LocalDrive;

    Bytes file;
    file.U32(HeaderSize);
    file.Raw(ShellLinkClassId);
    file.U32(records->flags);
    file.U32(records->fileAttributes);
    file.U64(local ? facts.creationTime : 0);
    file.U64(local ? facts.accessTime : 0);
    file.U64(local ? facts.writeTime : 0);
    file.U32(0); // file size
    file.U32(0); // icon index
    file.U32(ShowNormal);
    file.U16(0); // no hot key
    file.Zeros(2 + 4 + 4);

    if (records->itemIdList)
        file.Append(*records->itemIdList);
    if (records->linkInfo)
        file.Append(*records->linkInfo);
    if (records->extraData)
        file.Append(*records->extraData);
    file.U32(0); // terminal block
    return file.Take();
}

} // namespace ShellLinkFile
