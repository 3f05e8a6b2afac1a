#include "B_MAIN.h"

#include "L_SHTCUT.h"
#include "PropertyBagText.h"
#include "Screen.h"
#include "StoredFormData.h"
#include "Twips.h"
#include "resource.h"

namespace {

constexpr wchar_t kTitleIncomplete[] = L"Unvollst\u00E4ndig";
constexpr wchar_t kNoSource[] = L"Kein Quellpfad angegeben !";
constexpr wchar_t kNoTarget[] = L"Kein Zielpfad angegeben !";
constexpr wchar_t kTitleNotCreated[] = L"Ordnerlink nicht erstellt";
constexpr wchar_t kTitleNotEmpty[] = L"Ordner ist nicht leer";

// Places a child given in twips of its container, as the window's layout is
// written, and shows it.
void PlaceTwips(host::Control& control, double left, double top, double width, double height) {
    const double tppX = host::TwipsPerPixelX(), tppY = host::TwipsPerPixelY();
    control.move(host::TwipsToPixels(left, tppX), host::TwipsToPixels(top, tppY),
                 host::TwipsToPixels(width, tppX), host::TwipsToPixels(height, tppY));
    control.setVisible(true);
}

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

std::unique_ptr<B_MAIN> B_MAIN::Create() {
    std::unique_ptr<B_MAIN> window(new B_MAIN());
    if (!window->CreateControls())
        return nullptr;
    return window;
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
        PlaceTwips(*Frame1, 60, 60, 7035, 1215);
        txtUrl = RestoreLine(*form, Frame1->hwnd(), formData, L"txtUrl", 360);
        txtPat = RestoreLine(*form, Frame1->hwnd(), formData, L"txtPat", 720);
    }
    cmdOK = host::CommandButton::Create({formWindow, L"Erstellen"});
    cmdAB = host::CommandButton::Create({formWindow, L"Schlie\u00DFen"});
    if (!Frame1 || !txtUrl || !txtPat || !cmdOK || !cmdAB)
        return false;
    PlaceTwips(*cmdOK, 5400, 1380, 1695, 315);
    PlaceTwips(*cmdAB, 3600, 1380, 1695, 315);
    form->setTabOrder({Frame1.get(), txtUrl.get(), txtPat.get(), cmdOK.get(), cmdAB.get()});

    cmdOK->onClick = [this] { cmdOK_Click(); };
    cmdAB->onClick = [this] { cmdAB_Click(); };
    form->onQueryUnload = [this](bool& cancel) { Form_QueryUnload(cancel); };
    form->onUnload = [this] { Form_Unload(); };
    return true;
}

void B_MAIN::Show() {
    form->show();
}

int B_MAIN::Run() {
    return form->runMessageLoop();
}

void B_MAIN::cmdOK_Click() {
    const HWND owner = form->hwnd();
    const std::wstring Source = txtUrl->Text();
    if (Source.empty()) {
        host::ShowMessageBox(owner, kNoSource, kTitleIncomplete, MB_OK | MB_ICONINFORMATION);
        return;
    }
    const std::wstring Target = txtPat->Text();
    if (Target.empty()) {
        host::ShowMessageBox(owner, kNoTarget, kTitleIncomplete, MB_OK | MB_ICONINFORMATION);
        return;
    }
    // Explorer shows the source in place of the folder's own entries: say so
    // before they disappear from view.
    if (L_SHTCUT::HoldsOtherEntries(Target)) {
        const std::wstring question =
            L"Der Ordner \u201E" + Target +
            L"\u201C enth\u00E4lt bereits Dateien oder Ordner. Als Ordnerlink zeigt "
            L"der Explorer diesen Inhalt nicht mehr an.\n\nTrotzdem fortfahren?";
        if (host::ShowMessageBox(owner, question, kTitleNotEmpty,
                                 MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) != IDYES)
            return;
    }
    if (!L_SHTCUT::CreateFolderLink(Source, Target)) {
        const std::wstring message =
            L"Der Ordnerlink \u201E" + Target + L"\u201C konnte nicht vollst\u00E4ndig erstellt werden.";
        host::ShowMessageBox(owner, message, kTitleNotCreated, MB_OK | MB_ICONWARNING);
    }
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
