#include "ManagerWindow.h"

#include "ErrorText.h"
#include "L_COMDLG.h"
#include "L_PFADE.h"
#include "LinkListFile.h"
#include "LinkListRead.h"
#include "Quoted.h"
#include "SameName.h"
#include "WholeFile.h"
#include "Worker.h"

// Export and import: the shown folder links as a list file, and a list
// file's folder links made in the shown folder. The list names each link by
// its name alone, which /sync and /create /from place in their folder, so
// that it works in another folder, for another user or on another machine.

namespace {

constexpr wchar_t kTitleExport[] = L"Ordnerverkn\u00FCpfungen exportieren";
constexpr wchar_t kTitleImport[] = L"Ordnerverkn\u00FCpfungen importieren";
// The file dialogs' titles differ from the message boxes' that follow them.
constexpr wchar_t kCaptionSave[] = L"Liste der Ordnerverkn\u00FCpfungen speichern";
constexpr wchar_t kCaptionOpen[] = L"Liste der Ordnerverkn\u00FCpfungen \u00F6ffnen";
constexpr wchar_t kFileTypes[] = L"Liste der Ordnerverkn\u00FCpfungen";
constexpr wchar_t kExtensions[] = L"txt";
constexpr std::size_t kMaxShownChars = 70;

std::wstring ShownPath(const std::wstring& path) {
    return Quoted(L_PFADE::ShortenInTheMiddle(path, kMaxShownChars));
}

// "1 Ordnerverknüpfung", "3 Ordnerverknüpfungen".
std::wstring Links(std::size_t count) {
    return std::to_wstring(count) + (count == 1 ? L" Ordnerverkn\u00FCpfung" : L" Ordnerverkn\u00FCpfungen");
}

// A question of the create check without its closing "Trotzdem fortfahren?".
std::wstring AsStatement(const std::wstring& question) {
    return question.substr(0, question.find(L"\n\n"));
}

} // namespace

void ManagerWindow::ExportLinks() {
    std::vector<LinkListEntry> entries;
    std::size_t withoutSource = 0;
    for (int r = 0; r < lstLinks->rowCount(); ++r) {
        const auto found = rows_.find(lstLinks->tag(r));
        if (found == rows_.end())
            continue;
        // A damaged folder link whose source cannot be read names nothing
        // that could be made again.
        if (found->second.source.empty())
            ++withoutSource;
        else
            entries.push_back({found->second.source, found->second.name});
    }
    const std::wstring skipped =
        withoutSource == 0 ? std::wstring()
                           : L"\n\n" + Links(withoutSource) +
                                 (withoutSource == 1 ? L" ohne lesbare Quelle ist nicht enthalten."
                                                     : L" ohne lesbare Quelle sind nicht enthalten.");
    if (entries.empty()) {
        host::ShowMessageBox(form->hwnd(),
                             L"Der Ordner zeigt keine Ordnerverkn\u00FCpfung, die sich "
                             L"exportieren l\u00E4sst." +
                                 skipped,
                             kTitleExport, MB_OK | MB_ICONINFORMATION);
        return;
    }
    std::wstring caption = kCaptionSave;
    std::wstring initialDir;
    std::wstring fileName = L"Ordnerverkn\u00FCpfungen.txt";
    const std::wstring path =
        L_COMDLG::ShowSaveDialog(form->hwnd(), kFileTypes, kExtensions, caption, initialDir, fileName);
    if (path.empty())
        return; // cancelled
    const std::string bytes = WriteLinkList(
        L"Ordnerverkn\u00FCpfungen aus " + L_SHTCUT::FolderAsShown(folder_) + L": Quelle, Tabulator, Name",
        entries);
    if (!WriteWholeFile(path, std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()))) {
        host::ShowMessageBox(form->hwnd(),
                             ShownPath(path) + L" l\u00E4sst sich nicht schreiben: " +
                                 L_SHTCUT::ErrorText(GetLastError()) + L".",
                             kTitleExport, MB_OK | MB_ICONWARNING);
        return;
    }
    host::ShowMessageBox(form->hwnd(),
                         Links(entries.size()) + L" nach " + ShownPath(path) + L" exportiert." + skipped,
                         kTitleExport, MB_OK | MB_ICONINFORMATION);
}

