// The check before a Create command: what it would refuse, what it would ask.
#include "L_SHTCUT.h"
#include "Quoted.h"

#include "DesktopIniClass.h"
#include "FolderEntries.h"
#include "FolderLinkFiles.h"
#include "L_PFADE.h"
#include "SameName.h"
#include "ShellLinkFile.h"
#include "ShellLinkRead.h"
#include "WholeFile.h"
#include "Win32Holders.h"

#include <windows.h>

#include <knownfolders.h>
#include <shlobj.h>

#include <algorithm>
#include <array>
#include <optional>

namespace L_SHTCUT {
namespace {

constexpr wchar_t kTitleIncomplete[] = L"Unvollst\u00E4ndig";
constexpr wchar_t kTitleRefused[] = L"Ordnerverkn\u00FCpfung nicht erstellt";
constexpr wchar_t kTitleNotEmpty[] = L"Ordner ist nicht leer";
constexpr wchar_t kTitleReplace[] = L"Ordnerverkn\u00FCpfung ersetzen";
constexpr wchar_t kTitlePassword[] = L"Kennwort in der Adresse";
constexpr wchar_t kTitleWebFolder[] = L"Webordner";

// The long form of an existing path ("C:\PROGRA~1" is "C:\Program Files"),
// without trailing separators; a missing path as it is.
std::wstring Comparable(const std::wstring& path) {
    const std::wstring plain = L_PFADE::RemoveTrailingSeparators(path);
    const DWORD cchNeeded = GetLongPathNameW(plain.c_str(), nullptr, 0);
    if (cchNeeded == 0)
        return plain;
    std::wstring longPath(cchNeeded, L'\0');
    const DWORD cchCopied = GetLongPathNameW(plain.c_str(), longPath.data(), cchNeeded);
    if (cchCopied == 0 || cchCopied >= cchNeeded)
        return plain;
    longPath.resize(cchCopied);
    return L_PFADE::RemoveTrailingSeparators(longPath);
}

std::optional<std::wstring> KnownFolder(REFKNOWNFOLDERID id) {
    PWSTR raw = nullptr;
    const HRESULT hr = SHGetKnownFolderPath(id, KF_FLAG_DONT_VERIFY, nullptr, &raw);
    const win32::TaskMemory<wchar_t> path(raw);
    if (FAILED(hr) || !raw || !*raw)
        return std::nullopt;
    return Comparable(raw);
}

// Whether path is folder or lies below it (both in their comparable forms).
bool IsAtOrBelow(const std::wstring& path, const std::wstring& folder) {
    if (SameName(path, folder))
        return true;
    const std::wstring prefix = L_PFADE::RemoveTrailingSeparators(folder) + L"\\";
    return path.size() > prefix.size() && SameName(path.substr(0, prefix.size()), prefix);
}

// Every folder the known-folder manager resolves for the current user
// (Documents, Desktop, Downloads, the network shortcuts, ...); virtual
// folders without a path are left out. Asked once a run: they do not move
// while a command runs, and there are about a hundred.
const std::vector<std::wstring>& UsersKnownFolders() {
    static const std::vector<std::wstring> folders = [] {
        std::vector<std::wstring> paths;
        win32::ComPtr<IKnownFolderManager> manager;
        if (FAILED(CoCreateInstance(CLSID_KnownFolderManager, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_IKnownFolderManager, manager.put())))
            return paths;
        KNOWNFOLDERID* rawIds = nullptr;
        UINT count = 0;
        if (FAILED(manager->GetFolderIds(&rawIds, &count)))
            return paths;
        const win32::TaskMemory<KNOWNFOLDERID> ids(rawIds);
        for (UINT i = 0; i < count; ++i)
            if (auto path = KnownFolder(ids.get()[i]))
                paths.push_back(std::move(*path));
        return paths;
    }();
    return folders;
}

// Whether folder (in its comparable form) must never vanish behind a link:
// the Windows folder, either Program Files and ProgramData with everything
// below them; the users' root and every profile in it; and each of the
// current user's known folders itself, though not what lies below them:
// users make their links inside their own profile, and the network
// shortcuts folder lies there. A folder the platform cannot name is simply
// not compared.
bool IsSystemFolder(const std::wstring& folder) {
    const std::array<const KNOWNFOLDERID*, 5> withEverythingBelow = {
        &FOLDERID_Windows, &FOLDERID_ProgramFiles, &FOLDERID_ProgramFilesX86, &FOLDERID_ProgramFilesX64,
        &FOLDERID_ProgramData};
    for (const KNOWNFOLDERID* id : withEverythingBelow)
        if (const auto known = KnownFolder(*id); known && IsAtOrBelow(folder, *known))
            return true;
    const auto users = KnownFolder(FOLDERID_UserProfiles);
    if (users && (SameName(*users, folder) || SameName(*users, L_PFADE::ExtractFolder(folder))))
        return true;
    const std::vector<std::wstring>& known = UsersKnownFolders();
    return std::any_of(known.begin(), known.end(),
                       [&folder](const std::wstring& k) { return SameName(k, folder); });
}

// The levels of a full folder path ending in "\" below its root, outermost
// first, without trailing separators: "C:\a\b\" gives "C:\a" and "C:\a\b",
// "\\srv\share\a\" gives "\\srv\share\a".
std::vector<std::wstring> LevelsOf(const std::wstring& folder) {
    std::size_t rootEnd = 2;
    if (folder[1] != L':') {
        const std::size_t serverEnd = folder.find(L'\\', 2);
        rootEnd = serverEnd == std::wstring::npos ? serverEnd : folder.find(L'\\', serverEnd + 1);
    }
    std::vector<std::wstring> levels;
    if (rootEnd == std::wstring::npos)
        return levels;
    for (std::size_t i = rootEnd + 1; i < folder.size(); ++i)
        if (folder[i] == L'\\')
            levels.push_back(folder.substr(0, i));
    return levels;
}

// A name the file system refuses for a folder: a character it does not
// allow, or a device name such as "CON" or "lpt1.txt".
bool IsForbiddenName(const std::wstring& name) {
    for (const wchar_t c : name)
        if (c < 0x20 || std::wstring_view(L"<>:\"|?*").find(c) != std::wstring_view::npos)
            return true;
    std::wstring stem = name.substr(0, name.find(L'.'));
    while (!stem.empty() && stem.back() == L' ')
        stem.pop_back();
    for (const wchar_t* device : {L"CON", L"PRN", L"AUX", L"NUL"})
        if (SameName(stem, device))
            return true;
    if (stem.size() == 4 && stem[3] >= L'1' && stem[3] <= L'9')
        return SameName(stem.substr(0, 3), L"COM") || SameName(stem.substr(0, 3), L"LPT");
    return false;
}

// Whether the desktop.ini at path makes its folder a folder shortcut: the
// one a folder link is made with, or one Windows or another tool wrote for
// the same purpose.
bool NamesTheClass(const std::wstring& path) {
    unsigned long error = 0;
    const auto bytes = ReadWholeFile(path, cbLargestSmallFile, error);
    return bytes && NamesFolderShortcutClass(
                        std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
}

// What the target folder holds, seen by a Create command.
struct Contents {
    std::wstring nameInTheWay; // a folder named desktop.ini or target.lnk
    bool otherEntries = false; // anything that is not the folder link's own files
    bool foreignDesktopIni = false;
    bool ownDesktopIni = false;
    bool linkFile = false;
};

// isFolderLink: the folder reads as a folder link, so its desktop.ini and
// target.lnk are that link's own whatever their bytes.
Contents ContentsOf(const std::wstring& folder, bool isFolderLink) {
    Contents contents;
    WIN32_FIND_DATAW entry{};
    const win32::FindHandle search(win32::NullIfInvalid(FindFirstFileW((folder + L"*").c_str(), &entry)));
    if (!search)
        return contents; // a missing folder, or one without entries
    do {
        const std::wstring name = entry.cFileName;
        const bool isFolder = entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY;
        if (name == L"." || name == L"..")
            continue;
        if (SameName(name, DesktopIniName) || SameName(name, TargetLnkName)) {
            if (isFolder)
                contents.nameInTheWay = name;
            else if (SameName(name, TargetLnkName))
                contents.linkFile = true;
            else if (NamesTheClass(folder + name))
                contents.ownDesktopIni = true;
            else
                contents.foreignDesktopIni = true;
            continue;
        }
        if (!isFolder && IsLeftoverOfOurs(name))
            continue;
        contents.otherEntries = true;
    } while (FindNextFileW(search.get(), &entry));
    // A target.lnk is a folder link's own only in a folder link, working or damaged.
    if (contents.linkFile && !isFolderLink)
        contents.otherEntries = true;
    return contents;
}

// A refusal that names one path.
CreateCheck Refused(CreateCheck check, const std::wstring& text) {
    check.verdict = Verdict::Refuse;
    check.refusal = {kTitleRefused, text};
    return check;
}

// Why no link can record the source so that Windows follows it.
std::wstring SourceRefusal(const ShellLinkFile::SourceClassification& classified,
                           const std::wstring& shownSource) {
    using ShellLinkFile::SourceProblem;
    switch (classified.problem) {
    case SourceProblem::AddressWithoutServer:
        return L"Die Adresse " + shownSource +
               L" nennt keinen Server. Bitte eine Adresse wie ftp://Server/Ordner angeben.";
    case SourceProblem::InvalidPort:
        return L"Die Adresse " + shownSource + L" nennt den Port " + Quoted(classified.named) +
               L"; ein Port ist eine Zahl von 1 bis 65535.";
    case SourceProblem::Ipv6WebAddress:
        return L"Die Webadresse " + shownSource +
               L" nennt ihren Server mit einer IPv6-Adresse; als Webordner kann Windows ihn nur "
               L"unter seinem Namen öffnen. Bitte den Namen des Servers angeben.";
    case SourceProblem::UnsupportedScheme:
        return L"Adressen mit " + Quoted(classified.named + L":") +
               L" kann eine Ordnerverkn\u00FCpfung nicht als Ordner \u00F6ffnen. M\u00F6glich sind ftp://, "
               L"http:// und https:// (als Webordner).";
    case SourceProblem::TooLong:
        return L"Die Quelle " + shownSource + L" ist zu lang f\u00FCr eine Verkn\u00FCpfung.";
    case SourceProblem::DevicePath:
        return L"Die Quelle " + shownSource + L" ist ein Ger\u00E4tepfad, kein Ordner.";
    default:
        return L"Die Quelle " + shownSource +
               L" ist weder ein vollst\u00E4ndiger Pfad noch eine Freigabe oder Adresse, der Windows folgen "
               L"kann. Bitte einen Pfad wie C:\\Ordner, eine Freigabe wie \\\\Server\\Freigabe oder eine "
               L"Adresse wie ftp://Server/Ordner angeben, ohne Zeichen wie < > | ? *.";
    }
}

} // namespace

std::wstring WithoutPassword(const std::wstring& address) {
    const std::size_t hostStart = address.find(L"://") + 3;
    const std::size_t at = address.find(L'@', hostStart);
    const std::size_t colon = address.find(L':', hostStart);
    if (at == std::wstring::npos || colon == std::wstring::npos || colon > at)
        return address;
    return address.substr(0, colon + 1) + L"***" + address.substr(at);
}

std::optional<ShellLinkFile::Source> SourceOf(const std::wstring& typed) {
    return ShellLinkFile::ClassifySource(L_PFADE::TrimPathInput(typed));
}

std::wstring TargetFolder(const std::wstring& Target) {
    const std::wstring typed = L_PFADE::TrimPathInput(Target);
    if (!L_PFADE::IsFullPath(typed))
        return {};
    const DWORD cchNeeded = GetFullPathNameW(typed.c_str(), 0, nullptr, nullptr);
    if (cchNeeded == 0)
        return {};
    std::wstring full(cchNeeded, L'\0');
    const DWORD cchCopied = GetFullPathNameW(typed.c_str(), cchNeeded, full.data(), nullptr);
    if (cchCopied == 0 || cchCopied >= cchNeeded)
        return {};
    full.resize(cchCopied);
    return L_PFADE::RemoveTrailingSeparators(full) + L"\\";
}

std::wstring FolderAsShown(const std::wstring& folder) {
    return L_PFADE::IsRootPath(folder) ? folder : L_PFADE::RemoveTrailingSeparators(folder);
}

Message HidesEntriesQuestion(const std::wstring& shownFolder, bool replacesOwnDesktopIni) {
    std::wstring question = L"Der Ordner " + shownFolder +
                            L" enth\u00E4lt bereits Dateien oder Ordner. Wird er zur "
                            L"Ordnerverkn\u00FCpfung, zeigt der Explorer an seiner Stelle die Quelle "
                            L"und seinen eigenen Inhalt nicht mehr an.";
    if (replacesOwnDesktopIni)
        question += L" Seine eigene desktop.ini (etwa ein Symbol des Ordners) wird dabei ersetzt.";
    return {kTitleNotEmpty, question + L"\n\nTrotzdem fortfahren?"};
}

CreateCheck CheckCreate(const std::wstring& Source, const std::wstring& Target, std::size_t maxPathChars) {
    const auto shown = [maxPathChars](const std::wstring& path) {
        const std::wstring plain = FolderAsShown(path);
        return Quoted(maxPathChars ? L_PFADE::ShortenInTheMiddle(plain, maxPathChars) : plain);
    };
    CreateCheck check;
    const std::wstring typedSource = L_PFADE::TrimPathInput(Source);
    if (typedSource.empty()) {
        check.refusal = {kTitleIncomplete, L"Kein Quellpfad angegeben !"};
        check.missing = Field::Source;
        return check;
    }
    const std::wstring typedTarget = L_PFADE::TrimPathInput(Target);
    if (typedTarget.empty()) {
        check.refusal = {kTitleIncomplete, L"Kein Zielpfad angegeben !"};
        check.missing = Field::Target;
        return check;
    }

    // A source no link can record so that Windows follows it would be found
    // out only by the link's own step, after the folder has been changed.
    // From here on the source is this value, in its recorded form.
    const ShellLinkFile::SourceClassification classified = ShellLinkFile::ClassifySourceText(typedSource);
    check.source = classified.source;
    if (!check.source)
        return Refused(check, SourceRefusal(classified, shown(typedSource)));
    const ShellLinkFile::Source& source = *check.source;

    // A relative path would land in the program's current folder, which the
    // user never sees and which a file dialog may have changed.
    check.folder = TargetFolder(typedTarget);
    if (check.folder.empty())
        return Refused(check, L"Das Ziel " + shown(typedTarget) +
                                  L" ist kein vollst\u00E4ndiger Pfad. Bitte den Ordner mit Laufwerk "
                                  L"(C:\\Ordner) oder Freigabe (\\\\Server\\Freigabe\\Ordner) angeben.");
    const std::wstring folder = L_PFADE::RemoveTrailingSeparators(check.folder);
    if (L_PFADE::IsRootPath(folder))
        return Refused(check, shown(check.folder) +
                                  L" ist ein ganzes Laufwerk oder eine ganze Freigabe. Eine "
                                  L"Ordnerverkn\u00FCpfung braucht einen eigenen Ordner darin.");
    if (check.folder.size() > MAX_PATH - 12)
        return Refused(check, L"Der Pfad " + shown(check.folder) +
                                  L" ist zu lang f\u00FCr eine Ordnerverkn\u00FCpfung.");
    bool levelsExist = true; // up to the first level still to be made
    for (const std::wstring& level : LevelsOf(check.folder)) {
        const std::wstring name = L_PFADE::ExtractFileName(level, false);
        if (IsForbiddenName(name))
            return Refused(check,
                           L"Der Ordnername " + Quoted(name) +
                               L" ist nicht erlaubt: Ein Ordnername darf keines der Zeichen < > : \" | ? * "
                               L"enthalten und kein Ger\u00E4tename wie CON oder NUL sein.");
        const DWORD attributes = levelsExist ? GetFileAttributesW(level.c_str()) : INVALID_FILE_ATTRIBUTES;
        levelsExist = attributes != INVALID_FILE_ATTRIBUTES;
        if (levelsExist && !(attributes & FILE_ATTRIBUTE_DIRECTORY))
            return Refused(check, shown(level) + L" ist eine Datei, kein Ordner.");
    }

    const std::wstring comparable = Comparable(folder);
    if (IsSystemFolder(comparable))
        return Refused(check, shown(check.folder) +
                                  L" ist ein Ordner des Systems. Als Ordnerverkn\u00FCpfung w\u00E4re sein "
                                  L"Inhalt im Explorer nicht mehr zu sehen; bitte einen anderen Ordner "
                                  L"w\u00E4hlen.");
    // Only a source of the target's own kind can be the same folder; a share
    // is not asked about for a local target, so that a server that does not
    // answer cannot hold the check up.
    const bool targetIsShare = check.folder.starts_with(L"\\");
    const bool sameKind = targetIsShare ? source.kind == ShellLinkFile::SourceKind::NetworkShare
                                        : source.kind == ShellLinkFile::SourceKind::LocalDrive;
    if (sameKind && SameName(Comparable(source.path), comparable))
        return Refused(check, L"Quelle und Ziel sind derselbe Ordner " + shown(check.folder) +
                                  L". Eine Ordnerverkn\u00FCpfung auf sich selbst verdeckt ihren eigenen "
                                  L"Inhalt.");

    const FolderLinkReading existing = ReadFolderLink(check.folder);
    const bool isFolderLink = existing.isFolderLink;
    const Contents contents = ContentsOf(check.folder, isFolderLink);
    if (!contents.nameInTheWay.empty())
        return Refused(check,
                       L"Im Ordner " + shown(check.folder) + L" gibt es einen Unterordner " +
                           Quoted(contents.nameInTheWay) +
                           L". Eine Ordnerverkn\u00FCpfung braucht diesen Namen f\u00FCr ihre eigene "
                           L"Datei; bitte den Unterordner umbenennen oder ein anderes Ziel w\u00E4hlen.");

    // Explorer shows the source in place of the folder's own entries: say so
    // before they disappear from view.
    if (contents.otherEntries || contents.foreignDesktopIni)
        check.questions.push_back(HidesEntriesQuestion(shown(check.folder), contents.foreignDesktopIni));
    // The link file can be read by anyone who may open the folder.
    if (source.holdsPassword)
        check.questions.push_back(
            {kTitlePassword,
             L"Die Adresse " + Quoted(WithoutPassword(source.path)) +
                 L" enth\u00E4lt ein Kennwort. Es st\u00FCnde lesbar in der versteckten Datei "
                 L"target.lnk, die jeder lesen kann, der den Ordner \u00F6ffnen darf.\n\n"
                 L"Trotzdem fortfahren?"});
    // A web address is recorded in the form Windows opens as a folder, not
    // as typed: say so, and what that form needs.
    if (source.webFolder && typedSource.find(L"://") != std::wstring::npos)
        check.notices.push_back(
            {kTitleWebFolder,
             L"Die Webadresse " + Quoted(typedSource) + L" wird als Webordner " + Quoted(source.path) +
                 L" eingebunden, den der Explorer als Ordner \u00F6ffnet. "
                 L"Windows braucht daf\u00FCr seinen Dienst " +
                 Quoted(L"WebClient") + L"." +
                 (source.userDropped ? L" Benutzername und Kennwort der Adresse werden nicht "
                                       L"gespeichert: Windows fragt beim \u00D6ffnen danach."
                                     : L"")});
    // Replacing a folder link that points elsewhere loses its source: name
    // both. The same source again, in whatever spelling, is simply written
    // anew; both sides are compared in their recorded forms.
    if (isFolderLink && !existing.source.empty()) {
        const auto recorded = ShellLinkFile::ClassifySource(existing.source);
        const std::wstring existingSource = recorded ? recorded->path : existing.source;
        if (!ShellLinkFile::SameTarget(existingSource, source.path))
            check.questions.push_back({kTitleReplace,
                                       L"Der Ordner " + shown(check.folder) +
                                           L" ist bereits eine Ordnerverkn\u00FCpfung auf " +
                                           Quoted(existingSource) + L".\n\nSoll er stattdessen auf " +
                                           Quoted(source.path) + L" zeigen?",
                                       true});
    }
    check.verdict = check.questions.empty() ? Verdict::Go : Verdict::Ask;
    return check;
}

} // namespace L_SHTCUT
