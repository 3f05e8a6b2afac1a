// The commands that look at folder links without changing them: /show,
// /check and /list.
#include "CommandMode.h"
#include "Commands.h"
#include "ConsoleOutput.h"
#include "ErrorText.h"
#include "FolderListing.h"
#include "L_PFADE.h"
#include "LinkListFile.h"
#include "SourceCheck.h"

#include <windows.h>

#include <optional>
#include <vector>

using FolderListing::NetworkShortcutsFolder;
using FolderListing::SubfolderNames;
using L_SHTCUT::FolderLinkState;

namespace {

// The source of the folder link request names, written as the output's first
// line; nothing when the folder holds no link, which is reported instead.
std::optional<std::wstring> WriteLinkedSource(const CommandRequest& request) {
    const auto reading = L_SHTCUT::ReadFolderLink(request.target);
    if (reading.state != FolderLinkState::FolderLink) {
        WriteError(NoFolderLinkText(request.target, reading) + L"\n");
        return std::nullopt;
    }
    WriteOutput(reading.source + L"\n");
    return reading.source;
}

} // namespace

int ShowCommand(const CommandRequest& request) {
    return WriteLinkedSource(request) ? ExitDone : ExitRefused;
}

int CheckCommand(const CommandRequest& request) {
    const std::optional<std::wstring> source = WriteLinkedSource(request);
    if (!source)
        return ExitRefused;
    const SourceAnswer answer = CheckSource(*source, request.timeoutSeconds);
    if (answer.state != SourceState::Reachable) {
        WriteError(answer.message + L"\n");
        return ExitRefused;
    }
    WriteOutput(answer.message + L"\n");
    return ExitDone;
}

int ListCommand(const CommandRequest& request) {
    std::wstring folder = request.folder;
    if (folder.empty()) {
        const auto networkShortcuts = NetworkShortcutsFolder();
        if (!networkShortcuts) {
            WriteError(L"Der Ordner der Netzwerkverknüpfungen lässt sich nicht ermitteln.\n");
            return ExitRefused;
        }
        folder = *networkShortcuts;
    }
    const std::wstring parent = L_PFADE::AddBackslash(folder);
    DWORD error = ERROR_SUCCESS;
    const auto names = SubfolderNames(parent, error);
    if (!names) {
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || error == ERROR_DIRECTORY)
            WriteError(Quoted(folder) + L" existiert nicht oder ist kein Ordner.\n");
        else
            WriteError(Quoted(folder) + L" lässt sich nicht lesen: " + L_SHTCUT::ErrorText(error) + L".\n");
        return ExitRefused;
    }

    // Each link is printed as a line of a list file: SOURCE, a tab, TARGET.
    std::size_t links = 0;
    for (const std::wstring& name : *names) {
        const std::wstring path = parent + name;
        const auto reading = L_SHTCUT::ReadFolderLink(path);
        if (reading.state == FolderLinkState::FolderLink) {
            WriteOutput(EscapePercent(reading.source) + L"\t" + EscapePercent(path) + L"\n");
            ++links;
        } else if (reading.isFolderLink) {
            WriteError(NoFolderLinkText(path, reading) + L"\n");
        }
    }
    if (links == 0)
        WriteError(L"In " + Quoted(folder) + L" gibt es keine Ordnerverknüpfung.\n");
    return ExitDone;
}
