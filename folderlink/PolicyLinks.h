// Which folder links in a folder the administrator's policy manages: the
// ones its list (SyncList) names, when the folder is the policy's
// (SyncFolder, by default the user's network shortcuts). The next run of
// "/sync /policy" makes them as listed again, so a change by hand does not
// last.
#pragma once

#include <string>
#include <vector>

namespace L_SHTCUT {

// What a window says of a folder link the policy manages.
inline constexpr wchar_t kManagedByPolicy[] =
    L"Von der Richtlinie verwaltet: eine \u00C4nderung macht der n\u00E4chste Abgleich r\u00FCckg\u00E4ngig.";

struct PolicyLinks {
    // The listed names in the folder; empty when there is no policy, it is
    // for another folder, or its list cannot be read.
    std::vector<std::wstring> names;
    // Why the policy or its list cannot be read, in German; empty when none.
    std::wstring problem;
};

// folder: a full path ending in "\". Reads the registry and the list file,
// which often lies on a share: never on a window's thread.
PolicyLinks PolicyLinksIn(const std::wstring& folder);

} // namespace L_SHTCUT
