// The command mode's two output streams. Text goes to the console the
// program was started from, or as UTF-8 to the file or pipe that a stream
// is redirected to.
#pragma once

#include <string>
#include <string_view>

// Results and progress.
void WriteOutput(std::wstring_view text);
// Refusals, failures and wrong calls.
void WriteError(std::wstring_view text);

// Sends what WriteOutput writes from now on into the file at path instead,
// made anew as UTF-8 with a byte-order mark (which Windows PowerShell 5.1
// and Excel need to read it as UTF-8); false, and why (a German sentence),
// when the file cannot be made.
bool SendOutputToFile(const std::wstring& path, std::wstring& why);

// Whether printed text reaches the user: a redirected stream, or a console
// the program shares with the shell that started it. Not so when Explorer
// or Windows' settings started the program: the window program then has no
// console, the console companion only one of its own that closes with it.
bool OutputReachesUser();

// The handle that standard error is written to (for the window program run
// from a console, the console it attaches to), for a writer that must not
// go through WriteError (the crash report); null when there is none.
void* ErrorStreamHandle();
