#include "LinkFolder.h"

#include "Commands.h"
#include "ConsoleOutput.h"
#include "ErrorText.h"
#include "L_PFADE.h"
#include "Win32Holders.h"

#include <windows.h>

#include <knownfolders.h>
#include <shlobj.h>

#include <algorithm>

namespace {

// Where Windows keeps the network locations it makes for the user, which
// are folder links as well.
std::optional<std::wstring> NetworkShortcutsFolder() {
    PWSTR raw = nullptr;
    const HRESULT hr = SHGetKnownFolderPath(FOLDERID_NetHood, KF_FLAG_DEFAULT, nullptr, &raw);
    const win32::TaskMemory<wchar_t> path(raw);
    if (FAILED(hr) || !path)
        return std::nullopt;
    return std::wstring(path.get());
}

bool IsDotEntry(const wchar_t* name) {
    return std::wstring_view(name) == L"." || std::wstring_view(name) == L"..";
}

// The names of the folders directly inside folder (ending in "\"), sorted as
// Explorer sorts them; nothing when the folder cannot be read.
std::optional<std::vector<std::wstring>> SubfolderNames(const std::wstring& folder, DWORD& error) {
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

} // namespace

std::optional<std::wstring> FolderOrNetworkShortcuts(const std::wstring& given) {
    if (!given.empty())
        return given;
    const auto networkShortcuts = NetworkShortcutsFolder();
    if (!networkShortcuts)
        WriteError(L"Der Ordner der Netzwerkverknüpfungen lässt sich nicht ermitteln.\n");
    return networkShortcuts;
}

std::optional<std::vector<std::wstring>> SubfolderPaths(const std::wstring& folder) {
    const std::wstring parent = L_PFADE::AddBackslash(folder);
    DWORD error = ERROR_SUCCESS;
    auto names = SubfolderNames(parent, error);
    if (!names) {
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || error == ERROR_DIRECTORY)
            WriteError(Quoted(folder) + L" existiert nicht oder ist kein Ordner.\n");
        else
            WriteError(Quoted(folder) + L" lässt sich nicht lesen: " + L_SHTCUT::ErrorText(error) + L".\n");
        return std::nullopt;
    }
    for (std::wstring& name : *names)
        name = parent + name;
    return names;
}
