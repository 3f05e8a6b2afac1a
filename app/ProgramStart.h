// What the program does when it starts: without arguments it opens its
// window, with arguments it runs them as a command.
#pragma once

// Returns the program's exit code.
int StartProgram();

struct MainWindowPrefill;

// Opens the main window with its lines prefilled and runs it until it closes;
// returns the program's exit code.
int RunWindow(const MainWindowPrefill& prefill);
