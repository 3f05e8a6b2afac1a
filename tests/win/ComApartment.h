// A single-threaded COM apartment with OLE on the test's thread for as long
// as the holder lives; the dialogs, drag and drop and the imaging component
// need one.
#pragma once

#include <windows.h>
// after windows.h, whose types it uses
#include <ole2.h>

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
