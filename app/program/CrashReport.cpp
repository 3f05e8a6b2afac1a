#include "CrashReport.h"

#include "ConsoleOutput.h"
#include "Utf8Text.h"
#include "Win32Holders.h"
#include "version.h"

#include <windows.h>
#include <winternl.h>

#include <cxxabi.h>
#include <psapi.h>
#include <shlobj.h>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <string_view>
#include <typeinfo>

// The demangler of the C++ runtime that reports through a callback, without
// allocating; the runtime's own verbose terminate handler uses it.
extern "C" int __gcclibcxx_demangle_callback(const char* mangled,
                                             void (*callback)(const char*, std::size_t, void*), void* opaque);

// A crash may come while its thread holds the heap's lock (a crash inside
// an allocation on a damaged heap) or the loader's lock (a crash in a DLL's
// initialisation). From then on, anything that allocates on the process
// heap or takes the loader lock waits for ever: std::wstring and new, the
// path conversion inside CreateFileW, the start of a new thread. So
// everything the report needs is prepared at the start: a writer thread
// that waits for a crash, the report's folder as a native path, the handle
// of standard error, and fixed buffers. At a crash the crashed thread only
// copies what it knows into those buffers, wakes the writer and waits for
// it for a limited time; then the process ends with the exception's code,
// whether or not the report was written.

namespace {

// How long the start waits for the writer thread to run.
constexpr DWORD kWriterStartWaitMs = 5'000;
// How long a crashed process waits for its report to be written.
constexpr DWORD kReportWaitMs = 10'000;
// How long it waits for the user to close the message box that tells of
// the report: long enough to read it, but a box that cannot come up (its
// window needs the heap) must not keep the process for ever.
constexpr DWORD kBoxWaitMs = 10 * 60'000;

// Text of at most capacity characters, appended to without allocating;
// what does not fit is left out. Always ends with a null character.
template <std::size_t capacity> class FixedText {
public:
    FixedText& operator<<(std::wstring_view text) {
        for (const wchar_t ch : text)
            if (size_ < capacity)
                text_[size_++] = ch;
        text_[size_] = L'\0';
        return *this;
    }
    // value in capital hexadecimal digits after "0x", at least digits of them.
    FixedText& Hex(std::uintptr_t value, std::size_t digits) {
        wchar_t reversed[2 * sizeof value]{};
        std::size_t count = 0;
        do {
            reversed[count++] = L"0123456789ABCDEF"[value % 16];
            value /= 16;
        } while (value != 0);
        *this << L"0x";
        for (std::size_t zeros = count; zeros < digits; ++zeros)
            *this << L"0";
        while (count > 0)
            *this << std::wstring_view(&reversed[--count], 1);
        return *this;
    }
    // value in decimal digits, with leading zeros to width.
    FixedText& Decimal(unsigned value, std::size_t width) {
        wchar_t reversed[10]{};
        std::size_t count = 0;
        do {
            reversed[count++] = static_cast<wchar_t>(L'0' + value % 10);
            value /= 10;
        } while (value != 0);
        for (std::size_t zeros = count; zeros < width; ++zeros)
            *this << L"0";
        while (count > 0)
            *this << std::wstring_view(&reversed[--count], 1);
        return *this;
    }
    // UTF-8 bytes as text; what is no UTF-8 shows as U+FFFD.
    FixedText& Utf8(std::string_view bytes) {
        const int cch = bytes.empty() || size_ == capacity
                            ? 0
                            : MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()),
                                                  text_ + size_, static_cast<int>(capacity - size_));
        size_ += static_cast<std::size_t>(cch > 0 ? cch : 0);
        text_[size_] = L'\0';
        return *this;
    }
    void Clear() {
        size_ = 0;
        text_[0] = L'\0';
    }
    std::wstring_view View() const { return {text_, size_}; }
    const wchar_t* Text() const { return text_; }

private:
    wchar_t text_[capacity + 1]{};
    std::size_t size_ = 0;
};

constexpr std::size_t kPathCapacity = 1024;
constexpr std::size_t kReportCapacity = 8192;

