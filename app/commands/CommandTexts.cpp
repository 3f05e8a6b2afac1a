#include "Commands.h"
#include "FolderLinkFault.h"
#include "Quoted.h"

using L_SHTCUT::FolderLinkState;

std::wstring NoFolderLinkText(const std::wstring& path, const L_SHTCUT::FolderLinkReading& reading) {
    switch (reading.state) {
    case FolderLinkState::FolderLink:
        return {};
    case FolderLinkState::NoFolder:
        return Quoted(path) + L" existiert nicht.";
    case FolderLinkState::NotAFolder:
        return Quoted(path) + L" ist eine Datei, kein Ordner.";
    default:
        return Quoted(path) +
               (reading.isFolderLink ? L" ist eine beschädigte Ordnerverknüpfung: "
                                     : L" ist keine Ordnerverknüpfung: ") +
               FolderLinkFault(reading) + L".";
    }
}
