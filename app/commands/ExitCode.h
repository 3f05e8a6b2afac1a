// The exit codes a command ends the program with.
#pragma once

enum ExitCode : int {
    ExitDone = 0,
    ExitRefused = 1, // refused or failed; a German message says why
    ExitWrongUsage = 2,
};
