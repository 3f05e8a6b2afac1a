// Where folder links are looked for: the user's network shortcuts folder and
// the folders directly inside a folder.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace FolderListing {

// Where Windows keeps the network locations it makes for the user, which
// are folder links as well; nothing when the platform does not say.
std::optional<std::wstring> NetworkShortcutsFolder();

// The names of the folders directly inside folder (ending in "\"), sorted as
// Explorer sorts them; nothing when the folder cannot be read (error then
// holds the platform's code).
std::optional<std::vector<std::wstring>> SubfolderNames(const std::wstring& folder, DWORD& error);

} // namespace FolderListing
