// The folder that /list, /repair /all and /sync work in: the one named, or
// the user's network shortcuts, and the folders directly inside it.
#pragma once

#include <optional>
#include <string>
#include <vector>

// The folder given, or where Windows keeps the network locations it makes
// for the user when given is empty; nothing (and why in why) when that
// folder cannot be found out.
std::optional<std::wstring> FolderOrNetworkShortcuts(const std::wstring& given, std::wstring& why);

struct LinkFolder {
    std::wstring folder;
    std::vector<std::wstring> subfolders; // full paths, sorted as Explorer sorts them
};

// FolderOrNetworkShortcuts(given) and the folders directly inside it;
// nothing (and the reason written as an error) when the folder cannot be
// found out, does not exist or cannot be read.
std::optional<LinkFolder> ReadLinkFolder(const std::wstring& given);
