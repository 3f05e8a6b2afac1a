// The commands that look at folder links without changing them: /show,
// /check, /check /all and /list.
#include "Commands.h"
#include "ConsoleOutput.h"
#include "LinkCheck.h"
#include "LinkFolder.h"
#include "LinkListFile.h"
#include "SourceCheck.h"

#include <windows.h>

#include <optional>
#include <vector>

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

namespace {

// Every folder link directly in the folder, checked at the same time under
// one deadline: one line each, STATE, SOURCE, FOLDER and the cause, tab
// separated. A damaged folder link is "beschädigt" and its source is not
// asked.
int CheckAllCommand(const CommandRequest& request) {
    const auto linkFolder = ReadLinkFolder(request.folder);
    if (!linkFolder)
        return ExitRefused;
    const std::wstring& folder = linkFolder->folder;
    const std::vector<std::wstring>& paths = linkFolder->subfolders;
    std::vector<LinkCheck> checks(paths.size());
    CheckLinks(paths, request.timeoutSeconds,
               [&checks](std::size_t index, const LinkCheck& check) { checks[index] = check; });

    bool anyLink = false;
    bool allAnswer = true;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        const LinkCheck& check = checks[i];
        if (check.condition == LinkCondition::NoFolderLink)
            continue;
        anyLink = true;
        const std::wstring cause = check.condition == LinkCondition::Damaged
                                       ? NoFolderLinkText(paths[i], check.reading)
                                       : check.cause;
        allAnswer = allAnswer && check.condition == LinkCondition::Reachable;
        WriteOutput(check.word + L"\t" + EscapePercent(check.reading.source) + L"\t" +
                    EscapePercent(paths[i]) + L"\t" + cause + L"\n");
    }
    // A folder without folder links is no failure: it is said as a result.
    if (!anyLink)
        WriteOutput(L"In " + Quoted(folder) + L" gibt es keine Ordnerverkn\u00FCpfung.\n");
    return allAnswer ? ExitDone : ExitRefused;
}

} // namespace

int CheckCommand(const CommandRequest& request) {
    if (request.all)
        return CheckAllCommand(request);
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
    const auto linkFolder = ReadLinkFolder(request.folder);
    if (!linkFolder)
        return ExitRefused;
    const std::wstring& folder = linkFolder->folder;

    // Each link is printed as a line of a list file: SOURCE, a tab, TARGET.
    std::size_t links = 0;
    for (const std::wstring& path : linkFolder->subfolders) {
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
