// What a user is left with when the program fails: crash_probe (built beside
// this test) starts as Ordnerlink does and then fails for real; the test
// reads what the user is told (the message box of the window program, the
// standard error of the command mode) and the report it points to.
#include "TempFolder.h"
#include "Win32Holders.h"
#include "version.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <shlobj.h>

#include <chrono>
#include <cstdio>
#include <regex>
#include <string>
#include <thread>
#include <vector>

namespace {

struct CrashCase {
    const wchar_t* notice; // how the probe tells the user: window or console
    const wchar_t* fault;  // how it fails
    DWORD exitCode;        // the process's exit code
    const char* exception; // the report's line "Ausnahme: ...", from its start
    const char* address;   // the line "Adresse: ...", from its start
    const char* module;    // the line "Modul: ...", from its start
    bool listsCalls;       // whether the report lists the calls that led there
};

const CrashCase kCrashes[] = {
    {L"console", L"access", EXCEPTION_ACCESS_VIOLATION,
     "Ausnahme: 0xC0000005 (Zugriffsverletzung beim Schreiben an 0x0000000000000000)", "Adresse: 0x",
     "Modul: crash_probe.exe + 0x", false},
    // Nothing can be allocated any more: the report is written all the same,
    // and the process ends.
    {L"console", L"heaplock", EXCEPTION_ACCESS_VIOLATION,
     "Ausnahme: 0xC0000005 (Zugriffsverletzung beim Schreiben an 0x0000000000000000)", "Adresse: 0x",
     "Modul: crash_probe.exe + 0x", false},
    {L"window", L"throw", 3,
     "Ausnahme: Nicht abgefangene C++-Ausnahme std::out_of_range: \xE2\x80\x9E"
     "basic_string::substr",
     "Adresse: unbekannt", "Modul: unbekannt", true},
};

// The report's file name: the local time it was made, a number when
// another was made in the same second.
const std::regex kReportName(R"(Absturzbericht-\d{4}-\d{2}-\d{2}-\d{6}(-\d+)?\.txt)");

constexpr char kEnded[] = "Ordnerlink ist wegen eines Programmfehlers beendet worden.";

std::string Utf8(const std::wstring& text) {
    const int cb = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                       nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(cb > 0 ? cb : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), cb, nullptr,
                        nullptr);
    return bytes;
}

std::wstring Wide(const std::string& bytes) {
    const int cch = MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring text(static_cast<std::size_t>(cch > 0 ? cch : 0), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), cch);
    return text;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(at, end - at);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
        at = end + 1;
    }
    return lines;
}

bool StartsWith(const std::string& text, const std::string& start) {
    return text.compare(0, start.size(), start) == 0;
}

std::wstring BesideThisProgram(const wchar_t* name) {
    wchar_t path[MAX_PATH]{};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder = path;
    return folder.substr(0, folder.find_last_of(L'\\') + 1) + name;
}

std::wstring LocalAppData() {
    PWSTR raw = nullptr;
    if (FAILED(SHGetKnownFolderPath(FOLDERID_LocalAppData, KF_FLAG_DEFAULT, nullptr, &raw)))
        return {};
    const win32::TaskMemory<wchar_t> folder(raw);
    return folder.get();
}

struct BoxSearch {
    DWORD processId;
    HWND box;
};

BOOL CALLBACK FindBoxOf(HWND window, LPARAM search) {
    auto* s = reinterpret_cast<BoxSearch*>(search);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    wchar_t className[16]{};
    GetClassNameW(window, className, 16);
    if (owner != s->processId || std::wstring(className) != L"#32770" || !IsWindowVisible(window))
        return TRUE;
    s->box = window;
    return FALSE;
}

// Waits for the message box of the process, reads its text and presses OK.
// Empty when the process ended without one.
std::wstring AnswerMessageBox(const PROCESS_INFORMATION& process) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (std::chrono::steady_clock::now() < deadline) {
        BoxSearch search{process.dwProcessId, nullptr};
        EnumWindows(FindBoxOf, reinterpret_cast<LPARAM>(&search));
        if (search.box) {
            // Another process's control gives its text only by message.
            wchar_t text[4096]{};
            SendMessageW(GetDlgItem(search.box, 0xFFFF), WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(text));
            PostMessageW(search.box, WM_COMMAND, IDOK, 0);
            return text;
        }
        if (WaitForSingleObject(process.hProcess, 100) == WAIT_OBJECT_0)
            return {};
    }
    return {};
}

struct ProbeRun {
    DWORD exitCode = 0;
    std::string output; // standard output
    std::string notice; // the message box's text or standard error, UTF-8
};

ProbeRun RunProbe(const TempFolder& folder, const std::wstring& arguments, bool expectBox) {
    ProbeRun run;
    SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
    // Files of their own for each run: the last run's may still be open.
    static int runs = 0;
    const std::wstring number = std::to_wstring(++runs);
    const std::wstring outPath = folder / (L"out" + number + L".txt"),
                       errPath = folder / (L"err" + number + L".txt");
    {
        const win32::Handle out(win32::NullIfInvalid(CreateFileW(
            outPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherited, CREATE_ALWAYS, 0, nullptr)));
        const win32::Handle err(win32::NullIfInvalid(CreateFileW(
            errPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherited, CREATE_ALWAYS, 0, nullptr)));
        if (!out || !err) {
            ADD_FAILURE() << "no files for the probe's output, error " << GetLastError();
            return run;
        }
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = out.get();
        startup.hStdError = err.get();
        std::wstring commandLine = L"\"" + BesideThisProgram(L"crash_probe.exe") + L"\" " + arguments;
        PROCESS_INFORMATION process{};
        if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                            nullptr, &startup, &process)) {
            ADD_FAILURE() << "the probe did not start, error " << GetLastError();
            return run;
        }
        const win32::Handle processHandle(process.hProcess), thread(process.hThread);
        if (expectBox)
            run.notice = Utf8(AnswerMessageBox(process));
        // A generous limit, so that a probe that hangs fails the test rather
        // than outlasting it.
        if (WaitForSingleObject(process.hProcess, 60000) != WAIT_OBJECT_0) {
            ADD_FAILURE() << "the probe did not end within a minute";
            TerminateProcess(process.hProcess, 1);
            WaitForSingleObject(process.hProcess, 60000);
        }
        GetExitCodeProcess(process.hProcess, &run.exitCode);
    }
    run.output = ReadFileBytes(outPath);
    if (!expectBox)
        run.notice = ReadFileBytes(errPath);
    return run;
}

