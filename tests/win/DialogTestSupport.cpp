#include "DialogTestSupport.h"

#include "TempFolder.h"

OwnerWindow::OwnerWindow()
    : window_(CreateWindowExW(0, L"STATIC", L"Ordnerlink Testfenster", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40,
                              40, 400, 200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr)) {}

OwnerWindow::~OwnerWindow() {
    if (window_)
        DestroyWindow(window_);
}

std::string SaveScreenshot(const std::wstring& fileName) {
    // Wine's own way of starting a Linux program from a Windows one.
    using UnixSpawn = LONG(CDECL*)(char* const argv[], int wait);
    const auto spawn = reinterpret_cast<UnixSpawn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "__wine_unix_spawnvp")));
    if (!spawn)
        return {};
    wchar_t program[MAX_PATH]{};
    if (!GetModuleFileNameW(nullptr, program, MAX_PATH))
        return {};
    std::wstring folder(program);
    folder.resize(folder.find_last_of(L'\\') + 1);
    const std::string target = UnixPathOf(folder + fileName);
    if (target.empty())
        return {};
    std::string command = "xwd -root -silent | convert xwd:- 'png:" + target + "'";
    char shell[] = "/bin/sh";
    char option[] = "-c";
    char* argv[] = {shell, option, command.data(), nullptr};
    if (spawn(argv, TRUE) != 0)
        return {};
    return GetFileAttributesW((folder + fileName).c_str()) == INVALID_FILE_ATTRIBUTES ? std::string()
                                                                                      : target;
}
