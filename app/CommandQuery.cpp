// The commands that look at folder links without changing them: /show,
// /check and /list.
#include "CommandMode.h"
#include "Commands.h"
#include "ConsoleOutput.h"
#include "ErrorText.h"
#include "L_PFADE.h"
#include "LinkListFile.h"
#include "SourceCheck.h"
#include "Win32Holders.h"

#include <windows.h>

#include <knownfolders.h>
#include <shlobj.h>

#include <algorithm>
#include <optional>
#include <vector>

using L_SHTCUT::FolderLinkState;

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

namespace {

// The source of the folder link request names, written as the output's first
// line; nothing when the folder holds no link, which is reported instead.
std::optional<std::wstring> WriteLinkedSource(const CommandRequest& request) {
    const auto reading = L_SHTCUT::ReadFolderLink(request.target);
    if (reading.state != FolderLinkState::FolderLink) {
        WriteError(NoFolderLinkText(request.target, reading) + L"\n");
        return std::nullopt;
    }
    WriteOutput(reading.source + L"\n");
    return reading.source;
}

} // namespace

int ShowCommand(const CommandRequest& request) {
    return WriteLinkedSource(request) ? ExitDone : ExitRefused;
}

int CheckCommand(const CommandRequest& request) {
    const std::optional<std::wstring> source = WriteLinkedSource(request);
    if (!source)
        return ExitRefused;
    const SourceAnswer answer = CheckSource(*source, request.timeoutSeconds);
    if (answer.state != SourceState::Reachable) {
        WriteError(answer.message + L"\n");
        return ExitRefused;
    }
    WriteOutput(answer.message + L"\n");
    return ExitDone;
}

int ListCommand(const CommandRequest& request) {
    std::wstring folder = request.folder;
    if (folder.empty()) {
        const auto networkShortcuts = NetworkShortcutsFolder();
        if (!networkShortcuts) {
            WriteError(L"Der Ordner der Netzwerkverknüpfungen lässt sich nicht ermitteln.\n");
            return ExitRefused;
        }
        folder = *networkShortcuts;
    }
    const std::wstring parent = L_PFADE::AddBackslash(folder);
    DWORD error = ERROR_SUCCESS;
    const auto names = SubfolderNames(parent, error);
    if (!names) {
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || error == ERROR_DIRECTORY)
            WriteError(Quoted(folder) + L" existiert nicht oder ist kein Ordner.\n");
        else
            WriteError(Quoted(folder) + L" lässt sich nicht lesen: " + L_SHTCUT::ErrorText(error) + L".\n");
        return ExitRefused;
    }

    // Each link is printed as a line of a list file: SOURCE, a tab, TARGET.
    std::size_t links = 0;
    for (const std::wstring& name : *names) {
        const std::wstring path = parent + name;
        const auto reading = L_SHTCUT::ReadFolderLink(path);
        if (reading.state == FolderLinkState::FolderLink) {
            WriteOutput(EscapePercent(reading.source) + L"\t" + EscapePercent(path) + L"\n");
            ++links;
        } else if (reading.isFolderLink) {
            WriteError(NoFolderLinkText(path, reading) + L"\n");
        }
    }
    if (links == 0)
        WriteError(L"In " + Quoted(folder) + L" gibt es keine Ordnerverknüpfung.\n");
    return ExitDone;
}
