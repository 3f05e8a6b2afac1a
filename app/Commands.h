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
// These four show their result in a message box when no console or
// redirected stream reaches the user (started from Explorer or Windows'
// settings), else they print it.
int RegisterCommand();
int UnregisterCommand();
int InstallCommand();
int UninstallCommand();

// Why the folder path is no folder link, as a German sentence.
std::wstring NoFolderLinkText(const std::wstring& path, const L_SHTCUT::FolderLinkReading& reading);
