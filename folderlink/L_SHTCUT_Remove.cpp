// Turning a folder link back into an ordinary folder, all or nothing.
#include "L_SHTCUT.h"

#include "ErrorText.h"
#include "FileAttributes.h"
#include "FolderLinkFiles.h"
#include "L_PFADE.h"
#include "ShellNotify.h"
#include "Win32Holders.h"

#include <windows.h>

#include <vector>

namespace L_SHTCUT {
namespace {

std::wstring Failure(const std::wstring& what, DWORD error) {
    return what + L": " + ErrorText(error) + L".";
}

bool MarkForDeletion(HANDLE file, bool deleteOnClose) {
    FILE_DISPOSITION_INFO disposition{deleteOnClose};
    return SetFileInformationByHandle(file, FileDispositionInfo, &disposition, sizeof(disposition)) != FALSE;
}

// One of the folder link's own files, with the attributes it had, so that a
// failed removal can put them back.
struct LinkFile {
    std::wstring name;
    std::wstring path;
    DWORD attributes = 0;
    bool attributesCleared = false;
    win32::Handle handle;
    bool marked = false;
};

// Puts everything done so far back as it was: no file is deleted, every
// attribute is restored. A restore that fails leaves nothing worse than the
// failure being reported.
void Undo(std::vector<LinkFile>& files) {
    for (LinkFile& file : files) {
        if (file.marked)
            MarkForDeletion(file.handle.get(), false);
        file.handle.reset();
        if (file.attributesCleared)
            AssignAttributes(file.path, file.attributes);
    }
}

} // namespace

FolderLinkRemoval RemoveFolderLink(const std::wstring& Target) {
    FolderLinkRemoval removal;
    removal.found = ReadFolderLink(Target);
    if (!removal.found.isFolderLink)
        return removal;

    const std::wstring folder = L_PFADE::AddBackslash(Target);
    const DWORD folderAttributes = GetFileAttributesW(folder.c_str());
    if (folderAttributes == INVALID_FILE_ATTRIBUTES) {
        removal.failure = Failure(L"Der Ordner ist nicht mehr lesbar", GetLastError());
        return removal;
    }

    std::vector<LinkFile> files;
    for (const wchar_t* name : {DesktopIniName, TargetLnkName}) {
        LinkFile file;
        file.name = name;
        file.path = folder + name;
        file.attributes = GetFileAttributesW(file.path.c_str());
        if (file.attributes != INVALID_FILE_ATTRIBUTES)
            files.push_back(std::move(file));
    }

    // Each file is first made deletable (a read-only file cannot be) and
    // opened for deletion; both are deleted only when both could be, and
    // only once the folder's mark is cleared as well.
    for (LinkFile& file : files) {
        if (!AssignAttributes(file.path, FILE_ATTRIBUTE_NORMAL)) {
            removal.failure =
                Failure(L"Die Attribute von " + file.name + L" lassen sich nicht ändern", GetLastError());
            Undo(files);
            return removal;
        }
        file.attributesCleared = true;
        file.handle.reset(win32::NullIfInvalid(
            CreateFileW(file.path.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)));
        if (!file.handle) {
            removal.failure = Failure(file.name + L" lässt sich nicht löschen", GetLastError());
            Undo(files);
            return removal;
        }
        if (!MarkForDeletion(file.handle.get(), true)) {
            removal.failure = Failure(file.name + L" lässt sich nicht löschen", GetLastError());
            Undo(files);
            return removal;
        }
        file.marked = true;
    }

    if (!AssignAttributes(folder, folderAttributes & ~(FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY))) {
        removal.failure = Failure(L"Die Attribute des Ordners lassen sich nicht ändern", GetLastError());
        Undo(files);
        return removal;
    }
    for (LinkFile& file : files)
        file.handle.reset(); // the files go with their last handle
    NotifyShell(FolderChange::Changed, folder);
    removal.removed = true;
    return removal;
}

} // namespace L_SHTCUT
