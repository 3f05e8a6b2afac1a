// What the dialog tests need around the dialogs: a single-threaded COM
// apartment on the test's thread (the folder browser and the file dialogs
// require one), a top-level window to own the dialogs, and a screenshot.
#pragma once

#include <windows.h>
// after windows.h, whose types it uses
#include <ole2.h>

#include <string>

class ComApartment {
public:
    ComApartment() : ok_(SUCCEEDED(OleInitialize(nullptr))) {}
    ~ComApartment() {
        if (ok_)
            OleUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    bool Ok() const { return ok_; }

private:
    bool ok_;
};

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
