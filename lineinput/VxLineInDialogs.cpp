// The dialog actions of the button: each takes the start text and returns
// the text the line is to hold afterwards. A cancelled dialog, or one that
// could not be shown, gives back the start text as the action left it.
#include "VxLineIn.h"

#include "L_COMDLG.h"
#include "L_FOLDER.h"
#include "L_PFADE.h"

using namespace lineinput;

namespace {

constexpr std::int32_t kNewStyleBrowser = 2;

} // namespace

std::wstring VxLineIn::RunDialogAction(Dialog dialog, const std::wstring& startText) {
    switch (dialog) {
    case Dialog::OpenFile:
        return ChooseOpenFile(startText);
    case Dialog::SaveFile:
        return ChooseSaveFile(startText);
    case Dialog::Folder:
        return ChooseFolder(startText);
    case Dialog::OpenFiles:
        return ChooseOpenFiles(startText);
    case Dialog::None:
        break;
    }
    return startText;
}

HWND VxLineIn::GetMainForm() {
    HWND frm = nullptr;
    VxLineInEventArgs args;
    args.frm = &frm;
    RaiseEvent(VxEvent::RequestMainForm, args);
    return frm ? frm : site().formWindow();
}

std::wstring VxLineIn::ChooseOpenFile(std::wstring startText) {
    if (startText.empty())
        startText = defaultFilename_;
    const HWND owner = GetMainForm();
    std::wstring folder = L_PFADE::ExtractFolder(startText);
    std::wstring name = L_PFADE::ExtractFileName(startText, false);
    // The caption member itself: an empty one keeps the dialog's default title.
    const std::wstring answer =
        L_COMDLG::ShowOpenDialog(owner, dlgFileType_, dlgFileExtension_, dlgOpenCaption_, folder, name, 0);
    return answer.empty() ? startText : answer;
}

std::wstring VxLineIn::ChooseSaveFile(std::wstring startText) {
    if (startText.empty())
        startText = defaultFilename_;
    const HWND owner = GetMainForm();
    std::wstring folder = L_PFADE::ExtractFolder(startText);
    std::wstring name = L_PFADE::ExtractFileName(startText, false);
    const std::wstring answer =
        L_COMDLG::ShowSaveDialog(owner, dlgFileType_, dlgFileExtension_, dlgSaveCaption_, folder, name);
    return answer.empty() ? startText : answer;
}

std::wstring VxLineIn::ChooseOpenFiles(std::wstring startText) {
    if (startText.empty())
        startText = defaultFilename_;
    const HWND owner = GetMainForm();
    std::wstring folder = L_PFADE::ExtractFolder(startText);
    std::vector<std::wstring> files;
    const std::int32_t count =
        L_COMDLG::ShowOpenFilesDialog(owner, files, dlgFileType_, dlgFileExtension_, dlgOpenCaption_, folder);
    if (count <= 0 || files.empty())
        return startText;
    std::wstring joined;
    for (const std::wstring& path : files) {
        if (!joined.empty())
            joined += L"; ";
        joined += path;
    }
    return joined;
}

std::wstring VxLineIn::ChooseFolder(std::wstring startText) {
    if (startText.empty())
        startText = defaultFilename_;
    const bool newStyle = dlgFolderStyle_ == kNewStyleBrowser;
    L_PFADE::ReplaceText(startText, L"/", L"\\", L_PFADE::CompareExact);
    const HWND owner = GetMainForm();
    // The browser removes one trailing separator from the start text; after
    // Cancel the line gets it back in that form.
    std::wstring answer =
        L_FOLDER::BrowseForFolder(owner, dlgPathCaption_, startText, 0, dlgFolderNamesAsis_, newStyle);
    if (!dlgFolderNamesAsis_)
        answer = L_FOLDER::ProperCaseName(answer, true);
    return answer.empty() ? startText : L_PFADE::AddBackslash(answer);
}
