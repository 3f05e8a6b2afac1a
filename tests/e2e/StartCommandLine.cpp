// Starts the command line held by the environment variable
// ORDNERLINK_COMMAND_LINE exactly as written, as Explorer starts a verb's
// command with the folder put in: CreateProcessW with that line unchanged,
// no console and no standard handles for the program. Taking the line from
// the environment keeps it away from any splitting and quoting on the way.
// Exits at once with 0 when the program started, else 1.
#include <windows.h>

#include <string>

int wmain() {
    std::wstring commandLine(32768, L'\0');
    const DWORD cch = GetEnvironmentVariableW(L"ORDNERLINK_COMMAND_LINE", commandLine.data(),
                                              static_cast<DWORD>(commandLine.size()));
    if (cch == 0 || cch >= commandLine.size())
        return 1;
    commandLine.resize(cch);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, DETACHED_PROCESS, nullptr,
                        nullptr, &startup, &started))
        return 1;
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
    return 0;
}