// What is known at the start.
struct Prepared {
    CrashNotice notice = CrashNotice::Window;
    FixedText<kPathCapacity> folder;       // %LOCALAPPDATA%\Ordnerlink, as the user reads it
    FixedText<kPathCapacity> nativeFolder; // the same as the system's own path, "\??\C:\..."
    FixedText<MAX_PATH> programName;       // "ordnerlink.exe"
    HANDLE errorStream = nullptr;          // the command mode's standard error; null for none
    bool errorIsConsole = false;
    HANDLE ready = nullptr;   // set by the writer once it runs
    HANDLE crashed = nullptr; // set by the crashed thread: the writer starts
    HANDLE written = nullptr; // set by the writer: the report is written, or could not be
    HANDLE writer = nullptr;
} prepared;

// What went wrong, gathered where it happened.
struct Crash {
    DWORD exitCode = 0;
    EXCEPTION_RECORD record{};     // the exception; its code is 0 for a C++ exception
    FixedText<1024> cxxException;  // a C++ exception that nothing caught: its type and text
    const void* address = nullptr; // where it happened; null when unknown
    void* calls[32]{};             // the calls that led there, the youngest first
    USHORT callCount = 0;
} crash;

// What the writer makes of it.
FixedText<kReportCapacity> report;
FixedText<kPathCapacity> reportPath;
FixedText<kReportCapacity + 512> notice;
char bytes[3 * (kReportCapacity + 512) + 3];

std::atomic_flag reporting = ATOMIC_FLAG_INIT;

struct ExceptionName {
    DWORD code;
    const wchar_t* name;
};

// The processor's and the system's exceptions a program of this kind can
// meet, named in German; any other is given by its code alone.
constexpr ExceptionName kExceptionNames[] = {
    {EXCEPTION_ACCESS_VIOLATION, L"Zugriffsverletzung"},
    {EXCEPTION_STACK_OVERFLOW, L"Stapel\u00FCberlauf"},
    {EXCEPTION_INT_DIVIDE_BY_ZERO, L"Ganzzahlige Division durch null"},
    {EXCEPTION_ILLEGAL_INSTRUCTION, L"Ung\u00FCltiger Befehl"},
    {EXCEPTION_PRIV_INSTRUCTION, L"Privilegierter Befehl"},
    {EXCEPTION_IN_PAGE_ERROR, L"Seite lie\u00DF sich nicht vom Datentr\u00E4ger laden"},
    {EXCEPTION_DATATYPE_MISALIGNMENT, L"Falsch ausgerichteter Zugriff"},
    {EXCEPTION_BREAKPOINT, L"Haltepunkt"},
};

template <std::size_t capacity> void AddAddress(FixedText<capacity>& text, const void* address) {
    text.Hex(reinterpret_cast<std::uintptr_t>(address), 2 * sizeof(void*));
}

template <std::size_t capacity> void AddException(FixedText<capacity>& text, const EXCEPTION_RECORD& record) {
    text.Hex(record.ExceptionCode, 8);
    for (const ExceptionName& known : kExceptionNames) {
        if (known.code != record.ExceptionCode)
            continue;
        text << L" (" << known.name;
        // An access violation says what was done where: 0 read, 1 write, 8 execute.
        if (record.ExceptionCode == EXCEPTION_ACCESS_VIOLATION && record.NumberParameters >= 2) {
            const ULONG_PTR kind = record.ExceptionInformation[0];
            text << (kind == 1   ? L" beim Schreiben an "
                     : kind == 8 ? L" beim Ausf\u00FChren von "
                                 : L" beim Lesen von ");
            AddAddress(text, reinterpret_cast<const void*>(record.ExceptionInformation[1]));
        }
        text << L")";
    }
}

std::wstring_view LastPart(std::wstring_view path) {
    const std::size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring_view::npos ? path : path.substr(slash + 1);
}

