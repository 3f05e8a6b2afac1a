#include "ShellLinkFile.h"

#include <array>
#include <limits>

namespace ShellLinkFile {
namespace {

// CLSID_ShellLink, 00021401-0000-0000-C000-000000000046, in its stored byte order.
constexpr std::array<std::uint8_t, 16> ShellLinkClsid{0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                                      0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};

constexpr std::uint32_t LinkInfoHeaderSizeAnsi = 0x1C;
constexpr std::uint32_t LinkInfoHeaderSizeUnicode = 0x24;
constexpr std::uint32_t VolumeIdHeaderSizeAnsi = 0x10;
constexpr std::uint32_t VolumeIdHeaderSizeUnicode = 0x14;
constexpr std::uint32_t NetworkLinkHeaderSizeAnsi = 0x14;
constexpr std::uint32_t NetworkLinkHeaderSizeUnicode = 0x1C;

bool IsSeparator(wchar_t c) {
    return c == L'\\' || c == L'/';
}

bool IsDriveLetter(wchar_t c) {
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z');
}

// The file stores UTF-16 whatever the width of wchar_t on the building system.
std::u16string ToUtf16(std::wstring_view text) {
    std::u16string utf16;
    utf16.reserve(text.size());
    for (wchar_t ch : text) {
        const auto code = static_cast<std::uint32_t>(ch);
        if (code > 0xFFFF) {
            const std::uint32_t offset = code - 0x10000;
            utf16 += static_cast<char16_t>(0xD800 + (offset >> 10));
            utf16 += static_cast<char16_t>(0xDC00 + (offset & 0x3FF));
        } else {
            utf16 += static_cast<char16_t>(code);
        }
    }
    return utf16;
}

// Little-endian byte sink; positions are counted from the start of what it holds.
class Bytes {
public:
    void U16(std::uint16_t v) {
        data_.push_back(static_cast<std::uint8_t>(v));
        data_.push_back(static_cast<std::uint8_t>(v >> 8));
    }
    void U32(std::uint32_t v) {
        U16(static_cast<std::uint16_t>(v));
        U16(static_cast<std::uint16_t>(v >> 16));
    }
    void Zeros(std::size_t count) { data_.insert(data_.end(), count, 0); }
    void Raw(const std::uint8_t* p, std::size_t count) { data_.insert(data_.end(), p, p + count); }
    void AnsiZ(const std::string& s) {
        Raw(reinterpret_cast<const std::uint8_t*>(s.data()), s.size());
        data_.push_back(0);
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
    void PatchU32(std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            data_[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
    }
    std::uint32_t Size() const { return static_cast<std::uint32_t>(data_.size()); }
    std::vector<std::uint8_t> Take() { return std::move(data_); }

private:
    std::vector<std::uint8_t> data_;
};

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

Bytes NetworkLink(const std::wstring& netName, const AnsiText& ansiName, bool unicode) {
    Bytes n;
    n.U32(0); // size, patched below
    n.U32(ValidNetType);
    n.U32(unicode ? NetworkLinkHeaderSizeUnicode : NetworkLinkHeaderSizeAnsi); // NetNameOffset
    n.U32(0);                                                                  // DeviceNameOffset: no device
    n.U32(NetworkProviderLanman);
    if (unicode) {
        n.U32(0); // NetNameOffsetUnicode, patched below
        n.U32(0); // DeviceNameOffsetUnicode: no device
    }
    n.AnsiZ(ansiName.bytes);
    if (unicode) {
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

std::vector<std::uint8_t> WithLinkInfoHeader(const LinkInfoHeader& h, bool unicode, const Bytes& body) {
    const std::uint32_t headerSize = unicode ? LinkInfoHeaderSizeUnicode : LinkInfoHeaderSizeAnsi;
    Bytes info;
    info.U32(headerSize + body.Size());
    info.U32(headerSize);
    info.U32(h.flags);
    info.U32(h.volumeIdOffset);
    info.U32(h.localBasePathOffset);
    info.U32(h.networkLinkOffset);
    info.U32(h.commonPathSuffixOffset);
    if (unicode) {
        info.U32(h.localBasePathOffsetUnicode);
        info.U32(h.commonPathSuffixOffsetUnicode);
    }
    info.Append(body);
    return info.Take();
}

std::vector<std::uint8_t> LocalLinkInfo(const Target& target, const AnsiEncoder& toAnsi) {
    const AnsiText base = toAnsi(target.path);
    const bool unicode = !base.exact;
    const std::uint32_t headerSize = unicode ? LinkInfoHeaderSizeUnicode : LinkInfoHeaderSizeAnsi;

    LinkInfoHeader h;
    h.flags = VolumeIDAndLocalBasePath;
    Bytes body;
    h.volumeIdOffset = headerSize + body.Size();
    body.Append(VolumeId(target.volume, toAnsi));
    h.localBasePathOffset = headerSize + body.Size();
    body.AnsiZ(base.bytes);
    h.commonPathSuffixOffset = headerSize + body.Size();
    body.AnsiZ({}); // the whole path is the base; the suffix is empty
    if (unicode) {
        h.localBasePathOffsetUnicode = headerSize + body.Size();
        body.Utf16Z(ToUtf16(target.path));
        h.commonPathSuffixOffsetUnicode = headerSize + body.Size();
        body.Utf16Z({});
    }
    return WithLinkInfoHeader(h, unicode, body);
}

std::vector<std::uint8_t> NetworkLinkInfo(const NetworkPath& path, const AnsiEncoder& toAnsi) {
    const AnsiText netName = toAnsi(path.netName);
    const AnsiText suffix = toAnsi(path.suffix);
    const bool unicode = !netName.exact || !suffix.exact;
    const std::uint32_t headerSize = unicode ? LinkInfoHeaderSizeUnicode : LinkInfoHeaderSizeAnsi;

    LinkInfoHeader h;
    h.flags = CommonNetworkRelativeLinkAndPathSuffix;
    Bytes body;
    h.networkLinkOffset = headerSize + body.Size();
    body.Append(NetworkLink(path.netName, netName, unicode));
    h.commonPathSuffixOffset = headerSize + body.Size();
    body.AnsiZ(suffix.bytes);
    if (unicode) {
        h.commonPathSuffixOffsetUnicode = headerSize + body.Size();
        body.Utf16Z(ToUtf16(path.suffix));
    }
    return WithLinkInfoHeader(h, unicode, body);
}

std::optional<std::vector<std::uint8_t>> LinkInfoFor(const Target& target, const AnsiEncoder& toAnsi) {
    switch (KindOf(target.path)) {
    case PathKind::LocalDrive:
        return LocalLinkInfo(target, toAnsi);
    case PathKind::NetworkShare:
        if (auto split = SplitNetworkPath(target.path))
            return NetworkLinkInfo(*split, toAnsi);
        return std::nullopt;
    case PathKind::Other:
        return std::nullopt;
    }
    return std::nullopt;
}

} // namespace

PathKind KindOf(std::wstring_view path) {
    if (path.size() >= 3 && IsDriveLetter(path[0]) && path[1] == L':' && IsSeparator(path[2]))
        return PathKind::LocalDrive;
    if (SplitNetworkPath(path))
        return PathKind::NetworkShare;
    return PathKind::Other;
}

std::optional<NetworkPath> SplitNetworkPath(std::wstring_view path) {
    if (path.size() < 5 || !IsSeparator(path[0]) || !IsSeparator(path[1]))
        return std::nullopt;
    std::size_t serverEnd = 2;
    while (serverEnd < path.size() && !IsSeparator(path[serverEnd]))
        ++serverEnd;
    if (serverEnd == 2 || serverEnd + 1 >= path.size())
        return std::nullopt; // no server name, or no share after it
    std::size_t shareEnd = serverEnd + 1;
    while (shareEnd < path.size() && !IsSeparator(path[shareEnd]))
        ++shareEnd;
    if (shareEnd == serverEnd + 1)
        return std::nullopt; // "\\server\\..." names no share
    NetworkPath split;
    split.netName = std::wstring(path.substr(0, shareEnd));
    if (shareEnd < path.size())
        split.suffix = std::wstring(path.substr(shareEnd + 1));
    return split;
}

std::optional<std::vector<std::uint8_t>> Serialize(const Target& target, const AnsiEncoder& toAnsi) {
    const std::u16string path = ToUtf16(target.path);
    if (path.empty() || path.size() > std::numeric_limits<std::uint16_t>::max() ||
        path.find(u'\0') != std::u16string::npos)
        return std::nullopt;

    const std::optional<std::vector<std::uint8_t>> linkInfo = LinkInfoFor(target, toAnsi);

    Bytes file;
    file.U32(HeaderSize);
    file.Raw(ShellLinkClsid.data(), ShellLinkClsid.size());
    file.U32((linkInfo ? HasLinkInfo : 0) | HasRelativePath | IsUnicode);
    file.U32(target.fileAttributes);
    file.Zeros(3 * 8); // creation, access and write times: unknown
    file.U32(0);       // file size
    file.U32(0);       // icon index
    file.U32(ShowNormal);
    file.U16(0); // no hot key
    file.Zeros(2 + 4 + 4);

    if (linkInfo)
        file.Raw(linkInfo->data(), linkInfo->size());

    file.U16(static_cast<std::uint16_t>(path.size())); // RelativePath, counted in characters
    file.Utf16(path);

    file.U32(0); // terminal block: no extra data
    return file.Take();
}

} // namespace ShellLinkFile
