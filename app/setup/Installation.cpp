#include "Installation.h"
#include "SettingsKey.h"

#include "PathVariable.h"
#include "RunningProgram.h"
#include "SameName.h"
#include "ScheduledTask.h"
#include "ShellVerbs.h"
#include "UserRegistry.h"
#include "Win32Holders.h"
#include "version.h"

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <functional>

namespace {

constexpr wchar_t kProgramName[] = L"ordnerlink.exe";
constexpr wchar_t kConsoleName[] = L"ordnerlink.com";
constexpr wchar_t kReadMeName[] = L"LIESMICH.txt";
constexpr wchar_t kUninstallParentKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
constexpr wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Ordnerlink";
constexpr wchar_t kEnvironmentKey[] = L"Environment";
constexpr wchar_t kRunOnceKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";

struct Locations {
    std::wstring programsFolder; // %LOCALAPPDATA%\Programs
    std::wstring folder;         // %LOCALAPPDATA%\Programs\Ordnerlink
    std::wstring program;        // ...\ordnerlink.exe
    std::wstring console;        // ...\ordnerlink.com
    std::wstring readMe;         // ...\LIESMICH.txt
    std::wstring shortcut;       // the Start menu's Programs folder\Ordnerlink.lnk
    std::wstring manageShortcut; // ...\Ordnerverknüpfungen verwalten.lnk, which opens the manager
};

std::optional<std::wstring> KnownFolder(REFKNOWNFOLDERID id) {
    PWSTR raw = nullptr;
    const HRESULT found = SHGetKnownFolderPath(id, KF_FLAG_DEFAULT, nullptr, &raw);
    const win32::TaskMemory<wchar_t> path(raw);
    if (FAILED(found) || !raw)
        return std::nullopt;
    return std::wstring(raw);
}

std::optional<Locations> FindLocations() {
    const auto localAppData = KnownFolder(FOLDERID_LocalAppData);
    const auto startMenuPrograms = KnownFolder(FOLDERID_Programs);
    if (!localAppData || !startMenuPrograms)
        return std::nullopt;
    Locations at;
    at.programsFolder = *localAppData + L"\\Programs";
    at.folder = at.programsFolder + L"\\Ordnerlink";
    at.program = at.folder + L"\\" + kProgramName;
    at.console = at.folder + L"\\" + kConsoleName;
    at.readMe = at.folder + L"\\" + kReadMeName;
    at.shortcut = *startMenuPrograms + L"\\Ordnerlink.lnk";
    at.manageShortcut = *startMenuPrograms + L"\\Ordnerverkn\u00FCpfungen verwalten.lnk";
    return at;
}

std::wstring FolderOf(const std::wstring& path) {
    return path.substr(0, path.find_last_of(L'\\'));
}

std::wstring WithExtension(const std::wstring& path, const wchar_t* extension) {
    return path.substr(0, path.find_last_of(L'.')) + extension;
}

// Whether a PATH entry names folder: its variables expanded, without regard
// to case and to a closing backslash.
bool SameFolder(const std::wstring& entry, const std::wstring& folder) {
    std::wstring expanded(32768, L'\0');
    const DWORD cch =
        ExpandEnvironmentStringsW(entry.c_str(), expanded.data(), static_cast<DWORD>(expanded.size()));
    expanded.resize(cch > 0 && cch <= expanded.size() ? cch - 1 : 0);
    if (expanded.empty())
        expanded = entry;
    while (expanded.size() > 3 && expanded.ends_with(L'\\'))
        expanded.pop_back();
    return SameName(expanded, folder);
}

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

DWORD LastErrorOr(DWORD fallback) {
    const DWORD error = GetLastError();
    return error != ERROR_SUCCESS ? error : fallback;
}

// Running programs read the environment again when told it changed; a
// program that does not answer within the time is passed over.
void TellProgramsEnvironmentChanged() {
    SendMessageTimeoutW(HWND_BROADCAST, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"Environment"),
                        SMTO_ABORTIFHUNG, 5000, nullptr);
}

