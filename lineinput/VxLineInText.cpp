// Text, selection, the text box settings, the check box value, and the way
// the events of the children become the control's events. Every text child
// is written, so that a later change of ControlStyle shows the same text.
#include "VxLineIn.h"

#include "L_KEYASC.h"
#include "PersistedKeys.h"

namespace key = lineinput::key;

std::wstring VxLineIn::Text() const {
    if (const host::TextBox* box = TextBoxControl())
        return box->text();
    if (const host::ComboBox* combo = ComboControl())
        return combo->text();
    if (const host::Label* display = LabelControl())
        return display->caption();
    return {};
}

void VxLineIn::SetText(const std::wstring& v) {
    txi->setText(v);
    txt->setText(v);
    mem->setText(v);
    anz->setCaption(v);
    if (CurrentCombo)
        CurrentCombo->setText(v); // a list-only combo box refuses a text that is no item
    propertyChanged(key::Text);
}

void VxLineIn::SetTextSilent(const std::wstring& v) {
    SilentUpdate = true;
    txt->setText(v);
    txi->setText(v);
    mem->setText(v);
    anz->setCaption(v);
    anz->refresh();
    txt->refresh();
    txi->refresh();
    mem->refresh();
    SilentUpdate = false;
    RedrawControl();
    propertyChanged(L"TextSilent");
}

bool VxLineIn::Locked() const {
    return txt->locked();
}
void VxLineIn::SetLocked(bool v) {
    txt->setLocked(v);
    txi->setLocked(v);
    mem->setLocked(v);
    cmb0->setLocked(v);
    cmb2->setLocked(v);
    propertyChanged(key::Locked);
}

std::int32_t VxLineIn::MaxLength() const {
    return txt->maxLength();
}
void VxLineIn::SetMaxLength(std::int32_t v) {
    txt->setMaxLength(v);
    txi->setMaxLength(v);
    mem->setMaxLength(v);
    propertyChanged(key::MaxLength);
}

std::wstring VxLineIn::PasswordChar() const {
    return txt->passwordChar();
}
void VxLineIn::SetPasswordChar(const std::wstring& v) {
    txt->setPasswordChar(v);
    txi->setPasswordChar(v);
    mem->setPasswordChar(v);
    propertyChanged(key::PasswordChar);
}

// The selection is read from the text box or combo box of the style; the
// display and the outline have none.
std::int32_t VxLineIn::SelStart() const {
    if (const host::TextBox* box = TextBoxControl())
        return box->selStart();
    if (const host::ComboBox* combo = ComboControl())
        return combo->selStart();
    return 0;
}
void VxLineIn::SetSelStart(std::int32_t v) {
    txt->setSelStart(v);
    txi->setSelStart(v);
    mem->setSelStart(v);
    if (CurrentCombo)
        CurrentCombo->setSelStart(v);
    propertyChanged(L"SelStart");
}

std::int32_t VxLineIn::SelLength() const {
    if (const host::TextBox* box = TextBoxControl())
        return box->selLength();
    if (const host::ComboBox* combo = ComboControl())
        return combo->selLength();
    return 0;
}
void VxLineIn::SetSelLength(std::int32_t v) {
    txt->setSelLength(v);
    txi->setSelLength(v);
    mem->setSelLength(v);
    if (CurrentCombo)
        CurrentCombo->setSelLength(v);
    propertyChanged(L"SelLength");
}

std::wstring VxLineIn::SelText() const {
    if (const host::TextBox* box = TextBoxControl())
        return box->selText();
    if (const host::ComboBox* combo = ComboControl())
        return combo->selText();
    return {};
}
void VxLineIn::SetSelText(const std::wstring& v) {
    txt->setSelText(v);
    txi->setSelText(v);
    mem->setSelText(v);
    if (CurrentCombo)
        CurrentCombo->setSelText(v);
    propertyChanged(L"SelText");
}

bool VxLineIn::Value() {
    switch (chk->value()) {
    case 1:
        return true;
    case 2: // the greyed state reads as checked and becomes checked
        chk->setValue(1);
        return true;
    default:
        return false;
    }
}
void VxLineIn::SetValue(bool v) {
    chk->setValue(v ? 1 : 0);
    propertyChanged(key::Value);
}

void VxLineIn::SetTextFocus() {
    if (host::TextBox* box = TextBoxControl())
        box->setFocus();
    else if (host::ComboBox* combo = ComboControl())
        combo->setFocus();
}

host::Variant VxLineIn::SetActive(bool stat) {
    SetEnabled(stat);
    SetGreyControl(!stat);
    return {};
}

void VxLineIn::FireEventChange() {
    RaiseEvent(VxEvent::Change);
}
void VxLineIn::SendChangeMsg() {
    RaiseEvent(VxEvent::Change);
}

// --- events of the children --------------------------------------------------------

namespace {

VxLineInEventArgs KeyArgs(std::int16_t& keyCode, std::int16_t& shift) {
    VxLineInEventArgs args;
    args.KeyCode = &keyCode;
    args.Shift = &shift;
    return args;
}

VxLineInEventArgs MouseArgs(std::int16_t& button, std::int16_t& shift, float& x, float& y) {
    VxLineInEventArgs args;
    args.Button = &button;
    args.Shift = &shift;
    args.X = &x;
    args.y = &y;
    return args;
}

} // namespace

