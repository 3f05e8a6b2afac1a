// The bytes of a shell link file (.lnk) that points at one source, laid out
// as Windows' own shell writes them for that kind of source (the public Shell
// Link Binary File Format, and the shell items Windows puts into its item ID
// list). Portable: the platform supplies what only it knows (the ANSI code
// page, the volume, the folders' names, times and attributes) and writes the
// bytes to disk.
//
// What the link holds, by kind of source:
//  - a local drive path ("C:\dir"): the item ID list of the computer root,
//    the drive and one folder item per component (its short name and an
//    extension block with its long Unicode name), LinkInfo with the volume
//    and the local base path, the directory attribute and the folder's times;
//  - a network share path ("\\server\share\dir"): LinkInfo with the network
//    share "\\server\share" and the suffix "dir", the directory attribute,
//    and the environment-variable block holding the whole path;
//  - a web folder, the share form of an http(s) address
//    ("\\host@SSL\DavWWWRoot\dir"): the same, with the WebDAV redirector as
//    the share's network provider;
//  - an address ("ftp://host/dir"): the item ID list of the Internet root and
//    a URL item, and no LinkInfo;
// LinkInfo strings outside the ANSI code page get their Unicode forms, each
// on an even offset. Nothing else is stored: no name, relative path, working
// directory, arguments or icon.
#pragma once

#include "SourceText.h"

#include <array>
#include <cstddef>
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
inline constexpr std::uint32_t HasArguments = 0x00000020;
inline constexpr std::uint32_t HasIconLocation = 0x00000040;
inline constexpr std::uint32_t IsUnicode = 0x00000080;
inline constexpr std::uint32_t ForceNoLinkInfo = 0x00000100;
inline constexpr std::uint32_t HasExpString = 0x00000200;

// LinkInfoFlags.
inline constexpr std::uint32_t VolumeIDAndLocalBasePath = 0x1;
inline constexpr std::uint32_t CommonNetworkRelativeLinkAndPathSuffix = 0x2;

// The provider types the platform records for a Windows (SMB) network share
// and for a web folder of the WebDAV redirector (WNNC_NET_DAV).
inline constexpr std::uint32_t NetworkProviderLanman = 0x00020000;
inline constexpr std::uint32_t NetworkProviderDav = 0x002E0000;
// CommonNetworkRelativeLinkFlags: the provider type field is valid.
inline constexpr std::uint32_t ValidNetType = 0x2;

inline constexpr std::uint32_t EnvironmentBlockSignature = 0xA0000001;
inline constexpr std::uint32_t EnvironmentBlockSize = 0x314;
// Characters of each of the block's two paths, the terminating NUL included.
inline constexpr std::size_t EnvironmentCharacters = 260;
inline constexpr std::uint32_t FileEntryExtensionSignature = 0xBEEF0004;

inline constexpr std::uint32_t HeaderSize = 0x4C;

// Class identifiers in their stored byte order: the shell link itself
// {00021401-0000-0000-C000-000000000046}, and the root items of an ID list,
// the computer {20D04FE0-3AEA-1069-A2D8-08002B30309D} and the Internet
// {871C5380-42A0-1069-A2EA-08002B30309D}.
inline constexpr std::array<std::uint8_t, 16> ShellLinkClassId{
    0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};
inline constexpr std::array<std::uint8_t, 16> ComputerClassId{0xE0, 0x4F, 0xD0, 0x20, 0xEA, 0x3A, 0x69, 0x10,
                                                              0xA2, 0xD8, 0x08, 0x00, 0x2B, 0x30, 0x30, 0x9D};
inline constexpr std::array<std::uint8_t, 16> InternetClassId{0x80, 0x53, 0x1C, 0x87, 0xA0, 0x42, 0x69, 0x10,
                                                              0xA2, 0xEA, 0x08, 0x00, 0x2B, 0x30, 0x30, 0x9D};
// Shell items of an ID list: the class of an item is its type byte masked
// with ItemClassMask; the other bits are flags of the class.
inline constexpr std::uint8_t ItemClassMask = 0x70;
inline constexpr std::uint8_t RootItemClass = 0x10;
inline constexpr std::uint8_t VolumeItemClass = 0x20;
inline constexpr std::uint8_t VolumeHasName = 0x01; // else the item holds a class identifier
inline constexpr std::uint8_t FileEntryItemClass = 0x30;
inline constexpr std::uint8_t FileEntryIsFolder = 0x01;
inline constexpr std::uint8_t FileEntryIsFile = 0x02;
inline constexpr std::uint8_t NetworkItemClass = 0x40;
inline constexpr std::uint8_t UrlItemType = 0x61;

inline constexpr std::uint32_t ShowNormal = 1;
inline constexpr std::uint32_t DirectoryAttribute = 0x10;

// Whether an address of utf16Units UTF-16 code units fits the URL item of the
// ID list, whose size and whose items' are 16 bits, together with the
// Internet root item and the list's end.
bool FitsUrlItem(std::size_t utf16Units);

// Text converted to the ANSI code page; exact is false when a character had
// no code there and was replaced.
struct AnsiText {
    std::string bytes;
    bool exact = true;
};
using AnsiEncoder = std::function<AnsiText(std::wstring_view)>;

// A date and a time in the 16-bit forms of the FAT file system, in UTC, as
// the folder items of an ID list keep them.
struct DosDateTime {
    std::uint16_t date = 0;
    std::uint16_t time = 0;
};

// What the platform knows of one existing folder along a local path.
struct FolderFacts {
    std::wstring shortName; // the 8.3 name the file system gave it; empty when it has none
    std::uint32_t attributes = DirectoryAttribute;
    DosDateTime created;
    DosDateTime accessed;
    DosDateTime modified;
    std::uint64_t fileReference = 0;
};

// The volume of a local drive path, as the platform reports it.
struct Volume {
    std::uint32_t driveType = 0;
    std::uint32_t serialNumber = 0;
    std::wstring label;
};

// What the platform knows of a local source; all of it optional.
struct LocalFacts {
    std::uint32_t fileAttributes = DirectoryAttribute;
    // The target's creation, access and write times (FILETIME values).
    std::uint64_t creationTime = 0;
    std::uint64_t accessTime = 0;
    std::uint64_t writeTime = 0;
    Volume volume;
    // By folder name of FolderNamesOf; missing entries are folders not
    // (or not yet) there.
    std::vector<std::optional<FolderFacts>> folders;
};

// The 8.3 name a folder item records as its primary name: the name itself
// where it is a valid short name, else the file system's short name, else
// one made the way the file system makes them ("NEWFOL~1").
std::wstring PrimaryNameOf(const std::wstring& longName, const std::wstring& fileSystemShortName);

// The whole file; nothing when the source cannot be recorded in the form
// Windows reads (a component longer than 255 characters, a share path or an
// address too long for its record).
std::optional<std::vector<std::uint8_t>> Serialize(const Source& source, const LocalFacts& facts,
                                                   const AnsiEncoder& toAnsi);

} // namespace ShellLinkFile
