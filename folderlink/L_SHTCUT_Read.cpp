// Reading a folder as a folder link: its mark, its desktop.ini and the
// target of its target.lnk.
#include "L_SHTCUT.h"

#include "DesktopIniClass.h"
#include "ErrorText.h"
#include "L_PFADE.h"
#include "ShellLinkLoad.h"
#include "WholeFile.h"

#include <windows.h>

#include <cstdint>

namespace L_SHTCUT {
namespace {

// A desktop.ini is nowhere near this size; a larger one is not read into
// memory.
constexpr std::size_t cbLargestIni = 1 << 20;

FolderLinkReading Fault(FolderLinkState state, std::wstring detail = {}) {
    return {state, {}, std::move(detail)};
}

} // namespace

FolderLinkReading ReadFolderLink(const std::wstring& Target) {
    const std::wstring folder = L_PFADE::AddBackslash(Target);
    if (folder.empty())
        return Fault(FolderLinkState::NoFolder);
    const DWORD attributes = GetFileAttributesW(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        // A file named like the folder is reported as such, not as missing.
        const DWORD asFile = GetFileAttributesW(L_PFADE::RemoveBackslash(folder).c_str());
        return Fault(asFile != INVALID_FILE_ATTRIBUTES && !(asFile & FILE_ATTRIBUTE_DIRECTORY)
                         ? FolderLinkState::NotAFolder
                         : FolderLinkState::NoFolder);
    }
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return Fault(FolderLinkState::NotAFolder);
    // The shell looks for a desktop.ini only in a folder marked System or
    // Read-only; Windows marks the network locations it makes Read-only.
    if (!(attributes & (FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY)))
        return Fault(FolderLinkState::NotMarked);

    unsigned long error = ERROR_SUCCESS;
    const auto ini = ReadWholeFile(folder + L"desktop.ini", cbLargestIni, error);
    if (!ini)
        return Fault(FolderLinkState::NoDesktopIni,
                     error == ERROR_FILE_NOT_FOUND ? std::wstring() : ErrorText(error));
    const std::string_view iniText(reinterpret_cast<const char*>(ini->data()), ini->size());
    if (!NamesFolderShortcutClass(iniText))
        return Fault(FolderLinkState::NoFolderShortcutClass);

    const std::wstring linkPath = folder + L"target.lnk";
    if (GetFileAttributesW(linkPath.c_str()) == INVALID_FILE_ATTRIBUTES) {
        error = GetLastError();
        return Fault(FolderLinkState::NoTargetLnk,
                     error == ERROR_FILE_NOT_FOUND ? std::wstring() : ErrorText(error));
    }
    const auto records = ReadShellLink(linkPath);
    if (!records)
        return Fault(FolderLinkState::DamagedTargetLnk, L"keine lesbare Verknüpfungsdatei");
    const auto target = ShellLinkFile::PrimaryTarget(*records);
    if (!target || target->path.empty())
        return Fault(FolderLinkState::DamagedTargetLnk, L"sie nennt kein Ziel, das sich lesen lässt");
    return {FolderLinkState::FolderLink, target->path, {}};
}

} // namespace L_SHTCUT