// "ordnerlink.exe + 0x1A2B": the module holding the address and the offset
// into it, which a build of the same version maps back to its function. The
// module is found from the memory's own description and named by its mapped
// file, both asked of the system without the loader's lock.
template <std::size_t capacity> void AddModuleAndOffset(FixedText<capacity>& text, const void* address) {
    MEMORY_BASIC_INFORMATION memory{};
    if (!address || VirtualQuery(address, &memory, sizeof memory) != sizeof memory ||
        memory.Type != MEM_IMAGE || !memory.AllocationBase) {
        text << L"unbekannt";
        return;
    }
    wchar_t mapped[MAX_PATH]{};
    if (memory.AllocationBase == GetModuleHandleW(nullptr))
        text << prepared.programName.View();
    else if (const DWORD cch =
                 K32GetMappedFileNameW(GetCurrentProcess(), memory.AllocationBase, mapped, MAX_PATH);
             cch > 0 && cch < MAX_PATH)
        text << LastPart({mapped, cch});
    else
        text << L"(Name unbekannt)";
    text << L" + ";
    text.Hex(reinterpret_cast<std::uintptr_t>(address) -
                 reinterpret_cast<std::uintptr_t>(memory.AllocationBase),
             0);
}

void FormatReport(const SYSTEMTIME& t) {
    report << L"Absturzbericht von Ordnerlink\r\n\r\n";
    report << L"Version: " << TEXT(ORDNERLINK_VERSION_TEXT) << L"\r\n";
    // "07.12.2026 20:15:03"
    report << L"Zeitpunkt: ";
    report.Decimal(t.wDay, 2) << L".";
    report.Decimal(t.wMonth, 2) << L".";
    report.Decimal(t.wYear, 4) << L" ";
    report.Decimal(t.wHour, 2) << L":";
    report.Decimal(t.wMinute, 2) << L":";
    report.Decimal(t.wSecond, 2) << L"\r\n";
    report << L"Ausnahme: ";
    if (crash.record.ExceptionCode != 0)
        AddException(report, crash.record);
    else
        report << crash.cxxException.View();
    report << L"\r\nAdresse: ";
    if (crash.address)
        AddAddress(report, crash.address);
    else
        report << L"unbekannt";
    report << L"\r\nModul: ";
    AddModuleAndOffset(report, crash.address);
    report << L"\r\n";
    if (crash.callCount > 0)
        report << L"Aufrufe (der j\u00FCngste zuerst):\r\n";
    for (USHORT i = 0; i < crash.callCount; ++i) {
        report << L"  ";
        AddModuleAndOffset(report, crash.calls[i]);
        report << L"\r\n";
    }
}

// A file or folder by the system's own path, which needs no conversion (that
// of CreateFileW allocates); a handle or null.
HANDLE OpenNative(std::wstring_view path, ACCESS_MASK access, ULONG share, ULONG disposition, ULONG options,
                  NTSTATUS& status) {
    UNICODE_STRING name{};
    name.Buffer = const_cast<wchar_t*>(path.data());
    name.Length = name.MaximumLength = static_cast<USHORT>(path.size() * sizeof(wchar_t));
    OBJECT_ATTRIBUTES attributes{};
    attributes.Length = sizeof attributes;
    attributes.ObjectName = &name;
    attributes.Attributes = OBJ_CASE_INSENSITIVE;
    IO_STATUS_BLOCK io{};
    HANDLE handle = nullptr;
    status = NtCreateFile(&handle, access | SYNCHRONIZE, &attributes, &io, nullptr, FILE_ATTRIBUTE_NORMAL,
                          share, disposition, options | FILE_SYNCHRONOUS_IO_NONALERT, nullptr, 0);
    return NT_SUCCESS(status) ? handle : nullptr;
}

