// Where the running program lies.
#pragma once

#include <string>

// The full path of the running program; empty when the system cannot say
// (GetLastError tells why).
std::wstring RunningModule();

// The full path of the running program's ordnerlink.exe: the program itself,
// or for the console companion ordnerlink.com the .exe beside it; empty as
// RunningModule.
std::wstring RunningWindowProgram();
