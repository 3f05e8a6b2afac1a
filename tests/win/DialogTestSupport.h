// What the dialog tests need around the dialogs: a single-threaded COM
// apartment on the test's thread (the folder browser and the file dialogs
// require one), a top-level window to own the dialogs, and a screenshot.
#pragma once

#include "ComApartment.h"

#include <windows.h>

#include <string>

class OwnerWindow {
public:
    OwnerWindow();
    ~OwnerWindow();
    OwnerWindow(const OwnerWindow&) = delete;
    OwnerWindow& operator=(const OwnerWindow&) = delete;
    HWND Handle() const { return window_; }

private:
    HWND window_;
};

// Saves a PNG of the whole X screen beside the test program (xwd and
// ImageMagick, started through Wine). Returns the Linux path of the file, or
// the empty string when it could not be made.
std::string SaveScreenshot(const std::wstring& fileName);
