#include "B_MAIN.h"

#include "CreateAsChecked.h"
#include "ErrorText.h"
#include "L_SHTCUT.h"
#include "PropertyBagText.h"
#include "Quoted.h"
#include "RunningProgram.h"
#include "StoredFormData.h"
#include "resource.h"

namespace {

constexpr wchar_t kTitleNotCreated[] = L"Ordnerverkn\u00FCpfung nicht erstellt";
// The system menu's command that opens the manager window.
constexpr unsigned kManageCommand = 0x0100;
// A path longer than this is shortened in the middle in a message box, which
// would otherwise grow as wide as the screen and cut it off.
constexpr std::size_t kMaxShownPathChars = 70;

// The input line restored from the form data under its name, placed in parent.
std::unique_ptr<VxLineIn> RestoreLine(host::Form& site, HWND parent,
                                      const std::vector<host::StoredBag>& formData, const wchar_t* name,
                                      double top) {
    auto line = VxLineIn::Create({parent, &site});
    if (!line)
        return nullptr;
    line->ReadProperties(host::FindStoredBag(formData, name));
    line->placeTwips(180, top, 6735, 315);
    return line;
}

} // namespace

std::unique_ptr<B_MAIN> B_MAIN::Create(const MainWindowPrefill& prefill) {
    std::unique_ptr<B_MAIN> window(new B_MAIN());
    if (!window->CreateControls())
        return nullptr;
    window->Prefill(prefill);
    return window;
}

void B_MAIN::Prefill(const MainWindowPrefill& prefill) {
    if (!prefill.source.empty())
        txtUrl->SetText(prefill.source);
    if (!prefill.target.empty())
        txtPat->SetText(prefill.target);
}

bool B_MAIN::CreateControls() {
    form = host::Form::Create({L"Entfernten Ordner Lokal einbinden", 7170, 1785});
    if (!form)
        return false;
    form->setIcon(IDI_ORDNERLINK);
    const HWND formWindow = form->hwnd();
    const std::vector<host::StoredBag> formData = LoadStoredFormData();

    Frame1 = host::Frame::Create({formWindow, L"Ordner-Hardlink erstellen : "});
    if (Frame1) {
        host::ShowAtTwips(*Frame1, 60, 60, 7035, 1215);
        txtUrl = RestoreLine(*form, Frame1->hwnd(), formData, L"txtUrl", 360);
        txtPat = RestoreLine(*form, Frame1->hwnd(), formData, L"txtPat", 720);
    }
    cmdOK = host::CommandButton::Create({formWindow, L"Erstellen"});
    cmdAB = host::CommandButton::Create({formWindow, L"Schlie\u00DFen"});
    if (!Frame1 || !txtUrl || !txtPat || !cmdOK || !cmdAB)
        return false;
    host::ShowAtTwips(*cmdOK, 5400, 1380, 1695, 315);
    host::ShowAtTwips(*cmdAB, 3600, 1380, 1695, 315);
    form->setTabOrder({Frame1.get(), txtUrl.get(), txtPat.get(), cmdOK.get(), cmdAB.get()});

    cmdOK->onClick = [this] { cmdOK_Click(); };
    cmdAB->onClick = [this] { cmdAB_Click(); };
    form->onQueryUnload = [this](bool& cancel) { Form_QueryUnload(cancel); };
    form->onUnload = [this] { Form_Unload(); };
    // The manager is a program of its own: closing this window ends this one.
    form->addSystemMenuItem(kManageCommand, L"Ordnerverkn\u00FCpfungen verwalten\u2026");
    form->onSystemMenuItem = [this](unsigned) { Form_Manage(); };
    return true;
}

void B_MAIN::Show() {
    form->show();
}

int B_MAIN::Run() {
    return form->runMessageLoop();
}

void B_MAIN::cmdOK_Click() {
    const L_SHTCUT::CreateCheck check =
        L_SHTCUT::CheckCreate(txtUrl->Text(), txtPat->Text(), kMaxShownPathChars);
    if (CreateAsChecked(form->hwnd(), check, kTitleNotCreated, kMaxShownPathChars) ||
        check.missing == L_SHTCUT::Field::None)
        return;
    // The cursor waits in the line that is to be filled in.
    (check.missing == L_SHTCUT::Field::Source ? txtUrl : txtPat)->SetTextFocus();
    form->keepFocus();
}

void B_MAIN::Form_Manage() {
    DWORD error = ERROR_SUCCESS;
    if (!StartWindowProgram(L"/manage", error))
        host::ShowMessageBox(form->hwnd(),
                             L"Das Fenster " + Quoted(L"Ordnerverkn\u00FCpfungen verwalten") +
                                 L" l\u00E4sst sich nicht \u00F6ffnen: " + L_SHTCUT::ErrorText(error) + L".",
                             L"Ordnerlink", MB_OK | MB_ICONWARNING);
}

void B_MAIN::cmdAB_Click() {
    form->unload();
}

void B_MAIN::Form_QueryUnload(bool& cancel) {
    cancel = false;
}

void B_MAIN::Form_Unload() {
    PostQuitMessage(0);
}
