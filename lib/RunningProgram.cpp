#include "RunningProgram.h"

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
