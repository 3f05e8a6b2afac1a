// Runs a program as a logon script would and ends it from outside, as a
// crash, a shutdown or Task Manager ends it: "kill_after MS PROGRAM ARGS..."
// starts the program with that command line (each argument quoted), waits
// up to MS milliseconds for it and, when it still runs then, ends it with
// TerminateProcess. Prints "killed after T" or "ended N after T" (its own
// exit code N), T the milliseconds since it started, and exits 0; exits 1
// when the program could not be started.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

int wmain(int argc, wchar_t** argv) {
    if (argc < 3)
        return 1;
    const DWORD milliseconds = static_cast<DWORD>(std::wcstoul(argv[1], nullptr, 10));
    std::wstring commandLine;
    for (int i = 2; i < argc; ++i) {
        if (i > 2)
            commandLine += L' ';
        commandLine += L'"' + std::wstring(argv[i]) + L'"';
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &started))
        return 1;
    CloseHandle(started.hThread);
    const ULONGLONG start = GetTickCount64();
    DWORD code = 0;
    if (WaitForSingleObject(started.hProcess, milliseconds) == WAIT_TIMEOUT &&
        TerminateProcess(started.hProcess, 1)) {
        WaitForSingleObject(started.hProcess, 10000); // TerminateProcess returns before the end
        std::printf("killed after %llu\n", GetTickCount64() - start);
    } else if (GetExitCodeProcess(started.hProcess, &code)) {
        std::printf("ended %lu after %llu\n", code, GetTickCount64() - start);
    }
    CloseHandle(started.hProcess);
    return 0;
}
