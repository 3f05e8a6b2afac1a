#include "ShellLinkRead.h"

#include "LetterCase.h"
#include "ShellLinkFile.h"

#include <algorithm>
#include <array>
#include <vector>

namespace ShellLinkFile {
namespace {

// The network root item's class {208D2C60-3AEA-1069-A2D7-08002B30309D}, in
// its stored byte order.
constexpr std::array<std::uint8_t, 16> NetworkClassId{0x60, 0x2C, 0x8D, 0x20, 0xEA, 0x3A, 0x69, 0x10,
                                                      0xA2, 0xD7, 0x08, 0x00, 0x2B, 0x30, 0x30, 0x9D};

// Any offset or size that leaves the bytes it belongs to.
struct Damaged {};

// A bounds-checked window onto part of the file; offsets are relative to its start.
class Bytes {
public:
    explicit Bytes(std::span<const std::uint8_t> data) : data_(data) {}

    std::size_t Size() const { return data_.size(); }
    bool Holds(std::size_t at, std::size_t count) const {
        return at <= data_.size() && count <= data_.size() - at;
    }
    Bytes Sub(std::size_t at, std::size_t count) const {
        Require(at, count);
        return Bytes(data_.subspan(at, count));
    }
    std::uint8_t U8(std::size_t at) const {
        Require(at, 1);
        return data_[at];
    }
    std::uint16_t U16(std::size_t at) const {
        Require(at, 2);
        return static_cast<std::uint16_t>(data_[at] | data_[at + 1] << 8);
    }
    std::uint32_t U32(std::size_t at) const {
        return static_cast<std::uint32_t>(U16(at)) | static_cast<std::uint32_t>(U16(at + 2)) << 16;
    }
    bool Equals(std::size_t at, std::span<const std::uint8_t> expected) const {
        Require(at, expected.size());
        for (std::size_t i = 0; i < expected.size(); ++i)
            if (data_[at + i] != expected[i])
                return false;
        return true;
    }
    // A NUL-terminated ANSI string; the NUL must lie inside the window.
    std::string AnsiZ(std::size_t at) const {
        std::string text;
        for (;; ++at) {
            const std::uint8_t c = U8(at);
            if (c == 0)
                return text;
            text += static_cast<char>(c);
        }
    }
    // A NUL-terminated UTF-16 string; the NUL must lie inside the window.
    std::u16string Utf16Z(std::size_t at) const {
        std::u16string text;
        for (;; at += 2) {
            const std::uint16_t c = U16(at);
            if (c == 0)
                return text;
            text += static_cast<char16_t>(c);
        }
    }
    std::string Ansi(std::size_t at, std::size_t count) const {
        Require(at, count);
        return std::string(reinterpret_cast<const char*>(data_.data() + at), count);
    }
    std::u16string Utf16(std::size_t at, std::size_t count) const {
        Require(at, 2 * count);
        std::u16string text;
        for (std::size_t i = 0; i < count; ++i)
            text += static_cast<char16_t>(U16(at + 2 * i));
        return text;
    }

private:
    void Require(std::size_t at, std::size_t count) const {
        if (!Holds(at, count))
            throw Damaged{};
    }

    std::span<const std::uint8_t> data_;
};

// UTF-16 from the file into the wide strings of the program (32-bit wchar_t
// on the native build joins surrogate pairs).
std::wstring FromUtf16(const std::u16string& text) {
    std::wstring wide;
    wide.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if constexpr (sizeof(wchar_t) == 4) {
            if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
                text[i + 1] < 0xE000) {
                wide += static_cast<wchar_t>(0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00));
                ++i;
                continue;
            }
        }
        wide += static_cast<wchar_t>(c);
    }
    return wide;
}

std::wstring TrimmedAtNul(std::wstring text) {
    if (const auto nul = text.find(L'\0'); nul != std::wstring::npos)
        text.resize(nul);
    return text;
}

