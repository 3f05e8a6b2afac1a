#include "SourceDialog.h"

#include "CommandButton.h"
#include "CreateAsChecked.h"
#include "Form.h"
#include "L_SHTCUT.h"
#include "StoredFormData.h"
#include "VxLineIn.h"
#include "resource.h"

#include <memory>

namespace {

constexpr wchar_t kTitleNotChanged[] = L"Ordnerverkn\u00FCpfung nicht ge\u00E4ndert";
constexpr std::size_t kMaxShownPathChars = 70;

// Asks and makes as the main window's "Erstellen" does; true when made.
bool MakeAnew(HWND owner, VxLineIn& line, const std::wstring& folder) {
    const L_SHTCUT::CreateCheck check = L_SHTCUT::CheckCreate(line.Text(), folder, kMaxShownPathChars);
    if (CreateAsChecked(owner, check, kTitleNotChanged, kMaxShownPathChars))
        return true;
    if (check.missing == L_SHTCUT::Field::Source)
        line.SetTextFocus();
    return false;
}

} // namespace

bool ChangeSource(HWND owner, const std::wstring& folder, const std::wstring& source) {
    const auto form = host::Form::Create({L"Quelle \u00E4ndern", 7170, 1200});
    if (!form)
        return false;
    form->setIcon(IDI_ORDNERLINK);
    const auto line = VxLineIn::Create({form->hwnd(), form.get()});
    const auto change = host::CommandButton::Create({form->hwnd(), L"\u00C4ndern"});
    const auto cancel = host::CommandButton::Create({form->hwnd(), L"Abbrechen"});
    if (!line || !change || !cancel)
        return false;
    // The source line of the main window, as its stored form data has it.
    line->ReadProperties(host::FindStoredBag(LoadStoredFormData(), L"txtUrl"));
    line->placeTwips(180, 180, 6735, 315);
    line->SetText(source);
    host::ShowAtTwips(*change, 5220, 720, 1695, 315);
    host::ShowAtTwips(*cancel, 3420, 720, 1695, 315);
    form->setTabOrder({line.get(), change.get(), cancel.get()});

    bool done = false;
    bool made = false;
    change->onClick = [&] {
        made = MakeAnew(form->hwnd(), *line, folder);
        done = made;
        if (!done)
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
    return made;
}
