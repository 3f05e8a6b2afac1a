#include "ProgramStart.h"

#include "B_MAIN.h"
#include "CommandMode.h"
#include "ConsoleOutput.h"
#include "LiteralArguments.h"
#include "Win32Holders.h"

#include <commctrl.h>
#include <ole2.h>
#include <shellapi.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

int RunWindow(const MainWindowPrefill& prefill) {
    // The console companion started from Explorer got a console of its own,
    // which only stands behind the window: it goes. A console shared with
    // the shell that started the program stays.
    DWORD consoleProcesses[2]{};
    if (GetConsoleProcessList(consoleProcesses, 2) == 1)
        FreeConsole();

    // The folder browser needs COM in a single-threaded apartment and file
    // drops need OLE; both belong to the thread that owns the windows.
    const HRESULT oleInitialized = OleInitialize(nullptr);
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES | ICC_TAB_CLASSES};
    InitCommonControlsEx(&controls);

    int exitCode = 1;
    if (auto window = B_MAIN::Create(prefill)) {
        window->Show();
        exitCode = window->Run();
    }
    if (SUCCEEDED(oleInitialized))
        OleUninitialize();
    return exitCode;
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
    if (arguments.empty())
        return RunWindow({});
    if (ReadsArgumentsLiterally(arguments))
        arguments = SplitArgumentsLiterally(GetCommandLineW());
    return RunCommandLine(arguments);
}
