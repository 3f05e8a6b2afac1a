#include "SourceKind.h"

#include "SourceText.h"

LinkSourceKind SourceKindOf(std::wstring_view source) {
    if (const auto classified = ShellLinkFile::ClassifySource(source)) {
        switch (classified->kind) {
        case ShellLinkFile::SourceKind::LocalDrive:
            return LinkSourceKind::Local;
        case ShellLinkFile::SourceKind::NetworkShare:
            return classified->webFolder ? LinkSourceKind::WebFolder : LinkSourceKind::Share;
        case ShellLinkFile::SourceKind::Address:
            return LinkSourceKind::Ftp; // web addresses are recorded as web folders
        }
    }
    const bool twoSeparators = source.size() >= 2 && (source[0] == L'\\' || source[0] == L'/') &&
                               (source[1] == L'\\' || source[1] == L'/');
    return twoSeparators ? LinkSourceKind::Share : LinkSourceKind::Local;
}
