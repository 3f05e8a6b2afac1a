#include "SourceDialog.h"

#include "CommandButton.h"
#include "Form.h"
#include "L_PFADE.h"
#include "L_SHTCUT.h"
#include "Screen.h"
#include "StoredFormData.h"
#include "Twips.h"
#include "VxLineIn.h"
#include "resource.h"

#include <memory>

namespace {

constexpr wchar_t kTitleNotChanged[] = L"Ordnerverkn\u00FCpfung nicht ge\u00E4ndert";
constexpr std::size_t kMaxShownPathChars = 70;

// Asks and makes as the main window's "Erstellen" does; true when made.
bool MakeAnew(HWND owner, VxLineIn& line, const std::wstring& folder) {
    const L_SHTCUT::CreateCheck check = L_SHTCUT::CheckCreate(line.Text(), folder, kMaxShownPathChars);
    switch (check.verdict) {
    case L_SHTCUT::Verdict::Refuse:
        host::ShowMessageBox(
            owner, check.refusal.text, check.refusal.title,
            MB_OK | (check.missing == L_SHTCUT::Field::None ? MB_ICONWARNING : MB_ICONINFORMATION));
        if (check.missing == L_SHTCUT::Field::Source)
            line.SetTextFocus();
        return false;
    case L_SHTCUT::Verdict::Ask:
        for (const L_SHTCUT::Message& question : check.questions)
            if (host::ShowMessageBox(owner, question.text, question.title,
                                     MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) != IDYES)
                return false;
        break;
    case L_SHTCUT::Verdict::Go:
        break;
    }
    const L_SHTCUT::CreateResult result = L_SHTCUT::CreateFolderLink(*check.source, check.folder);
    if (!result) {
        const std::wstring shown =
            L_PFADE::ShortenInTheMiddle(L_SHTCUT::FolderAsShown(check.folder), kMaxShownPathChars);
        host::ShowMessageBox(owner, L_SHTCUT::DescribeFailure(shown, result), kTitleNotChanged,
                             MB_OK | MB_ICONWARNING);
        return false;
    }
    return true;
}

void PlaceTwips(host::Control& control, double left, double top, double width, double height) {
    const double tppX = host::TwipsPerPixelX(), tppY = host::TwipsPerPixelY();
    control.move(host::TwipsToPixels(left, tppX), host::TwipsToPixels(top, tppY),
                 host::TwipsToPixels(width, tppX), host::TwipsToPixels(height, tppY));
    control.setVisible(true);
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
    PlaceTwips(*change, 5220, 720, 1695, 315);
    PlaceTwips(*cancel, 3420, 720, 1695, 315);
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
