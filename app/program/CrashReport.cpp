#include "CrashReport.h"

#include "ConsoleOutput.h"
#include "Quoted.h"
#include "Win32Holders.h"
#include "version.h"

#include <windows.h>

#include <cxxabi.h>
#include <shlobj.h>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <exception>
#include <memory>
#include <string>
#include <typeinfo>

namespace {

CrashNotice noticeKind = CrashNotice::Window;
std::atomic_flag reporting = ATOMIC_FLAG_INIT;

// What went wrong, gathered where it happened.
struct Crash {
    DWORD exitCode = 0;
    std::wstring what;             // the exception, in German
    const void* address = nullptr; // where it happened; null when unknown
    std::wstring calls;            // the calls that led there, one per line; may be empty
};

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

// value in capital hexadecimal digits after "0x", at least digits of them.
std::wstring Hex(std::uintptr_t value, std::size_t digits) {
    std::wstring text;
    do {
        text.insert(text.begin(), L"0123456789ABCDEF"[value % 16]);
        value /= 16;
    } while (value != 0);
    if (text.size() < digits)
        text.insert(0, digits - text.size(), L'0');
    return L"0x" + text;
}

// value in decimal digits, with leading zeros to width.
std::wstring Padded(unsigned value, std::size_t width) {
    std::wstring text = std::to_wstring(value);
    if (text.size() < width)
        text.insert(0, width - text.size(), L'0');
    return text;
}

std::wstring Address(const void* address) {
    return Hex(reinterpret_cast<std::uintptr_t>(address), 2 * sizeof(void*));
}

std::wstring Describe(const EXCEPTION_RECORD& record) {
    std::wstring text = Hex(record.ExceptionCode, 8);
    const wchar_t* name = nullptr;
    for (const ExceptionName& known : kExceptionNames)
        if (known.code == record.ExceptionCode)
            name = known.name;
    if (!name)
        return text;
    text += L" (" + std::wstring(name);
    // An access violation says what was done where: 0 read, 1 write, 8 execute.
    if (record.ExceptionCode == EXCEPTION_ACCESS_VIOLATION && record.NumberParameters >= 2) {
        const ULONG_PTR kind = record.ExceptionInformation[0];
        text += kind == 1   ? L" beim Schreiben an "
                : kind == 8 ? L" beim Ausf\u00FChren von "
                            : L" beim Lesen von ";
        text += Address(reinterpret_cast<const void*>(record.ExceptionInformation[1]));
    }
    return text + L")";
}

// "ordnerlink.exe + 0x1A2B": the module holding the address and the offset
// into it, which a build of the same version maps back to its function.
std::wstring ModuleAndOffset(const void* address) {
    HMODULE module = nullptr;
    if (!address || !GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                            GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                                        static_cast<LPCWSTR>(address), &module))
        return L"unbekannt";
    wchar_t path[MAX_PATH]{};
    const DWORD cchPath = GetModuleFileNameW(module, path, MAX_PATH);
    std::wstring name = cchPath > 0 && cchPath < MAX_PATH ? path : L"(Name unbekannt)";
    name = name.substr(name.find_last_of(L"\\/") + 1);
    const auto offset = reinterpret_cast<std::uintptr_t>(address) - reinterpret_cast<std::uintptr_t>(module);
    return name + L" + " + Hex(offset, 0);
}

std::wstring FromUtf8(const char* text) {
    if (!text || !*text)
        return {};
    const int cchNeeded = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
    if (cchNeeded <= 1)
        return {};
    std::wstring wide(static_cast<std::size_t>(cchNeeded), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text, -1, wide.data(), cchNeeded);
    wide.resize(static_cast<std::size_t>(cchNeeded - 1));
    return wide;
}

// The type and text of the C++ exception being handled, if there is one.
std::wstring CurrentCxxException() {
    const std::type_info* type = abi::__cxa_current_exception_type();
    if (!type)
        return L"std::terminate ohne C++-Ausnahme aufgerufen";
    int status = 0;
    const std::unique_ptr<char, void (*)(void*)> demangled(
        abi::__cxa_demangle(type->name(), nullptr, nullptr, &status), std::free);
    std::wstring text =
        L"Nicht abgefangene C++-Ausnahme " + FromUtf8(status == 0 ? demangled.get() : type->name());
    try {
        throw;
    } catch (const std::exception& e) {
        text += L": " + Quoted(FromUtf8(e.what()));
    } catch (...) {
    }
    return text;
}

// "07.12.2026 20:15:03", as the report shows the time.
std::wstring ShownTime(const SYSTEMTIME& t) {
    return Padded(t.wDay, 2) + L"." + Padded(t.wMonth, 2) + L"." + Padded(t.wYear, 4) + L" " +
           Padded(t.wHour, 2) + L":" + Padded(t.wMinute, 2) + L":" + Padded(t.wSecond, 2);
}

// "2026-12-07-201503", as the report's file name holds the time: sorted by
// name, the reports are in the order they were made.
std::wstring FileNameTime(const SYSTEMTIME& t) {
    return Padded(t.wYear, 4) + L"-" + Padded(t.wMonth, 2) + L"-" + Padded(t.wDay, 2) + L"-" +
           Padded(t.wHour, 2) + Padded(t.wMinute, 2) + Padded(t.wSecond, 2);
}

std::wstring ReportText(const Crash& crash, const SYSTEMTIME& time) {
    std::wstring text = L"Absturzbericht von Ordnerlink\n\n";
    text += L"Version: " + FromUtf8(ORDNERLINK_VERSION_TEXT) + L"\n";
    text += L"Zeitpunkt: " + ShownTime(time) + L"\n";
    text += L"Ausnahme: " + crash.what + L"\n";
    text += L"Adresse: " + (crash.address ? Address(crash.address) : L"unbekannt") + L"\n";
    text += L"Modul: " + ModuleAndOffset(crash.address) + L"\n";
    if (!crash.calls.empty())
        text += L"Aufrufe (der j\u00FCngste zuerst):\n" + crash.calls;
    return text;
}

