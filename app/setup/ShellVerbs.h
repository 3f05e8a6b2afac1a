// Ordnerlink's entries in Explorer's context menus, for the current user
// only (under HKEY_CURRENT_USER\Software\Classes, no administrator rights):
//   on a folder's background  "Ordnerverknüpfung hier erstellen…"   /new "<folder>\"
//   on a folder               "Als Ordnerverknüpfung einbinden…"    /new "<folder>"
//                             "Ordnerverknüpfungen hier verwalten…" /manage "<folder>"
// Windows 11 shows them under "Weitere Optionen anzeigen".
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Writes the three verbs, each starting program (the full path of
// ordnerlink.exe). Returns ERROR_SUCCESS or the first failure's error code.
LSTATUS RegisterShellVerbs(const std::wstring& program);

// Removes exactly what RegisterShellVerbs writes: the three verbs' keys, and
// the keys above them that are left empty. Returns ERROR_SUCCESS or the first
// failure's error code; a verb that is not there is no failure.
LSTATUS UnregisterShellVerbs();

// The verbs' menu texts, in the order above.
std::vector<std::wstring> ShellVerbTexts();

// Whether any of the three verbs is registered.
bool ShellVerbsRegistered();
