#include "ShellLinkCheck.h"

#include <algorithm>

namespace ShellLinkFile {
namespace {

bool Names(const std::optional<std::wstring>& recorded, const std::wstring& source) {
    return recorded && SameTarget(*recorded, source);
}

// A file-system item whose flags say folder and not file, as 0x31, 0x35
// (with a Unicode name) and 0xB1.
bool IsFolderItem(std::uint8_t type) {
    return (type & ItemClassMask) == FileEntryItemClass &&
           (type & (FileEntryIsFolder | FileEntryIsFile)) == FileEntryIsFolder;
}

// Windows' own list for a local folder: after the computer root a drive
// item, and after the drive only folder items, the last one included; and
// the header holds the folder's attributes, the directory bit among them.
// Wine's shell writes the last item of an existing folder as a file item
// (0x32) and the header's attributes as 0, a link Windows would take for
// one to a file: such a file is not kept.
bool IsWindowsFolderList(const LinkRecords& records) {
    const auto& types = records.itemTypes;
    const auto drive = std::find_if(types.begin(), types.end(), [](std::uint8_t type) {
        return (type & ItemClassMask) == VolumeItemClass;
    });
    return drive != types.end() && std::all_of(drive + 1, types.end(), IsFolderItem) &&
           (records.fileAttributes & DirectoryAttribute);
}

} // namespace

bool KeepsShellLinkFile(const Source& source, const ShellReadBack& shell, const LinkRecords& records) {
    const std::wstring& path = source.path;
    switch (source.kind) {
    case SourceKind::LocalDrive:
        return Names(shell.rawPath, path) && Names(shell.itemIdListPath, path) &&
               Names(records.itemIdListTarget, path) && IsWindowsFolderList(records);
    case SourceKind::NetworkShare: {
        const bool shareRecords = (Names(records.networkPath, path) && (records.linkFlags & HasExpString) &&
                                   Names(records.environmentTarget, path)) ||
                                  Names(records.itemIdListTarget, path);
        return Names(shell.rawPath, path) && Names(shell.itemIdListPath, path) && shareRecords &&
               (records.fileAttributes & DirectoryAttribute);
    }
    case SourceKind::Address:
        return Names(shell.itemUrl, path) && Names(records.itemIdListTarget, path);
    }
    return false;
}

} // namespace ShellLinkFile