// Writes the report as UTF-8 with a byte-order mark (so that every editor
// shows its umlauts) into a new file named after the time, "2026-12-07-201503"
// (sorted by name, the reports are in the order they were made); a report
// made in the same second as another gets a number. Sets reportPath when it
// was written.
void WriteReportFile(const SYSTEMTIME& t) {
    if (prepared.nativeFolder.View().empty())
        return;
    NTSTATUS status = 0;
    const win32::Handle folder(OpenNative(prepared.nativeFolder.View(), FILE_LIST_DIRECTORY,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                          FILE_OPEN_IF, FILE_DIRECTORY_FILE, status));
    if (!folder)
        return;
    const std::size_t cbReport = Utf8Text::EncodeInto(report.View(), bytes + 3, sizeof bytes - 3) + 3;
    bytes[0] = '\xEF';
    bytes[1] = '\xBB';
    bytes[2] = '\xBF';
    for (unsigned number = 1; number < 100; ++number) {
        FixedText<64> name;
        name << L"\\Absturzbericht-";
        name.Decimal(t.wYear, 4) << L"-";
        name.Decimal(t.wMonth, 2) << L"-";
        name.Decimal(t.wDay, 2) << L"-";
        name.Decimal(t.wHour, 2).Decimal(t.wMinute, 2).Decimal(t.wSecond, 2);
        if (number > 1) {
            name << L"-";
            name.Decimal(number, 1);
        }
        name << L".txt";
        FixedText<kPathCapacity> path;
        path << prepared.nativeFolder.View() << name.View();
        const win32::Handle file(
            OpenNative(path.View(), GENERIC_WRITE | DELETE, 0, FILE_CREATE, FILE_NON_DIRECTORY_FILE, status));
        if (!file) {
            if (status == static_cast<NTSTATUS>(0xC0000035L)) // STATUS_OBJECT_NAME_COLLISION
                continue;
            return;
        }
        DWORD cbWritten = 0;
        if (!WriteFile(file.get(), bytes, static_cast<DWORD>(cbReport), &cbWritten, nullptr) ||
            cbWritten != cbReport) {
            FILE_DISPOSITION_INFO gone{TRUE}; // half a report would mislead
            SetFileInformationByHandle(file.get(), FileDispositionInfo, &gone, sizeof gone);
            return;
        }
        reportPath << prepared.folder.View() << name.View();
        return;
    }
}

void FormatNotice() {
    notice << L"Ordnerlink ist wegen eines Programmfehlers beendet worden.\r\n";
    if (!reportPath.View().empty())
        notice << L"Ein Bericht dar\u00FCber liegt in\r\n"
               << reportPath.View() << L"\r\nBitte legen Sie ihn bei, wenn Sie den Fehler melden.\r\n";
    else
        notice << L"Der Bericht dar\u00FCber lie\u00DF sich nicht als Datei ablegen; er lautet:\r\n\r\n"
               << report.View();
}

void WriteNoticeToErrorStream() {
    const HANDLE stream = prepared.errorStream;
    if (!stream)
        return; // started without any console or redirection: the report and the exit code tell
    DWORD written = 0;
    if (prepared.errorIsConsole) {
        WriteConsoleW(stream, notice.Text(), static_cast<DWORD>(notice.View().size()), &written, nullptr);
        return;
    }
    const std::size_t cb = Utf8Text::EncodeInto(notice.View(), bytes, sizeof bytes);
    WriteFile(stream, bytes, static_cast<DWORD>(cb), &written, nullptr);
}

// The writer: made at the start, it waits for a crash, writes the report and
// tells of it. Should anything it calls wait for a lock the crashed thread
// holds, the crashed thread's limit ends the process all the same.
DWORD WINAPI Writer(LPVOID) noexcept {
    SetEvent(prepared.ready);
    // The writer's whole life is this one wait; it ends with the process.
    if (WaitForSingleObject(prepared.crashed, INFINITE) != WAIT_OBJECT_0)
        return 0;
    SYSTEMTIME time{};
    GetLocalTime(&time);
    FormatReport(time);
    WriteReportFile(time);
    FormatNotice();
    if (prepared.notice == CrashNotice::Console)
        WriteNoticeToErrorStream();
    SetEvent(prepared.written);
    if (prepared.notice == CrashNotice::Window)
        MessageBoxW(nullptr, notice.Text(), L"Ordnerlink",
                    MB_OK | MB_ICONERROR | MB_SETFOREGROUND | MB_TOPMOST);
    return 0;
}

// Has the writer report the crash gathered in crash, waiting for it a
// limited time, and ends the process without running any more of its code.
// Only the first crash is reported; a second thread that crashes meanwhile
// (the writer itself among them) waits for that end. Should the process
// survive its own termination, the caller's way of ending it follows.
void ReportAndEnd() noexcept {
    if (prepared.writer && SetEvent(prepared.crashed) &&
        WaitForSingleObject(prepared.written, kReportWaitMs) == WAIT_OBJECT_0 &&
        prepared.notice == CrashNotice::Window)
        WaitForSingleObject(prepared.writer, kBoxWaitMs);
    TerminateProcess(GetCurrentProcess(), crash.exitCode);
}

