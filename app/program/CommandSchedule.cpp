#include "CommandSchedule.h"

#include "ConsoleOutput.h"
#include "ErrorText.h"
#include "ExitCode.h"
#include "Quoted.h"
#include "RunningProgram.h"
#include "ScheduledTask.h"
#include "SyncPolicy.h"
#include "SyncTaskXml.h"
#include "Win32Holders.h"

#include <windows.h>

#include <cwchar>
#include <optional>

namespace {

// The Task Scheduler's own results, in the program's words; any other
// result in the words for its Win32 code, where it has one.
struct SchedulerCause {
    HRESULT error;
    const wchar_t* text;
};
constexpr SchedulerCause SchedulerCauses[] = {
    {SCHED_E_SERVICE_NOT_RUNNING, L"Der Dienst \u201EAufgabenplanung\u201C l\u00E4uft nicht"},
    {REGDB_E_CLASSNOTREG, L"Die Aufgabenplanung ist auf diesem Rechner nicht eingerichtet"},
};

std::wstring Cause(HRESULT error) {
    wchar_t code[16]{};
    std::swprintf(code, std::size(code), L"0x%08lX", static_cast<unsigned long>(error));
    for (const SchedulerCause& known : SchedulerCauses)
        if (known.error == error)
            return known.text + std::wstring(L", ") + code;
    const auto win32Code = HRESULT_FACILITY(error) == FACILITY_WIN32 ? static_cast<DWORD>(HRESULT_CODE(error))
                                                                     : static_cast<DWORD>(error);
    return L_SHTCUT::ErrorText(win32Code) + L", " + code;
}

int Failed(const std::wstring& outcome, const TaskFailure& failure) {
    WriteError(outcome + L" Fehlgeschlagen: " + failure.step + L" (" + Cause(failure.error) + L").\n");
    return ExitRefused;
}

int Refused(const std::wstring& why) {
    WriteError(L"Der Abgleich ist nicht eingeplant: " + why + L"\n");
    return ExitRefused;
}

// The list as the task must name it: a task starts in the system folder,
// where a relative path names another file.
std::optional<std::wstring> AbsolutePath(const std::wstring& path, DWORD& error) {
    std::wstring full(MAX_PATH, L'\0');
    for (int attempt = 0; attempt < 2; ++attempt) {
        const DWORD cch =
            GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
        if (cch == 0) {
            error = GetLastError();
            return std::nullopt;
        }
        if (cch < full.size()) {
            full.resize(cch);
            return full;
        }
        full.resize(cch);
    }
    error = ERROR_FILENAME_EXCED_RANGE;
    return std::nullopt;
}

// The user whose task it is: the running one's SID, or empty for the task of
// every user (/allusers); nothing, with the platform's error, when the
// process's token cannot say.
std::optional<std::wstring> TaskUserSid(const CommandRequest& request, DWORD& error) {
    if (request.allUsers)
        return std::wstring();
    return CurrentUserSid(error);
}

} // namespace

int ScheduleCommand(const CommandRequest& request) {
    const std::wstring program = RunningWindowProgram();
    if (program.empty())
        return Refused(L"Der Ort des Programms l\u00E4sst sich nicht ermitteln (" +
                       L_SHTCUT::ErrorText(GetLastError()) + L").");
    if (GetFileAttributesW(program.c_str()) == INVALID_FILE_ATTRIBUTES)
        return Refused(Quoted(program) +
                       L" fehlt, und nur das Fensterprogramm l\u00E4uft ohne Konsolenfenster.");

    std::wstring arguments = L"/sync /policy";
    std::wstring logFile;
    std::wstring listNotice;
    if (!request.listFile.empty()) {
        DWORD error = ERROR_SUCCESS;
        const auto list = AbsolutePath(request.listFile, error);
        if (!list)
            return Refused(L"Die Liste " + Quoted(request.listFile) +
                           L" hat keinen vollst\u00E4ndigen Pfad (" + L_SHTCUT::ErrorText(error) + L").");
        // A list on a share that is not reachable yet (before the VPN is
        // up) is what the task is for: it is named, not refused.
        const DWORD attributes = GetFileAttributesW(list->c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES)
            listNotice = L"Die Liste " + Quoted(*list) + L" ist jetzt nicht zu lesen (" +
                         L_SHTCUT::ErrorText(GetLastError()) + L"); jeder Lauf versucht es erneut.\n";
        else if (attributes & FILE_ATTRIBUTE_DIRECTORY)
            return Refused(Quoted(*list) + L" ist ein Ordner, keine Liste.");
        // Nobody sees a scheduled run's output: its report goes where a
        // policy's run writes it without a LogFile.
        DWORD logError = ERROR_SUCCESS;
        logFile = L_SHTCUT::DefaultSyncLogFile(logError);
        if (logFile.empty())
            return Refused(
                L"Der Ordner f\u00FCr den Bericht (%LOCALAPPDATA%) l\u00E4sst sich nicht ermitteln (" +
                L_SHTCUT::ErrorText(logError) + L").");
        arguments = L"/sync " + QuotedArgument(*list) + L" /log:" + QuotedArgument(logFile);
    }

    DWORD sidError = ERROR_SUCCESS;
    const auto user = TaskUserSid(request, sidError);
    if (!user)
        return Refused(L"Der angemeldete Benutzer l\u00E4sst sich nicht ermitteln (" +
                       L_SHTCUT::ErrorText(sidError) + L").");
    const std::wstring& userSid = *user;
    const std::wstring xml = SyncTaskXml({userSid, program, arguments});
    if (request.whatIf) {
        WriteOutput(xml);
        return ExitDone;
    }

    const std::wstring name = SyncTaskName(userSid);
    bool replaced = false;
    if (const auto failed = RegisterSyncTask(name, xml, request.allUsers, replaced))
        return Failed(L"Der Abgleich ist nicht eingeplant.", *failed);
    WriteOutput(std::wstring(L"Der Abgleich ist eingeplant") +
                (replaced ? L" (die bisherige Aufgabe ist ersetzt)" : L"") + L": Die Aufgabe " +
                Quoted(name) + L" startet " + Quoted(program + L" " + arguments) +
                L" 30 Sekunden nach jeder Anmeldung" +
                (request.allUsers ? L" eines Benutzers, f\u00FCr ihn," : L"") +
                L" und bei jeder neuen Netzwerkverbindung." +
                (logFile.empty() ? L" Ohne Richtlinie tut sie nichts."
                                 : L" Den Bericht h\u00E4ngt sie an " + Quoted(logFile) + L" an.") +
                L"\n" + listNotice);
    return ExitDone;
}

int UnscheduleCommand(const CommandRequest& request) {
    DWORD sidError = ERROR_SUCCESS;
    const auto user = TaskUserSid(request, sidError);
    if (!user)
        return Refused(L"Der angemeldete Benutzer l\u00E4sst sich nicht ermitteln (" +
                       L_SHTCUT::ErrorText(sidError) + L").");
    const std::wstring& userSid = *user;
    const std::wstring name = SyncTaskName(userSid);
    bool removed = false;
    if (const auto failed = RemoveSyncTask(name, removed))
        return Failed(L"Die Aufgabe " + Quoted(name) + L" ist nicht entfernt.", *failed);
    WriteOutput(removed ? L"Die Aufgabe " + Quoted(name) +
                              L" ist entfernt; der Abgleich l\u00E4uft nicht mehr von selbst.\n"
                        : std::wstring(L"Der Abgleich war nicht eingeplant; nichts wurde ge\u00E4ndert.\n"));
    return ExitDone;
}
