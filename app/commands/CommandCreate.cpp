// The commands that make folder links: /create SOURCE TARGET and
// /create /from LIST.
#include "Commands.h"
#include "ConsoleOutput.h"
#include "EnvironmentVariables.h"
#include "ErrorText.h"
#include "L_PFADE.h"
#include "LinkListFile.h"
#include "WholeFile.h"

#include <windows.h>

#include <optional>

namespace {

struct Outcome {
    bool created = false;
    std::wstring message; // German, without a line end
};

} // namespace

std::wstring TargetFromCommandLine(const std::wstring& typed) {
    const std::wstring path = L_PFADE::TrimPathInput(typed);
    const bool hasDrive = path.size() >= 2 && path[1] == L':';
    const bool hasRoot = !path.empty() && (path[0] == L'\\' || path[0] == L'/');
    if (path.empty() || hasDrive || hasRoot)
        return path;
    const DWORD cchNeeded = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (cchNeeded == 0)
        return path; // left to the check, which refuses what it cannot place
    std::wstring full(cchNeeded, L'\0');
    const DWORD cchCopied = GetFullPathNameW(path.c_str(), cchNeeded, full.data(), nullptr);
    if (cchCopied == 0 || cchCopied >= cchNeeded)
        return path;
    full.resize(cchCopied);
    return full;
}

namespace {

// A question of the window without its closing "Trotzdem fortfahren?".
std::wstring AsStatement(const std::wstring& question) {
    return question.substr(0, question.find(L"\n\n"));
}

Outcome CreateOne(const std::wstring& source, const std::wstring& target, bool force) {
    const L_SHTCUT::CreateCheck check = L_SHTCUT::CheckCreate(source, TargetFromCommandLine(target));
    if (check.verdict == L_SHTCUT::Verdict::Refuse)
        return {false, check.refusal.text};
    if (!force) {
        // What the window asks about is refused here: nobody is there to answer.
        std::wstring questions;
        for (const L_SHTCUT::Message& question : check.questions)
            questions += AsStatement(question.text) + L" ";
        if (!questions.empty())
            return {false, questions + L"Mit /force wird die Ordnerverknüpfung trotzdem erstellt."};
    }
    const std::wstring folderShown = L_SHTCUT::FolderAsShown(check.folder);
    const L_SHTCUT::CreateResult result = L_SHTCUT::CreateFolderLink(*check.source, check.folder);
    if (!result)
        return {false, L_SHTCUT::DescribeFailure(folderShown, result)};
    std::wstring message =
        L"Ordnerverknüpfung " + Quoted(folderShown) + L" auf " + Quoted(check.source->path) + L" erstellt.";
    for (const L_SHTCUT::Message& notice : check.notices)
        message += L" " + notice.text;
    return {true, message};
}

} // namespace

int CreateCommand(const CommandRequest& request) {
    const Outcome outcome = CreateOne(request.source, request.target, request.force);
    if (!outcome.created) {
        WriteError(outcome.message + L"\n");
        return ExitRefused;
    }
    WriteOutput(outcome.message + L"\n");
    return ExitDone;
}

std::optional<LinkList> ReadListFile(const std::wstring& path, std::wstring& why) {
    unsigned long error = ERROR_SUCCESS;
    const auto bytes = ReadWholeFile(path, cbLargestLinkList, error);
    if (!bytes) {
        why = L"Die Liste " + Quoted(path) + L" lässt sich nicht lesen: " + L_SHTCUT::ErrorText(error) + L".";
        return std::nullopt;
    }
    return ParseLinkList(std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()),
                         LookUpEnvironmentVariable);
}

std::wstring ListEncodingNotice(const std::wstring& path, const LinkList& list) {
    if (list.encoding != LinkListEncoding::Windows1252)
        return {};
    return L"Die Liste " + Quoted(path) +
           L" ist kein gültiges UTF-8 und hat keine Byte-Order-Mark; sie wird als Windows-1252 (ANSI) "
           L"gelesen.";
}

int CreateFromListCommand(const CommandRequest& request) {
    std::wstring why;
    const auto read = ReadListFile(request.listFile, why);
    if (!read) {
        WriteError(why + L"\n");
        return ExitRefused;
    }
    const std::vector<LinkListLine>& lines = read->lines;
    if (const std::wstring notice = ListEncodingNotice(request.listFile, *read); !notice.empty())
        WriteOutput(notice + L"\n");
    if (lines.empty()) {
        WriteError(L"Die Liste " + Quoted(request.listFile) + L" nennt keine Ordnerverknüpfung.\n");
        return ExitDone;
    }

    std::size_t created = 0;
    for (const LinkListLine& line : lines) {
        const std::wstring prefix = L"Zeile " + std::to_wstring(line.lineNumber) + L": ";
        if (!line.error.empty()) {
            WriteError(prefix + line.error + L"\n");
            continue;
        }
        const Outcome outcome = CreateOne(line.source, line.target, request.force);
        if (outcome.created) {
            ++created;
            WriteOutput(prefix + outcome.message + L"\n");
        } else {
            WriteError(prefix + outcome.message + L"\n");
        }
    }
    WriteOutput(std::to_wstring(created) + L" von " + std::to_wstring(lines.size()) +
                L" Ordnerverknüpfungen erstellt.\n");
    return created == lines.size() ? ExitDone : ExitRefused;
}
