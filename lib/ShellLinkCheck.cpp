#include "ShellLinkCheck.h"

namespace ShellLinkFile {
namespace {

bool Names(const std::optional<std::wstring>& recorded, const std::wstring& source) {
    return recorded && SameTarget(*recorded, source);
}

} // namespace

bool KeepsShellLinkFile(const Source& source, const ShellReadBack& shell, const LinkRecords& records) {
    const std::wstring& path = source.path;
    switch (source.kind) {
    case SourceKind::LocalDrive:
        return Names(shell.rawPath, path) && Names(shell.itemIdListPath, path) &&
               Names(records.itemIdListTarget, path);
    case SourceKind::NetworkShare: {
        const bool shareRecords = (Names(records.networkPath, path) && (records.linkFlags & HasExpString) &&
                                   Names(records.environmentTarget, path)) ||
                                  Names(records.itemIdListTarget, path);
        return Names(shell.rawPath, path) && Names(shell.itemIdListPath, path) && shareRecords;
    }
    case SourceKind::Address:
        return Names(shell.itemUrl, path) && Names(records.itemIdListTarget, path);
    }
    return false;
}

} // namespace ShellLinkFile
