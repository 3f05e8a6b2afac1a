#include "PathVariable.h"

#include <algorithm>
#include <vector>

namespace {

std::vector<std::wstring> Entries(const std::wstring& list) {
    std::vector<std::wstring> entries;
    std::size_t start = 0;
    while (start <= list.size()) {
        const std::size_t end = std::min(list.find(L';', start), list.size());
        entries.push_back(list.substr(start, end - start));
        start = end + 1;
    }
    return entries;
}

} // namespace

std::wstring PathWith(const std::wstring& list, const std::wstring& folder, const SameFolder& same) {
    for (const std::wstring& entry : Entries(list))
        if (same(entry, folder))
            return list;
    if (list.empty())
        return folder;
    return list + (list.ends_with(L';') ? L"" : L";") + folder;
}

std::wstring PathWithout(const std::wstring& list, const std::wstring& folder, const SameFolder& same) {
    std::wstring kept;
    bool removed = false;
    for (const std::wstring& entry : Entries(list)) {
        if (same(entry, folder))
            removed = true;
        else if (!entry.empty())
            kept += (kept.empty() ? L"" : L";") + entry;
    }
    return removed ? kept : list;
}
