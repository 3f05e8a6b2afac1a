// Folder links: a folder that the shell opens as the location a shell link
// inside it points to. A folder link is the folder (attribute System only),
// its hidden desktop.ini naming the folder-shortcut class and its hidden
// target.lnk pointing at the source.
//
// A Create command runs in two halves:
//  1. CheckCreate looks at the request and the disk and changes nothing. It
//     answers Go, Ask (with the questions to put to the user; No is the safe
//     answer) or Refuse (with the reason). The window asks; the command mode
//     refuses whatever the window would ask unless told to go ahead anyway.
//  2. CreateFolderLink makes the link. When a step fails it undoes what this
//     attempt changed and reports the step, the platform's error and whether
//     anything is still left on disk (DescribeFailure words it).
#pragma once

#include "ShellLinkFile.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace L_SHTCUT {

// A text for the user, German: the title of its box and the message.
struct Message {
    std::wstring title;
    std::wstring text;
    // The question whether a folder link that points elsewhere should point
    // at the new source: answered already by a user who chose to change it.
    bool replacesSource = false;
};

enum class Verdict {
    Go,     // nothing to ask: create
    Ask,    // create only when every question is answered Yes
    Refuse, // do not create; refusal says why
};

// The input an incomplete request lacks, where the user is to type next.
enum class Field { None, Source, Target };

struct CreateCheck {
    Verdict verdict = Verdict::Refuse;
    Message refusal;                // Refuse: the reason ("Unvollständig" for an empty input)
    Field missing = Field::None;    // Refuse: the empty input, if that is the reason
    std::vector<Message> questions; // Ask: in the order to ask them
    // What the user should know about a request that goes ahead (a web
    // address recorded as a web folder): the window shows them before it
    // creates, the command mode prints them with its result.
    std::vector<Message> notices;
    // The source, classified once: its kind and the form the link records.
    // Everything after the check uses this value, never the text as typed.
    std::optional<ShellLinkFile::Source> source;
    std::wstring folder; // the target folder (see TargetFolder); empty when it has none
};

// Everything that can be known before the first change: an empty source or
// target (blanks only count as empty; the source is judged before the
// target is looked at), a target that is not a full path, a drive or share
// root, a folder of the system (Windows, Program Files, the users' root, a
// user's profile), source and target the same folder, a target that is a
// file or lies below one, a name the file system does not allow, a path too
// long for the files inside it, and a folder named desktop.ini or target.lnk
// in the target are refused. Other content in the target (a desktop.ini
// that is not a folder link's own included) and an existing folder link
// pointing elsewhere are asked about. Paths in the texts are shortened in
// the middle to maxPathChars characters; 0 keeps them whole.
CreateCheck CheckCreate(const std::wstring& Source, const std::wstring& Target, std::size_t maxPathChars = 0);

// The text of a folder link's desktop.ini: four lines, each ending in CR LF,
// written as 92 bytes.
std::wstring DesktopIniText();

// The source as typed, without surrounding blanks and one pair of double
// quotes around it, classified: its kind and recorded form, or nothing when
// no link can record it so that Windows follows it.
std::optional<ShellLinkFile::Source> SourceOf(const std::wstring& typed);
// An address (a source's recorded form) with its password shown as "***",
// for the texts.
std::wstring WithoutPassword(const std::wstring& address);
// A folder as the texts show it: without a trailing separator, but for a
// drive's root ("C:\").
std::wstring FolderAsShown(const std::wstring& folder);
// The full path of the target folder ending in "\", "." and ".." resolved
// and "/" read as "\"; empty when Target is blank or not a full path (a
// drive with ":" and a separator, or a share).
std::wstring TargetFolder(const std::wstring& Target);

struct CreateResult {
    bool complete = false;   // every step succeeded
    std::uint32_t error = 0; // the platform's error code of the step that failed
    std::wstring failedStep; // that step, in German
    bool leftOnDisk = false; // something this attempt changed could not be undone
    explicit operator bool() const { return complete; }
};

// Turns the folder TargetFolder(target) into a folder link to
// source, creating missing folders. It judges nothing that CheckCreate
// judges, except that it never touches a blank or relative target or a
// file. The first step that fails ends the attempt: the folders it created
// are removed, files it wrote are removed or given back their earlier
// content, the folder gets back its earlier attributes.
CreateResult CreateFolderLink(const ShellLinkFile::Source& source, const std::wstring& target);

