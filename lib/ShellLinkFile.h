// The bytes of a shell link file (.lnk) that points at one path, laid out as
// the public Shell Link Binary File Format describes it. Portable: the
// platform supplies what only it knows (the ANSI code page, the volume of a
// local drive) and writes the bytes to disk.
//
// The link carries its target in the places the platform's own shell writes
// for that kind of path:
//  - a local drive path ("C:\dir"): LinkInfo with a VolumeID and the
//    LocalBasePath;
//  - a network share path ("\\server\share\dir"): LinkInfo with a
//    CommonNetworkRelativeLink for "\\server\share" and the CommonPathSuffix
//    "dir";
//  - both with the Unicode forms of these strings when the ANSI code page
//    cannot hold every character;
// and, for every kind (an FTP address as well), the path as typed in the
// RelativePath string, which the shell combines with the link's folder; an
// absolute path or address combines to itself.
// Nothing else is stored: no item ID list, name, working directory,
// arguments, icon or extra data block.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ShellLinkFile {

// Flags of the header (LinkFlags).
inline constexpr std::uint32_t HasLinkTargetIDList = 0x00000001;
inline constexpr std::uint32_t HasLinkInfo = 0x00000002;
inline constexpr std::uint32_t HasName = 0x00000004;
inline constexpr std::uint32_t HasRelativePath = 0x00000008;
inline constexpr std::uint32_t HasWorkingDir = 0x00000010;
inline constexpr std::uint32_t IsUnicode = 0x00000080;
inline constexpr std::uint32_t ForceNoLinkInfo = 0x00000100;
inline constexpr std::uint32_t HasExpString = 0x00000200;

// LinkInfoFlags.
inline constexpr std::uint32_t VolumeIDAndLocalBasePath = 0x1;
inline constexpr std::uint32_t CommonNetworkRelativeLinkAndPathSuffix = 0x2;

// The provider type the platform records for a Windows (SMB) network share.
inline constexpr std::uint32_t NetworkProviderLanman = 0x00020000;
// CommonNetworkRelativeLinkFlags: the provider type field is valid.
inline constexpr std::uint32_t ValidNetType = 0x2;

inline constexpr std::uint32_t HeaderSize = 0x4C;
inline constexpr std::uint32_t ShowNormal = 1;

// Text converted to the ANSI code page; exact is false when a character had
// no code there and was replaced.
struct AnsiText {
    std::string bytes;
    bool exact = true;
};
using AnsiEncoder = std::function<AnsiText(std::wstring_view)>;

// The volume of a local drive path, as the platform reports it.
struct Volume {
    std::uint32_t driveType = 0;
    std::uint32_t serialNumber = 0;
    std::wstring label;
};

struct Target {
    std::wstring path;
    std::uint32_t fileAttributes = 0; // of the target, when known; 0 otherwise
    Volume volume;                    // used for local drive paths only
};

enum class PathKind { LocalDrive, NetworkShare, Other };

PathKind KindOf(std::wstring_view path);

// "\\server\share\rest" split into "\\server\share" and "rest" (empty when
// the path ends at the share or at the separator behind it).
struct NetworkPath {
    std::wstring netName;
    std::wstring suffix;
};
std::optional<NetworkPath> SplitNetworkPath(std::wstring_view path);

// The whole file; nothing when the path cannot be stored: empty, holding a
// NUL character, or longer than the 65535 characters a link string can hold.
std::optional<std::vector<std::uint8_t>> Serialize(const Target& target, const AnsiEncoder& toAnsi);

} // namespace ShellLinkFile
