// One procedure per command of the command mode; each prints what it did or
// why it did not and returns the exit code.
#pragma once

#include "CommandArguments.h"
#include "L_SHTCUT.h"
#include "Quoted.h"

#include <string>

int CreateCommand(const CommandRequest& request);
int CreateFromListCommand(const CommandRequest& request);
int ShowCommand(const CommandRequest& request);
int CheckCommand(const CommandRequest& request);
int ListCommand(const CommandRequest& request);
int RemoveCommand(const CommandRequest& request);

// What keeps a folder from being a working folder link, as a German phrase
// without a closing full stop ("seine target.lnk ist beschädigt"); empty
// for a working one.
std::wstring FolderLinkFault(const L_SHTCUT::FolderLinkReading& reading);
// Why the folder path is no folder link, as a German sentence.
std::wstring NoFolderLinkText(const std::wstring& path, const L_SHTCUT::FolderLinkReading& reading);
