// The command /remove: a folder link becomes an ordinary folder again.
#include "Commands.h"
#include "ConsoleOutput.h"

int RemoveCommand(const CommandRequest& request) {
    const auto removal = L_SHTCUT::RemoveFolderLink(request.target);
    if (removal.removed) {
        const std::wstring was = removal.found.source.empty() ? L""
                                                              : L" (die Ordnerverknüpfung zeigte auf " +
                                                                    Quoted(removal.found.source) + L")";
        WriteOutput(Quoted(request.target) + L" ist wieder ein gewöhnlicher Ordner" + was + L".\n");
        return ExitDone;
    }
    if (!removal.failure.empty())
        WriteError(Quoted(request.target) + L" bleibt unverändert: " + removal.failure + L"\n");
    else
        WriteError(NoFolderLinkText(request.target, removal.found) + L" Nichts wurde geändert.\n");
    return ExitRefused;
}
