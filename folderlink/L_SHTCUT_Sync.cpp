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

// The name a listed target has in folder; empty when it does not lie
// directly in it. A target that is not a full path lies in folder.
std::wstring NameInFolder(const std::wstring& folder, const std::wstring& target) {
    const std::wstring typed = L_PFADE::TrimPathInput(target);
    if (typed.empty())
        return {};
    const std::wstring full = TargetFolder(L_PFADE::IsFullPath(typed) ? typed : folder + typed);
    if (full.size() <= folder.size() + 1 || !SameName(full.substr(0, folder.size()), folder))
        return {};
    const std::wstring name = full.substr(folder.size(), full.size() - folder.size() - 1);
    return name.find(L'\\') == std::wstring::npos ? name : std::wstring();
}

// The record of what synchronisations made in one folder, written through
// at every change so that a run ended midway leaves it true.
class Record {
public:
    Record(const std::wstring& folder, bool dryRun) : folder_(folder), dryRun_(dryRun) {
        if (const auto recorded = RecordedSyncLinks(folder)) {
            readable_ = true;
            for (const std::wstring& name : *recorded)
                names_.Add(name);
        } else {
            readError_ = GetLastError();
        }
    }

    bool readable() const { return readable_; }
    std::uint32_t readError() const { return readError_; }
    const NameSet& names() const { return names_; }

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

private:
    bool Write() const { return dryRun_ || !readable_ || RecordSyncLinks(folder_, names_.names()); }

    std::wstring folder_;
    bool dryRun_;
    bool readable_ = false;
    std::uint32_t readError_ = ERROR_SUCCESS;
    NameSet names_;
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

    void Line(const SyncLine& line) {
        const std::wstring name = NameInFolder(folder_, line.target);
        if (!name.empty())
            listed_.Add(name);
        if (!line.error.empty())
            return Report(line, SyncOutcome::Refused, line.error);
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

        // A folder not there yet needs no look inside.
        const DWORD attributes = GetFileAttributesW(path.c_str());
        const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
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

        if (exists) {
            const FolderContent content = ContentOf(path + L"\\");
            if (seen.isFolderLink ? content != FolderContent::LinkFilesOnly && content != FolderContent::Empty
                                  : content != FolderContent::Empty)
                return Report(line, SyncOutcome::Kept,
                              Quoted(path) + L" enth\u00E4lt andere Eintr\u00E4ge und bleibt, wie es ist.");
        }
        if (!record_.Add(name))
            return Report(line, SyncOutcome::Failed, RecordFailure());
        const bool repoint = whole;
        if (!options_.dryRun) {
            const CreateResult result = CreateFolderLink(*check.source, check.folder);
            if (!result)
                return Report(line, SyncOutcome::Failed,
                              link + L" konnte nicht " + (repoint ? L"umgestellt" : L"erstellt") +
                                  L" werden: " + result.failedStep + L": " + ErrorText(result.error) + L".");
        }
        const std::wstring would = options_.dryRun ? L" w\u00FCrde" : L"";
        if (repoint)
            return Report(line, SyncOutcome::Repointed,
                          link + would + L" auf " + Quoted(source) + L" umgestellt (zeigte auf " +
                              Quoted(seen.source) + L").");
        Report(line, SyncOutcome::Created,
               link + L" auf " + Quoted(source) +
                   (options_.dryRun ? L" w\u00FCrde erstellt." : L" erstellt."));
    }

    // Removes what is listed no more: what a synchronisation made, or with
    // prune every folder link.
    void Unlisted() {
        if (!record_.readable())
            Report({}, SyncOutcome::Failed,
                   L"Die Aufzeichnung unter HKEY_CURRENT_USER\\Software\\Ordnerlink l\u00E4sst sich nicht "
                   L"lesen: " +
                       ErrorText(record_.readError()) +
                       L". Was fr\u00FChere L\u00E4ufe erstellt haben, bleibt deshalb stehen.");
        NameSet candidates = record_.names();
        std::uint32_t error = ERROR_SUCCESS;
        if (options_.prune)
            if (const auto subfolders = SubfolderNames(folder_, error))
                for (const std::wstring& name : *subfolders)
                    candidates.Add(name);
        for (const std::wstring& name : candidates.names())
            if (!listed_.Has(name))
                Remove(name);
    }

private:
    void Remove(const std::wstring& name) {
        const std::wstring path = folder_ + name;
        const std::wstring link = L"Ordnerverkn\u00FCpfung " + Quoted(path);
        const bool recorded = record_.names().Has(name);
        const DWORD attributes = GetFileAttributesW(path.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            if (!record_.Drop(name))
                Report({}, SyncOutcome::Failed, RecordFailure());
            return;
        }
        const FolderLinkRepair seen = RepairFolderLink(path, true);
        const FolderContent content = ContentOf(path + L"\\");
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

    void Report(const SyncLine& line, SyncOutcome outcome, const std::wstring& text) {
        onStep_(SyncStep{line.lineNumber, outcome, text});
    }

    std::wstring folder_;
    SyncOptions options_;
    const std::function<void(const SyncStep&)>& onStep_;
    Record record_;
    NameSet listed_;
    std::vector<std::pair<std::wstring, std::size_t>> carriedOut_; // by name, the line that carried it out
};

} // namespace

void SyncFolderLinks(const std::wstring& folder, const std::vector<SyncLine>& lines, SyncOptions options,
                     const std::function<void(const SyncStep&)>& onStep) {
    Sync sync(folder, options, onStep);
    for (const SyncLine& line : lines)
        sync.Line(line);
    sync.Unlisted();
}

} // namespace L_SHTCUT