// Adds folder to the user's PATH or takes it out; the failed step, if any.
// The value keeps its type, a new one is REG_EXPAND_SZ as Windows writes it,
// and a value left empty goes. Only a missing value counts as an empty PATH:
// a value that cannot be read (another type, access denied) is left as it
// is, since writing the folder alone would lose the user's own entries.
std::optional<FailedStep> ChangeUserPath(const std::wstring& folder, bool add) {
    const auto reading = UserRegistry::ReadString(kEnvironmentKey, L"Path");
    const bool stored = reading.status == ERROR_SUCCESS;
    if (!stored && reading.status != ERROR_FILE_NOT_FOUND)
        return FailedStep{L"den PATH des Benutzers lesen", static_cast<DWORD>(reading.status)};
    const std::wstring& before = reading.value.text;
    const std::wstring after =
        add ? PathWith(before, folder, SameFolder) : PathWithout(before, folder, SameFolder);
    if (after == before)
        return std::nullopt;
    const LSTATUS written = after.empty() ? UserRegistry::DeleteValue(kEnvironmentKey, L"Path")
                                          : UserRegistry::SetString(kEnvironmentKey, L"Path", after,
                                                                    stored ? reading.value.expandable : true);
    if (written != ERROR_SUCCESS)
        return FailedStep{add ? L"den Ordner in den PATH des Benutzers aufnehmen"
                              : L"den Ordner aus dem PATH des Benutzers nehmen",
                          static_cast<DWORD>(written)};
    TellProgramsEnvironmentChanged();
    return std::nullopt;
}

DWORD MakeFolder(const std::wstring& folder) {
    if (CreateDirectoryW(folder.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS)
        return ERROR_SUCCESS;
    return LastErrorOr(ERROR_PATH_NOT_FOUND);
}

DWORD CopyProgram(const std::wstring& from, const std::wstring& to) {
    return CopyFileW(from.c_str(), to.c_str(), FALSE) ? ERROR_SUCCESS : LastErrorOr(ERROR_ACCESS_DENIED);
}

// A Start-menu shortcut at path, written by the platform's shell link
// object: it starts the installed program with arguments, with its icon,
// which the folder links' own link writer (lib/ShellLinkSave.h, folders
// only) does not record.
DWORD SaveStartMenuShortcut(const Locations& at, const std::wstring& path, const wchar_t* arguments,
                            const wchar_t* description) {
    const HRESULT comStarted = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (FAILED(comStarted) && comStarted != RPC_E_CHANGED_MODE)
        return static_cast<DWORD>(comStarted);
    HRESULT hr = S_OK;
    {
        win32::ComPtr<IShellLinkW> link;
        hr = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.put());
        if (SUCCEEDED(hr))
            hr = link->SetPath(at.program.c_str());
        // The shell link object answers S_FALSE for a target it cannot find,
        // which the copy just made is not.
        if (SUCCEEDED(hr))
            hr = link->SetArguments(arguments);
        if (SUCCEEDED(hr))
            hr = link->SetWorkingDirectory(at.folder.c_str());
        if (SUCCEEDED(hr))
            hr = link->SetIconLocation(at.program.c_str(), 0);
        if (SUCCEEDED(hr))
            hr = link->SetDescription(description);
        win32::ComPtr<IPersistFile> file;
        if (SUCCEEDED(hr))
            hr = link->QueryInterface(IID_IPersistFile, file.put());
        if (SUCCEEDED(hr))
            hr = file->Save(path.c_str(), TRUE);
    }
    if (SUCCEEDED(comStarted))
        CoUninitialize();
    return SUCCEEDED(hr) ? ERROR_SUCCESS : static_cast<DWORD>(hr);
}

