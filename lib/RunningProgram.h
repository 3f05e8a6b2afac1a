// Where the running program lies, and starting its window program.
#pragma once

#include <windows.h>

#include <string>

// The full path of the running program; empty when the system cannot say
// (GetLastError tells why).
std::wstring RunningModule();

// The full path of the running program's ordnerlink.exe: the program itself,
// or for the console companion ordnerlink.com the .exe beside it; empty as
// RunningModule.
std::wstring RunningWindowProgram();

// Starts the window program ordnerlink.exe beside this program as a process
// of its own with arguments (already quoted as the command line wants them);
// false with the platform's error code when it could not be started.
bool StartWindowProgram(const std::wstring& arguments, DWORD& error);

// argument in double quotes as the command line's rules read it back: the
// backslashes before the closing quote (a folder's trailing one) doubled.
std::wstring QuotedArgument(const std::wstring& argument);