std::wstring JoinPath(const std::wstring& base, const std::wstring& name) {
    if (base.empty() || base.back() == L'\\')
        return base + name;
    return base + L'\\' + name;
}

// The item ID list: a path of shell items, followed as far as their kinds
// are known.
class ItemIdListReader {
public:
    ItemIdListReader(const AnsiDecoder& fromAnsi) : fromAnsi_(fromAnsi) {}

    // items holds the list without its terminating 16-bit 0. An item whose
    // kind or content this reader does not understand (a string without its
    // end within the item, say) ends the reading of the list: the list then
    // names no target, and the shell goes on to LinkInfo, as Windows does.
    std::optional<std::wstring> TargetOf(const std::vector<Bytes>& items) {
        try {
            return FollowedTarget(items);
        } catch (const Damaged&) {
            return std::nullopt;
        }
    }

private:
    std::optional<std::wstring> FollowedTarget(const std::vector<Bytes>& items) {
        if (items.empty())
            return std::nullopt;
        const Bytes& root = items.front();
        if ((root.U8(2) & ItemClassMask) == RootItemClass && root.Size() >= 20) {
            if (root.Equals(4, ComputerClassId))
                return FileSystemPath(items, 1, std::nullopt);
            if (root.Equals(4, InternetClassId))
                return AddressOf(items);
            if (root.Equals(4, NetworkClassId))
                return NetworkItemsPath(items);
        }
        return std::nullopt;
    }

    // From items[first]: a drive item (unless base is given), then folder or
    // file items.
    std::optional<std::wstring> FileSystemPath(const std::vector<Bytes>& items, std::size_t first,
                                               std::optional<std::wstring> base) {
        std::size_t i = first;
        if (!base) {
            if (i >= items.size())
                return std::nullopt;
            base = DriveName(items[i]);
            if (!base)
                return std::nullopt;
            ++i;
        }
        std::wstring path = *base;
        for (; i < items.size(); ++i) {
            if ((items[i].U8(2) & ItemClassMask) != FileEntryItemClass)
                return std::nullopt;
            path = JoinPath(path, FileEntryName(items[i]));
        }
        return path;
    }

    // A volume item holds a name ("C:\" in ASCII, in 20 bytes from offset 3)
    // only when its type has the flag 0x01; without it (type 0x2E, as in the
    // known-folder items Windows 10 puts below the computer for "This PC")
    // the item holds a folder's class identifier and is no drive.
    std::optional<std::wstring> DriveName(const Bytes& item) {
        constexpr std::size_t NameAt = 3;
        constexpr std::size_t NameBytes = 20;
        const std::uint8_t type = item.U8(2);
        if ((type & ItemClassMask) != VolumeItemClass || !(type & VolumeHasName))
            return std::nullopt;
        const Bytes field = item.Sub(NameAt, std::min(NameBytes, item.Size() - NameAt));
        const std::string name = field.AnsiZ(0);
        const bool drive = (name.size() == 2 || (name.size() == 3 && name[2] == '\\')) &&
                           ((name[0] >= 'A' && name[0] <= 'Z') || (name[0] >= 'a' && name[0] <= 'z')) &&
                           name[1] == ':';
        if (!drive)
            return std::nullopt;
        return std::wstring{static_cast<wchar_t>(name[0]), L':', L'\\'};
    }

    // A file or folder item: its long name from the extension block 0xBEEF0004
    // when it has one, else its primary (possibly short) name.
    std::wstring FileEntryName(const Bytes& item) {
        constexpr std::size_t PrimaryNameAt = 14;
        const bool unicodeName = (item.U8(2) & 0x04) != 0;
        std::wstring primary;
        std::size_t afterName = 0;
        if (unicodeName) {
            const std::u16string name = item.Utf16Z(PrimaryNameAt);
            primary = FromUtf16(name);
            afterName = PrimaryNameAt + 2 * (name.size() + 1);
        } else {
            const std::string name = item.AnsiZ(PrimaryNameAt);
            primary = fromAnsi_(name);
            afterName = PrimaryNameAt + name.size() + 1;
        }
        // The block follows the name on an even offset; the item's last 16
        // bits name where it starts when something else lies between.
        if (auto longName = LongName(item, afterName + (afterName & 1)))
            return *longName;
        if (auto longName = LongName(item, item.U16(item.Size() - 2)))
            return *longName;
        return primary;
    }

