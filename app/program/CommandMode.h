// The program run as a command: what it does with its arguments, what it
// prints, and the exit code it ends with.
#pragma once

#include <string>
#include <vector>

enum ExitCode : int {
    ExitDone = 0,
    ExitRefused = 1, // refused or failed; a German message says why
    ExitWrongUsage = 2,
};

// arguments: the program's arguments after its name, at least one.
int RunCommandLine(const std::vector<std::wstring>& arguments);
