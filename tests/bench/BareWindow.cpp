// The least a program with the main window's set-up does before its window
// is on screen: OLE, the common controls, one window with two buttons. The
// benchmark measures the time from start to the window being mapped.
#include <windows.h>

#include <commctrl.h>
#include <ole2.h>

namespace {

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    const HRESULT oleInitialized = OleInitialize(nullptr);
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES | ICC_TAB_CLASSES};
    InitCommonControlsEx(&controls);

    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // IDC_ARROW
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = L"BareWindow";
    int exitCode = 1;
    if (RegisterClassExW(&wc)) {
        HWND window = CreateWindowExW(0, wc.lpszClassName, L"Bare window",
                                      WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, CW_USEDEFAULT,
                                      CW_USEDEFAULT, 490, 150, nullptr, nullptr, instance, nullptr);
        if (window) {
            CreateWindowExW(0, L"BUTTON", L"Erstellen", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 360, 92, 113, 21,
                            window, nullptr, instance, nullptr);
            CreateWindowExW(0, L"BUTTON", L"Schlie\u00DFen", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 240, 92, 113,
                            21, window, nullptr, instance, nullptr);
            ShowWindow(window, SW_SHOW);
            UpdateWindow(window);
            MSG msg{};
            while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
            exitCode = static_cast<int>(msg.wParam);
        }
    }
    if (SUCCEEDED(oleInitialized))
        OleUninitialize();
    return exitCode;
}
