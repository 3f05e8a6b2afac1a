// The command /sync: a folder's folder links kept in step with a list file.
#include "Commands.h"
#include "ConsoleOutput.h"
#include "LinkFolder.h"
#include "ReportLog.h"
#include "SyncPolicy.h"

#include <array>
#include <optional>

using L_SHTCUT::SyncOutcome;

namespace {

// The report goes to the console as it is made and, with /log, to the log
// file once the run is over. In a data format, the steps and the closing
// count are records only; what stops the whole run is still an error.
class Report {
public:
    explicit Report(OutputFormat format) : text_(format == OutputFormat::Text) {}

    void Out(const std::wstring& line) {
        if (text_)
            WriteOutput(line + L"\n");
        lines_.push_back(line);
    }
    void Err(const std::wstring& line) {
        WriteError(line + L"\n");
        lines_.push_back(line);
    }
    // A step's line: a result when it leaves the folder as listed, else an error.
    void Step(const std::wstring& line, bool asListed) {
        if (asListed)
            Out(line);
        else if (text_)
            Err(line);
        else
            lines_.push_back(line);
    }
    // Ends the run with exitCode, or with ExitRefused when the log cannot
    // be written.
    int Finish(const CommandRequest& request, int exitCode) {
        if (request.logFile.empty())
            return exitCode;
        lines_.push_back(L"Rückgabewert " + std::to_wstring(exitCode) + L".");
        std::wstring why;
        if (!AppendToLog(request.logFile, lines_, why)) {
            WriteError(why + L"\n");
            return ExitRefused;
        }
        return exitCode;
    }
    void Start(const CommandRequest& request, bool fromPolicy) {
        if (!request.logFile.empty())
            lines_.push_back(L"ordnerlink /sync " + Quoted(request.listFile) +
                             (request.folder.empty() ? L"" : L" " + Quoted(request.folder)) +
                             (request.prune ? L" /prune" : L"") + (request.whatIf ? L" /whatif" : L"") +
                             (fromPolicy ? L" (aus der Richtlinie)" : L""));
    }

private:
    bool text_;
    std::vector<std::wstring> lines_;
};

// How many steps ended each way, in the order of SyncOutcome, and the word
// for them in the closing line.
constexpr std::array<const wchar_t*, 9> OutcomeWords = {
    L"unverändert", L"erstellt", L"repariert",      L"umgestellt", L"entfernt",
    L"abgelehnt",   L"behalten", L"fehlgeschlagen", L"übergangen",
};

bool MatchesList(SyncOutcome outcome) {
    return outcome <= SyncOutcome::Removed;
}

// The data formats' keys, and the action of each SyncOutcome in its order
// (a recorded name that is ignored is refused).
constexpr const wchar_t* kSyncKeys[] = {L"line", L"folder", L"name", L"source", L"action", L"cause"};
constexpr std::array<const wchar_t*, OutcomeWords.size()> kActionWords = {
    L"unchanged", L"created", L"repaired", L"repointed", L"removed",
    L"refused",   L"kept",    L"failed",   L"refused",
};

// The request with the policy's list, folder, pruning and log when it names
// no list; nothing when there is no policy or it cannot be used, and the
// exit code (the policy's problem, or the call's, written as an error).
std::optional<CommandRequest> WithPolicy(const CommandRequest& given, int& exitCode) {
    if (!given.listFile.empty())
        return given;
    const L_SHTCUT::SyncPolicyReading reading = L_SHTCUT::ReadSyncPolicy();
    if (!reading.problem.empty()) {
        WriteError(reading.problem + L" Nichts wurde ge\u00E4ndert.\n");
        exitCode = ExitRefused;
        return std::nullopt;
    }
    if (!reading.policy) {
        // A scheduled run on a machine without the policy has nothing to do.
        exitCode = given.policy ? ExitDone : ExitWrongUsage;
        if (!given.policy)
            WriteError(L"Ohne LISTE nimmt /sync die Liste aus der Richtlinie \u201ESyncList\u201C (unter "
                       L"HKEY_LOCAL_MACHINE\\" +
                       std::wstring(L_SHTCUT::kSyncPolicyKey) + L" oder HKEY_CURRENT_USER\\" +
                       L_SHTCUT::kSyncPolicyKey +
                       L"), die nicht gesetzt ist. Setzen Sie die Richtlinie \u201EListe der "
                       L"Ordnerverkn\u00FCpfungen\u201C (Vorlage Ordnerlink.admx) oder geben Sie eine LISTE "
                       L"an.\n\"ordnerlink /?\" zeigt alle Befehle.\n");
        return std::nullopt;
    }
    CommandRequest request = given;
    request.listFile = reading.policy->listFile;
    request.folder = reading.policy->folder;
    request.prune = reading.policy->prune;
    request.logFile = reading.policy->logFile;
    return request;
}

} // namespace

