#include "L_SHTCUT.h"

#include "L_PFADE.h"
#include "ShellLinkSave.h"

#include <windows.h>

#include <memory>

namespace L_SHTCUT {
namespace {

// The class under which the shell treats a folder as a folder shortcut.
constexpr wchar_t DesktopIniLines[][46] = {
    L"[.ShellClassInfo]",
    L"CLSID2={0AFACED1-E828-11D1-9187-B532F1E9575D}",
    L"Flags=2",
    L"ConfirmFileOp=0",
};

std::wstring DesktopIniText() {
    std::wstring text;
    for (const wchar_t* line : DesktopIniLines)
        text += std::wstring(line) + L"\r\n";
    return text;
}

bool NamesExistingFile(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The attributes are assigned, not added: every bit not named is cleared.
bool AssignAttributes(const std::wstring& path, DWORD attributes) {
    return SetFileAttributesW(path.c_str(), attributes) != FALSE;
}

// A file left read-only by an earlier run cannot be deleted, and one left
// hidden or system cannot be overwritten by a create that does not name the
// same attributes (CreateFileW, CREATE_ALWAYS); a missing file needs nothing.
bool MakeReplaceable(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return true;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return false;
    return AssignAttributes(path, FILE_ATTRIBUTE_NORMAL);
}

bool IsNamed(const wchar_t* name, const wchar_t* expected) {
    return CompareStringOrdinal(name, -1, expected, -1, TRUE) == CSTR_EQUAL;
}

struct FindCloser {
    void operator()(HANDLE h) const noexcept { FindClose(h); }
};
using FindHandle = std::unique_ptr<std::remove_pointer_t<HANDLE>, FindCloser>;

} // namespace

bool HoldsOtherEntries(const std::wstring& Target) {
    const std::wstring folder = L_PFADE::AddBackslash(Target);
    if (folder.empty())
        return false;
    WIN32_FIND_DATAW entry{};
    const HANDLE found = FindFirstFileW((folder + L"*").c_str(), &entry);
    if (found == INVALID_HANDLE_VALUE)
        return false; // no such folder, or nothing in it
    const FindHandle search(found);
    do {
        const wchar_t* name = entry.cFileName;
        if (!IsNamed(name, L".") && !IsNamed(name, L"..") && !IsNamed(name, L"desktop.ini") &&
            !IsNamed(name, L"target.lnk"))
            return true;
    } while (FindNextFileW(found, &entry));
    return false;
}

bool CreateFolderLink(const std::wstring& Source, const std::wstring& Target) {
    // Every later step addresses this one folder: the trimmed target with a
    // trailing "\". A blank target would otherwise put the files into the
    // current directory, and a target naming a file would have its
    // attributes changed.
    const std::wstring folder = L_PFADE::AddBackslash(Target);
    if (folder.empty() || NamesExistingFile(Target) || NamesExistingFile(L_PFADE::RemoveBackslash(folder)))
        return false;

    bool allSucceeded = true;
    const auto step = [&allSucceeded](bool succeeded) { allSucceeded = allSucceeded && succeeded; };

    step(L_PFADE::CreateDirChain(Target));
    // The untrimmed text would name another place when it starts with a
    // blank (a relative path below the current directory); the trimmed form
    // is the folder just created.
    step(AssignAttributes(folder, FILE_ATTRIBUTE_SYSTEM));
    const std::wstring iniPath = folder + L"desktop.ini";
    const std::wstring linkPath = folder + L"target.lnk";
    const std::wstring iniText = DesktopIniText();
    step(MakeReplaceable(iniPath));
    step(L_PFADE::WriteTextFile(iniPath, iniText));
    step(AssignAttributes(iniPath, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
    step(MakeReplaceable(linkPath));
    step(SaveShellLink(linkPath, Source));
    step(AssignAttributes(linkPath, FILE_ATTRIBUTE_HIDDEN));
    return allSucceeded;
}

} // namespace L_SHTCUT
