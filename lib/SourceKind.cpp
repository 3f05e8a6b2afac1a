#include "SourceKind.h"

#include "SourceText.h"

std::optional<FolderLinkKind> SourceKindOf(std::wstring_view source) {
    const auto classified = ShellLinkFile::ClassifySource(source);
    if (!classified)
        return std::nullopt;
    switch (classified->kind) {
    case ShellLinkFile::SourceKind::LocalDrive:
        return FolderLinkKind::Local;
    case ShellLinkFile::SourceKind::NetworkShare:
        // An http address is recorded as a share of the web-folder redirector.
        return classified->webFolder ? FolderLinkKind::WebFolder : FolderLinkKind::Share;
    case ShellLinkFile::SourceKind::Address:
        return FolderLinkKind::Ftp;
    }
    return std::nullopt;
}
