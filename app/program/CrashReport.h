// What the program leaves behind when it fails so badly that it has to end:
// a short report in German in the user's local application data
// (%LOCALAPPDATA%\Ordnerlink\Absturzbericht-<date>-<time>.txt) with the
// program's version, the time, the exception's code, the address it happened
// at and the module with the offset into it (for a C++ exception that nothing
// caught: its type and text, and the calls that led to it). The user is told
// where the report lies, and the process ends with the exception's code.
#pragma once

// How the user is told about a crash.
enum class CrashNotice {
    Window,  // the window program: in a message box
    Console, // the command mode: on standard error
};

// Reports every exception that nothing handles, and every end through
// std::terminate (a C++ exception that left a noexcept function, a window
// procedure or a thread). Called once, at the program's start.
void InstallCrashReport(CrashNotice notice);
