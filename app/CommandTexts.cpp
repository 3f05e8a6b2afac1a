#include "Commands.h"
#include "Quoted.h"

#include "DesktopIniClass.h"

using L_SHTCUT::FolderLinkState;

std::wstring NoFolderLinkText(const std::wstring& path, const L_SHTCUT::FolderLinkReading& reading) {
    const std::wstring detail = reading.detail.empty() ? L"" : L" (" + reading.detail + L")";
    const std::wstring noLink =
        Quoted(path) + (reading.isFolderLink ? L" ist eine beschädigte Ordnerverknüpfung: "
                                             : L" ist keine Ordnerverknüpfung: ");
    switch (reading.state) {
    case FolderLinkState::FolderLink:
        break;
    case FolderLinkState::NoFolder:
        return Quoted(path) + L" existiert nicht.";
    case FolderLinkState::NotAFolder:
        return Quoted(path) + L" ist eine Datei, kein Ordner.";
    case FolderLinkState::NotMarked:
        return noLink + L"der Ordner hat weder das Attribut " + Quoted(L"System") + L" noch " +
               Quoted(L"Schreibgeschützt") + L".";
    case FolderLinkState::NoDesktopIni:
        return noLink + L"der Ordner enthält keine lesbare desktop.ini" + detail + L".";
    case FolderLinkState::NoFolderShortcutClass:
        return noLink + L"seine desktop.ini nennt nicht die Klasse der Ordnerverknüpfungen " +
               std::wstring(FolderShortcutClass) + L".";
    case FolderLinkState::NoTargetLnk:
        return noLink + L"der Ordner enthält keine lesbare target.lnk" + detail + L".";
    case FolderLinkState::DamagedTargetLnk:
        return noLink + L"seine target.lnk ist beschädigt" + detail + L".";
    }
    return {};
}
