#include "SourceCheck.h"
#include "Quoted.h"

#include "ErrorText.h"
#include "FtpAddress.h"
#include "FtpServerProbe.h"
#include "L_PFADE.h"
#include "Win32Holders.h"

#include <windows.h>

#include <chrono>
#include <condition_variable>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <new>
#include <optional>
#include <system_error>

namespace {

using Clock = std::chrono::steady_clock;

SourceAnswer Answer(SourceState state, std::wstring message) {
    return {state, std::move(message)};
}

std::wstring PathFailure(DWORD error) {
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return L"Der Pfad existiert nicht.";
    case ERROR_BAD_NETPATH:
        return L"Der Server wurde im Netzwerk nicht gefunden.";
    case ERROR_BAD_NET_NAME:
        return L"Der Server kennt diese Freigabe nicht.";
    case ERROR_ACCESS_DENIED:
        return L"Der Zugriff auf den Pfad wird verweigert.";
    case ERROR_NOT_READY:
        return L"Das Laufwerk ist nicht bereit.";
    default:
        return L"Auf den Pfad lässt sich nicht zugreifen: " + L_SHTCUT::ErrorText(error) + L".";
    }
}

SourceAnswer CheckPath(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    const DWORD error = GetLastError();
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return Answer(SourceState::Unreachable, PathFailure(error));
    return Answer(SourceState::Reachable, attributes & FILE_ATTRIBUTE_DIRECTORY
                                              ? L"Der Ordner ist erreichbar."
                                              : L"Die Datei ist erreichbar.");
}

// Nothing when the probe was stopped: the caller has answered for the source
// already.
std::optional<SourceAnswer> FtpAnswer(const FtpServer& server, const FtpProbeResult& probe) {
    const bool ipv6 = server.host.find(L':') != std::wstring::npos;
    const std::wstring name =
        Quoted((ipv6 ? L"[" + server.host + L"]" : server.host) + L":" + std::to_wstring(server.port));
    const auto cause = static_cast<DWORD>(probe.error);
    switch (probe.verdict) {
    case FtpVerdict::Ready:
        return Answer(SourceState::Reachable, L"Der FTP-Server " + name + L" ist erreichbar.");
    case FtpVerdict::NotReady:
        return Answer(SourceState::Unreachable,
                      L"Der FTP-Server " + name + L" steht derzeit nicht zur Verfügung.");
    case FtpVerdict::NotFtp:
        return Answer(SourceState::Unreachable, L"Der Server " + name + L" antwortet nicht als FTP-Server.");
    case FtpVerdict::NoConnection:
        if (probe.error == WSAECONNREFUSED)
            return Answer(SourceState::Unreachable, L"Der FTP-Server " + name + L" lehnt die Verbindung ab.");
        return Answer(SourceState::Unreachable,
                      L"Keine Verbindung zum FTP-Server " + name + L": " + L_SHTCUT::ErrorText(cause) + L".");
    case FtpVerdict::UnknownServer:
        if (probe.error == WSAHOST_NOT_FOUND || probe.error == WSANO_DATA)
            return Answer(SourceState::Unreachable,
                          L"Der Servername " + Quoted(server.host) + L" ist unbekannt.");
        return Answer(SourceState::Unreachable, L"Der Servername " + Quoted(server.host) +
                                                    L" lässt sich nicht auflösen: " +
                                                    L_SHTCUT::ErrorText(cause) + L".");
    case FtpVerdict::Stopped:
        break;
    }
    return std::nullopt;
}

// One source's check, run on a worker; it is given the event that the caller
// sets when it stops waiting, and gives back nothing when it stopped for it.
using Check = std::function<std::optional<SourceAnswer>(HANDLE stop)>;

enum class Outcome { Pending, Answered, Failed, NotStarted };

struct Slot {
    Outcome outcome = Outcome::Pending;
    SourceAnswer answer;
};

