// Writes a shell link file that points at a path exactly as given.
#pragma once

#include <string>

// Creates or replaces the file linkPath. Drive and share paths are written
// from the documented link format, with their Unicode forms: a shell link
// object may keep only an ANSI path and no network share. An address such as
// ftp://host/dir is left to the shell's own link object when the thread has
// COM and the link it writes reads back as the address; otherwise it is
// written from the format too. False when the path cannot be stored in a
// link or the file cannot be written completely; a partly written file is
// removed. After a failure the thread's last error says why.
bool SaveShellLink(const std::wstring& linkPath, const std::wstring& targetPath);
