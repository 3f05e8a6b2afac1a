// The input line's children, its state, the field properties, the accessors
// for the children, the control information and the event dispatch.
#include "VxLineIn.h"

#include "Form.h"
#include "LineStyles.h"
#include "PersistedKeys.h"
#include "Screen.h"

#include <cwchar>
#include <iterator>

using namespace lineinput;

std::unique_ptr<VxLineIn> VxLineIn::Create(const VxLineInArgs& args) {
    if (!args.site)
        return nullptr;
    std::unique_ptr<VxLineIn> line(new VxLineIn(*args.site));
    if (!line->createSurface(args.parent) || !line->CreateChildren())
        return nullptr;
    line->RegisterDropTargets();
    return line;
}

VxLineIn::VxLineIn(host::ControlSite& site) : UserControl(site) {}

VxLineIn::~VxLineIn() {
    // A control that is going away tells its host nothing more. A focused
    // field loses the focus now, while every child is still alive; destroying
    // it later would report the lost focus after the handlers are gone.
    handlers_.fill(nullptr);
    if (hasFocus())
        SetFocus(nullptr);
}

bool VxLineIn::CreateChildren() {
    HWND self = hwnd();
    cmb0 = host::ComboBox::Create({self, false});
    gry = host::PictureBox::Create({self, true});
    con = host::PictureBox::Create({self, true, true});
    txi = con ? host::TextBox::Create({con->hwnd(), false, false}) : nullptr;
    chk = host::CheckBox::Create({self, L""});
    mem = host::TextBox::Create({self, true, true});
    cmb2 = host::ComboBox::Create({self, true});
    cmd = host::CommandButton::Create({self, L""});
    txt = host::TextBox::Create({self, false, true});
    img = host::Image::Create({self});
    shp = host::Shape::Create({self});
    anz = host::Label::Create({self, L"", false});
    lbl = host::Label::Create({self, L"", true});
    if (!(cmb0 && gry && con && txi && chk && mem && cmb2 && cmd && txt && img && shp && anz && lbl))
        return false;
    // The frame's text box is always shown; the frame decides whether it is seen.
    txi->setVisible(true);
    ConnectTextEvents();
    ConnectButtonEvents();
    return true;
}

void VxLineIn::BindEvent(int eventNumber, VxLineInEventHandler handler) {
    if (eventNumber >= 1 && eventNumber <= VxEvent::Count)
        handlers_[static_cast<size_t>(eventNumber)] = std::move(handler);
}

void VxLineIn::RaiseEvent(int eventNumber, VxLineInEventArgs& args) {
    if (eventNumber < 1 || eventNumber > VxEvent::Count)
        return;
    // A copy, so that a handler may rebind its own event while it runs.
    const VxLineInEventHandler handler = handlers_[static_cast<size_t>(eventNumber)];
    if (handler)
        handler(eventNumber, args);
}

void VxLineIn::RaiseEvent(int eventNumber) {
    VxLineInEventArgs none;
    RaiseEvent(eventNumber, none);
}

// --- properties held in fields ---------------------------------------------------------