// What the caller and its workers share. A worker left behind on a hung file
// system call or name lookup still holds it, so its late answer has a place
// to go after the caller has returned.
struct Batch {
    explicit Batch(std::size_t count) : slots(count) {}
    std::mutex mutex;
    std::condition_variable progress;
    std::vector<Slot> slots;
    std::size_t pending = 0;
    const win32::Handle stop{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
};

void Record(Batch& batch, std::size_t index, Outcome outcome, std::optional<SourceAnswer> answer) noexcept {
    try {
        const std::lock_guard lock(batch.mutex);
        Slot& slot = batch.slots[index];
        slot.outcome = outcome;
        if (answer)
            slot.answer = std::move(*answer);
        --batch.pending;
        batch.progress.notify_all();
    } catch (const std::system_error&) {
        // The lock could not be taken: the slot stays pending, and the caller
        // reports the source as not answering when its time is up.
    }
}

// The worker's whole life. Nothing thrown leaves it: an exception that ended
// the thread would end the program.
void Work(const std::shared_ptr<Batch>& batch, std::size_t index, const Check& check) noexcept {
    std::optional<SourceAnswer> answer;
    try {
        answer = check(batch->stop.get());
    } catch (...) {
        // Whatever it was (in practice std::bad_alloc), the check is over.
        Record(*batch, index, Outcome::Failed, std::nullopt);
        return;
    }
    if (answer)
        Record(*batch, index, Outcome::Answered, std::move(answer));
}

// What a check's thread owns: the batch (shared with the caller and the
// other workers), its place in it and the check.
struct WorkItem {
    std::shared_ptr<Batch> batch;
    std::size_t index;
    Check check;
};

DWORD WINAPI RunWorkItem(void* parameter) {
    const std::unique_ptr<WorkItem> item(static_cast<WorkItem*>(parameter));
    Work(item->batch, item->index, item->check);
    return 0;
}

// A thread for each source, all at once. A file system call on a share whose
// server is gone cannot be cut short and may take far longer than any
// timeout; with a bounded pool the sources behind such calls would wait for a
// free thread, and the whole check would take a timeout per round instead of
// one. A waiting thread costs little but reserved address space, of which a
// 64-bit program has plenty, for hundreds.
//
// A plain thread whose handle is closed at once, not a detached std::thread:
// the C++ runtime's threads here are the POSIX layer's, whose detach frees
// the thread's record while a thread that has already ended may still be
// using it (a check of a local path often ends before detach is called), and
// the process then crashes now and then in the thread's start.
void Start(const std::shared_ptr<Batch>& batch, std::size_t index, Check check) {
    if (!batch->stop) {
        // A probe that could not be told to give up would keep its sockets.
        Record(*batch, index, Outcome::NotStarted, std::nullopt);
        return;
    }
    std::unique_ptr<WorkItem> item;
    try {
        item = std::make_unique<WorkItem>(WorkItem{batch, index, std::move(check)});
    } catch (const std::bad_alloc&) {
        Record(*batch, index, Outcome::NotStarted, std::nullopt);
        return;
    }
    const HANDLE thread = CreateThread(nullptr, 0, RunWorkItem, item.get(), 0, nullptr);
    if (!thread) {
        // No thread to be had: the item stays this thread's and goes with it.
        Record(*batch, index, Outcome::NotStarted, std::nullopt);
        return;
    }
    item.release(); // the thread's now
    CloseHandle(thread);
}

std::wstring NotAnsweringText(unsigned timeoutSeconds) {
    return L"Die Quelle antwortet nicht innerhalb von " + std::to_wstring(timeoutSeconds) +
           (timeoutSeconds == 1 ? L" Sekunde." : L" Sekunden.");
}

SourceAnswer AnswerOf(const Slot& slot, unsigned timeoutSeconds) {
    switch (slot.outcome) {
    case Outcome::Pending:
        break;
    case Outcome::Answered:
        return slot.answer;
    case Outcome::Failed:
        return Answer(SourceState::Unreachable, L"Die Prüfung ließ sich nicht zu Ende führen.");
    case Outcome::NotStarted:
        return Answer(SourceState::Unreachable, L"Die Prüfung ließ sich nicht starten.");
    }
    return Answer(SourceState::NotAnswering, NotAnsweringText(timeoutSeconds));
}

} // namespace

std::vector<SourceAnswer> CheckSources(const std::vector<std::wstring>& sources, unsigned timeoutSeconds,
                                       const AnswerReport& onAnswer) {
    // The one deadline: the workers have none of their own, so which answer
    // a source gets at the edge of the time is decided here alone.
    const auto deadline = Clock::now() + std::chrono::seconds(timeoutSeconds);
    const auto batch = std::make_shared<Batch>(sources.size());
    std::vector<Check> checks(sources.size());
    for (std::size_t i = 0; i < sources.size(); ++i) {
        if (const auto server = FtpServerOf(sources[i]))
            checks[i] = [server = *server](HANDLE stop) {
                return FtpAnswer(server, ProbeFtpServer(server, stop));
            };
        else if (L_PFADE::IsFullPath(sources[i]))
            checks[i] = [path = sources[i]](HANDLE) { return std::optional(CheckPath(path)); };
        else
            batch->slots[i] = {
                Outcome::Answered,
                Answer(SourceState::Unreachable,
                       L"Nur lokale Pfade, Netzwerkfreigaben und FTP-Adressen lassen sich prüfen.")};
        if (checks[i])
            ++batch->pending;
    }
    for (std::size_t i = 0; i < sources.size(); ++i)
        if (checks[i])
            Start(batch, i, std::move(checks[i]));

    // Each answer is reported as it comes, on this thread and outside the
    // lock; what is still pending when the time is up, after that.
    std::vector<SourceAnswer> answers(sources.size());
    std::vector<bool> reported(sources.size(), false);
    std::size_t reportedCount = 0;
    while (reportedCount < sources.size()) {
        std::vector<std::size_t> settled;
        {
            std::unique_lock lock(batch->mutex);
            const auto unreported = [&](std::size_t i) {
                return !reported[i] && batch->slots[i].outcome != Outcome::Pending;
            };
            const bool timeIsUp = !batch->progress.wait_until(lock, deadline, [&] {
                for (std::size_t i = 0; i < sources.size(); ++i)
                    if (unreported(i))
                        return true;
                return false;
            });
            for (std::size_t i = 0; i < sources.size(); ++i) {
                if (reported[i] || !(timeIsUp || unreported(i)))
                    continue;
                answers[i] = AnswerOf(batch->slots[i], timeoutSeconds);
                reported[i] = true;
                settled.push_back(i);
            }
        }
        reportedCount += settled.size();
        if (onAnswer)
            for (std::size_t i : settled)
                onAnswer(i, answers[i]);
    }
    // Workers still waiting for a server give up now and close their sockets.
    if (batch->stop)
        SetEvent(batch->stop.get());
    return answers;
}

SourceAnswer CheckSource(const std::wstring& source, unsigned timeoutSeconds) {
    return CheckSources({source}, timeoutSeconds).front();
}

std::wstring SourceStateWord(SourceState state) {
    switch (state) {
    case SourceState::Reachable:
        return L"erreichbar";
    case SourceState::NotAnswering:
        return L"antwortet nicht";
    case SourceState::Unreachable:
        break;
    }
    return L"nicht erreichbar";
}