    // The long name of the extension block starting at blockAt, if there is
    // one there; the last 16 bits of the item name the same offset.
    std::optional<std::wstring> LongName(const Bytes& item, std::size_t blockAt) {
        if (!item.Holds(blockAt, 8) || item.U32(blockAt + 4) != FileEntryExtensionSignature)
            return std::nullopt;
        const std::size_t blockSize = item.U16(blockAt);
        const Bytes block = item.Sub(blockAt, blockSize);
        std::size_t nameAt = 0;
        switch (block.U16(2)) {
        case 3:
            nameAt = 20;
            break;
        case 7:
            nameAt = 38;
            break;
        case 8:
            nameAt = 42;
            break;
        case 9:
            nameAt = 46;
            break;
        default:
            // Later versions: the block records where its name starts.
            nameAt = block.U16(16);
            if (nameAt < 20)
                return std::nullopt;
        }
        return FromUtf16(block.Utf16Z(nameAt));
    }

    // Internet root + URL item: the address. The URL item holds its flags
    // at 3 (0x80: the address is in UTF-16), at 4 a 16-bit size of data
    // that counts those 16 bits themselves (0 when there is none), then 16
    // zero bits and the address with its NUL.
    std::optional<std::wstring> AddressOf(const std::vector<Bytes>& items) {
        if (items.size() != 2 || items[1].U8(2) != UrlItemType)
            return std::nullopt;
        const Bytes& url = items[1];
        const bool unicode = (url.U8(3) & 0x80) != 0;
        constexpr std::size_t DataAt = 4;
        const std::size_t dataSize = std::max<std::size_t>(url.U16(DataAt), 2);
        const std::size_t urlAt = DataAt + dataSize + 2;
        if (unicode)
            return FromUtf16(url.Utf16Z(urlAt));
        return fromAnsi_(url.AnsiZ(urlAt));
    }

    // Network root, network items down to the share ("\\server\share"),
    // then folder or file items.
    std::optional<std::wstring> NetworkItemsPath(const std::vector<Bytes>& items) {
        std::optional<std::wstring> share;
        std::size_t i = 1;
        for (; i < items.size() && (items[i].U8(2) & ItemClassMask) == NetworkItemClass; ++i) {
            std::wstring location = NetworkLocation(items[i]);
            if (location.starts_with(L"\\\\"))
                share = std::move(location);
        }
        if (!share)
            return std::nullopt;
        return FileSystemPath(items, i, share);
    }

    // A network item: flags at 4, then the location, the description (flag
    // 0x80) and the comment (flag 0x40) in ANSI; with type bit 0x80 the same
    // strings follow in UTF-16.
    std::wstring NetworkLocation(const Bytes& item) {
        constexpr std::size_t LocationAt = 5;
        const std::uint8_t flags = item.U8(4);
        const std::string location = item.AnsiZ(LocationAt);
        std::size_t at = LocationAt + location.size() + 1;
        if (flags & 0x80)
            at += item.AnsiZ(at).size() + 1;
        if (flags & 0x40)
            at += item.AnsiZ(at).size() + 1;
        if ((item.U8(2) & 0x80) && item.Holds(at, 2))
            return FromUtf16(item.Utf16Z(at));
        return fromAnsi_(location);
    }

    const AnsiDecoder& fromAnsi_;
};

