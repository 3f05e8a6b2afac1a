// Repairing a folder link in place: its parts put back as the shell needs
// them, its source kept.
#include "L_SHTCUT.h"

#include "DesktopIniClass.h"
#include "ErrorText.h"
#include "FileAttributes.h"
#include "FolderEntries.h"
#include "FolderLinkFiles.h"
#include "L_PFADE.h"
#include "Quoted.h"
#include "ShellLinkLoad.h"
#include "ShellLinkSave.h"
#include "ShellNotify.h"
#include "WholeFile.h"

#include <windows.h>

#include <optional>

namespace L_SHTCUT {
namespace {

constexpr DWORD FolderMarks = FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY;
constexpr DWORD IniMarks = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

struct PartText {
    RepairPart part;
    const wchar_t* done; // after the change
    const wchar_t* step; // the change as a step that failed
};
constexpr PartText PartTexts[] = {
    {RepairPart::TargetLnkWritten, L"target.lnk neu geschrieben", L"target.lnk schreiben"},
    {RepairPart::TargetLnkHidden, L"target.lnk versteckt", L"target.lnk verstecken"},
    {RepairPart::DesktopIniWritten, L"desktop.ini neu geschrieben", L"desktop.ini schreiben"},
    {RepairPart::DesktopIniHidden, L"desktop.ini als versteckte Systemdatei markiert",
     L"desktop.ini als versteckte Systemdatei markieren"},
    {RepairPart::FolderMarked, L"Ordner als Systemordner markiert", L"Ordner als Systemordner markieren"},
};

const PartText& TextOf(RepairPart part) {
    for (const PartText& text : PartTexts)
        if (text.part == part)
            return text;
    return PartTexts[0];
}

// What the link file says, taken once.
struct LinkFacts {
    ShellLinkFile::LinkRecords records;
    ShellLinkFile::FoundTarget target;
};

// A source is known to be a folder when the disk says so for a local path,
// or when it is a share itself. A share's folder is not asked about: a
// server that is gone would hold the repair up for as long as the network
// waits.
bool SourceIsFolder(const ShellLinkFile::Source& source) {
    if (source.kind == ShellLinkFile::SourceKind::LocalDrive) {
        const DWORD attributes = GetFileAttributesW(source.path.c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    }
    if (source.kind == ShellLinkFile::SourceKind::NetworkShare) {
        const auto split = ShellLinkFile::SplitNetworkPath(source.path);
        return split && split->suffix.empty();
    }
    return false;
}

// A file-system item of the ID list (type 0x3X) without its folder flag
// (0x01): the shell takes the target for a file.
bool IsFileItem(std::uint8_t itemType) {
    return (itemType & 0x70) == 0x30 && !(itemType & 0x01);
}

bool IsSharePath(const std::wstring& path) {
    return path.size() > 2 && path[0] == L'\\' && path[1] == L'\\';
}

// The traits by which a link file shows that something other than Windows'
// shell wrote it, in the way that keeps Windows from following it reliably.
// Windows records a folder as a folder item of the ID list and with the
// directory attribute, a share in LinkInfo's network block, and a target in
// a record of its own beside any relative path.
struct Trait {
    bool (*shows)(const LinkFacts& link, const std::optional<ShellLinkFile::Source>& source);
    const wchar_t* text;
};
constexpr Trait Traits[] = {
    {[](const LinkFacts& link, const std::optional<ShellLinkFile::Source>& source) {
         return !link.records.itemTypes.empty() && IsFileItem(link.records.itemTypes.back()) && source &&
                SourceIsFolder(*source);
     },
     L"sie zeichnet den Ordner als Datei auf"},
    {[](const LinkFacts& link, const std::optional<ShellLinkFile::Source>& source) {
         return !(link.records.fileAttributes & ShellLinkFile::DirectoryAttribute) && source &&
                SourceIsFolder(*source);
     },
     L"sie zeichnet den Ordner ohne das Attribut \u201EVerzeichnis\u201C auf"},
    {[](const LinkFacts& link, const std::optional<ShellLinkFile::Source>&) {
         return link.records.localPath && IsSharePath(*link.records.localPath) && !link.records.networkPath;
     },
     L"sie nennt die Freigabe nur als lokalen Basispfad"},
    {[](const LinkFacts& link, const std::optional<ShellLinkFile::Source>&) {
         return link.target.record == ShellLinkFile::TargetRecord::RelativePath;
     },
     L"sie nennt ihr Ziel nur als relativen Pfad"},
};

// The source as the shell follows the link: a relative path lies in the
// folder that holds target.lnk.
std::optional<ShellLinkFile::Source> SourceOfLink(const std::wstring& folder, const LinkFacts& link) {
    if (link.target.record != ShellLinkFile::TargetRecord::RelativePath ||
        L_PFADE::IsFullPath(link.target.path))
        return ShellLinkFile::ClassifySource(link.target.path);
    const std::wstring resolved = TargetFolder(folder + link.target.path);
    if (resolved.empty())
        return std::nullopt;
    return ShellLinkFile::ClassifySource(FolderAsShown(resolved));
}

// Runs the changes in order, each only once the one before succeeded; a dry
// run only lists them.
class Changes {
public:
    Changes(FolderLinkRepair& repair, bool dryRun) : repair_(repair), dryRun_(dryRun) {}

    bool Make(RepairPart part, const auto& change, std::wstring why = {}) {
        if (!repair_.failure.empty())
            return false;
        if (!dryRun_ && !change()) {
            repair_.failure = std::wstring(TextOf(part).step) + L": " + ErrorText(GetLastError()) + L".";
            return false;
        }
        repair_.changes.push_back({part, std::move(why)});
        return true;
    }

private:
    FolderLinkRepair& repair_;
    bool dryRun_;
};

} // namespace

std::wstring RepairChangeText(const RepairChange& change) {
    std::wstring text = TextOf(change.part).done;
    if (!change.why.empty())
        text += L" (" + change.why + L")";
    return text;
}

FolderLinkRepair RepairFolderLink(const std::wstring& Target, bool dryRun, OtherEntries otherEntries) {
    FolderLinkRepair repair;
    repair.found = ReadFolderLink(Target);
    repair.isFolderLink = repair.found.isFolderLink;
    if (!repair.isFolderLink)
        return repair;

    const std::wstring folder = L_PFADE::AddBackslash(Target);
    const std::wstring iniPath = folder + DesktopIniName;
    const std::wstring linkPath = folder + TargetLnkName;
    const DWORD folderAttributes = GetFileAttributesW(folder.c_str());
    const DWORD iniAttributes = GetFileAttributesW(iniPath.c_str());
    const DWORD linkAttributes = GetFileAttributesW(linkPath.c_str());
    // What a junction or symbolic link points at lies elsewhere: it is not
    // followed.
    if (folderAttributes != INVALID_FILE_ATTRIBUTES && (folderAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        repair.refusal = L"der Ordner ist eine Verbindung (Junction) oder ein symbolischer Link; Ordnerlink "
                         L"folgt ihm nicht und l\u00E4sst ihn, wie er ist.";
        return repair;
    }
    unsigned long error = ERROR_SUCCESS;
    const auto ini = ReadWholeFile(iniPath, cbLargestSmallFile, error);
    // One that is there but cannot be read (another program holds it) is
    // not written over: nothing is changed then. One too large to be ours is
    // written anew.
    if (!ini && error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND &&
        error != ERROR_FILE_TOO_LARGE) {
        repair.refusal = L"seine desktop.ini l\u00E4sst sich nicht lesen: " + ErrorText(error) + L".";
        return repair;
    }
    const bool iniNamesClass =
        ini &&
        NamesFolderShortcutClass(std::string_view(reinterpret_cast<const char*>(ini->data()), ini->size()));
    std::optional<LinkFacts> link;
    if (const auto records = ReadShellLink(linkPath))
        if (const auto target = ShellLinkFile::PrimaryTarget(*records); target && !target->path.empty())
            link = LinkFacts{*records, *target};

    if (!link) {
        repair.refusal = linkAttributes == INVALID_FILE_ATTRIBUTES
                             ? L"der Ordner enth\u00E4lt keine target.lnk, die Quelle ist unbekannt."
                             : L"seine target.lnk nennt keine lesbare Quelle.";
        return repair;
    }
    const auto source = SourceOfLink(folder, *link);
    repair.source = source ? source->path : link->target.path;
    const Trait* trait = nullptr;
    for (const Trait& candidate : Traits)
        if (candidate.shows(*link, source)) {
            trait = &candidate;
            break;
        }
    if (trait && !source) {
        repair.refusal = L"ihre Quelle " + Quoted(repair.source) +
                         L" l\u00E4sst sich nicht so aufzeichnen, dass Windows ihr folgt.";
        return repair;
    }

    // Windows marks the network locations it makes Read-only; one of them
    // without a fault is left as Windows made it.
    if ((folderAttributes & FILE_ATTRIBUTE_READONLY) && iniNamesClass && !trait)
        return repair;

    // Marked again, the folder would hide what the user keeps in it.
    if (!(folderAttributes & FolderMarks) && otherEntries == OtherEntries::Refuse) {
        const FolderLook look = ContentOf(folder);
        if (look.content == FolderContent::Unreadable) {
            repair.refusal =
                L"der Inhalt des Ordners l\u00E4sst sich nicht lesen: " + ErrorText(look.error) + L".";
            return repair;
        }
        if (look.content == FolderContent::Other) {
            repair.hiddenEntries = look.others;
            repair.refusal =
                L"der Ordner ist kein Systemordner mehr und enth\u00E4lt andere Eintr\u00E4ge (" +
                NamedEntries(look) +
                L"); als Ordnerverkn\u00FCpfung verschw\u00E4nden sie im Explorer hinter der "
                L"Quelle.";
            return repair;
        }
    }

    // The folder's mark comes last: the shell follows the folder only once
    // everything inside it is right.
    Changes changes(repair, dryRun);
    if (trait)
        changes.Make(
            RepairPart::TargetLnkWritten,
            [&] {
                return MakeFileReplaceable(linkPath, linkAttributes) &&
                       SaveShellLink(linkPath, *source) != ShellLinkRoute::NotWritten &&
                       AssignAttributes(linkPath, FILE_ATTRIBUTE_HIDDEN);
            },
            trait->text);
    else if (!(linkAttributes & FILE_ATTRIBUTE_HIDDEN))
        changes.Make(RepairPart::TargetLnkHidden,
                     [&] { return AssignAttributes(linkPath, linkAttributes | FILE_ATTRIBUTE_HIDDEN); });
    if (!iniNamesClass)
        changes.Make(RepairPart::DesktopIniWritten, [&] {
            return MakeFileReplaceable(iniPath, iniAttributes) &&
                   L_PFADE::WriteTextFile(iniPath, DesktopIniText()) && AssignAttributes(iniPath, IniMarks);
        });
    else if ((iniAttributes & IniMarks) != IniMarks)
        changes.Make(RepairPart::DesktopIniHidden,
                     [&] { return AssignAttributes(iniPath, iniAttributes | IniMarks); });
    if (!(folderAttributes & FolderMarks))
        changes.Make(RepairPart::FolderMarked,
                     [&] { return AssignAttributes(folder, folderAttributes | FILE_ATTRIBUTE_SYSTEM); });

    if (!dryRun)
        RemoveLeftoversOfOurs(folder);
    if (!dryRun && !repair.changes.empty())
        NotifyShell(FolderChange::Changed, folder);
    return repair;
}

} // namespace L_SHTCUT