// The local time as a number that orders times: yyyymmddhhmmss.
unsigned long long Stamp(const SYSTEMTIME& t) {
    return ((((t.wYear * 100ULL + t.wMonth) * 100 + t.wDay) * 100 + t.wHour) * 100 + t.wMinute) * 100 +
           t.wSecond;
}

// "Zeitpunkt: 07.12.2026 20:15:03" as a stamp; 0 when it is not that form.
unsigned long long StampOfReportLine(const std::string& line) {
    unsigned day, month, year, hour, minute, second;
    char rest = 0;
    if (std::sscanf(line.c_str(), "Zeitpunkt: %2u.%2u.%4u %2u:%2u:%2u%c", &day, &month, &year, &hour, &minute,
                    &second, &rest) != 6)
        return 0;
    return ((((year * 100ULL + month) * 100 + day) * 100 + hour) * 100 + minute) * 100 + second;
}

} // namespace

TEST(CrashReport, ACrashLeavesAGermanReportInTheUsersLocalDataAndSaysWhere) {
    const TempFolder folder;
    const std::wstring reports = LocalAppData() + L"\\Ordnerlink\\";
    for (const CrashCase& c : kCrashes) {
        SCOPED_TRACE(Utf8(c.notice) + " " + Utf8(c.fault));
        SYSTEMTIME before{}, after{};
        GetLocalTime(&before);
        const ProbeRun run =
            RunProbe(folder, std::wstring(c.notice) + L" " + c.fault, c.notice == std::wstring(L"window"));
        GetLocalTime(&after);
        EXPECT_EQ(run.exitCode, c.exitCode);

        // The notice: what happened, then the report's path on a line of its own.
        const std::vector<std::string> notice = Lines(run.notice);
        ASSERT_GE(notice.size(), 3u) << run.notice;
        EXPECT_EQ(notice[0], kEnded);
        EXPECT_EQ(notice[1], "Ein Bericht dar\xC3\xBC"
                             "ber liegt in");
        const std::wstring path = Wide(notice[2]);
        ASSERT_EQ(path.substr(0, reports.size()), reports);
        const std::wstring name = path.substr(reports.size());
        EXPECT_TRUE(std::regex_match(Utf8(name), kReportName)) << Utf8(name);

        // The report: UTF-8 with a byte-order mark, one fact per line.
        const std::string bytes = ReadFileBytes(path);
        DeleteFileW(path.c_str());
        ASSERT_TRUE(StartsWith(bytes, "\xEF\xBB\xBF")) << bytes;
        const std::vector<std::string> report = Lines(bytes.substr(3));
        ASSERT_GE(report.size(), 7u) << bytes;
        EXPECT_EQ(report[0], "Absturzbericht von Ordnerlink");
        EXPECT_EQ(report[2], std::string("Version: ") + ORDNERLINK_VERSION_TEXT);
        const unsigned long long when = StampOfReportLine(report[3]);
        EXPECT_GE(when, Stamp(before)) << report[3];
        EXPECT_LE(when, Stamp(after)) << report[3];
        EXPECT_TRUE(StartsWith(report[4], c.exception)) << report[4];
        EXPECT_TRUE(StartsWith(report[5], c.address)) << report[5];
        EXPECT_TRUE(StartsWith(report[6], c.module)) << report[6];
        const bool listsCalls = report.size() > 8 && StartsWith(report[7], "Aufrufe") &&
                                StartsWith(report[8], "  crash_probe.exe + 0x");
        EXPECT_EQ(listsCalls, c.listsCalls) << bytes;
    }
    RemoveDirectoryW(reports.c_str()); // only when no other report lies there
}

TEST(ProgramStart, TheSystemShowsNoBoxForAMissingDiskOrAFileItCannotOpen) {
    const TempFolder folder;
    const ProbeRun run = RunProbe(folder, L"console", false);
    ASSERT_EQ(run.exitCode, 0u);
    const unsigned long mode = std::stoul(run.output);
    EXPECT_EQ(mode & (SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX),
              static_cast<unsigned long>(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX));
}

TEST(ProgramStart, ACheckEndsTheProcessRightAfterItsOutput) {
    const TempFolder folder;
    const std::wstring path = folder.Path().substr(0, folder.Path().size() - 1);
    const ProbeRun run = RunProbe(folder, L"console check \"" + path + L"\"", false);
    EXPECT_EQ(run.exitCode, 0u);
    // A folder without folder links is a result, said on standard output.
    EXPECT_NE(run.output.find("gibt es keine Ordnerverkn\xC3\xBCpfung"), std::string::npos) << run.output;
    EXPECT_EQ(run.notice, "");
    // The C runtime's teardown never ran.
    EXPECT_EQ(run.output.find("Abbau"), std::string::npos) << run.output;
}
