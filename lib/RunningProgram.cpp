#include "RunningProgram.h"

#include "Win32Holders.h"

#include <windows.h>

std::wstring RunningModule() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD cch = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (cch == 0)
            return {};
        // A path that fills the buffer may have been cut short.
        if (cch < path.size()) {
            path.resize(cch);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

std::wstring RunningWindowProgram() {
    const std::wstring running = RunningModule();
    constexpr wchar_t kConsoleExtension[] = L".com";
    const bool console = running.size() > 4 && CompareStringOrdinal(running.c_str() + running.size() - 4, 4,
                                                                    kConsoleExtension, 4, TRUE) == CSTR_EQUAL;
    return console ? running.substr(0, running.size() - 4) + L".exe" : running;
}

bool StartWindowProgram(const std::wstring& arguments, DWORD& error) {
    const std::wstring program = RunningWindowProgram();
    if (program.empty()) {
        error = GetLastError();
        return false;
    }
    std::wstring commandLine = QuotedArgument(program) + L" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &started)) {
        error = GetLastError();
        return false;
    }
    const win32::Handle process(started.hProcess);
    const win32::Handle thread(started.hThread);
    return true;
}

std::wstring QuotedArgument(const std::wstring& argument) {
    const std::size_t lastOther = argument.find_last_not_of(L'\\');
    const std::size_t trailing = argument.size() - (lastOther == std::wstring::npos ? 0 : lastOther + 1);
    return L"\"" + argument + std::wstring(trailing, L'\\') + L"\"";
}
