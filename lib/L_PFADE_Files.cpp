// The file-system half of L_PFADE: wide-character platform calls, so that a
// path keeps every character whatever the ANSI code page.
#include "L_PFADE.h"

#include "WholeFile.h"
#include "Win32Holders.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace L_PFADE {
namespace {

win32::FindHandle FindFirst(const std::wstring& pattern, WIN32_FIND_DATAW& data) {
    return win32::FindHandle(win32::NullIfInvalid(FindFirstFileW(pattern.c_str(), &data)));
}

bool IsSeparator(wchar_t c) {
    return c == L'\\' || c == L'/';
}

// Whether the search inside folder finds an entry. "." and ".." are not
// entries the folder holds: a share on a folder below a volume's root lists
// them first, a volume's root does not list them.
bool HoldsAnEntry(const std::wstring& folder) {
    WIN32_FIND_DATAW data{};
    const win32::FindHandle search = FindFirst(folder + L"\\*.*", data);
    if (!search)
        return false;
    do {
        const std::wstring_view name = data.cFileName;
        if (name != L"." && name != L"..")
            return true;
    } while (FindNextFileW(search.get(), &data));
    return false;
}

} // namespace

bool FileExists(const std::wstring& path) {
    if (path.empty() || path == L".")
        return false;
    WIN32_FIND_DATAW data{};
    return FindFirst(path, data) != nullptr;
}

bool DirExists(const std::wstring& path) {
    // "C:\daten\ziel/" and "C:\daten\ziel\\" name the same folder as "C:\daten\ziel".
    const std::wstring s = RemoveTrailingSeparators(path);
    if (s.empty())
        return false;
    // A drive or share root counts as existing only while it holds an entry:
    // the root of an empty medium or an empty share, whose attributes still
    // say folder, does not. Windows' search for a root itself finds nothing;
    // Wine's finds a share root, so a root is judged by its entries alone.
    if (IsRootPath(s))
        return HoldsAnEntry(s);
    WIN32_FIND_DATAW data{};
    const win32::FindHandle found = FindFirst(s, data);
    return found && (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool CreateDirChain(const std::wstring& path, std::vector<std::wstring>* created) {
    const std::wstring p = AddBackslash(path);
    if (p.empty())
        return false;
    // Every level below the root, outermost first. The first separator ends
    // the root (drive or UNC server), which is never created.
    std::vector<std::wstring> levels;
    bool rootSeen = false;
    for (std::size_t i = 2; i < p.size(); ++i) {
        if (!IsSeparator(p[i]))
            continue;
        if (rootSeen)
            levels.push_back(p.substr(0, i + 1));
        rootSeen = true;
    }
    SECURITY_ATTRIBUTES security{};
    security.nLength = sizeof security;
    // The usual case: only the last level is missing, and making it is all
    // there is to do.
    if (!levels.empty() && CreateDirectoryW(levels.back().c_str(), &security)) {
        if (created)
            created->push_back(levels.back());
        return true;
    }
    if (DirExists(p))
        return true;
    DWORD firstError = ERROR_SUCCESS;
    for (const std::wstring& level : levels) {
        // An existing level, an unreachable share or a refusal is not an error
        // here: the final check decides.
        if (CreateDirectoryW(level.c_str(), &security)) {
            if (created)
                created->push_back(level);
        } else if (const DWORD error = GetLastError();
                   error != ERROR_ALREADY_EXISTS && firstError == ERROR_SUCCESS) {
            firstError = error;
        }
    }
    if (DirExists(p))
        return true;
    SetLastError(firstError != ERROR_SUCCESS ? firstError : ERROR_PATH_NOT_FOUND);
    return false;
}

bool WriteTextFile(const std::wstring& path, const std::wstring& text) {
    std::vector<std::uint8_t> bytes;
    if (!text.empty()) {
        const int cbNeeded = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                                 nullptr, 0, nullptr, nullptr);
        if (cbNeeded <= 0)
            return false;
        bytes.resize(static_cast<std::size_t>(cbNeeded));
        WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                            reinterpret_cast<char*>(bytes.data()), cbNeeded, nullptr, nullptr);
    }
    return WriteWholeFile(path, bytes);
}

} // namespace L_PFADE