std::vector<Bytes> SplitItems(const Bytes& list) {
    std::vector<Bytes> items;
    std::size_t at = 0;
    for (;;) {
        const std::size_t size = list.U16(at);
        if (size == 0)
            break;
        if (size < 3)
            throw Damaged{}; // an item holds at least its size and its type
        items.push_back(list.Sub(at, size));
        at += size;
    }
    if (at + 2 != list.Size())
        throw Damaged{};
    return items;
}

struct LinkInfoPaths {
    std::optional<std::wstring> localPath;
    std::optional<std::wstring> networkPath;
};

// A string of LinkInfo or of its network block: ANSI at ansiOffset, or
// UTF-16 at unicodeOffset when that is given.
std::wstring InfoString(const Bytes& bytes, std::uint32_t ansiOffset, std::uint32_t unicodeOffset,
                        const AnsiDecoder& fromAnsi) {
    if (unicodeOffset != 0)
        return FromUtf16(bytes.Utf16Z(unicodeOffset));
    if (ansiOffset != 0)
        return fromAnsi(bytes.AnsiZ(ansiOffset));
    return {};
}

LinkInfoPaths ReadLinkInfo(const Bytes& info, const AnsiDecoder& fromAnsi) {
    const std::uint32_t headerSize = info.U32(4);
    if (headerSize < 0x1C || headerSize > info.Size())
        throw Damaged{};
    const bool unicode = headerSize >= 0x24;
    const std::uint32_t flags = info.U32(8);
    const std::uint32_t volumeIdOffset = info.U32(12);
    const std::uint32_t localBasePathOffset = info.U32(16);
    const std::uint32_t networkLinkOffset = info.U32(20);
    const std::uint32_t suffixOffset = info.U32(24);
    const std::uint32_t localBasePathOffsetUnicode = unicode ? info.U32(28) : 0;
    const std::uint32_t suffixOffsetUnicode = unicode ? info.U32(32) : 0;
    const std::wstring suffix = InfoString(info, suffixOffset, suffixOffsetUnicode, fromAnsi);

    LinkInfoPaths paths;
    if (flags & 0x1) {
        const Bytes volume = info.Sub(volumeIdOffset, info.U32(volumeIdOffset));
        if (volume.U32(12) == 0x14)
            volume.Utf16Z(volume.U32(16));
        else
            volume.AnsiZ(volume.U32(12));
        const std::wstring base = InfoString(info, localBasePathOffset, localBasePathOffsetUnicode, fromAnsi);
        paths.localPath = base + suffix;
    }
    if (flags & 0x2) {
        const Bytes network = info.Sub(networkLinkOffset, info.U32(networkLinkOffset));
        const std::uint32_t netNameOffset = network.U32(8);
        const std::uint32_t netNameOffsetUnicode = netNameOffset > 0x14 ? network.U32(0x14) : 0;
        const std::wstring netName = InfoString(network, netNameOffset, netNameOffsetUnicode, fromAnsi);
        paths.networkPath = suffix.empty() ? netName : JoinPath(netName, suffix);
    }
    return paths;
}