// The failure of CreateFolderLink on the folder shown as folderShown, for
// the user: what was not made, the failed step and its cause in the
// system's language, and whether anything is left on disk.
std::wstring DescribeFailure(const std::wstring& folderShown, const CreateResult& result);

// What a folder is, seen as a folder link.
enum class FolderLinkState {
    FolderLink,            // a folder link; source says where it points
    NoFolder,              // nothing exists under that name
    NotAFolder,            // a file
    NotMarked,             // the folder has neither the System nor the Read-only attribute
    NoDesktopIni,          // no desktop.ini, or one that cannot be read
    NoFolderShortcutClass, // desktop.ini does not name the folder-shortcut class
    NoTargetLnk,           // no target.lnk, or one that cannot be read
    DamagedTargetLnk,      // target.lnk is no shell link, or names no target
};

struct FolderLinkReading {
    // FolderLink when the shell follows it; else the first fault, in the
    // order the shell meets them.
    FolderLinkState state = FolderLinkState::NoFolder;
    // Whether the folder is a folder link at all, working or damaged: its
    // desktop.ini names the folder-shortcut class, whatever its attributes,
    // or it is marked System or Read-only and holds a readable target.lnk,
    // whatever became of its desktop.ini.
    // The one rule by which every command and the window tell a folder link
    // from an ordinary folder.
    bool isFolderLink = false;
    std::wstring source; // where target.lnk points, whenever it can be read
    std::wstring detail; // more about a fault, in German, where there is more to say
};

// Reads the folder Target as the shell would open it: a System or Read-only
// folder whose desktop.ini names the folder-shortcut class and whose
// target.lnk names the source. Changes nothing.
FolderLinkReading ReadFolderLink(const std::wstring& Target);

struct FolderLinkRemoval {
    FolderLinkReading found; // the folder as it was
    bool removed = false;    // desktop.ini and target.lnk deleted, the folder unmarked
    std::wstring failure;    // the step that failed, in German; empty when none did
};

// Turns the folder link Target back into an ordinary folder: deletes its
// desktop.ini and target.lnk and clears the folder's System and Read-only
// attributes; every other entry stays as it was. A damaged folder link
// counts as well (isFolderLink), since that is the link a user most wants
// undone. Anything else is left untouched (removed false, failure empty).
FolderLinkRemoval RemoveFolderLink(const std::wstring& Target);

// A part of a folder link that a repair puts back.
enum class RepairPart {
    TargetLnkWritten,  // target.lnk written anew for its source: it showed a trait Windows' links never have
    TargetLnkHidden,   // target.lnk given the Hidden attribute
    DesktopIniWritten, // desktop.ini written anew: it was missing, empty or no longer named the class
    DesktopIniHidden,  // desktop.ini given the Hidden and System attributes
    FolderMarked,      // the folder given the System attribute
};

struct RepairChange {
    RepairPart part = RepairPart::FolderMarked;
    std::wstring why; // TargetLnkWritten: the trait that was found, in German
};

struct FolderLinkRepair {
    FolderLinkReading found;           // the folder as ReadFolderLink saw it before
    bool isFolderLink = false;         // the folder counts as a folder link (see RepairFolderLink)
    std::wstring source;               // where target.lnk points, in its recorded form; kept by every change
    std::wstring refusal;              // why nothing was changed, in German; empty when the repair went ahead
    std::vector<RepairChange> changes; // made, or for a dry run to be made, in the order made
    std::wstring failure;              // the change that failed and its cause; empty when none did
    // Refused because marking the folder would hide its own entries: the
    // first of them (see NamedEntries); empty otherwise.
    std::vector<std::wstring> hiddenEntries;
    bool whole() const { return isFolderLink && refusal.empty() && failure.empty(); }
};

// Puts back what the shell needs to follow the folder link Target, keeping
// its source. Only a folder that ReadFolderLink counts as a folder link
// (isFolderLink) is looked at; anything else is left untouched. One whose target.lnk is missing or names no
// readable source is refused and left as it was. Otherwise, each only where
// it is wrong: target.lnk is written anew through SaveShellLink when it
// shows a trait that Windows' own links never have (see the traits in
// L_SHTCUT_Repair.cpp), and given Hidden; desktop.ini is written anew with
// DesktopIniText when it is missing, empty or no longer names the class,
// and given Hidden and System; the folder is given System unless it carries
// System or Read-only already. A Read-only folder link without such faults
// is one Windows made and is left exactly as it is. No other entry of the
// folder is touched. The first change that fails ends the repair. dryRun
// changes nothing and lists what would be changed.
// A folder that lost its marks and holds entries besides desktop.ini and
// target.lnk is what a user makes of a folder link to keep files in it:
// marked again, those files would vanish behind the source. Such a folder is
// refused (hiddenEntries names them) unless otherEntries is Hide, which only
// a user who named this one link and was told may choose.
enum class OtherEntries { Refuse, Hide };
FolderLinkRepair RepairFolderLink(const std::wstring& Target, bool dryRun,
                                  OtherEntries otherEntries = OtherEntries::Refuse);

