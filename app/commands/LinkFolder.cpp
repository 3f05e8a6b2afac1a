#include "LinkFolder.h"

#include "Commands.h"
#include "ConsoleOutput.h"
#include "ErrorText.h"
#include "FolderEntries.h"
#include "L_PFADE.h"
#include "Win32Holders.h"

#include <windows.h>

std::optional<std::wstring> FolderOrNetworkShortcuts(const std::wstring& given, std::wstring& why) {
    if (!given.empty())
        return given;
    const auto networkShortcuts = L_SHTCUT::NetworkShortcutsFolder();
    if (!networkShortcuts)
        why = L"Der Ordner der Netzwerkverknüpfungen lässt sich nicht ermitteln.";
    return networkShortcuts;
}

std::optional<LinkFolder> ReadLinkFolder(const std::wstring& given) {
    std::wstring why;
    const auto folder = FolderOrNetworkShortcuts(given, why);
    if (!folder) {
        WriteError(why + L"\n");
        return std::nullopt;
    }
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
