#include "L_SHTCUT.h"
#include "Quoted.h"

#include "DesktopIniClass.h"
#include "ErrorText.h"
#include "FileAttributes.h"
#include "FolderEntries.h"
#include "FolderLinkFiles.h"
#include "L_PFADE.h"
#include "ShellLinkSave.h"
#include "ShellNotify.h"
#include "WholeFile.h"

#include <windows.h>

#include <cstdint>
#include <optional>
#include <vector>

namespace L_SHTCUT {
namespace {

// The bytes of a file this attempt may replace; nothing when it cannot be read.
std::optional<std::vector<std::uint8_t>> ReadSmallFile(const std::wstring& path) {
    unsigned long error = 0;
    return ReadWholeFile(path, cbLargestSmallFile, error);
}

// A file of the folder link as it was before this attempt, so that a failed
// attempt can give it back. A folder that does not exist yet holds nothing
// to keep, and nothing is asked about it.
class KeptFile {
public:
    KeptFile(std::wstring path, bool folderMissing) : path_(std::move(path)) {
        if (folderMissing)
            return;
        attributes_ = GetFileAttributesW(path_.c_str());
        if (existed())
            bytes_ = ReadSmallFile(path_);
    }

    // Readies the file as it was before this attempt for being replaced.
    bool MakeReplaceable() const { return MakeFileReplaceable(path_, attributes_); }

    // Puts the file back as it was, or removes it when there was none. A
    // file whose replacement failed may still be as it was: then nothing is
    // written (a file another program holds could not be).
    bool Restore() const {
        if (!existed())
            return DeleteFileW(path_.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND;
        if (!bytes_)
            return false;
        if (ReadSmallFile(path_) != bytes_ &&
            !(MakeFileReplaceable(path_, GetFileAttributesW(path_.c_str())) &&
              WriteWholeFile(path_, *bytes_)))
            return false;
        return GetFileAttributesW(path_.c_str()) == attributes_ || AssignAttributes(path_, attributes_);
    }

private:
    bool existed() const { return attributes_ != INVALID_FILE_ATTRIBUTES; }

    std::wstring path_;
    DWORD attributes_ = INVALID_FILE_ATTRIBUTES;
    std::optional<std::vector<std::uint8_t>> bytes_;
};

// What one Create attempt has changed so far, and how to undo it.
// folderAttributes are the folder's before the attempt; folderMissing says
// that it was not found.
class Attempt {
public:
    Attempt(const std::wstring& folder, DWORD folderAttributes, bool folderMissing)
        : folder_(folder), folderAttributes_(folderAttributes),
          iniFile_(folder + DesktopIniName, folderMissing), linkFile_(folder + TargetLnkName, folderMissing) {
    }

    std::vector<std::wstring> createdFolders;
    bool touchedIni = false;
    bool touchedLink = false;
    bool markedFolder = false;

    // Undoes every change, newest first; true when nothing is left of it.
    bool Undo() const {
        bool undone = true;
        if (touchedLink)
            undone = linkFile_.Restore() && undone;
        if (touchedIni)
            undone = iniFile_.Restore() && undone;
        if (markedFolder && folderAttributes_ != INVALID_FILE_ATTRIBUTES)
            undone = AssignAttributes(folder_, folderAttributes_) && undone;
        for (auto level = createdFolders.rbegin(); level != createdFolders.rend(); ++level)
            undone = RemoveDirectoryW(level->c_str()) && undone;
        return undone;
    }