std::string ToUtf8(const std::wstring& text) {
    const int cbNeeded = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr,
                                             0, nullptr, nullptr);
    if (cbNeeded <= 0)
        return {};
    std::string bytes(static_cast<std::size_t>(cbNeeded), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), cbNeeded,
                        nullptr, nullptr);
    return bytes;
}

// Writes the report as UTF-8 with a byte-order mark (so that every editor
// shows its umlauts) and Windows line ends into a new file; returns its
// path, or nothing when no file could be made. A report made in the same
// second as another gets a number.
std::wstring WriteReportFile(const std::wstring& text, const SYSTEMTIME& time) {
    PWSTR rawFolder = nullptr;
    if (FAILED(SHGetKnownFolderPath(FOLDERID_LocalAppData, KF_FLAG_DEFAULT, nullptr, &rawFolder)))
        return {};
    const win32::TaskMemory<wchar_t> localAppData(rawFolder);
    const std::wstring folder = std::wstring(localAppData.get()) + L"\\Ordnerlink";
    if (!CreateDirectoryW(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
        return {};

    std::wstring lines;
    for (const wchar_t ch : text) {
        if (ch == L'\n')
            lines += L'\r';
        lines += ch;
    }
    const std::string bytes = "\xEF\xBB\xBF" + ToUtf8(lines);

    const std::wstring stem = folder + L"\\Absturzbericht-" + FileNameTime(time);
    for (int number = 1; number < 100; ++number) {
        const std::wstring path = stem + (number > 1 ? L"-" + std::to_wstring(number) : L"") + L".txt";
        const win32::Handle file(win32::NullIfInvalid(CreateFileW(
            path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr)));
        if (!file) {
            if (GetLastError() == ERROR_FILE_EXISTS)
                continue;
            return {};
        }
        DWORD cbWritten = 0;
        if (!WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &cbWritten, nullptr) ||
            cbWritten != bytes.size()) {
            DeleteFileW(path.c_str()); // half a report would mislead
            return {};
        }
        return path;
    }
    return {};
}

void Tell(const std::wstring& text) {
    if (noticeKind == CrashNotice::Console)
        WriteError(text);
    else
        MessageBoxW(nullptr, text.c_str(), L"Ordnerlink",
                    MB_OK | MB_ICONERROR | MB_SETFOREGROUND | MB_TOPMOST);
}

void ReportNow(const Crash& crash) noexcept {
    try {
        SYSTEMTIME time{};
        GetLocalTime(&time);
        const std::wstring report = ReportText(crash, time);
        const std::wstring path = WriteReportFile(report, time);
        const std::wstring ended = L"Ordnerlink ist wegen eines Programmfehlers beendet worden.\n";
        if (!path.empty())
            Tell(ended + L"Ein Bericht dar\u00FCber liegt in\n" + path +
                 L"\nBitte legen Sie ihn bei, wenn Sie den Fehler melden.\n");
        else
            Tell(ended + L"Der Bericht dar\u00FCber lie\u00DF sich nicht als Datei ablegen; er lautet:\n\n" +
                 report);
    } catch (...) {
        // Not even the texts could be made: the exit code is all that is left.
    }
}

DWORD WINAPI ReportThread(LPVOID crash) noexcept {
    ReportNow(*static_cast<const Crash*>(crash));
    return 0;
}

// Reports on a thread of its own, whose stack is fresh (the crashed one may
// have overflowed its own), then ends the process without running any more
// of its code. Only the first crash is reported; a second thread that
// crashes meanwhile waits for that end. Should the process survive its own
// termination, the caller's way of ending it follows.
void ReportAndEnd(Crash& crash) noexcept {
    if (reporting.test_and_set())
        Sleep(INFINITE);
    const win32::Handle thread(CreateThread(nullptr, 0, ReportThread, &crash, 0, nullptr));
    if (thread)
        WaitForSingleObject(thread.get(), INFINITE);
    else
        ReportNow(crash);
    TerminateProcess(GetCurrentProcess(), crash.exitCode);
}

LONG WINAPI OnUnhandledException(EXCEPTION_POINTERS* pointers) noexcept {
    Crash crash;
    crash.exitCode = pointers->ExceptionRecord->ExceptionCode;
    try {
        crash.what = Describe(*pointers->ExceptionRecord);
    } catch (...) {
    }
    crash.address = pointers->ExceptionRecord->ExceptionAddress;
    ReportAndEnd(crash);
    return EXCEPTION_EXECUTE_HANDLER; // the system ends the process
}

// The calls on this thread's stack below the terminate handler.
__attribute__((noinline)) std::wstring CallsHere() {
    void* frames[32]{};
    const USHORT count = RtlCaptureStackBackTrace(2, 32, frames, nullptr);
    std::wstring calls;
    for (USHORT i = 0; i < count; ++i)
        calls += L"  " + ModuleAndOffset(frames[i]) + L"\n";
    return calls;
}

void OnTerminate() noexcept {
    Crash crash;
    crash.exitCode = 3; // what the C runtime's abort ends with
    try {
        crash.what = CurrentCxxException();
        crash.calls = CallsHere();
    } catch (...) {
    }
    ReportAndEnd(crash);
    // Returning from a terminate handler makes the runtime call abort.
}

} // namespace

void InstallCrashReport(CrashNotice notice) {
    noticeKind = notice;
    SetUnhandledExceptionFilter(OnUnhandledException);
    std::set_terminate(OnTerminate);
}
