// The program starts by creating and showing its main window.
#include "B_MAIN.h"

#include <commctrl.h>
#include <ole2.h>
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // The folder browser needs COM in a single-threaded apartment and file
    // drops need OLE; both belong to the thread that owns the windows.
    const HRESULT oleInitialized = OleInitialize(nullptr);
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES | ICC_TAB_CLASSES};
    InitCommonControlsEx(&controls);

    int exitCode = 1;
    if (auto window = B_MAIN::Create()) {
        window->Show();
        exitCode = window->Run();
    }
    if (SUCCEEDED(oleInitialized))
        OleUninitialize();
    return exitCode;
}
