// A report appended to a log file, each line with the date and time of the
// run and the computer's and user's names, for a command whose console
// nobody sees (a logon script's, a scheduled task's).
#pragma once

#include <string>
#include <vector>

// Appends lines to the file at path as UTF-8 with CR LF, creating the file
// and its missing folders; a file past kLogLimitBytes (LogTrim.h) is
// started anew with its last half. false, and why (a German sentence), when
// it cannot be written.
bool AppendToLog(const std::wstring& path, const std::vector<std::wstring>& lines, std::wstring& why);
