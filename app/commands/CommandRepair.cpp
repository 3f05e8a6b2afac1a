// The command /repair: folder links whose parts were damaged are put back
// in order, one named or every one in a folder.
#include "Commands.h"
#include "ConsoleOutput.h"
#include "LinkFolder.h"

namespace {

// What the repair of the folder link at path did, written as one line;
// false when it is not whole afterwards.
// forceHint: what would repair a link refused for its other entries anyway.
bool ReportRepair(const std::wstring& path, const L_SHTCUT::FolderLinkRepair& repair, bool whatIf,
                  const wchar_t* forceHint) {
    const std::wstring link = L"Ordnerverknüpfung " + Quoted(path);
    if (!repair.refusal.empty()) {
        WriteError(link + L" lässt sich nicht reparieren: " + repair.refusal + L" Nichts wurde geändert." +
                   (repair.hiddenEntries.empty() ? L"" : forceHint) + L"\n");
        return false;
    }
    std::wstring changes;
    for (const L_SHTCUT::RepairChange& change : repair.changes)
        changes += (changes.empty() ? L"" : L"; ") + L_SHTCUT::RepairChangeText(change);
    if (!repair.failure.empty()) {
        WriteError(link + L" ist nicht ganz repariert: " + (changes.empty() ? L"" : changes + L"; ") +
                   L"fehlgeschlagen: " + repair.failure + L"\n");
        return false;
    }
    if (changes.empty())
        WriteOutput(link + L" ist in Ordnung.\n");
    else
        WriteOutput(link + (whatIf ? L" würde repariert: " : L" repariert: ") + changes + L".\n");
    return true;
}

} // namespace

int RepairCommand(const CommandRequest& request) {
    if (!request.all) {
        const auto repair = L_SHTCUT::RepairFolderLink(request.target, request.whatIf,
                                                       request.force ? L_SHTCUT::OtherEntries::Hide
                                                                     : L_SHTCUT::OtherEntries::Refuse);
        if (!repair.isFolderLink) {
            WriteError(NoFolderLinkText(request.target, repair.found) + L" Nichts wurde geändert.\n");
            return ExitRefused;
        }
        return ReportRepair(request.target, repair, request.whatIf,
                            L" Mit /force wird sie trotzdem repariert.")
                   ? ExitDone
                   : ExitRefused;
    }

    const auto linkFolder = ReadLinkFolder(request.folder);
    if (!linkFolder)
        return ExitRefused;
    const std::wstring& folder = linkFolder->folder;
    std::size_t links = 0;
    bool allWhole = true;
    for (const std::wstring& path : linkFolder->subfolders) {
        const auto repair = L_SHTCUT::RepairFolderLink(path, request.whatIf);
        if (!repair.isFolderLink)
            continue; // an ordinary folder is none of this command's business
        ++links;
        allWhole = ReportRepair(path, repair, request.whatIf,
                                L" Einzeln mit /repair ZIEL /force wird sie trotzdem repariert.") &&
                   allWhole;
    }
    if (links == 0)
        WriteError(L"In " + Quoted(folder) + L" gibt es keine Ordnerverknüpfung.\n");
    return allWhole ? ExitDone : ExitRefused;
}