void VxLineIn::SetAllowDDMultiFiles(bool v) {
    allowDDMultiFiles_ = v;
    propertyChanged(key::AllowDDMultiFiles);
}
void VxLineIn::SetAppendOleDDFiles(bool v) {
    appendOleDDFiles_ = v;
    propertyChanged(key::AppendOleDDFiles);
}
void VxLineIn::SetAutoAmbientChanges(bool v) {
    autoAmbientChanges_ = v;
    propertyChanged(key::AutoAmbientChanges);
}
void VxLineIn::SetButtonClickOnEnter(bool v) {
    buttonClickOnEnter_ = v;
    propertyChanged(key::ButtonClickOnEnter);
}
void VxLineIn::SetCommandStyle(std::int32_t v) {
    commandStyle_ = v;
    propertyChanged(key::CommandStyle);
}
void VxLineIn::SetCTLUseLng(std::int32_t v) {
    ctlUseLng_ = v;
    propertyChanged(key::CTLUseLng);
}
void VxLineIn::SetDefaultFilename(const std::wstring& v) {
    defaultFilename_ = v;
    propertyChanged(key::DefaultFilename);
}
void VxLineIn::SetDlgFileExtension(const std::wstring& v) {
    dlgFileExtension_ = v;
    propertyChanged(key::DlgFileExtension);
}
void VxLineIn::SetDlgFileType(const std::wstring& v) {
    dlgFileType_ = v;
    propertyChanged(key::DlgFileType);
}
void VxLineIn::SetDlgFolderNamesAsis(bool v) {
    dlgFolderNamesAsis_ = v;
    propertyChanged(key::DlgFolderNamesAsis);
}
void VxLineIn::SetDlgFolderStyle(std::int32_t v) {
    dlgFolderStyle_ = v;
    propertyChanged(key::DlgFolderStyle);
}
void VxLineIn::SetDlgOpenCaption(const std::wstring& v) {
    dlgOpenCaption_ = v;
    propertyChanged(key::DlgOpenCaption);
}
void VxLineIn::SetDlgPathCaption(const std::wstring& v) {
    dlgPathCaption_ = v;
    propertyChanged(key::DlgPathCaption);
}
void VxLineIn::SetDlgSaveCaption(const std::wstring& v) {
    dlgSaveCaption_ = v;
    propertyChanged(key::DlgSaveCaption);
}
void VxLineIn::SetEdited(bool v) {
    edited_ = v;
}
void VxLineIn::SetTextBoxStyle(std::int32_t v) {
    textBoxStyle_ = v;
    propertyChanged(key::TextBoxStyle);
}
void VxLineIn::SetTextMask(const std::wstring& v) {
    textMask_ = v.empty() ? L"*" : v;
    propertyChanged(key::TextMask);
}
void VxLineIn::SetTagExtra(const host::Variant& v) {
    tagExtra_ = v;
    propertyChanged(L"TagExtra");
}
void VxLineIn::SetTagKenn(std::int32_t v) {
    tagKenn_ = v;
    propertyChanged(L"TagKenn");
}
void VxLineIn::SetTagPos(std::int32_t v) {
    tagPos_ = v;
    propertyChanged(L"TagPos");
}
void VxLineIn::SetTagUser(const host::Variant& v) {
    tagUser_ = v;
    propertyChanged(L"TagUser");
}
void VxLineIn::SetTagUser2(const host::Variant& v) {
    tagUser2_ = v;
    propertyChanged(L"TagUser2");
}

// --- children and control information --------------------------------------------------

host::CommandButton* VxLineIn::ButtonControl() const {
    return buttonShow_ ? cmd.get() : nullptr;
}

const StyleDescriptor& VxLineIn::Style() const {
    return DescriptorOfStyle(controlStyle_);
}

host::Control* VxLineIn::ChildOf(Part part) const {
    switch (part) {
    case Part::Txt:
        return txt.get();
    case Part::CurrentCombo:
        return CurrentCombo;
    case Part::Mem:
        return mem.get();
    case Part::Anz:
        return anz.get();
    case Part::Txi:
        return txi.get();
    case Part::Con:
        return con.get();
    case Part::Shp:
        return shp.get();
    case Part::None:
        break;
    }
    return nullptr;
}

// The accessors below ask only which kind of child the field of the style is.

host::ComboBox* VxLineIn::ComboControl() const {
    return dynamic_cast<host::ComboBox*>(ChildOf(Style().field));
}

host::Control* VxLineIn::InnerControl() const {
    return ChildOf(Style().inner);
}

host::Label* VxLineIn::LabelControl() const {
    return dynamic_cast<host::Label*>(ChildOf(Style().field));
}

host::TextBox* VxLineIn::TextBoxControl() const {
    return dynamic_cast<host::TextBox*>(ChildOf(Style().field));
}

host::Control* VxLineIn::ChildNamed(const std::wstring& name) const {
    const std::pair<const wchar_t*, host::Control*> children[] = {
        {L"cmb0", cmb0.get()}, {L"gry", gry.get()}, {L"con", con.get()},   {L"txi", txi.get()},
        {L"chk", chk.get()},   {L"mem", mem.get()}, {L"cmb2", cmb2.get()}, {L"cmd", cmd.get()},
        {L"txt", txt.get()},   {L"img", img.get()}, {L"shp", shp.get()},   {L"anz", anz.get()},
        {L"lbl", lbl.get()},
    };
    for (const auto& [childName, child] : children)
        if (name == childName)
            return child;
    return nullptr;
}

void VxLineIn::AboutBox() {
    // Formatted without a string stream: the stream's locale machinery alone
    // would make up a third of the program's size.
    wchar_t twipsPerPixel[32] = L"";
    std::swprintf(twipsPerPixel, std::size(twipsPerPixel), L"%g", host::TwipsPerPixelX());
    const std::wstring text =
        L"VxLineIn \u2013 Eingabezeile mit Beschriftung, Eingabefeld und Schaltfl\u00e4che.\n\n"
        L"Twips pro Pixel: " +
        std::wstring(twipsPerPixel);
    host::ShowMessageBox(site().formWindow(), text, L"Info: VxLineIn", MB_OK | MB_ICONINFORMATION);
}

void VxLineIn::TerminateControl() {
    CurrentCombo = nullptr;
}