int SyncCommand(const CommandRequest& asCalled) {
    int exitCode = ExitDone;
    const std::optional<CommandRequest> withPolicy = WithPolicy(asCalled, exitCode);
    if (!withPolicy)
        return exitCode;
    const CommandRequest& request = *withPolicy;
    Report report(request.format);
    report.Start(request, asCalled.listFile.empty());
    std::wstring unknown;
    const auto given = FolderOrNetworkShortcuts(request.folder, unknown);
    if (!given) {
        report.Err(unknown + L" Nichts wurde geändert.");
        return report.Finish(request, ExitRefused);
    }
    const std::wstring folder = L_SHTCUT::TargetFolder(TargetFromCommandLine(*given));
    if (folder.empty()) {
        report.Err(Quoted(*given) + L" ist kein Ordner, in dem Ordnerverknüpfungen liegen können.");
        return report.Finish(request, ExitRefused);
    }

    // A list that cannot be read, or holds nothing usable, changes nothing:
    // a logon script must not remove links because a share was down.
    std::wstring why;
    const auto read = ReadListFile(request.listFile, why);
    if (!read) {
        report.Err(why + L" Nichts wurde geändert.");
        return report.Finish(request, ExitRefused);
    }
    if (const std::wstring notice = ListEncodingNotice(request.listFile, *read); !notice.empty())
        report.Out(notice);
    std::vector<L_SHTCUT::SyncLine> lines;
    bool anyGood = false;
    for (const LinkListLine& line : read->lines) {
        lines.push_back({line.lineNumber, line.source, line.target, line.error});
        anyGood = anyGood || line.error.empty();
    }
    if (!anyGood) {
        report.Err(L"Die Liste " + Quoted(request.listFile) +
                   L" nennt keine gültige Ordnerverknüpfung. Nichts wurde geändert.");
        return report.Finish(request, ExitRefused);
    }

    std::array<std::size_t, OutcomeWords.size()> counts{};
    // The folder matches the list when every step left it as listed; for
    // /whatif, when no step would change anything.
    bool matches = true;
    const std::wstring shownFolder = L_SHTCUT::FolderAsShown(folder);
    std::optional<RecordWriter> records;
    if (request.format != OutputFormat::Text)
        records.emplace(request.format, kSyncKeys, WriteOutput);
    const std::wstring notDone = L_SHTCUT::SyncFolderLinks(
        folder, lines, {request.prune, request.whatIf}, [&](const L_SHTCUT::SyncStep& step) {
            const auto outcome = static_cast<std::size_t>(step.outcome);
            ++counts[outcome];
            const bool asListed = MatchesList(step.outcome);
            matches = matches && (request.whatIf ? step.outcome == SyncOutcome::Unchanged : asListed);
            if (records)
                records->Add({step.lineNumber ? std::to_wstring(step.lineNumber) : L"", shownFolder,
                              step.name, step.source, kActionWords[outcome], asListed ? L"" : step.text});
            if (step.outcome == SyncOutcome::Unchanged)
                return;
            report.Step((step.lineNumber ? L"Zeile " + std::to_wstring(step.lineNumber) + L": " : L"") +
                            step.text,
                        asListed);
        });
    if (records)
        records->End();
    if (!notDone.empty()) {
        report.Err(notDone + L" Nichts wurde geändert.");
        return report.Finish(request, ExitRefused);
    }

    std::wstring summary;
    for (std::size_t i = 0; i < counts.size(); ++i)
        if (counts[i] != 0 || i <= static_cast<std::size_t>(SyncOutcome::Removed))
            summary += (summary.empty() ? L"" : L", ") + std::to_wstring(counts[i]) + L" " + OutcomeWords[i];
    report.Out(L"Ordnerverknüpfungen in " + Quoted(shownFolder) + L": " + summary +
               (request.whatIf ? L" (nur angezeigt, nichts wurde geändert)." : L"."));
    return report.Finish(request, matches ? ExitDone : ExitRefused);
}
