// Which folder links a synchronisation made in a folder, recorded for the
// user under HKCU\Software\Ordnerlink\Sync: one value per folder, named by
// its full path, holding the names of the folder links made there. Only
// what is recorded here is ever removed for no longer being listed, so that
// network locations the user or Windows made are left alone.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace L_SHTCUT {

// The names recorded for folder (a full path ending in "\"): empty when
// nothing is, nothing when the record cannot be read.
std::optional<std::vector<std::wstring>> RecordedSyncLinks(const std::wstring& folder);

// Replaces the names recorded for folder; an empty list removes the value.
// false (the thread's last error set) when the record cannot be written.
bool RecordSyncLinks(const std::wstring& folder, const std::vector<std::wstring>& names);

} // namespace L_SHTCUT
