#include "ManagerWindow.h"

#include "ErrorText.h"
#include "Quoted.h"
#include "SameName.h"
#include "ShellNotify.h"
#include "SyncRecord.h"

#include <algorithm>

// Renaming a folder link: its folder gets the new name; the link in it
// stays whole, as it names no path of its own.

namespace {

constexpr wchar_t kTitleNotRenamed[] = L"Ordnerverkn\u00FCpfung nicht umbenannt";
constexpr wchar_t kNotInName[] = L"\\/:*?\"<>|";

std::wstring Trimmed(const std::wstring& text) {
    const std::size_t first = text.find_first_not_of(L' ');
    if (first == std::wstring::npos)
        return {};
    // Windows drops spaces and dots at a name's end itself.
    const std::size_t last = text.find_last_not_of(L" .");
    return last == std::wstring::npos || last < first ? std::wstring() : text.substr(first, last - first + 1);
}

} // namespace

void ManagerWindow::RenameSelected() {
    const int focused = lstLinks->focusedRow();
    const std::vector<int> selected = lstLinks->selectedRows();
    if (selected.empty() || writing_ > 0) // a repair or change of source writes: the folder stays as it is
        return;
    lstLinks->editName(lstLinks->selected(focused) ? focused : selected.front());
}

void ManagerWindow::RenameRow(std::intptr_t tag, std::wstring name) {
    const auto found = rows_.find(tag);
    if (found == rows_.end() || writing_ > 0) // gone meanwhile, or written to now
        return;
    const std::wstring old = found->second.name;
    name = Trimmed(name);
    if (name == old)
        return;
    if (name.empty() || name.find_first_of(kNotInName) != std::wstring::npos) {
        host::ShowMessageBox(form->hwnd(),
                             Quoted(name) + L" ist kein Ordnername: Er ist leer oder enth\u00E4lt eines der "
                                            L"Zeichen \\ / : * ? \" < > |.",
                             kTitleNotRenamed, MB_OK | MB_ICONWARNING);
        return;
    }
    // A folder link that /sync made, or that the policy's list names, keeps
    // its listed name there: the next run makes it again under that name,
    // beside the renamed one, which it leaves alone as one it did not make.
    // A record that cannot be read names nothing to warn of; /sync itself
    // says so when it runs.
    const auto recorded = L_SHTCUT::RecordedSyncLinks(folder_);
    const bool managed = found->second.managed;
    if (managed ||
        (recorded && std::any_of(recorded->begin(), recorded->end(),
                                 [&](const std::wstring& listed) { return SameName(listed, old); }))) {
        const std::wstring question =
            Quoted(old) +
            (managed ? L" wird von der Richtlinie verwaltet."
                     : L" wurde von /sync nach einer Liste angelegt.") +
            L" Der n\u00E4chste Abgleich legt " + Quoted(old) + L" unter diesem Namen wieder an; " +
            Quoted(name) + L" bleibt daneben bestehen.\n\nTrotzdem in " + Quoted(name) + L" umbenennen?";
        if (host::ShowMessageBox(form->hwnd(), question, L"Ordnerverkn\u00FCpfung umbenennen",
                                 MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) != IDYES)
            return;
    }
    // The row may have gone while the question was open.
    const auto row = rows_.find(tag);
    if (row == rows_.end())
        return;
    const std::wstring from = row->second.path;
    const std::wstring to = folder_ + name;
    if (!MoveFileExW(from.c_str(), to.c_str(), 0)) {
        const DWORD error = GetLastError();
        host::ShowMessageBox(form->hwnd(),
                             Quoted(old) + L" l\u00E4sst sich nicht in " + Quoted(name) + L" umbenennen: " +
                                 L_SHTCUT::ErrorText(error) + L".",
                             kTitleNotRenamed, MB_OK | MB_ICONWARNING);
        return;
    }
    L_SHTCUT::NotifyShell(L_SHTCUT::FolderChange::Deleted, from);
    L_SHTCUT::NotifyShell(L_SHTCUT::FolderChange::Created, to);
    row->second.path = to;
    row->second.name = name;
    // A check that runs reads the old folder: the row is checked once more.
    row->second.checkAgain = row->second.checking;
    lstLinks->setText(lstLinks->findTag(tag), 0, name);
    RowsChanged();
}