void ManagerWindow::ImportLinks() {
    std::wstring caption = kCaptionOpen;
    std::wstring initialDir;
    std::wstring fileName;
    const std::wstring path =
        L_COMDLG::ShowOpenDialog(form->hwnd(), kFileTypes, kExtensions, caption, initialDir, fileName, 1);
    if (path.empty())
        return; // cancelled
    std::wstring why;
    const std::optional<LinkList> list = ReadListFile(path, why);
    if (!list) {
        host::ShowMessageBox(form->hwnd(), why, kTitleImport, MB_OK | MB_ICONWARNING);
        return;
    }
    // Each line is judged now, before the one question: what is refused is
    // said, what is asked about is named in the question.
    std::vector<L_SHTCUT::CreateCheck> toCreate;
    std::wstring refused;
    std::wstring asked;
    std::wstring noticed;
    for (const LinkListLine& line : list->lines) {
        const std::wstring prefix = L"Zeile " + std::to_wstring(line.lineNumber) + L": ";
        std::wstring refusal = line.error;
        std::wstring target = line.target;
        if (refusal.empty()) {
            // A name alone belongs in the shown folder; a full path only
            // where it names a folder directly in it.
            if (!L_PFADE::IsFullPath(target) && target.find_first_of(L"\\/:") == std::wstring::npos)
                target = folder_ + target;
            if (!L_PFADE::IsFullPath(target) ||
                !SameName(L_PFADE::AddBackslash(L_PFADE::ExtractFolder(target)), folder_))
                refusal = Quoted(line.target) + L" liegt nicht im angezeigten Ordner " +
                          Quoted(L_SHTCUT::FolderAsShown(folder_)) + L".";
        }
        L_SHTCUT::CreateCheck check;
        if (refusal.empty()) {
            check = L_SHTCUT::CheckCreate(line.source, target, kMaxShownChars);
            if (check.verdict == L_SHTCUT::Verdict::Refuse)
                refusal = check.refusal.text;
        }
        if (!refusal.empty()) {
            refused += prefix + refusal + L"\n";
            continue;
        }
        for (const L_SHTCUT::Message& question : check.questions)
            asked += prefix + AsStatement(question.text) + L"\n";
        for (const L_SHTCUT::Message& notice : check.notices)
            noticed += prefix + notice.text + L"\n";
        toCreate.push_back(std::move(check));
    }
    std::wstring encoding = ListEncodingNotice(path, *list);
    if (!encoding.empty())
        encoding = L"\n\n" + encoding;
    const std::wstring refusedPart =
        refused.empty() ? std::wstring() : L"\n\nNicht erstellt wird:\n" + refused;
    if (toCreate.empty()) {
        host::ShowMessageBox(
            form->hwnd(),
            L"Aus " + ShownPath(path) + L" l\u00E4sst sich keine Ordnerverkn\u00FCpfung in " +
                Quoted(L_SHTCUT::FolderAsShown(folder_)) + L" erstellen." + refusedPart + encoding,
            kTitleImport, MB_OK | MB_ICONWARNING);
        return;
    }
    const std::wstring question = L"Aus " + ShownPath(path) + L" " +
                                  (toCreate.size() == 1 ? L"wird " : L"werden ") + Links(toCreate.size()) +
                                  L" in " + Quoted(L_SHTCUT::FolderAsShown(folder_)) + L" erstellt." +
                                  (asked.empty() ? std::wstring() : L"\n\nDabei wird:\n" + asked) +
                                  (noticed.empty() ? std::wstring() : L"\n\nHinweise:\n" + noticed) +
                                  refusedPart + encoding + L"\n\nFortfahren?";
    // Where a folder's content would be hidden or a folder link changed, No
    // is the safe answer and the default.
    if (host::ShowMessageBox(form->hwnd(), question, kTitleImport,
                             MB_YESNO | MB_ICONQUESTION | (asked.empty() ? MB_DEFBUTTON1 : MB_DEFBUTTON2)) !=
        IDYES)
        return;
    // Writing a target.lnk may ask the source's server: the folder links are
    // made on a worker, and the folder is read once they all are.
    const auto target = form->postTarget();
    const unsigned generation = target->generation();
    ++writing_;
    const bool running = RunOnWorker([target, generation, toCreate, refused, this] {
        std::wstring made;
        std::wstring failed;
        std::size_t madeCount = 0;
        for (const L_SHTCUT::CreateCheck& check : toCreate) {
            const std::wstring shown = Quoted(L_SHTCUT::FolderAsShown(check.folder));
            const L_SHTCUT::CreateResult result = L_SHTCUT::CreateFolderLink(*check.source, check.folder);
            if (result) {
                ++madeCount;
                made += shown + L"\n";
            } else {
                failed += L_SHTCUT::DescribeFailure(shown, result) + L"\n";
            }
        }
        std::wstring report = Links(madeCount) + L" erstellt" + (made.empty() ? L"." : L":\n" + made);
        if (!refused.empty())
            report += L"\n\nAbgelehnt:\n" + refused;
        if (!failed.empty())
            report += L"\n\nFehlgeschlagen:\n" + failed;
        target->post(generation, [this, report, allMade = failed.empty()] {
            EndWriting();
            ListFolder();
            host::ShowMessageBox(form->hwnd(), report, kTitleImport,
                                 MB_OK | (allMade ? MB_ICONINFORMATION : MB_ICONWARNING));
        });
    });
    if (!running) {
        EndWriting();
        host::ShowMessageBox(form->hwnd(), L"Es wurde nichts erstellt: kein Thread verf\u00FCgbar.",
                             kTitleImport, MB_OK | MB_ICONWARNING);
    }
}
