#include "PolicyLinks.h"

#include "FolderEntries.h"
#include "L_SHTCUT.h"
#include "LinkListRead.h"
#include "SameName.h"
#include "SyncPolicy.h"

#include <windows.h>

#include <algorithm>
#include <optional>

namespace L_SHTCUT {

PolicyLinks PolicyLinksIn(const std::wstring& folder) {
    const SyncPolicyReading reading = ReadSyncPolicy();
    if (!reading.policy)
        return {{}, reading.problem};
    const std::optional<std::wstring> policyFolder =
        reading.policy->folder.empty() ? NetworkShortcutsFolder() : reading.policy->folder;
    if (!policyFolder)
        return {};
    // Both as full paths, "." and ".." resolved, compared as Windows
    // compares names.
    const std::wstring synced = TargetFolder(*policyFolder);
    const std::wstring shown = TargetFolder(folder);
    if (synced.empty() || shown.empty() || !SameName(synced, shown))
        return {};
    const std::wstring& listFile = reading.policy->listFile;
    std::wstring why;
    const auto list = ReadListFile(listFile, why);
    if (!list)
        return {{}, why};
    PolicyLinks links;
    // A line that cannot be carried out still names its target as listed,
    // as /sync counts it.
    for (const LinkListLine& line : list->lines) {
        const std::wstring name = NameInFolder(synced, line.target).name;
        if (!name.empty() && std::none_of(links.names.begin(), links.names.end(),
                                          [&](const std::wstring& known) { return SameName(known, name); }))
            links.names.push_back(name);
    }
    return links;
}

} // namespace L_SHTCUT
