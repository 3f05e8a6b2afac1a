// The commands that look at folder links without changing them: /show,
// /check and /list.
#include "CommandMode.h"
#include "Commands.h"
#include "ConsoleOutput.h"
#include "LinkFolder.h"
#include "LinkListFile.h"
#include "SourceCheck.h"

#include <windows.h>

#include <optional>

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
    const auto folder = FolderOrNetworkShortcuts(request.folder);
    if (!folder)
        return ExitRefused;
    const auto paths = SubfolderPaths(*folder);
    if (!paths)
        return ExitRefused;

    // Each link is printed as a line of a list file: SOURCE, a tab, TARGET.
    std::size_t links = 0;
    for (const std::wstring& path : *paths) {
        const auto reading = L_SHTCUT::ReadFolderLink(path);
        if (reading.state == FolderLinkState::FolderLink) {
            WriteOutput(EscapePercent(reading.source) + L"\t" + EscapePercent(path) + L"\n");
            ++links;
        } else if (reading.isFolderLink) {
            WriteError(NoFolderLinkText(path, reading) + L"\n");
        }
    }
    if (links == 0)
        WriteError(L"In " + Quoted(*folder) + L" gibt es keine Ordnerverknüpfung.\n");
    return ExitDone;
}
