// Reading a shell link file from disk, with the records decoded as the
// system reads them (ANSI strings in the system's ANSI code page).
#pragma once

#include "ShellLinkRead.h"

#include <optional>
#include <string>

// The records of the link file at linkPath; nothing when the file cannot be
// opened or read, is larger than any link (1 MiB), or is damaged. Use
// ShellLinkFile::PrimaryTarget on the result for the target the shell
// follows first.
std::optional<ShellLinkFile::LinkRecords> ReadShellLink(const std::wstring& linkPath);