LONG WINAPI OnUnhandledException(EXCEPTION_POINTERS* pointers) noexcept {
    if (reporting.test_and_set())
        Sleep(INFINITE);
    // The record is copied, not the pointers it may hold to further records.
    crash.record = *pointers->ExceptionRecord;
    crash.record.ExceptionRecord = nullptr;
    crash.exitCode = crash.record.ExceptionCode;
    crash.address = crash.record.ExceptionAddress;
    ReportAndEnd();
    return EXCEPTION_EXECUTE_HANDLER; // the system ends the process
}

void AddDemangled(const char* text, std::size_t length, void*) {
    crash.cxxException.Utf8({text, length});
}

// The type and text of the C++ exception being handled, if there is one.
void DescribeCurrentCxxException() {
    FixedText<1024>& text = crash.cxxException;
    const std::type_info* type = abi::__cxa_current_exception_type();
    if (!type) {
        text << L"std::terminate ohne C++-Ausnahme aufgerufen";
        return;
    }
    text << L"Nicht abgefangene C++-Ausnahme ";
    const char* name = type->name();
    if (__gcclibcxx_demangle_callback(name, AddDemangled, nullptr) != 0)
        text.Utf8(name);
    try {
        throw;
    } catch (const std::exception& e) {
        text << L": \u201E";
        text.Utf8(e.what());
        text << L"\u201C";
    } catch (...) {
    }
}

void OnTerminate() noexcept {
    if (reporting.test_and_set())
        Sleep(INFINITE);
    crash.exitCode = 3; // what the C runtime's abort ends with
    DescribeCurrentCxxException();
    // The calls on this thread's stack below this handler.
    crash.callCount = RtlCaptureStackBackTrace(1, std::size(crash.calls), crash.calls, nullptr);
    ReportAndEnd();
    // Returning from a terminate handler makes the runtime call abort.
}

// %LOCALAPPDATA%\Ordnerlink, as the user reads it and as the system's own
// path: "\??\C:\..." for a drive, "\??\UNC\server\share\..." for a share.
bool PrepareFolder() {
    PWSTR raw = nullptr;
    const HRESULT found = SHGetKnownFolderPath(FOLDERID_LocalAppData, KF_FLAG_DEFAULT, nullptr, &raw);
    const win32::TaskMemory<wchar_t> localAppData(raw);
    if (FAILED(found) || !raw)
        return false;
    const std::wstring_view path = raw;
    if (path.size() + 32 > kPathCapacity)
        return false;
    prepared.folder << path << L"\\Ordnerlink";
    if (path.starts_with(L"\\\\"))
        prepared.nativeFolder << L"\\??\\UNC\\" << path.substr(2) << L"\\Ordnerlink";
    else
        prepared.nativeFolder << L"\\??\\" << prepared.folder.View();
    return true;
}

} // namespace

void InstallCrashReport(CrashNotice notice) {
    prepared.notice = notice;
    wchar_t program[MAX_PATH]{};
    if (const DWORD cch = GetModuleFileNameW(nullptr, program, MAX_PATH); cch > 0 && cch < MAX_PATH)
        prepared.programName << LastPart({program, cch});
    else
        prepared.programName << L"(Name unbekannt)";
    if (notice == CrashNotice::Console) {
        prepared.errorStream = ErrorStreamHandle();
        DWORD mode = 0;
        prepared.errorIsConsole = prepared.errorStream && GetConsoleMode(prepared.errorStream, &mode);
    }
    // Without its folder the report goes into the notice alone, which says so.
    if (!PrepareFolder())
        prepared.nativeFolder.Clear();
    prepared.crashed = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    prepared.written = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    // Without its events or its writer, a crash ends the process with the
    // exception's code alone.
    prepared.ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (prepared.ready && prepared.crashed && prepared.written)
        prepared.writer = CreateThread(nullptr, 0, Writer, nullptr, 0, nullptr);
    // A new thread's start allocates on the heap (its thread-local storage)
    // and takes the loader's lock (the DLLs' thread notices): the writer must
    // be through with it before a crash can hold either. Should it not come
    // up in time, it may be held up at a crash, which ends the process all
    // the same.
    if (prepared.writer)
        WaitForSingleObject(prepared.ready, kWriterStartWaitMs);
    SetUnhandledExceptionFilter(OnUnhandledException);
    std::set_terminate(OnTerminate);
}