DWORD FileSizeKiB(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        return 0;
    const ULONGLONG bytes = (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return static_cast<DWORD>((bytes + 1023) / 1024);
}

DWORD WriteUninstallEntry(const Locations& at) {
    const std::wstring key = kUninstallKey;
    for (const LSTATUS written : {
             UserRegistry::SetString(key, L"DisplayName", L"Ordnerlink"),
             UserRegistry::SetString(key, L"DisplayVersion", TEXT(ORDNERLINK_VERSION_TEXT)),
             UserRegistry::SetString(key, L"DisplayIcon", at.program + L",0"),
             UserRegistry::SetString(key, L"InstallLocation", at.folder),
             UserRegistry::SetString(key, L"UninstallString", L"\"" + at.program + L"\" /uninstall"),
             UserRegistry::SetNumber(key, L"EstimatedSize",
                                     FileSizeKiB(at.program) + FileSizeKiB(at.console)),
             UserRegistry::SetNumber(key, L"NoModify", 1),
             UserRegistry::SetNumber(key, L"NoRepair", 1),
         })
        if (written != ERROR_SUCCESS)
            return static_cast<DWORD>(written);
    return ERROR_SUCCESS;
}

DWORD DeleteIfThere(const std::wstring& file) {
    if (DeleteFileW(file.c_str()))
        return ERROR_SUCCESS;
    const DWORD error = LastErrorOr(ERROR_ACCESS_DENIED);
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? ERROR_SUCCESS : error;
}

std::wstring SystemFolder() {
    wchar_t folder[MAX_PATH]{};
    const UINT cch = GetSystemDirectoryW(folder, MAX_PATH);
    return cch > 0 && cch < MAX_PATH ? std::wstring(folder, cch) : L"C:\\Windows\\System32";
}

// The running program's own file cannot be deleted while it runs, but it can
// be moved: into the temporary folder, where the command prompt deletes it at
// the user's next logon (Windows runs and removes the RunOnce value then).
// Moving it at the next restart instead (MoveFileEx with
// MOVEFILE_DELAY_UNTIL_REBOOT) would need administrator rights.
DWORD RemoveRunningFile(const std::wstring& file) {
    wchar_t temp[MAX_PATH + 1]{};
    const DWORD cchTemp = GetTempPathW(MAX_PATH + 1, temp);
    if (cchTemp == 0 || cchTemp > MAX_PATH)
        return LastErrorOr(ERROR_PATH_NOT_FOUND);
    // A name of its own per removal, and a RunOnce value named after it, so
    // that a second removal before the next logon leaves nothing of the first.
    const std::wstring movedName = L"ordnerlink-entfernt-" + std::to_wstring(GetCurrentProcessId()) +
                                   file.substr(file.find_last_of(L'.'));
    const std::wstring moved = std::wstring(temp, cchTemp) + movedName;
    if (!MoveFileExW(file.c_str(), moved.c_str(), MOVEFILE_REPLACE_EXISTING))
        return LastErrorOr(ERROR_ACCESS_DENIED);
    return static_cast<DWORD>(
        UserRegistry::SetString(kRunOnceKey, movedName.c_str(),
                                L"\"" + SystemFolder() + L"\\cmd.exe\" /d /c del /f /q \"" + moved + L"\""));
}

void Record(std::vector<FailedStep>& failed, const wchar_t* step, DWORD error) {
    if (error != ERROR_SUCCESS)
        failed.push_back({step, error});
}

} // namespace

InstallOutcome Install() {
    InstallOutcome outcome;
    const auto at = FindLocations();
    if (!at) {
        outcome.failed = FailedStep{L"den Programmordner des Benutzers finden", ERROR_PATH_NOT_FOUND};
        return outcome;
    }
    outcome.folder = at->folder;
    const std::wstring program = RunningWindowProgram();
    const std::wstring console = WithExtension(program, L".com");
    // The zip holds it beside the programs; a build folder does not.
    const std::wstring readMe = FolderOf(program) + L"\\" + kReadMeName;
    const bool fromInstallation = SameName(FolderOf(program), at->folder);

    struct Step {
        const wchar_t* what;
        std::function<DWORD()> run;
    };
    const Step steps[] = {
        {L"ordnerlink.exe und ordnerlink.com neben dem laufenden Programm finden",
         [&] { return Exists(program) && Exists(console) ? ERROR_SUCCESS : DWORD{ERROR_FILE_NOT_FOUND}; }},
        {L"den Ordner anlegen",
         [&] {
             const DWORD programs = MakeFolder(at->programsFolder);
             return programs != ERROR_SUCCESS ? programs : MakeFolder(at->folder);
         }},
        {L"ordnerlink.exe kopieren",
         [&] { return fromInstallation ? ERROR_SUCCESS : CopyProgram(program, at->program); }},
        {L"ordnerlink.com kopieren",
         [&] { return fromInstallation ? ERROR_SUCCESS : CopyProgram(console, at->console); }},
        {L"LIESMICH.txt kopieren",
         [&] {
             return fromInstallation || !Exists(readMe) ? ERROR_SUCCESS : CopyProgram(readMe, at->readMe);
         }},
        {L"den Eintrag im Startmenü anlegen",
         [&] {
             return SaveStartMenuShortcut(*at, at->shortcut, L"",
                                          L"Ordnerverkn\u00FCpfungen erstellen und verwalten");
         }},
        {L"den Eintrag \u201EOrdnerverkn\u00FCpfungen verwalten\u201C im Startmen\u00FC anlegen",
         [&] {
             return SaveStartMenuShortcut(
                 *at, at->manageShortcut, L"/manage",
                 L"Die Ordnerverkn\u00FCpfungen eines Ordners pr\u00FCfen, reparieren "
                 L"und \u00E4ndern");
         }},
        {L"die Befehle im Kontextmenü des Explorers eintragen",
         [&] { return static_cast<DWORD>(RegisterShellVerbs(at->program)); }},
        {L"Ordnerlink unter den installierten Apps eintragen", [&] { return WriteUninstallEntry(*at); }},
    };
    for (const Step& step : steps)
        if (const DWORD error = step.run(); error != ERROR_SUCCESS) {
            outcome.failed = FailedStep{step.what, error};
            return outcome;
        }
    if (Exists(at->readMe))
        outcome.readMe = at->readMe;
    // Last, as nothing else needs it: a PATH that cannot be changed leaves
    // an installation that works when called by its full path.
    outcome.pathUnchanged = ChangeUserPath(at->folder, true);
    return outcome;
}

