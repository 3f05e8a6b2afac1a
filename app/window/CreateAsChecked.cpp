#include "CreateAsChecked.h"

#include "Form.h"
#include "L_PFADE.h"

bool ConfirmCreate(HWND owner, const L_SHTCUT::CreateCheck& check) {
    switch (check.verdict) {
    case L_SHTCUT::Verdict::Refuse:
        host::ShowMessageBox(
            owner, check.refusal.text, check.refusal.title,
            MB_OK | (check.missing == L_SHTCUT::Field::None ? MB_ICONWARNING : MB_ICONINFORMATION));
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
    for (const L_SHTCUT::Message& notice : check.notices)
        if (host::ShowMessageBox(owner, notice.text, notice.title, MB_OKCANCEL | MB_ICONINFORMATION) != IDOK)
            return false;
    return true;
}

void ShowCreateFailure(HWND owner, const L_SHTCUT::CreateCheck& check, const L_SHTCUT::CreateResult& result,
                       const wchar_t* failureTitle, std::size_t maxShownPathChars) {
    const std::wstring shown =
        L_PFADE::ShortenInTheMiddle(L_SHTCUT::FolderAsShown(check.folder), maxShownPathChars);
    host::ShowMessageBox(owner, L_SHTCUT::DescribeFailure(shown, result), failureTitle,
                         MB_OK | MB_ICONWARNING);
}

bool CreateAsChecked(HWND owner, const L_SHTCUT::CreateCheck& check, const wchar_t* failureTitle,
                     std::size_t maxShownPathChars) {
    if (!ConfirmCreate(owner, check))
        return false;
    const L_SHTCUT::CreateResult result = L_SHTCUT::CreateFolderLink(*check.source, check.folder);
    if (!result) {
        ShowCreateFailure(owner, check, result, failureTitle, maxShownPathChars);
        return false;
    }
    return true;
}
