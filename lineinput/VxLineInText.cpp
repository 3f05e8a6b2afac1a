// Text, selection, the text box settings and the check box value. Every text
// child is written, so that a later change of ControlStyle shows the same text.
#include "VxLineIn.h"

std::wstring VxLineIn::Text() const {
    switch (controlStyle_) {
    case 0:
        return txt->text();
    case 1:
        return CurrentCombo ? CurrentCombo->text() : std::wstring();
    case 2:
        return mem->text();
    case 3:
        return anz->caption();
    case 4:
        return txi->text();
    default:
        return {};
    }
}

void VxLineIn::SetText(const std::wstring& v) {
    txi->setText(v);
    txt->setText(v);
    mem->setText(v);
    anz->setCaption(v);
    if (CurrentCombo)
        CurrentCombo->setText(v); // a list-only combo box refuses a text that is no item
    propertyChanged(L"Text");
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
    propertyChanged(L"Locked");
}

std::int32_t VxLineIn::MaxLength() const {
    return txt->maxLength();
}
void VxLineIn::SetMaxLength(std::int32_t v) {
    txt->setMaxLength(v);
    txi->setMaxLength(v);
    mem->setMaxLength(v);
    propertyChanged(L"MaxLength");
}

std::wstring VxLineIn::PasswordChar() const {
    return txt->passwordChar();
}
void VxLineIn::SetPasswordChar(const std::wstring& v) {
    txt->setPasswordChar(v);
    txi->setPasswordChar(v);
    mem->setPasswordChar(v);
    propertyChanged(L"PasswordChar");
}

std::int32_t VxLineIn::SelStart() const {
    switch (controlStyle_) {
    case 0:
        return txt->selStart();
    case 1:
        return CurrentCombo ? CurrentCombo->selStart() : 0;
    case 2:
        return mem->selStart();
    case 4:
        return txi->selStart();
    default:
        return 0;
    }
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
    switch (controlStyle_) {
    case 0:
        return txt->selLength();
    case 1:
        return CurrentCombo ? CurrentCombo->selLength() : 0;
    case 2:
        return mem->selLength();
    case 4:
        return txi->selLength();
    default:
        return 0;
    }
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
    switch (controlStyle_) {
    case 0:
        return txt->selText();
    case 1:
        return CurrentCombo ? CurrentCombo->selText() : std::wstring();
    case 2:
        return mem->selText();
    case 4:
        return txi->selText();
    default:
        return {};
    }
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
    propertyChanged(L"Value");
}

void VxLineIn::SetTextFocus() {
    switch (controlStyle_) {
    case 0:
        txt->setFocus();
        break;
    case 1:
        if (CurrentCombo)
            CurrentCombo->setFocus();
        break;
    case 2:
        mem->setFocus();
        break;
    case 4:
        txi->setFocus();
        break;
    default:
        break;
    }
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
