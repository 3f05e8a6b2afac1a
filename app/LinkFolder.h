// The folder that /list, /repair /all and /sync work in: the one named, or
// the user's network shortcuts, and the folders directly inside it.
#pragma once

#include <optional>
#include <string>
#include <vector>

// The folder given, or where Windows keeps the network locations it makes
// for the user when given is empty; nothing (and the reason written as an
// error) when that folder cannot be found out.
std::optional<std::wstring> FolderOrNetworkShortcuts(const std::wstring& given);

// The full paths of the folders directly inside folder, sorted as Explorer
// sorts them; nothing (and the reason written as an error) when the folder
// does not exist or cannot be read.
std::optional<std::vector<std::wstring>> SubfolderPaths(const std::wstring& folder);
