// Drives a modal dialog that the test's own thread opens, as a user would:
// a thread timer, dispatched by the dialog's own message loop, looks for the
// dialog by its caption (or for any dialog of the thread) and runs the test's action on it once (fill in a
// name, press OK or Cancel). Should the action leave the dialog open, the
// driver cancels it so that the test fails instead of hanging.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

class DialogDriver {
public:
    using Action = std::function<void(HWND dialog)>;

    DialogDriver(std::wstring caption, Action action);
    ~DialogDriver();
    DialogDriver(const DialogDriver&) = delete;
    DialogDriver& operator=(const DialogDriver&) = delete;

    // True once the dialog was found and the action ran.
    bool Acted() const { return acted_; }
    // True when the dialog was still open long after the action and had to be
    // cancelled by the driver.
    bool LeftOpen() const { return leftOpen_; }

private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD) noexcept;
    void Tick();

    std::wstring caption_;
    Action action_;
    UINT_PTR timer_ = 0;
    bool acted_ = false;
    bool leftOpen_ = false;
    int ticksSinceAction_ = 0;
    static DialogDriver* active_;
};

// The visible dialog window of this thread with the given caption (any
// caption when it is empty), or null.
HWND FindThreadDialog(const std::wstring& caption);
// The child windows of a window, at any depth.
std::vector<HWND> ChildWindows(HWND parent);
std::wstring WindowText(HWND window);
std::wstring ClassName(HWND window);
// Presses a dialog button the way a click does.
void PressButton(HWND dialog, int id);
// The name box of an explorer-style file dialog: a combo box on some
// systems, an edit field on others.
HWND NameBox(HWND dialog);