// The question the window asks before a folder is made a folder link that
// hides its own entries: shownFolder is the folder quoted as the texts show
// it; replacesOwnDesktopIni whether its own desktop.ini is replaced. Ends
// "Trotzdem fortfahren?".
Message HidesEntriesQuestion(const std::wstring& shownFolder, bool replacesOwnDesktopIni);

// What a change did, in German ("desktop.ini neu geschrieben").
std::wstring RepairChangeText(const RepairChange& change);

// One line of a list that a folder is kept in step with.
struct SyncLine {
    std::size_t lineNumber = 0; // counted from 1
    std::wstring source;
    std::wstring target; // a name in the folder, or a full path directly in it
    std::wstring error;  // why the line names no link, in German; its target still counts as listed
};

// A listed target as a name in the folder.
struct ListedName {
    std::wstring name;    // empty when the target does not lie directly in the folder
    std::wstring refusal; // why the name cannot be used as written
};

// The name a listed target has in folder (a full path ending in "\", in
// its long form). A target that is not a full path lies in folder.
ListedName NameInFolder(const std::wstring& folder, const std::wstring& target);

// In this order: what leaves the folder as listed first, up to Removed.
enum class SyncOutcome {
    Unchanged, // the listed folder link is as listed
    Created,   // made
    Repaired,  // damaged parts put back
    Repointed, // a folder link given the listed source in place of another
    Removed,   // no longer listed: made an ordinary folder again and deleted once empty
    Refused,   // the line cannot be carried out
    Kept,      // a folder that holds other entries, or that cannot be followed safely, left as it was
    Failed,    // a step failed
    Ignored,   // a recorded name that names no entry of the folder
};

struct SyncStep {
    std::size_t lineNumber = 0; // the line it carries out; 0 for a removal
    SyncOutcome outcome = SyncOutcome::Unchanged;
    std::wstring text;   // what was (or for a dry run would be) done, or why not, in German
    std::wstring name;   // the folder link's name in the folder; empty when the line names none
    std::wstring source; // the line's source (as recorded once it is read; a password masked), or what a
                         // removed one pointed at
};

struct SyncOptions {
    bool prune = false;  // remove every unlisted folder link, not only those a synchronisation made
    bool dryRun = false; // change nothing, report what would be done
};

// How long a run waits for another run of the same folder to end.
inline constexpr std::uint32_t SyncWaitMilliseconds = 60'000;

// Makes the folder links in folder (a full path ending in "\") exactly the
// lines': a missing one is created (through CheckCreate and
// CreateFolderLink, refused where they refuse, and always for an address
// that holds a password), a damaged one repaired, one pointing elsewhere
// given the listed source; a folder that holds other entries is reported
// and never forced. The folder links that an earlier synchronisation made
// (SyncRecord.h) and no line names any more are removed (RemoveFolderLink)
// and their folders deleted once empty; prune removes every unlisted folder
// link. Nothing but a folder link is removed, and never one whose folder
// holds anything besides desktop.ini and target.lnk; nothing is done
// through a junction or symbolic link, and no name is read that Win32 would
// address as another. A name is recorded before the folder link it makes
// is made, so that a run ended midway leaves nothing the next one does not
// finish or remove; a folder link it did not make (one given another
// source) is never recorded. A recorded name is dropped only once its
// folder was read and it is gone.
// The whole run holds the folder's SyncLock. Each step is handed to onStep
// as it is done. Returns why nothing at all was done (another run busy with
// the folder, the folder unreachable), in German; empty when the run went
// through.
std::wstring SyncFolderLinks(const std::wstring& folder, const std::vector<SyncLine>& lines,
                             SyncOptions options, const std::function<void(const SyncStep&)>& onStep);

} // namespace L_SHTCUT
