// Whether a folder's desktop.ini makes the shell open the folder as a folder
// shortcut. Portable: the caller reads the file's bytes.
#pragma once

#include <string_view>

// The class under which the shell treats a folder as a folder shortcut.
inline constexpr std::wstring_view FolderShortcutClass = L"{0AFACED1-E828-11D1-9187-B532F1E9575D}";

// True when the section [.ShellClassInfo] sets CLSID2 (or CLSID) to the
// folder-shortcut class. Names, keys and the class are compared without
// regard to case, blanks around them are ignored. The file may be ANSI,
// UTF-8 or UTF-16 with its byte-order mark, as the shell and editors write it.
bool NamesFolderShortcutClass(std::string_view desktopIniBytes);
