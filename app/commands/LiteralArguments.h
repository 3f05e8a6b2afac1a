// The arguments of a command line read the way Explorer writes a folder into
// a verb's command: a quotation mark opens or closes a part with blanks, and
// a backslash is always a backslash. Explorer writes a drive root as "C:\",
// which the platform's splitting rules (CommandLineToArgvW) read as C:"
// followed by an open quotation; no path holds a quotation mark, so nothing
// is lost by never reading \" as one. Portable.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The arguments after the program's name.
std::vector<std::wstring> SplitArgumentsLiterally(std::wstring_view commandLine);

// Whether the command takes a folder from an Explorer verb (/new, /manage),
// so that its command line is read literally; arguments as the platform
// split them.
bool ReadsArgumentsLiterally(const std::vector<std::wstring>& arguments);
