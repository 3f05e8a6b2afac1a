// Ordnerlink installed for the current user, without administrator rights:
//   the folder %LOCALAPPDATA%\Programs\Ordnerlink with ordnerlink.exe,
//     ordnerlink.com and the read-me LIESMICH.txt when it lies beside them;
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
    std::wstring readMe;              // the installed LIESMICH.txt; empty when there was none to copy
    std::optional<FailedStep> failed; // the first failed step; the ones after it were not done
    // The user's PATH could not be read or written and is as it was; every
    // other step was done.
    std::optional<FailedStep> pathUnchanged;
};
// Installs the programs beside the running one, or brings an installation up
// to date (run from the installed copy, it keeps the files and writes the rest
// anew).
InstallOutcome Install();

// Whether any part of the installation is there.
bool InstallationFound();
// Whether its entry among the user's installed apps is there: what tells an
// installation for this user from parts another installer put in the same
// places.
bool InstallationRecorded();

struct UninstallOutcome {
    std::vector<FailedStep> failed; // every failed step; the others were done
};
// Removes every part of the installation that is there, each step on its
// own. The running program cannot delete its own file: it moves the file
// into the temporary folder and has Windows delete it at the user's next
// logon (the per-user RunOnce key, which needs no administrator rights).
UninstallOutcome Uninstall();
