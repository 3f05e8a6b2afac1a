// Keeping a folder's folder links in step with a list: create, repair and
// re-point what is listed, remove what an earlier run made and is listed no
// more.
#include "L_SHTCUT.h"

#include "ErrorText.h"
#include "FolderEntries.h"
#include "L_PFADE.h"
#include "Quoted.h"
#include "SameName.h"
#include "ShellLinkRead.h"
#include "ShellNotify.h"
#include "SyncRecord.h"

#include <windows.h>

#include <algorithm>

namespace L_SHTCUT {
namespace {

// Names compared as the file system compares them.
class NameSet {
public:
    bool Has(const std::wstring& name) const {
        return std::any_of(names_.begin(), names_.end(),
                           [&](const std::wstring& n) { return SameName(n, name); });
    }
    void Add(const std::wstring& name) {
        if (!Has(name))
            names_.push_back(name);
    }
    void Drop(const std::wstring& name) {
        std::erase_if(names_, [&](const std::wstring& n) { return SameName(n, name); });
    }
    const std::vector<std::wstring>& names() const { return names_; }

private:
    std::vector<std::wstring> names_;
};

// Win32 drops a dot or blank at a name's end, so such a name addresses
// another entry (or none) than the one written.
bool EndsInDotOrBlank(const std::wstring& name) {
    return !name.empty() && (name.back() == L'.' || name.back() == L' ');
}

// Whether a recorded name can be one /sync made: a plain name of an entry
// directly in the folder, addressed as written ("." and ".." end in a dot).
bool IsPlainName(const std::wstring& name) {
    return !name.empty() && name.find_first_of(L"\\/:") == std::wstring::npos && !EndsInDotOrBlank(name);
}

// The long form of an existing path ("C:\NETZ~1" is "C:\Netz"), without a
// trailing separator; a path that does not exist as it is.
std::wstring LongForm(const std::wstring& path) {
    const DWORD cchNeeded = GetLongPathNameW(path.c_str(), nullptr, 0);
    if (cchNeeded == 0)
        return FolderAsShown(path);
    std::wstring longPath(cchNeeded, L'\0');
    const DWORD cchCopied = GetLongPathNameW(path.c_str(), longPath.data(), cchNeeded);
    if (cchCopied == 0 || cchCopied >= cchNeeded)
        return FolderAsShown(path);
    longPath.resize(cchCopied);
    return FolderAsShown(longPath);
}

} // namespace

ListedName NameInFolder(const std::wstring& folder, const std::wstring& target) {
    const std::wstring typed = L_PFADE::TrimPathInput(target);
    if (typed.empty())
        return {};
    const std::wstring full = TargetFolder(L_PFADE::IsFullPath(typed) ? typed : folder + typed);
    if (full.empty())
        return {};
    const std::wstring plain = FolderAsShown(full);
    const std::size_t cut = plain.rfind(L'\\');
    if (cut == std::wstring::npos || !SameName(LongForm(plain.substr(0, cut + 1)), FolderAsShown(folder)))
        return {};
    const std::wstring written = L_PFADE::RemoveTrailingSeparators(typed);
    const std::wstring leaf = written.substr(written.find_last_of(L"\\/") + 1);
    if (leaf != L"." && leaf != L".." && EndsInDotOrBlank(leaf))
        return {plain.substr(cut + 1), L"Der Name " + Quoted(leaf) +
                                           L" endet auf einen Punkt oder ein Leerzeichen, die Windows beim "
                                           L"\u00D6ffnen wegl\u00E4sst; so l\u00E4sst er sich nicht "
                                           L"verwenden."};
    // A short (8.3) name is the same entry as its long one.
    const std::wstring name = LongForm(plain);
    return {name.substr(name.rfind(L'\\') + 1), {}};
}

namespace {

bool IsReparsePoint(DWORD attributes) {
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

std::wstring ReparsePointText(const std::wstring& path) {
    return Quoted(path) + L" ist eine Verbindung (Junction) oder ein symbolischer Link; Ordnerlink folgt ihm "
                          L"nicht und l\u00E4sst ihn, wie er ist.";
}

// "FOLDER does not exist" only when its parent can be read and it is not
// there; a folder on a drive or share that is gone, or that cannot be
// read, is unreachable: a run must then neither make nor forget anything.
// Empty when the run may go on.
std::wstring Unreachable(const std::wstring& folder) {
    const std::wstring shown = Quoted(FolderAsShown(folder));
    std::uint32_t error = ERROR_SUCCESS;
    const DWORD attributes = GetFileAttributesW(folder.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        if (!(attributes & FILE_ATTRIBUTE_DIRECTORY))
            return shown + L" ist eine Datei, kein Ordner.";
        // An empty drive root has no entries at all, not even "." and "..".
        if (SubfolderNames(folder, error) || error == ERROR_FILE_NOT_FOUND)
            return {};
        return shown + L" l\u00E4sst sich nicht lesen: " + ErrorText(error) + L".";
    }
    error = GetLastError();
    if ((error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) && !L_PFADE::IsRootPath(folder)) {
        const std::wstring parent =
            L_PFADE::AddBackslash(L_PFADE::ExtractFolder(L_PFADE::RemoveTrailingSeparators(folder)));
        std::uint32_t parentError = ERROR_SUCCESS;
        if (SubfolderNames(parent, parentError) || parentError == ERROR_FILE_NOT_FOUND)
            return {};
    }
    return shown + L" ist nicht erreichbar: " + ErrorText(error) + L".";
}

// The record of what synchronisations made in one folder, written through
// at every change so that a run ended midway leaves it true.
class Record {
public:
    Record(const std::wstring& folder, bool dryRun) : folder_(folder), dryRun_(dryRun) {
        if (const auto recorded = RecordedSyncLinks(folder)) {
            readable_ = true;
            for (const std::wstring& name : *recorded)
                if (IsPlainName(name))
                    names_.Add(name);
                else
                    ignored_.push_back(name);
        } else {
            readError_ = GetLastError();
        }
    }

    bool readable() const { return readable_; }
    std::uint32_t readError() const { return readError_; }
    const NameSet& names() const { return names_; }
    // Recorded names that name no entry directly in the folder (written by
    // hand, or brought along with a profile); never acted on.
    const std::vector<std::wstring>& ignored() const { return ignored_; }

    bool Add(const std::wstring& name) {
        if (names_.Has(name))
            return true;
        names_.Add(name);
        return Write();
    }
    bool Drop(const std::wstring& name) {
        if (!names_.Has(name))
            return true;
        names_.Drop(name);
        return Write();
    }
    bool Write() const { return dryRun_ || !readable_ || RecordSyncLinks(folder_, names_.names()); }

private:
    std::wstring folder_;
    bool dryRun_;
    bool readable_ = false;
    std::uint32_t readError_ = ERROR_SUCCESS;
    NameSet names_;
    std::vector<std::wstring> ignored_;
};

std::wstring RecordFailure() {
    return L"Die Aufzeichnung unter HKEY_CURRENT_USER\\Software\\Ordnerlink l\u00E4sst sich nicht "
           L"schreiben: " +
           ErrorText(GetLastError()) + L".";
}

class Sync {
public:
    Sync(const std::wstring& folder, SyncOptions options, const std::function<void(const SyncStep&)>& onStep)
        : folder_(folder), options_(options), onStep_(onStep), record_(folder, options.dryRun) {}

    void RecordedNames() {
        for (const std::wstring& name : record_.ignored())
            ReportStep(StepOf(name), SyncOutcome::Ignored,
                       L"Die Aufzeichnung nennt " + Quoted(name) + L", das kein Eintrag direkt in " +
                           Quoted(FolderAsShown(folder_)) + L" ist, wie ihn /sync anlegt; der Name wird " +
                           (options_.dryRun ? L"\u00FCbergangen."
                                            : L"\u00FCbergangen und nicht mehr aufgezeichnet."));
        if (!record_.ignored().empty() && !record_.Write())
            ReportStep(StepOf({}), SyncOutcome::Failed, RecordFailure());
    }

    void Line(const SyncLine& line) {
        const ListedName listed = NameInFolder(folder_, line.target);
        const std::wstring& name = listed.name;
        step_ = {line.lineNumber, SyncOutcome::Unchanged, {}, name, WithoutPasswordIn(line.source)};
        if (!name.empty())
            listed_.Add(name);
        if (!line.error.empty())
            return Report(line, SyncOutcome::Refused, line.error);
        if (!listed.refusal.empty())
            return Report(line, SyncOutcome::Refused, listed.refusal);
        if (name.empty())
            return Report(line, SyncOutcome::Refused,
                          L"Das Ziel " + Quoted(line.target) + L" liegt nicht direkt in " +
                              Quoted(FolderAsShown(folder_)) + L".");
        // A second line for the same folder would undo the first at every run.
        const auto earlier = std::find_if(carriedOut_.begin(), carriedOut_.end(),
                                          [&](const auto& done) { return SameName(done.first, name); });
        if (earlier != carriedOut_.end())
            return Report(line, SyncOutcome::Refused,
                          L"Das Ziel " + Quoted(line.target) + L" steht schon in Zeile " +
                              std::to_wstring(earlier->second) + L".");
        carriedOut_.emplace_back(name, line.lineNumber);
        const std::wstring path = folder_ + name;
        const CreateCheck check = CheckCreate(line.source, path);
        if (check.verdict == Verdict::Refuse)
            return Report(line, SyncOutcome::Refused, check.refusal.text);
        const std::wstring link = L"Ordnerverkn\u00FCpfung " + Quoted(path);
        const std::wstring& source = check.source->path;
        step_.source = WithoutPasswordIn(source);
        // A list is read at every user's logon; the link file by whoever may
        // open the folder.
        if (check.source->holdsPassword)
            return Report(line, SyncOutcome::Refused,
                          L"Die Adresse " + Quoted(WithoutPassword(source)) +
                              L" enth\u00E4lt ein Kennwort. /sync schreibt kein Kennwort in eine "
                              L"Ordnerverkn\u00FCpfung, deren target.lnk jeder lesen kann, der den Ordner "
                              L"\u00F6ffnen darf.");

        // A folder not there yet needs no look inside.
        const DWORD attributes = GetFileAttributesW(path.c_str());
        const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
        if (!exists) {
            const DWORD error = GetLastError();
            if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND)
                return Report(line, SyncOutcome::Failed,
                              Quoted(path) + L" l\u00E4sst sich nicht lesen: " + ErrorText(error) +
                                  L". Nichts daran wurde ge\u00E4ndert.");
        }
        if (IsReparsePoint(attributes))
            return Report(line, SyncOutcome::Kept, ReparsePointText(path));
        const FolderLinkRepair seen = exists ? RepairFolderLink(path, true) : FolderLinkRepair{};
        const bool whole = seen.isFolderLink && seen.refusal.empty();
        if (whole && ShellLinkFile::SameTarget(seen.source, source)) {
            if (seen.changes.empty())
                return Report(line, SyncOutcome::Unchanged,
                              link + L" auf " + Quoted(source) + L" ist in Ordnung.");
            const FolderLinkRepair repair = options_.dryRun ? seen : RepairFolderLink(path, false);
            std::wstring changes;
            for (const RepairChange& change : repair.changes)
                changes += (changes.empty() ? L"" : L"; ") + RepairChangeText(change);
            if (!repair.failure.empty())
                return Report(line, SyncOutcome::Failed,
                              link + L" ist nicht ganz repariert: " +
                                  (changes.empty() ? L"" : changes + L"; ") + L"fehlgeschlagen: " +
                                  repair.failure);
            return Report(line, SyncOutcome::Repaired,
                          link + (options_.dryRun ? L" w\u00FCrde repariert: " : L" repariert: ") + changes +
                              L".");
        }

        // A folder the user keeps entries in is never made a link again.
        if (exists) {
            const FolderLook look = ContentOf(path + L"\\");
            if (look.content == FolderContent::Unreadable)
                return Report(line, SyncOutcome::Failed,
                              Quoted(path) + L" l\u00E4sst sich nicht lesen: " + ErrorText(look.error) +
                                  L". Nichts daran wurde ge\u00E4ndert.");
            if (seen.isFolderLink ? look.content == FolderContent::Other
                                  : look.content != FolderContent::Empty)
                return Report(line, SyncOutcome::Kept,
                              Quoted(path) + L" enth\u00E4lt andere Eintr\u00E4ge" +
                                  (look.others.empty() ? L"" : L" (" + NamedEntries(look) + L")") +
                                  L" und bleibt, wie es ist.");
        }
        // What /sync makes is recorded before it is made; a folder link the
        // user or Windows made stays theirs when it is given the listed
        // source.
        const bool ours = !seen.isFolderLink || record_.names().Has(name);
        if (ours && !record_.Add(name))
            return Report(line, SyncOutcome::Failed, RecordFailure());
        const bool repoint = whole;
        if (!options_.dryRun) {
            const CreateResult result = CreateFolderLink(*check.source, check.folder);
            if (!result)
                return Report(line, SyncOutcome::Failed,
                              link + L" konnte nicht " + (repoint ? L"umgestellt" : L"erstellt") +
                                  L" werden: " + result.failedStep + L": " + ErrorText(result.error) + L".");
        }
        std::wstring notices;
        for (const Message& notice : check.notices)
            notices += L" " + notice.text;
        const std::wstring would = options_.dryRun ? L" w\u00FCrde" : L"";
        if (repoint)
            return Report(line, SyncOutcome::Repointed,
                          link + would + L" auf " + Quoted(source) + L" umgestellt (zeigte auf " +
                              Quoted(seen.source) + L")." + notices);
        Report(line, SyncOutcome::Created,
               link + L" auf " + Quoted(source) +
                   (options_.dryRun ? L" w\u00FCrde erstellt." : L" erstellt.") + notices);
    }

    // Removes what is listed no more: what a synchronisation made, or with
    // prune every folder link.
    void Unlisted() {
        step_ = StepOf({});
        if (!record_.readable())
            Report({}, SyncOutcome::Failed,
                   L"Die Aufzeichnung unter HKEY_CURRENT_USER\\Software\\Ordnerlink l\u00E4sst sich nicht "
                   L"lesen: " +
                       ErrorText(record_.readError()) +
                       (options_.prune ? L". Dieser Lauf entfernt wegen /prune trotzdem jede nicht "
                                         L"aufgef\u00FChrte Ordnerverkn\u00FCpfung."
                                       : L". Dieser Lauf erstellt und repariert, was die Liste nennt, "
                                         L"entfernt aber nichts: Was fr\u00FChere L\u00E4ufe erstellt "
                                         L"haben, bleibt stehen."));
        NameSet candidates = record_.names();
        if (options_.prune) {
            std::uint32_t error = ERROR_SUCCESS;
            if (const auto subfolders = SubfolderNames(folder_, error))
                for (const std::wstring& name : *subfolders)
                    candidates.Add(name);
            else if (error != ERROR_FILE_NOT_FOUND)
                Report({}, SyncOutcome::Failed,
                       Quoted(FolderAsShown(folder_)) + L" l\u00E4sst sich nicht lesen: " + ErrorText(error) +
                           L". /prune entfernt deshalb nur, was fr\u00FChere L\u00E4ufe erstellt haben.");
        }
        for (const std::wstring& name : candidates.names())
            if (!listed_.Has(name))
                Remove(name);
    }

private:
    void Remove(const std::wstring& name) {
        step_ = StepOf(name);
        const std::wstring path = folder_ + name;
        const std::wstring link = L"Ordnerverkn\u00FCpfung " + Quoted(path);
        const bool recorded = record_.names().Has(name);
        if (EndsInDotOrBlank(name))
            return Report({}, SyncOutcome::Kept,
                          Quoted(path) +
                              L" endet auf einen Punkt oder ein Leerzeichen; Windows spricht unter "
                              L"diesem Namen einen anderen Ordner an. Er bleibt, wie er ist.");
        const DWORD attributes = GetFileAttributesW(path.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) {
            // Only an entry that its readable folder no longer holds is gone.
            const DWORD error = GetLastError();
            if (error != ERROR_FILE_NOT_FOUND)
                return Report({}, SyncOutcome::Failed,
                              Quoted(path) + L" l\u00E4sst sich nicht lesen: " + ErrorText(error) +
                                  L". Er bleibt aufgezeichnet.");
            if (!record_.Drop(name))
                Report({}, SyncOutcome::Failed, RecordFailure());
            return;
        }
        if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            if (!record_.Drop(name))
                Report({}, SyncOutcome::Failed, RecordFailure());
            return;
        }
        if (IsReparsePoint(attributes))
            return Report({}, SyncOutcome::Kept, ReparsePointText(path));
        const FolderLinkRepair seen = RepairFolderLink(path, true);
        step_.source = seen.source;
        const FolderLook look = ContentOf(path + L"\\");
        if (look.content == FolderContent::Unreadable)
            return Report({}, SyncOutcome::Failed,
                          Quoted(path) + L" l\u00E4sst sich nicht lesen: " + ErrorText(look.error) +
                              L". Er bleibt, wie er ist.");
        const FolderContent content = look.content;
        if (!seen.isFolderLink) {
            // A folder this program made and a run ended before anything was
            // written into is deleted; any other is the user's again.
            if (recorded && content == FolderContent::Empty) {
                if (!options_.dryRun && !RemoveDirectoryW(path.c_str()))
                    return Report({}, SyncOutcome::Failed,
                                  L"Der leere Ordner " + Quoted(path) +
                                      L" l\u00E4sst sich nicht l\u00F6schen: " + ErrorText(GetLastError()) +
                                      L".");
                if (!options_.dryRun)
                    NotifyShell(FolderChange::Deleted, path);
                Report({}, SyncOutcome::Removed,
                       L"Der leere Ordner " + Quoted(path) +
                           (options_.dryRun ? L" w\u00FCrde gel\u00F6scht." : L" wurde gel\u00F6scht."));
            }
            if (!record_.Drop(name))
                Report({}, SyncOutcome::Failed, RecordFailure());
            return;
        }
        if (content != FolderContent::LinkFilesOnly && content != FolderContent::Empty)
            return Report({}, SyncOutcome::Kept,
                          link + L" steht nicht in der Liste, bleibt aber: ihr Ordner enth\u00E4lt andere "
                                 L"Eintr\u00E4ge.");
        const std::wstring was = seen.source.empty() ? L"" : L" (zeigte auf " + Quoted(seen.source) + L")";
        if (!options_.dryRun) {
            const FolderLinkRemoval removal = RemoveFolderLink(path);
            if (!removal.removed)
                return Report({}, SyncOutcome::Failed,
                              link + L" l\u00E4sst sich nicht entfernen" +
                                  (removal.failure.empty() ? L"." : L": " + removal.failure));
            if (RemoveDirectoryW(path.c_str()))
                NotifyShell(FolderChange::Deleted, path);
            if (!record_.Drop(name))
                Report({}, SyncOutcome::Failed, RecordFailure());
        }
        Report({}, SyncOutcome::Removed,
               link + was + (options_.dryRun ? L" w\u00FCrde entfernt" : L" entfernt") +
                   L", die Liste nennt sie nicht.");
    }

