#include "ProgramStart.h"

#include "B_MAIN.h"
#include "CommandMode.h"
#include "ConsoleOutput.h"
#include "LiteralArguments.h"
#include "ManagerWindow.h"
#include "Win32Holders.h"

#include <commctrl.h>
#include <ole2.h>
#include <shellapi.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

// COM in a single-threaded apartment for the thread that runs the window or
// the command, ended with the scope: the shell's link object needs it in
// both, and so does the window's folder browser; the window's file drops
// need OLE on top. Should it not start, the program goes on without: the
// window then takes no drops, and a link is written from the format alone.
class Apartment {
public:
    enum class Kind { Com, Ole };
    explicit Apartment(Kind kind)
        : kind_(kind),
          initialized_(SUCCEEDED(kind == Kind::Ole ? OleInitialize(nullptr)
                                                   : CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED |
                                                                                 COINIT_DISABLE_OLE1DDE))) {}
    ~Apartment() {
        if (!initialized_)
            return;
        if (kind_ == Kind::Ole)
            OleUninitialize();
        else
            CoUninitialize();
    }
    Apartment(const Apartment&) = delete;
    Apartment& operator=(const Apartment&) = delete;

private:
    Kind kind_;
    bool initialized_;
};

// Runs the window that makeWindow creates until it is closed.
template <class MakeWindow> int RunTopWindow(MakeWindow makeWindow) {
    // The console companion started from Explorer got a console of its own,
    // which only stands behind the window: it goes. A console shared with
    // the shell that started the program stays.
    DWORD consoleProcesses[2]{};
    if (GetConsoleProcessList(consoleProcesses, 2) == 1)
        FreeConsole();

    const Apartment apartment(Apartment::Kind::Ole);
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES | ICC_TAB_CLASSES};
    InitCommonControlsEx(&controls);

    if (auto window = makeWindow()) {
        window->Show();
        return window->Run();
    }
    return 1;
}

int RunCommand(const std::vector<std::wstring>& arguments) {
    // The command writes its links by the same route as the window.
    const Apartment apartment(Apartment::Kind::Com);
    return RunCommandLine(arguments);
}

} // namespace

// Once its window is closed (its settings saved, its apartment left), a
// window program ends at once: a check of a source may still wait on a
// server on a thread of its own, and the runtime's teardown must not run
// beside it.
int RunWindow(const MainWindowPrefill& prefill) {
    return EndProcessNow(RunTopWindow([&prefill] { return B_MAIN::Create(prefill); }));
}

void PrepareProcess(CrashNotice notice) {
    // Added to what the process was started with, which it keeps.
    SetErrorMode(GetErrorMode() | SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    InstallCrashReport(notice);
}

int StartProgram() {
    // The wide command line keeps every character of a path, whatever the
    // ANSI code page.
    int argumentCount = 0;
    const win32::LocalMemory<LPWSTR> split(CommandLineToArgvW(GetCommandLineW(), &argumentCount));
    if (!split) {
        WriteError(L"Die Befehlszeile lässt sich nicht lesen.\n");
        return ExitRefused;
    }
    std::vector<std::wstring> arguments(split.get() + std::min(argumentCount, 1),
                                        split.get() + argumentCount);
    if (arguments.empty()) {
        PrepareProcess(CrashNotice::Window);
        return RunWindow({});
    }
    // /new and /manage open a window, and their paths come from Explorer,
    // which quotes a drive's root as "C:\".
    const bool opensWindow = ReadsArgumentsLiterally(arguments);
    if (opensWindow)
        arguments = SplitArgumentsLiterally(GetCommandLineW());
    PrepareProcess(opensWindow ? CrashNotice::Window : CrashNotice::Console);
    return RunCommand(arguments);
}

int EndProcessNow(int exitCode) {
    // The command mode's output is written straight to its handles, with
    // nothing held back in a buffer. ExitProcess would first end the other
    // threads wherever they are and then run every DLL's detach, which may
    // wait for a lock such a thread held; TerminateProcess runs no code of
    // the process any more.
    TerminateProcess(GetCurrentProcess(), static_cast<UINT>(exitCode));
    return exitCode; // the process did not end: it ends the ordinary way
}

int RunManagerWindow(const std::wstring& folder) {
    return EndProcessNow(RunTopWindow([&folder] { return ManagerWindow::Create(folder); }));
}

bool IsConsoleProgram() {
    const auto* image = reinterpret_cast<const BYTE*>(GetModuleHandleW(nullptr));
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(image);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(image + dos->e_lfanew);
    return nt->OptionalHeader.Subsystem == IMAGE_SUBSYSTEM_WINDOWS_CUI;
}
