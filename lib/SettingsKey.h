// Where the program keeps what it remembers for the user, under
// HKEY_CURRENT_USER: the folder links /sync made, the manager's place and
// folder. /uninstall removes the whole key.
#pragma once

inline constexpr wchar_t SettingsKey[] = L"Software\\Ordnerlink";
