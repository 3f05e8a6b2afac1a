// What a folder holds, as the folder-link operations look at it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace L_SHTCUT {

// Where Windows keeps the network locations it makes for the user, which
// are folder links as well; nothing when the platform does not say.
std::optional<std::wstring> NetworkShortcutsFolder();

// The names of the folders directly inside folder (a full path ending in
// "\"), sorted as Explorer sorts them; nothing when the folder cannot be
// read (error says why).
std::optional<std::vector<std::wstring>> SubfolderNames(const std::wstring& folder, std::uint32_t& error);

enum class FolderContent {
    Empty,         // nothing at all
    LinkFilesOnly, // a desktop.ini, a target.lnk or both, and nothing else
    Other,         // anything else as well
    Unreadable,    // the folder cannot be read
};

struct FolderLook {
    FolderContent content = FolderContent::Unreadable;
    std::vector<std::wstring> others; // Other: the first two entries besides a folder link's own files
    std::uint32_t error = 0;          // Unreadable: why
};

// What the folder (ending in "\") holds besides a folder link's own files.
FolderLook ContentOf(const std::wstring& folder);

// Whether a file of that name is what a run writing desktop.ini or
// target.lnk left beside it when it was ended before its move: ours, not
// the user's.
bool IsLeftoverOfOurs(std::wstring_view name);

// Deletes such leftovers in folder (ending in "\"); one that cannot be
// deleted stays.
void RemoveLeftoversOfOurs(const std::wstring& folder);

// The names of a folder's own entries as the texts show them: „a“, „b“ und
// weitere.
std::wstring NamedEntries(const FolderLook& look);

} // namespace L_SHTCUT
