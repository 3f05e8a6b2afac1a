// Writes a shell link file that points at a path exactly as given.
#pragma once

#include <string>

// Creates or replaces the file linkPath. The platform's own shell link
// object is not used: it stores only an ANSI local path and cannot record a
// network share or an FTP address unchanged. False when the path cannot be
// stored in a link or the file cannot be written completely; a partly
// written file is removed.
bool SaveShellLink(const std::wstring& linkPath, const std::wstring& targetPath);