namespace {

bool PartsFound(const Locations& at) {
    return Exists(at.folder) || Exists(at.shortcut) || Exists(at.manageShortcut) ||
           UserRegistry::Exists(kUninstallKey) || ShellVerbsRegistered();
}

} // namespace

bool InstallationFound() {
    const auto at = FindLocations();
    // Without its places nothing can be said to be missing: the removal
    // tries, and names what failed.
    return !at || PartsFound(*at) || SyncTaskFound();
}

bool InstallationRecorded() {
    return UserRegistry::Exists(kUninstallKey);
}

UninstallOutcome Uninstall() {
    UninstallOutcome outcome;
    const auto at = FindLocations();
    if (!at) {
        outcome.failed.push_back({L"den Programmordner des Benutzers finden", ERROR_PATH_NOT_FOUND});
        return outcome;
    }
    // The scheduled sync goes first, also where only /schedule was run from
    // a copy that was never installed.
    bool taskRemoved = false;
    Record(outcome.failed, L"die geplante Aufgabe des Abgleichs entfernen",
           RemoveSyncTaskIfThere(taskRemoved));
    if (!PartsFound(*at))
        return outcome;

    Record(outcome.failed, L"den Eintrag unter den installierten Apps entfernen",
           static_cast<DWORD>(UserRegistry::DeleteTree(kUninstallKey)));
    // The installation made the user's Uninstall key when it was the first there.
    UserRegistry::DeleteIfEmpty(kUninstallParentKey);
    if (auto path = ChangeUserPath(at->folder, false))
        outcome.failed.push_back(std::move(*path));
    Record(outcome.failed, L"die Befehle aus dem Kontextmenü des Explorers nehmen",
           static_cast<DWORD>(UnregisterShellVerbs()));
    Record(outcome.failed, L"den Eintrag im Startmenü löschen", DeleteIfThere(at->shortcut));
    Record(outcome.failed,
           L"den Eintrag \u201EOrdnerverkn\u00FCpfungen verwalten\u201C im Startmen\u00FC l\u00F6schen",
           DeleteIfThere(at->manageShortcut));
    Record(outcome.failed, L"die Einstellungen von Ordnerlink löschen",
           static_cast<DWORD>(UserRegistry::DeleteTree(SettingsKey)));

    Record(outcome.failed, L"LIESMICH.txt l\u00F6schen", DeleteIfThere(at->readMe));
    const std::wstring running = RunningModule();
    for (const std::wstring& file : {at->program, at->console})
        Record(outcome.failed, file == at->program ? L"ordnerlink.exe löschen" : L"ordnerlink.com löschen",
               SameName(file, running) ? RemoveRunningFile(file) : DeleteIfThere(file));
    if (!RemoveDirectoryW(at->folder.c_str()))
        Record(outcome.failed, L"den Ordner löschen",
               GetLastError() == ERROR_FILE_NOT_FOUND || GetLastError() == ERROR_PATH_NOT_FOUND
                   ? ERROR_SUCCESS
                   : LastErrorOr(ERROR_DIR_NOT_EMPTY));
    // %LOCALAPPDATA%\Programs goes too when nothing else is installed there;
    // other programs' folders keep it.
    RemoveDirectoryW(at->programsFolder.c_str());
    return outcome;
}
