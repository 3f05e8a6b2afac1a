// Reading a folder as a folder link: its mark, its desktop.ini and the
// target of its target.lnk.
#include "L_SHTCUT.h"

#include "DesktopIniClass.h"
#include "ErrorText.h"
#include "FolderLinkFiles.h"
#include "L_PFADE.h"
#include "ShellLinkLoad.h"
#include "WholeFile.h"

#include <windows.h>

#include <cstdint>

namespace L_SHTCUT {
namespace {

FolderLinkReading Fault(FolderLinkState state, std::wstring detail = {}) {
    return {state, false, {}, std::move(detail)};
}

// What target.lnk says: the source, or why it names none (state and detail).
struct LinkFileReading {
    FolderLinkState state = FolderLinkState::FolderLink;
    std::wstring source;
    std::wstring detail;
};

LinkFileReading ReadLinkFile(const std::wstring& linkPath) {
    if (GetFileAttributesW(linkPath.c_str()) == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        return {FolderLinkState::NoTargetLnk,
                {},
                error == ERROR_FILE_NOT_FOUND ? std::wstring() : ErrorText(error)};
    }
    const auto records = ReadShellLink(linkPath);
    if (!records)
        return {FolderLinkState::DamagedTargetLnk, {}, L"keine lesbare Verknüpfungsdatei"};
    const auto target = ShellLinkFile::PrimaryTarget(*records);
    if (!target || target->path.empty())
        return {FolderLinkState::DamagedTargetLnk, {}, L"sie nennt kein Ziel, das sich lesen lässt"};
    return {FolderLinkState::FolderLink, target->path, {}};
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
    const bool marked = attributes & (FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY);

    unsigned long error = ERROR_SUCCESS;
    const auto ini = ReadWholeFile(folder + DesktopIniName, cbLargestSmallFile, error);
    const bool namesClass =
        ini &&
        NamesFolderShortcutClass(std::string_view(reinterpret_cast<const char*>(ini->data()), ini->size()));
    const LinkFileReading link = ReadLinkFile(folder + TargetLnkName);

    // The folder is a folder link when its desktop.ini names the class,
    // whatever its attributes, or when it is marked and holds a readable
    // target.lnk, whatever became of its desktop.ini (gone, emptied, or
    // rewritten by another tool). Its faults are reported in the order the
    // shell meets them.
    const bool iniGone = !ini && error == ERROR_FILE_NOT_FOUND;
    FolderLinkReading reading;
    reading.isFolderLink = namesClass || (marked && link.state == FolderLinkState::FolderLink);
    reading.source = link.source;
    if (!marked) {
        reading.state = FolderLinkState::NotMarked;
    } else if (!ini) {
        reading.state = FolderLinkState::NoDesktopIni;
        reading.detail = iniGone ? std::wstring() : ErrorText(error);
    } else if (!namesClass) {
        reading.state = FolderLinkState::NoFolderShortcutClass;
    } else {
        reading.state = link.state;
        reading.detail = link.detail;
    }
    return reading;
}

} // namespace L_SHTCUT
