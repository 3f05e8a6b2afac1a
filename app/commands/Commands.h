// One procedure per command of the command mode; each prints what it did or
// why it did not and returns the exit code.
#pragma once

#include "CommandArguments.h"
#include "ExitCode.h"
#include "L_SHTCUT.h"
#include "LinkListRead.h"
#include "Quoted.h"

#include <optional>
#include <string>
#include <vector>

int CreateCommand(const CommandRequest& request);
int CreateFromListCommand(const CommandRequest& request);
int ShowCommand(const CommandRequest& request);
int CheckCommand(const CommandRequest& request);
int ListCommand(const CommandRequest& request);
int RemoveCommand(const CommandRequest& request);

int RepairCommand(const CommandRequest& request);
int SyncCommand(const CommandRequest& request);

// The target cleaned as the window cleans it; one with neither drive nor
// root ("Links\Docs") names a folder below the current one, which at a
// command prompt is in plain view. A drive without a root ("C:", "C:dir")
// names the drive's current folder, which nobody sees: it is left for the
// check to refuse, as the window refuses it.
std::wstring TargetFromCommandLine(const std::wstring& typed);

// Why the folder path is no folder link, as a German sentence.
std::wstring NoFolderLinkText(const std::wstring& path, const L_SHTCUT::FolderLinkReading& reading);
