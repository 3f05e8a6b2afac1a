// The commands that look at folder links without changing them: /show,
// /check, /check /all and /list.
#include "Commands.h"
#include "ConsoleOutput.h"
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
    std::vector<std::wstring> linkPaths;
    std::vector<L_SHTCUT::FolderLinkReading> readings;
    for (const std::wstring& path : linkFolder->subfolders)
        if (auto reading = L_SHTCUT::ReadFolderLink(path); reading.isFolderLink) {
            linkPaths.push_back(path);
            readings.push_back(std::move(reading));
        }
    if (linkPaths.empty()) {
        WriteError(L"In " + Quoted(folder) + L" gibt es keine Ordnerverknüpfung.\n");
        return ExitDone;
    }

    std::vector<std::wstring> sources;
    for (const auto& reading : readings)
        if (reading.state == FolderLinkState::FolderLink)
            sources.push_back(reading.source);
    const std::vector<SourceAnswer> answers = CheckSources(sources, request.timeoutSeconds);

    bool allAnswer = true;
    auto answer = answers.begin();
    for (std::size_t i = 0; i < linkPaths.size(); ++i) {
        const auto& reading = readings[i];
        const bool damaged = reading.state != FolderLinkState::FolderLink;
        const std::wstring word = damaged ? L"beschädigt" : SourceStateWord(answer->state);
        const std::wstring cause = damaged ? NoFolderLinkText(linkPaths[i], reading) : answer->message;
        allAnswer = allAnswer && !damaged && answer->state == SourceState::Reachable;
        WriteOutput(word + L"\t" + EscapePercent(reading.source) + L"\t" + EscapePercent(linkPaths[i]) +
                    L"\t" + cause + L"\n");
        if (!damaged)
            ++answer;
    }
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
