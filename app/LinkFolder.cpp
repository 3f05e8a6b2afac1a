#include "LinkFolder.h"

#include "Commands.h"
#include "ConsoleOutput.h"
#include "ErrorText.h"
#include "FolderEntries.h"
#include "L_PFADE.h"
#include "Win32Holders.h"

#include <windows.h>

#include <knownfolders.h>
#include <shlobj.h>

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

} // namespace

std::optional<std::wstring> FolderOrNetworkShortcuts(const std::wstring& given) {
    if (!given.empty())
        return given;
    const auto networkShortcuts = NetworkShortcutsFolder();
    if (!networkShortcuts)
        WriteError(L"Der Ordner der Netzwerkverknüpfungen lässt sich nicht ermitteln.\n");
    return networkShortcuts;
}

std::optional<LinkFolder> ReadLinkFolder(const std::wstring& given) {
    const auto folder = FolderOrNetworkShortcuts(given);
    if (!folder)
        return std::nullopt;
    const std::wstring parent = L_PFADE::AddBackslash(*folder);
    std::uint32_t error = ERROR_SUCCESS;
    auto names = L_SHTCUT::SubfolderNames(parent, error);
    if (!names) {
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || error == ERROR_DIRECTORY)
            WriteError(Quoted(*folder) + L" existiert nicht oder ist kein Ordner.\n");
        else
            WriteError(Quoted(*folder) + L" lässt sich nicht lesen: " + L_SHTCUT::ErrorText(error) + L".\n");
        return std::nullopt;
    }
    for (std::wstring& name : *names)
        name = parent + name;
    return LinkFolder{*folder, std::move(*names)};
}
