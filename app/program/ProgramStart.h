// What the program does when it starts: without arguments it opens its
// window, with arguments it runs them as a command.
#pragma once

#include "CrashReport.h"

#include <windows.h>

#include <string>

// What holds for the whole process from its start on, whichever way it talks
// to its user: a drive without a disk or a file that cannot be opened is a
// failed call that the caller decides, never a box of the system's own
// (SEM_FAILCRITICALERRORS, SEM_NOOPENFILEERRORBOX); and a crash leaves a
// report that the user is told of by notice.
void PrepareProcess(CrashNotice notice);

// Returns the program's exit code.
int StartProgram();

// Ends the process at once with exitCode, once its output is written, so
// that no worker left behind on a call that cannot be cut short (a file
// system call on a share whose server is gone) meets a process in its
// teardown: no static destructor and no DLL's detach runs beside it. Returns
// exitCode only should the process not end.
int EndProcessNow(int exitCode);

struct MainWindowPrefill;

// Opens the main window with its lines prefilled and runs it until it closes;
// returns the program's exit code.
int RunWindow(const MainWindowPrefill& prefill);

// Opens the window "Ordnerverknüpfungen verwalten" on folder (empty: the
// one it showed last, else the user's network shortcuts) and runs it until
// it is closed; returns the program's exit code.
int RunManagerWindow(const std::wstring& folder);

// Whether this is the console companion ordnerlink.com, whose console the
// command prompt waits on, rather than the window program.
bool IsConsoleProgram();
