// Runs what the thread's queue holds, so that posted messages (paints,
// deferred layouts, notifications) have reached their windows before a test
// looks at the result.
#pragma once

#include <windows.h>

inline void PumpMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}
