#include "Commands.h"
#include "Quoted.h"

#include "DesktopIniClass.h"

using L_SHTCUT::FolderLinkState;

std::wstring FolderLinkFault(const L_SHTCUT::FolderLinkReading& reading) {
    const std::wstring detail = reading.detail.empty() ? L"" : L" (" + reading.detail + L")";
    switch (reading.state) {
    case FolderLinkState::FolderLink:
        return {};
    case FolderLinkState::NoFolder:
        return L"der Ordner existiert nicht";
    case FolderLinkState::NotAFolder:
        return L"eine Datei, kein Ordner";
    case FolderLinkState::NotMarked:
        return L"der Ordner hat weder das Attribut " + Quoted(L"System") + L" noch " +
               Quoted(L"Schreibgeschützt");
    case FolderLinkState::NoDesktopIni:
        return L"der Ordner enthält keine lesbare desktop.ini" + detail;
    case FolderLinkState::NoFolderShortcutClass:
        return L"seine desktop.ini nennt nicht die Klasse der Ordnerverknüpfungen " +
               std::wstring(FolderShortcutClass);
    case FolderLinkState::NoTargetLnk:
        return L"der Ordner enthält keine lesbare target.lnk" + detail;
    case FolderLinkState::DamagedTargetLnk:
        return L"seine target.lnk ist beschädigt" + detail;
    }
    return {};
}

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
