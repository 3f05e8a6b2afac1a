#include "FolderEntries.h"

#include "FolderLinkFiles.h"
#include "Quoted.h"
#include "SameName.h"
#include "WholeFile.h"
#include "Win32Holders.h"

#include <windows.h>

#include <knownfolders.h>
#include <shlobj.h>

#include <algorithm>
#include <string_view>

namespace L_SHTCUT {
namespace {

bool IsDotEntry(std::wstring_view name) {
    return name == L"." || name == L"..";
}

} // namespace

std::optional<std::wstring> NetworkShortcutsFolder() {
    PWSTR raw = nullptr;
    const HRESULT hr = SHGetKnownFolderPath(FOLDERID_NetHood, KF_FLAG_DEFAULT, nullptr, &raw);
    const win32::TaskMemory<wchar_t> path(raw);
    if (FAILED(hr) || !path)
        return std::nullopt;
    return std::wstring(path.get());
}

std::optional<std::vector<std::wstring>> SubfolderNames(const std::wstring& folder, std::uint32_t& error) {
    WIN32_FIND_DATAW entry{};
    const win32::FindHandle search(win32::NullIfInvalid(FindFirstFileExW(
        (folder + L"*").c_str(), FindExInfoBasic, &entry, FindExSearchLimitToDirectories, nullptr, 0)));
    if (!search) {
        error = GetLastError();
        return std::nullopt;
    }
    std::vector<std::wstring> names;
    do {
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !IsDotEntry(entry.cFileName))
            names.emplace_back(entry.cFileName);
    } while (FindNextFileW(search.get(), &entry));
    std::sort(names.begin(), names.end(), [](const std::wstring& a, const std::wstring& b) {
        return CompareStringEx(LOCALE_NAME_USER_DEFAULT, NORM_IGNORECASE | SORT_DIGITSASNUMBERS, a.c_str(),
                               -1, b.c_str(), -1, nullptr, nullptr, 0) == CSTR_LESS_THAN;
    });
    return names;
}

FolderLook ContentOf(const std::wstring& folder) {
    FolderLook look;
    WIN32_FIND_DATAW entry{};
    const win32::FindHandle search(win32::NullIfInvalid(FindFirstFileExW(
        (folder + L"*").c_str(), FindExInfoBasic, &entry, FindExSearchNameMatch, nullptr, 0)));
    if (!search) {
        look.error = GetLastError();
        return look;
    }
    look.content = FolderContent::Empty;
    do {
        const std::wstring_view name = entry.cFileName;
        if (IsDotEntry(name))
            continue;
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ||
            !(SameName(name, DesktopIniName) || SameName(name, TargetLnkName) || IsLeftoverOfOurs(name))) {
            look.content = FolderContent::Other;
            look.others.emplace_back(name);
            if (look.others.size() > 2)
                break;
        } else if (look.content == FolderContent::Empty) {
            look.content = FolderContent::LinkFilesOnly;
        }
    } while (FindNextFileW(search.get(), &entry));
    return look;
}

bool IsLeftoverOfOurs(std::wstring_view name) {
    return IsTemporaryNameBeside(name, DesktopIniName) || IsTemporaryNameBeside(name, TargetLnkName);
}

void RemoveLeftoversOfOurs(const std::wstring& folder) {
    WIN32_FIND_DATAW entry{};
    const win32::FindHandle search(win32::NullIfInvalid(FindFirstFileExW(
        (folder + L"*.neu").c_str(), FindExInfoBasic, &entry, FindExSearchNameMatch, nullptr, 0)));
    if (!search)
        return; // none, or the folder cannot be read: nothing to tidy
    do {
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && IsLeftoverOfOurs(entry.cFileName)) {
            const std::wstring path = folder + entry.cFileName;
            SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileW(path.c_str());
        }
    } while (FindNextFileW(search.get(), &entry));
}

std::wstring NamedEntries(const FolderLook& look) {
    std::wstring text;
    for (std::size_t i = 0; i < look.others.size() && i < 2; ++i)
        text += (i == 0 ? L"" : L", ") + Quoted(look.others[i]);
    return look.others.size() > 2 ? text + L" und weitere" : text;
}

} // namespace L_SHTCUT
