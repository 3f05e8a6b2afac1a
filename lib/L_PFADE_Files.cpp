// The file-system half of L_PFADE: wide-character platform calls, so that a
// path keeps every character whatever the ANSI code page.
#include "L_PFADE.h"

#include "WholeFile.h"
#include "Win32Holders.h"

#include <windows.h>

#include <cstdint>
#include <string>

namespace L_PFADE {
namespace {

win32::FindHandle FindFirst(const std::wstring& pattern, WIN32_FIND_DATAW& data) {
    return win32::FindHandle(win32::NullIfInvalid(FindFirstFileW(pattern.c_str(), &data)));
}

bool IsSeparator(wchar_t c) {
    return c == L'\\' || c == L'/';
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
    WIN32_FIND_DATAW data{};
    if (auto found = FindFirst(s, data); found && (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return true;
    // A drive or share root is not reported by a search for itself; its
    // attributes are, even when it holds nothing.
    if (IsRootPath(s)) {
        const DWORD attributes = GetFileAttributesW((s + L"\\").c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    }
    return false;
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