    // A source as a step names it: an address with its password masked, as
    // the texts show it, since a step may be written where others read it.
    static std::wstring WithoutPasswordIn(const std::wstring& source) {
        return source.find(L"://") == std::wstring::npos ? source : WithoutPassword(source);
    }

    // A step about the folder link name, or about no line and no name.
    static SyncStep StepOf(const std::wstring& name) {
        SyncStep step;
        step.name = name;
        return step;
    }

    void Report(const SyncLine& line, SyncOutcome outcome, const std::wstring& text) {
        step_.lineNumber = line.lineNumber;
        ReportStep(step_, outcome, text);
    }
    void ReportStep(SyncStep step, SyncOutcome outcome, const std::wstring& text) {
        step.outcome = outcome;
        step.text = text;
        onStep_(step);
    }

    std::wstring folder_;
    SyncOptions options_;
    const std::function<void(const SyncStep&)>& onStep_;
    Record record_;
    NameSet listed_;
    std::vector<std::pair<std::wstring, std::size_t>> carriedOut_; // by name, the line that carried it out
    SyncStep step_; // the line or name being carried out, which Report(line, ...) reports on
};

} // namespace

std::wstring SyncFolderLinks(const std::wstring& folder, const std::vector<SyncLine>& lines,
                             SyncOptions options, const std::function<void(const SyncStep&)>& onStep) {
    // The folder in its long form, so that its short name shares its lock,
    // its record and its entries' names.
    const std::wstring full = L_PFADE::AddBackslash(LongForm(FolderAsShown(folder)));
    const std::wstring shown = Quoted(FolderAsShown(full));
    const SyncLock lock(full, SyncWaitMilliseconds);
    if (lock.busy())
        return L"Ein anderer Lauf von /sync arbeitet noch mit " + shown + L"; nach " +
               std::to_wstring(SyncWaitMilliseconds / 1000) + L" Sekunden Warten gibt dieser Lauf auf.";
    if (!lock.held())
        return L"Ob ein anderer Lauf von /sync mit " + shown +
               L" arbeitet, l\u00E4sst sich nicht feststellen: " + ErrorText(lock.error()) + L".";
    if (const std::wstring why = Unreachable(full); !why.empty())
        return why + L" Was fr\u00FChere L\u00E4ufe erstellt haben, bleibt aufgezeichnet.";
    // The record is read under the lock, so that no other run's changes are lost.
    Sync sync(full, options, onStep);
    sync.RecordedNames();
    for (const SyncLine& line : lines)
        sync.Line(line);
    sync.Unlisted();
    return {};
}

} // namespace L_SHTCUT
