// The commands that look at folder links without changing them: /show,
// /check, /check /all and /list.
#include "Commands.h"
#include "ConsoleOutput.h"
#include "LinkCheck.h"
#include "LinkFolder.h"
#include "LinkListFile.h"
#include "SourceCheck.h"
#include "SourceKind.h"

#include <windows.h>

#include <optional>
#include <span>
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

// The data formats' keys and fixed values.
constexpr const wchar_t* kListKeys[] = {L"folder", L"name", L"source", L"kind"};
constexpr const wchar_t* kCheckKeys[] = {L"folder", L"name", L"source", L"kind", L"state", L"cause"};
// In the order of FolderLinkKind.
constexpr const wchar_t* kKindWords[] = {L"local", L"share", L"ftp", L"webfolder"};
// In the order of LinkCondition; no folder link is never written.
constexpr const wchar_t* kStateWords[] = {L"", L"damaged", L"reachable", L"not-answering", L"unreachable"};

std::wstring KindWord(const std::wstring& source) {
    const auto kind = SourceKindOf(source);
    return kind ? kKindWords[static_cast<std::size_t>(*kind)] : L"";
}

std::wstring NameIn(const std::wstring& path) {
    return path.substr(path.find_last_of(L'\\') + 1);
}

// Records in the request's data format, written as they come; none for text.
std::optional<RecordWriter> RecordsFor(const CommandRequest& request, std::span<const wchar_t* const> keys) {
    if (request.format == OutputFormat::Text)
        return std::nullopt;
    return std::optional<RecordWriter>(std::in_place, request.format, keys, WriteOutput);
}

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

    std::optional<RecordWriter> records = RecordsFor(request, kCheckKeys);
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
        const std::wstring& source = check.reading.source;
        if (records)
            records->Add({folder, NameIn(paths[i]), source, KindWord(source),
                          kStateWords[static_cast<std::size_t>(check.condition)], cause});
        else
            WriteOutput(check.word + L"\t" + EscapePercent(source) + L"\t" + EscapePercent(paths[i]) + L"\t" +
                        cause + L"\n");
    }
    if (records)
        records->End();
    // A folder without folder links is no failure: it is said as a result.
    else if (!anyLink)
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

    // Each link is printed as a line of a list file: SOURCE, a tab, TARGET;
    // or as a record of the data format.
    std::optional<RecordWriter> records = RecordsFor(request, kListKeys);
    std::size_t links = 0;
    for (const std::wstring& path : linkFolder->subfolders) {
        const auto reading = L_SHTCUT::ReadFolderLink(path);
        if (reading.state == FolderLinkState::FolderLink) {
            if (records)
                records->Add({folder, NameIn(path), reading.source, KindWord(reading.source)});
            else
                WriteOutput(EscapePercent(reading.source) + L"\t" + EscapePercent(path) + L"\n");
            ++links;
        } else if (reading.isFolderLink) {
            WriteError(NoFolderLinkText(path, reading) + L"\n");
        }
    }
    if (records)
        records->End();
    else if (links == 0)
        WriteError(L"In " + Quoted(folder) + L" gibt es keine Ordnerverknüpfung.\n");
    return ExitDone;
}