void VxLineIn::ConnectTextEvents() {
    for (host::TextBox* box : {txt.get(), txi.get(), mem.get()}) {
        box->onChange = [this, box] { TextBoxChange(*box); };
        box->onClick = [this] { RaiseEvent(VxEvent::Click); };
        box->onDblClick = [this] { RaiseEvent(VxEvent::DblClick); };
        box->onGotFocus = [this, box] {
            SwitchMSGColors(box, 1);
            RaiseEvent(VxEvent::GotFocusText);
        };
        box->onLostFocus = [this, box] {
            SwitchMSGColors(box, 0);
            RaiseEvent(VxEvent::LostFocusText);
        };
        box->onKeyDown = [this](std::int16_t& keyCode, std::int16_t& shift) {
            VxLineInEventArgs args = KeyArgs(keyCode, shift);
            RaiseEvent(VxEvent::KeyDown, args);
        };
        box->onKeyUp = [this](std::int16_t& keyCode, std::int16_t& shift) {
            VxLineInEventArgs args = KeyArgs(keyCode, shift);
            RaiseEvent(VxEvent::KeyUp, args);
        };
        const bool enterPressesButton = box == txt.get();
        box->onKeyPress = [this, enterPressesButton](std::int16_t& keyAscii) {
            FieldKeyPress(keyAscii, enterPressesButton);
        };
    }

    // The display label reports clicks and the mouse, but no focus or keys.
    for (host::Control* field :
         {static_cast<host::Control*>(txt.get()), static_cast<host::Control*>(txi.get()),
          static_cast<host::Control*>(mem.get()), static_cast<host::Control*>(anz.get())}) {
        field->onMouseDown = [this](std::int16_t& button, std::int16_t& shift, float& x, float& y) {
            VxLineInEventArgs args = MouseArgs(button, shift, x, y);
            RaiseEvent(VxEvent::MouseDown, args);
        };
        field->onMouseMove = [this](std::int16_t& button, std::int16_t& shift, float& x, float& y) {
            VxLineInEventArgs args = MouseArgs(button, shift, x, y);
            RaiseEvent(VxEvent::MouseMove, args);
        };
        field->onMouseUp = [this](std::int16_t& button, std::int16_t& shift, float& x, float& y) {
            VxLineInEventArgs args = MouseArgs(button, shift, x, y);
            RaiseEvent(VxEvent::MouseUp, args);
        };
    }
    anz->onClick = [this] { RaiseEvent(VxEvent::Click); };
    anz->onDblClick = [this] { RaiseEvent(VxEvent::DblClick); };

    // The combo boxes: no key filter and no Enter handling.
    for (host::ComboBox* combo : {cmb0.get(), cmb2.get()}) {
        combo->onChange = [this] { ComboChange(); };
        combo->onClick = [this] {
            ComboChange();
            RaiseEvent(VxEvent::Click);
        };
        combo->onGotFocus = [this, combo] {
            SwitchMSGColors(combo, 1);
            RaiseEvent(VxEvent::GotFocusCombo);
        };
        combo->onLostFocus = [this, combo] {
            SwitchMSGColors(combo, 0);
            RaiseEvent(VxEvent::LostFocusCombo);
        };
        combo->onKeyPress = [this](std::int16_t& keyAscii) {
            VxLineInEventArgs args;
            args.KeyAscii = &keyAscii;
            RaiseEvent(VxEvent::ComboKeyPress, args);
        };
    }

    // The caption label; a right-button release also asks for a pop-up menu.
    lbl->onClick = [this] { RaiseEvent(VxEvent::LabelClick); };
    lbl->onDblClick = [this] { RaiseEvent(VxEvent::LabelDblClick); };
    lbl->onMouseDown = [this](std::int16_t& button, std::int16_t& shift, float& x, float& y) {
        VxLineInEventArgs args = MouseArgs(button, shift, x, y);
        RaiseEvent(VxEvent::LabelMouseDown, args);
    };
    lbl->onMouseUp = [this](std::int16_t& button, std::int16_t& shift, float& x, float& y) {
        if (button == 2) {
            VxLineInEventArgs popArgs;
            popArgs.Shift = &shift;
            RaiseEvent(VxEvent::LabelPopMenu, popArgs);
        }
        VxLineInEventArgs args = MouseArgs(button, shift, x, y);
        RaiseEvent(VxEvent::LabelMouseUp, args);
    };
}

void VxLineIn::TextBoxChange(const host::TextBox& child) {
    // Every text box follows Text, but only the field of the style speaks
    // for the control; TextSilent and Clear write without a word.
    if (SilentUpdate || TextBoxControl() != &child)
        return;
    multiStringGrey_ = false; // the field holds a new text: show it again
    RaiseEvent(VxEvent::Change);
}

void VxLineIn::ComboChange() {
    if (Style().field != lineinput::Part::CurrentCombo)
        return;
    multiStringGrey_ = false;
    RaiseEvent(VxEvent::Change);
}

void VxLineIn::FieldKeyPress(std::int16_t& KeyAscii, bool enterPressesButton) {
    VxLineInEventArgs args;
    args.KeyAscii = &KeyAscii;
    RaiseEvent(VxEvent::KeyPressBeforeCheck, args);
    L_KEYASC::KeyAscFilter(KeyAscii, textBoxStyle_, textMask_);
    // The whole button action runs before KeyPress is raised.
    if (enterPressesButton && KeyAscii == 13 && buttonClickOnEnter_)
        DoButtonClick(true);
    RaiseEvent(VxEvent::KeyPress, args);
}
