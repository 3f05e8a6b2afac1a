// The window program ordnerlink.exe.
#include "ProgramStart.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    return StartProgram();
}