LinkRecords Read(const Bytes& file, const AnsiDecoder& fromAnsi) {
    if (file.U32(0) != HeaderSize || !file.Equals(4, ShellLinkClassId))
        throw Damaged{};
    LinkRecords records;
    records.linkFlags = file.U32(0x14);
    records.fileAttributes = file.U32(0x18);
    const std::uint32_t flags = records.linkFlags;
    std::size_t at = HeaderSize;

    if (flags & HasLinkTargetIDList) {
        const std::size_t listSize = file.U16(at);
        const Bytes list = file.Sub(at + 2, listSize);
        records.hasItemIdList = true;
        const std::vector<Bytes> items = SplitItems(list);
        for (const Bytes& item : items)
            records.itemTypes.push_back(item.U8(2));
        records.itemIdListTarget = ItemIdListReader(fromAnsi).TargetOf(items);
        at += 2 + listSize;
    }
    if ((flags & HasLinkInfo) && !(flags & ForceNoLinkInfo)) {
        const Bytes info = file.Sub(at, file.U32(at));
        LinkInfoPaths paths = ReadLinkInfo(info, fromAnsi);
        records.localPath = std::move(paths.localPath);
        records.networkPath = std::move(paths.networkPath);
        at += info.Size();
    } else if (flags & HasLinkInfo) {
        at += file.Sub(at, file.U32(at)).Size(); // present but to be ignored
    }

    const auto stringData = [&](std::uint32_t flag, std::optional<std::wstring>& field) {
        if (!(flags & flag))
            return;
        const std::size_t count = file.U16(at);
        if (flags & IsUnicode) {
            field = FromUtf16(file.Utf16(at + 2, count));
            at += 2 + 2 * count;
        } else {
            field = fromAnsi(file.Ansi(at + 2, count));
            at += 2 + count;
        }
    };
    stringData(HasName, records.name);
    stringData(HasRelativePath, records.relativePath);
    stringData(HasWorkingDir, records.workingDir);
    stringData(HasArguments, records.arguments);
    stringData(HasIconLocation, records.iconLocation);

    // Extra data blocks up to the terminal block (a size below 4); a file
    // that ends at a block boundary without one is taken as ended.
    while (at < file.Size()) {
        const std::uint32_t blockSize = file.U32(at);
        if (blockSize < 4)
            break;
        if (blockSize < 8)
            throw Damaged{};
        const Bytes block = file.Sub(at, blockSize);
        if (block.U32(4) == EnvironmentBlockSignature) {
            if (blockSize != EnvironmentBlockSize)
                throw Damaged{};
            // Windows fills both halves; the Unicode one holds what the ANSI one cannot.
            std::wstring target =
                TrimmedAtNul(FromUtf16(block.Utf16(8 + EnvironmentCharacters, EnvironmentCharacters)));
            if (target.empty()) {
                const std::string ansi = block.Ansi(8, EnvironmentCharacters);
                target = fromAnsi(ansi.substr(0, ansi.find('\0')));
            }
            records.environmentTarget = std::move(target);
        }
        at += blockSize;
    }
    return records;
}

} // namespace

std::optional<LinkRecords> ReadLinkRecords(std::span<const std::uint8_t> file, const AnsiDecoder& fromAnsi) {
    try {
        return Read(Bytes(file), fromAnsi);
    } catch (const Damaged&) {
        return std::nullopt;
    }
}

std::optional<FoundTarget> PrimaryTarget(const LinkRecords& records) {
    const auto found = [](const std::optional<std::wstring>& path) { return path && !path->empty(); };
    if ((records.linkFlags & HasExpString) && found(records.environmentTarget))
        return FoundTarget{*records.environmentTarget, TargetRecord::EnvironmentBlock};
    if (found(records.itemIdListTarget))
        return FoundTarget{*records.itemIdListTarget, TargetRecord::ItemIdList};
    if (found(records.localPath))
        return FoundTarget{*records.localPath, TargetRecord::LocalPath};
    if (found(records.networkPath))
        return FoundTarget{*records.networkPath, TargetRecord::NetworkPath};
    if (found(records.relativePath))
        return FoundTarget{*records.relativePath, TargetRecord::RelativePath};
    return std::nullopt;
}

bool SameTarget(std::wstring_view a, std::wstring_view b) {
    const auto withoutOneSeparator = [](std::wstring_view s) {
        if (!s.empty() && (s.back() == L'\\' || s.back() == L'/'))
            s.remove_suffix(1);
        return s;
    };
    a = withoutOneSeparator(a);
    b = withoutOneSeparator(b);
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (LetterCase::Upper(a[i]) != LetterCase::Upper(b[i]))
            return false;
    return true;
}

} // namespace ShellLinkFile
