#include "SourceDialog.h"

#include "CommandButton.h"
#include "CreateAsChecked.h"
#include "Form.h"
#include "L_PFADE.h"
#include "L_SHTCUT.h"
#include "Quoted.h"
#include "StoredFormData.h"
#include "VxLineIn.h"
#include "resource.h"

#include <memory>

namespace {

constexpr std::size_t kMaxShownPathChars = 70;

// A local source that is not there: said before the folder link points at
// it, and changed only when the user says so. Local files alone are read:
// no network is asked from the window's thread.
bool MissingSourceAccepted(HWND owner, const ShellLinkFile::Source& source) {
    if (source.kind != ShellLinkFile::SourceKind::LocalDrive)
        return true;
    if (GetFileAttributesW(source.path.c_str()) != INVALID_FILE_ATTRIBUTES)
        return true;
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND)
        return true; // there, or a drive not ready: the row's check says which
    return host::ShowMessageBox(
               owner,
               Quoted(L_PFADE::ShortenInTheMiddle(source.path, kMaxShownPathChars)) +
                   L" existiert nicht.\n\nSoll die Ordnerverkn\u00FCpfung trotzdem darauf zeigen?",
               L"Quelle \u00E4ndern", MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES;
}

} // namespace

const wchar_t kTitleSourceNotChanged[] = L"Ordnerverkn\u00FCpfung nicht ge\u00E4ndert";

std::optional<L_SHTCUT::CreateCheck> AskForNewSource(HWND owner, const std::wstring& folder,
                                                     const std::wstring& source) {
    // The title names the folder link it changes.
    const auto form = host::Form::Create(
        {L"Quelle \u00E4ndern: " + L_PFADE::ShortenInTheMiddle(L_SHTCUT::FolderAsShown(folder), 50), 7170,
         1200});
    if (!form)
        return std::nullopt;
    form->setIcon(IDI_ORDNERLINK);
    const auto line = VxLineIn::Create({form->hwnd(), form.get()});
    const auto change = host::CommandButton::Create({form->hwnd(), L"\u00C4ndern"});
    const auto cancel = host::CommandButton::Create({form->hwnd(), L"Abbrechen"});
    if (!line || !change || !cancel)
        return std::nullopt;
    // The source line of the main window, as its stored form data has it.
    line->ReadProperties(host::FindStoredBag(LoadStoredFormData(), L"txtUrl"));
    line->placeTwips(180, 180, 6735, 315);
    line->SetText(source);
    host::ShowAtTwips(*change, 5220, 720, 1695, 315);
    host::ShowAtTwips(*cancel, 3420, 720, 1695, 315);
    form->setTabOrder({line.get(), change.get(), cancel.get()});

    bool done = false;
    std::optional<L_SHTCUT::CreateCheck> confirmed;
    change->onClick = [&] {
        L_SHTCUT::CreateCheck check = L_SHTCUT::CheckCreate(line->Text(), folder, kMaxShownPathChars);
        // The user chose to change this folder link's source: that answers
        // the question whether it should point elsewhere.
        std::erase_if(check.questions, [](const L_SHTCUT::Message& q) { return q.replacesSource; });
        if (check.verdict == L_SHTCUT::Verdict::Ask && check.questions.empty())
            check.verdict = L_SHTCUT::Verdict::Go;
        if (ConfirmCreate(form->hwnd(), check) && check.source &&
            MissingSourceAccepted(form->hwnd(), *check.source)) {
            confirmed = std::move(check);
            done = true;
            return;
        }
        // Refused, or a question or notice declined: the source is what to
        // change now.
        line->SetTextFocus();
        form->keepFocus();
    };
    cancel->onClick = [&] { done = true; };
    form->onQueryUnload = [&](bool& keep) {
        keep = true; // the owner's loop must not end: only this one closes
        done = true;
    };

    // Over its owner, which waits until it is closed.
    RECT ownerRect{};
    RECT own{};
    if (GetWindowRect(owner, &ownerRect) && GetWindowRect(form->hwnd(), &own))
        SetWindowPos(form->hwnd(), nullptr,
                     ownerRect.left + (ownerRect.right - ownerRect.left - (own.right - own.left)) / 2,
                     ownerRect.top + (ownerRect.bottom - ownerRect.top - (own.bottom - own.top)) / 2, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowLongPtrW(form->hwnd(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
    EnableWindow(owner, FALSE);
    form->show();
    line->SetTextFocus();
    MSG msg{};
    while (!done) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            PostQuitMessage(static_cast<int>(msg.wParam)); // for the owner's loop
            break;
        }
        if (got == -1)
            break;
        if (IsDialogMessageW(form->hwnd(), &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    // The owner is enabled before this window goes, so that it gets the
    // activation back instead of another program's window.
    EnableWindow(owner, TRUE);
    return confirmed;
}
