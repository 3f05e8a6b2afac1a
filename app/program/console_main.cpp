// The console companion ordnerlink.com: the same program as a console
// program, so that a command prompt, PowerShell or a batch file waits for
// its command to end and sees its exit code.
#include "ProgramStart.h"

int wmain() {
    return StartProgram();
}