    const KeptFile& iniFile() const { return iniFile_; }
    const KeptFile& linkFile() const { return linkFile_; }

private:
    std::wstring folder_;
    DWORD folderAttributes_;
    KeptFile iniFile_;
    KeptFile linkFile_;
};

CreateResult Failed(const wchar_t* step, DWORD error) {
    CreateResult result;
    result.error = error;
    result.failedStep = step;
    return result;
}

} // namespace

std::wstring DesktopIniText() {
    // The class under which the shell treats a folder as a folder shortcut.
    return L"[.ShellClassInfo]\r\nCLSID2=" + std::wstring(FolderShortcutClass) +
           L"\r\nFlags=2\r\nConfirmFileOp=0\r\n";
}

CreateResult CreateFolderLink(const ShellLinkFile::Source& source, const std::wstring& target) {
    // Every step addresses this one folder. A blank or relative target would
    // put the files into the current directory, and a file would have its
    // attributes changed.
    const std::wstring folder = TargetFolder(target);
    if (folder.empty())
        return Failed(L"Ziel pr\u00FCfen", ERROR_BAD_PATHNAME);
    // Asked once: whether the folder may be touched, what to give back to it
    // after a failure, and whether it can hold anything to keep. A drive's
    // root keeps its separator: "C:" is the drive's current folder.
    const std::wstring folderPath =
        L_PFADE::IsRootPath(folder) ? folder : L_PFADE::RemoveTrailingSeparators(folder);
    const DWORD existing = GetFileAttributesW(folderPath.c_str());
    const DWORD existingError = GetLastError();
    if (existing != INVALID_FILE_ATTRIBUTES && !(existing & FILE_ATTRIBUTE_DIRECTORY))
        return Failed(L"Ziel pr\u00FCfen", ERROR_DIRECTORY);
    const bool missing = existing == INVALID_FILE_ATTRIBUTES &&
                         (existingError == ERROR_FILE_NOT_FOUND || existingError == ERROR_PATH_NOT_FOUND);

    Attempt attempt(folder, existing, missing);
    const std::wstring iniPath = folder + DesktopIniName;
    const std::wstring linkPath = folder + TargetLnkName;
    // Each step either succeeds or ends the attempt with its own error.
    const auto failed = [&attempt](const wchar_t* step) {
        CreateResult result = Failed(step, GetLastError());
        result.leftOnDisk = !attempt.Undo();
        return result;
    };

    // An existing folder needs no level made.
    if (existing == INVALID_FILE_ATTRIBUTES && !L_PFADE::CreateDirChain(folder, &attempt.createdFolders))
        return failed(L"Ordner anlegen");
    attempt.markedFolder = true;
    if (!AssignAttributes(folder, FILE_ATTRIBUTE_SYSTEM))
        return failed(L"Ordner als Systemordner markieren");
    attempt.touchedIni = true;
    if (!attempt.iniFile().MakeReplaceable() || !L_PFADE::WriteTextFile(iniPath, DesktopIniText()) ||
        !AssignAttributes(iniPath, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM))
        return failed(L"desktop.ini schreiben");
    attempt.touchedLink = true;
    if (!attempt.linkFile().MakeReplaceable() ||
        SaveShellLink(linkPath, source) == ShellLinkRoute::NotWritten ||
        !AssignAttributes(linkPath, FILE_ATTRIBUTE_HIDDEN))
        return failed(L"target.lnk schreiben");
    // What an earlier run, ended before its move, left beside the two files.
    RemoveLeftoversOfOurs(folder);

    for (const std::wstring& level : attempt.createdFolders)
        NotifyShell(FolderChange::Created, level);
    if (attempt.createdFolders.empty())
        NotifyShell(FolderChange::Changed, folder);
    CreateResult result;
    result.complete = true;
    return result;
}

std::wstring DescribeFailure(const std::wstring& folderShown, const CreateResult& result) {
    std::wstring text = L"Die Ordnerverkn\u00FCpfung " + Quoted(folderShown) + L" konnte nicht " +
                        (result.leftOnDisk ? L"vollst\u00E4ndig " : L"") + L"erstellt werden.\n\n";
    text += L"Fehlgeschlagen: " + result.failedStep + L"\n";
    text += L"Ursache: " + ErrorText(result.error) + L"\n\n";
    text += result.leftOnDisk ? L"Was bis dahin angelegt oder ge\u00E4ndert war, lie\u00DF sich nicht ganz "
                                L"zur\u00FCcknehmen und ist noch auf dem Datentr\u00E4ger."
                              : L"Auf dem Datentr\u00E4ger ist nichts davon geblieben.";
    return text;
}

} // namespace L_SHTCUT
