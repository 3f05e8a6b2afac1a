// The benchmark's eye on the window "Ordnerverknüpfungen verwalten" of
// another process, kept open for the whole run so that each look costs a few
// messages and not a program start. It answers one line on standard input
// with one line on standard output:
//   "rows"   -> "ROWS SHOWN CHECKING": the list view's rows, those with a text
//               in the state column, those being checked ("-1 0 0" while the
//               window is not there);
//   "handles" -> the handle count of the window's process ("0" while it is
//               not there);
//   "again"  -> "CHECKING": selects every row and presses F5 in the list, as
//               Ctrl+A and F5 do, by the list view's own messages (sent, so
//               the window has started the checks when they return), and
//               answers how many rows are being checked right after.
// It ends with "quit" or the end of its input.
#include <windows.h>

#include <commctrl.h>
#include <winternl.h>

#include "Win32Holders.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr wchar_t kTitle[] = L"Ordnerverkn\u00fcpfungen verwalten";
constexpr wchar_t kChecking[] = L"wird gepr\u00fcft";
constexpr int kStateColumn = 2;
constexpr int kCchText = 256;

// The window's process, opened once per process id, with a buffer in it for
// the list view to write a cell's text into: allocated once, so that the
// looks leave the measured process's memory alone.
class Target {
public:
    ~Target() { Release(); }

    // The list view of the window, or null; the process is opened for it.
    HWND List() {
        const HWND window = FindWindowW(nullptr, kTitle);
        const HWND list = window ? FindWindowExW(window, nullptr, WC_LISTVIEWW, nullptr) : nullptr;
        DWORD processId = 0;
        if (!list || !GetWindowThreadProcessId(list, &processId))
            return nullptr;
        if (processId != processId_) {
            Release();
            process_.reset(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE |
                                           PROCESS_QUERY_INFORMATION,
                                       FALSE, processId));
            if (!process_)
                return nullptr;
            processId_ = processId;
            memory_ = static_cast<char*>(VirtualAllocEx(process_.get(), nullptr,
                                                        sizeof(LVITEMW) + kCchText * sizeof(wchar_t),
                                                        MEM_COMMIT, PAGE_READWRITE));
        }
        return memory_ ? list : nullptr;
    }

    // The text of one row's state cell; empty when it cannot be read.
    std::wstring State(HWND list, int row) const {
        LVITEMW item{};
        item.iSubItem = kStateColumn;
        item.cchTextMax = kCchText;
        item.pszText = reinterpret_cast<wchar_t*>(memory_ + sizeof(LVITEMW));
        wchar_t text[kCchText]{};
        if (!WriteProcessMemory(process_.get(), memory_, &item, sizeof item, nullptr) ||
            !SendMessageTimeoutW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                                 reinterpret_cast<LPARAM>(memory_), SMTO_ABORTIFHUNG, 2000, nullptr) ||
            !ReadProcessMemory(process_.get(), item.pszText, text, sizeof text, nullptr))
            return {};
        text[kCchText - 1] = L'\0';
        return text;
    }

    // Selects every row: the state is set through the buffer in the
    // window's process, as the list view reads it from there.
    bool SelectAll(HWND list) const {
        LVITEMW item{};
        item.stateMask = LVIS_SELECTED;
        item.state = LVIS_SELECTED;
        return WriteProcessMemory(process_.get(), memory_, &item, sizeof item, nullptr) &&
               SendMessageTimeoutW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
                                   reinterpret_cast<LPARAM>(memory_), SMTO_ABORTIFHUNG, 2000, nullptr);
    }

    HANDLE Process() const { return process_.get(); }

private:
    void Release() {
        if (memory_)
            VirtualFreeEx(process_.get(), memory_, 0, MEM_RELEASE);
        memory_ = nullptr;
        process_.reset();
        processId_ = 0;
    }

    win32::Handle process_;
    DWORD processId_ = 0;
    char* memory_ = nullptr;
};

struct RowCounts {
    int rows = -1;
    int shown = 0;
    int checking = 0;
};

RowCounts CountRows(Target& target) {
    RowCounts counts;
    const HWND list = target.List();
    counts.rows = list ? static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)) : -1;
    for (int row = 0; row < counts.rows; ++row) {
        const std::wstring state = target.State(list, row);
        counts.shown += state.empty() ? 0 : 1;
        counts.checking += state == kChecking ? 1 : 0;
    }
    return counts;
}

void PrintRows(Target& target) {
    const RowCounts counts = CountRows(target);
    std::printf("%d %d %d\n", counts.rows, counts.shown, counts.checking);
}

void PrintCheckAgain(Target& target) {
    const HWND list = target.List();
    const bool pressed = list && target.SelectAll(list) &&
                         SendMessageTimeoutW(list, WM_KEYDOWN, VK_F5, 0, SMTO_ABORTIFHUNG, 2000, nullptr);
    std::printf("%d\n", pressed ? CountRows(target).checking : 0);
}

// One entry of the system's handle table as NtQuerySystemInformation gives it.
struct SystemHandleEntry {
    ULONG ownerPid;
    BYTE objectType;
    BYTE flags;
    USHORT value;
    PVOID object;
    ACCESS_MASK access;
};
struct SystemHandleTable {
    ULONG count;
    SystemHandleEntry entries[1];
};
constexpr auto kSystemHandleInformation = static_cast<SYSTEM_INFORMATION_CLASS>(16);

// The handles of one process, counted in the system's handle table: under
// Wine, GetProcessHandleCount gives 0 for the manager's process, while the
// table holds its handles, on Windows and Wine alike. 0 when the table
// cannot be read.
ULONG HandleCount(DWORD processId) {
    std::vector<char> buffer(1 << 20);
    for (;;) {
        ULONG needed = 0;
        const NTSTATUS status = NtQuerySystemInformation(kSystemHandleInformation, buffer.data(),
                                                         static_cast<ULONG>(buffer.size()), &needed);
        constexpr NTSTATUS kInfoLengthMismatch = static_cast<NTSTATUS>(0xC0000004L);
        if (status == kInfoLengthMismatch && buffer.size() < (std::size_t{1} << 28)) {
            buffer.resize(buffer.size() * 2);
            continue;
        }
        if (status < 0)
            return 0;
        break;
    }
    const auto* table = reinterpret_cast<const SystemHandleTable*>(buffer.data());
    ULONG count = 0;
    for (ULONG i = 0; i < table->count; ++i)
        count += table->entries[i].ownerPid == processId ? 1 : 0;
    return count;
}

void PrintHandles(Target& target) {
    std::printf("%lu\n", target.List() ? HandleCount(GetProcessId(target.Process())) : 0UL);
}

} // namespace

int wmain() {
    Target target;
    char line[64];
    while (std::fgets(line, sizeof line, stdin)) {
        if (std::strncmp(line, "rows", 4) == 0)
            PrintRows(target);
        else if (std::strncmp(line, "handles", 7) == 0)
            PrintHandles(target);
        else if (std::strncmp(line, "again", 5) == 0)
            PrintCheckAgain(target);
        else if (std::strncmp(line, "quit", 4) == 0)
            break;
        else
            std::printf("?\n");
        std::fflush(stdout);
    }
    return 0;
}
