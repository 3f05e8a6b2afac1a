// Reading a shell link file (.lnk): where in the file its target is kept and
// which target that is. Portable: the caller reads the file and supplies the
// ANSI code page the ANSI strings are decoded in.
//
// A link can keep its target in several records at once; the shell looks at
// them in this order and takes the first that names a target:
//  1. the environment-variable block, when the header says HasExpString
//     (Windows writes it for a network share, with the whole path);
//  2. the item ID list (Windows writes it for a local path and an address);
//  3. LinkInfo: the local base path with its suffix, or the network share
//     with its suffix;
//  4. the RelativePath string, which the shell combines with the folder the
//     link lies in (returned here as stored).
//
// Every offset and size in the file is checked against the bytes given: a
// damaged file (a count or offset past its end or its record, a string
// without its terminating NUL, a wrong header) is refused as a whole. Inside
// the ID list only the items' sizes are such records: an item this reader
// does not follow (a known-folder item, say, or one whose content it cannot
// make sense of) is no damage; it ends the reading of the list, which then
// names no target, and the shell takes the target from the records after it.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace ShellLinkFile {

// The record a target was found in.
enum class TargetRecord {
    EnvironmentBlock, // the extra data block 0xA0000001
    ItemIdList,       // LinkTargetIDList: a path of items, or an address
    LocalPath,        // LinkInfo: LocalBasePath + CommonPathSuffix
    NetworkPath,      // LinkInfo: the share's NetName + "\" + CommonPathSuffix
    RelativePath,     // StringData: RelativePath, not combined with the link's folder
};

// Everything this reader takes from a link file. A field is empty when the
// file has no such record (or, for the ID list, none it can follow).
struct LinkRecords {
    std::uint32_t linkFlags = 0;
    std::uint32_t fileAttributes = 0; // the target's attributes as recorded in the header

    bool hasItemIdList = false;
    // The type byte of each item of the ID list, in order (0x1F a root
    // item, 0x2F a drive, 0x31 a folder, 0x32 a file, ...).
    std::vector<std::uint8_t> itemTypes;
    // The path the ID list names ("C:\dir", "\\server\share\dir") or the
    // address of its URL item ("ftp://host/dir").
    std::optional<std::wstring> itemIdListTarget;
    std::optional<std::wstring> localPath;
    std::optional<std::wstring> networkPath;
    std::optional<std::wstring> environmentTarget;

    std::optional<std::wstring> name;
    std::optional<std::wstring> relativePath;
    std::optional<std::wstring> workingDir;
    std::optional<std::wstring> arguments;
    std::optional<std::wstring> iconLocation;
};

struct FoundTarget {
    std::wstring path;
    TargetRecord record = TargetRecord::ItemIdList;
};

// Decodes bytes of the ANSI code page the link was written in.
using AnsiDecoder = std::function<std::wstring(std::string_view)>;

// The records of a whole link file; nothing when the file is damaged or is
// no shell link.
std::optional<LinkRecords> ReadLinkRecords(std::span<const std::uint8_t> file, const AnsiDecoder& fromAnsi);

// The target the shell follows first, with the record it came from; nothing
// when no record names one.
std::optional<FoundTarget> PrimaryTarget(const LinkRecords& records);

// Whether two targets name the same place as Windows compares paths and
// addresses: letter case does not count, and neither does one trailing "\"
// or "/" on either side.
bool SameTarget(std::wstring_view a, std::wstring_view b);

} // namespace ShellLinkFile
