// Ordnerlink installed for the current user, without administrator rights:
//   the folder %LOCALAPPDATA%\Programs\Ordnerlink with ordnerlink.exe and
//     ordnerlink.com;
//   the Start-menu shortcut "Ordnerlink";
//   the Explorer verbs (ShellVerbs.h), starting the installed ordnerlink.exe;
//   the folder on the user's own PATH (HKCU\Environment);
//   the entry among the user's installed programs
//     (HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Ordnerlink),
//     through which Windows' settings start "ordnerlink.exe /uninstall".
// The removal takes all of that and the program's settings
// (HKCU\Software\Ordnerlink). Folder links the user made are never touched.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

// A step that failed: what it was to do, in German, and the platform's
// error code.
struct FailedStep {
    std::wstring step;
    DWORD error = ERROR_SUCCESS;
};

struct InstallOutcome {
    std::wstring folder;              // where the programs are
    std::optional<FailedStep> failed; // the first failed step; the ones after it were not done
    // The user's PATH could not be read or written and is as it was; every
    // other step was done.
    std::optional<FailedStep> pathUnchanged;
};
// Installs the programs beside the running one, or brings an installation up
// to date (run from the installed copy, it keeps the files and writes the rest
// anew).
InstallOutcome Install();

struct UninstallOutcome {
    bool found = false;              // any part of an installation was there
    std::vector<FailedStep> failed;  // every failed step; the others were done
    std::wstring deletedAtNextLogon; // the running program's file, when it ran from the installation
};
// Removes every part of the installation that is there, each step on its
// own. The running program cannot delete its own file: it moves the file
// into the temporary folder and has Windows delete it at the user's next
// logon (the per-user RunOnce key, which needs no administrator rights).
UninstallOutcome Uninstall();
