// The program run as a command: what it does with its arguments, what it
// prints, and the exit code it ends with.
#pragma once

#include "ExitCode.h"

#include <string>
#include <vector>

// arguments: the program's arguments after its name, at least one.
int RunCommandLine(const std::vector<std::wstring>& arguments);
