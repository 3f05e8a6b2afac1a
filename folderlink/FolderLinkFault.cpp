#include "FolderLinkFault.h"

#include "DesktopIniClass.h"
#include "Quoted.h"

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
