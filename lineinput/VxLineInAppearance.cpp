// Colours, fonts, captions, tooltips, alignment and pictures: most live in
// the children and are copied to every child that shows the same thing.
#include "VxLineIn.h"

#include "PersistedKeys.h"

namespace {

namespace key = lineinput::key;

std::wstring WithoutTrailingBlanks(const std::wstring& s) {
    const auto end = s.find_last_not_of(L' ');
    return end == std::wstring::npos ? std::wstring() : s.substr(0, end + 1);
}

} // namespace

std::int32_t VxLineIn::Alignment() const {
    return anz->alignment();
}
void VxLineIn::SetAlignment(std::int32_t v) {
    anz->setAlignment(v); // a value other than 0, 1 or 2 is refused by the label
    propertyChanged(key::Alignment);
}

host::Color VxLineIn::BackColor() const {
    return backColor();
}
void VxLineIn::SetBackColor(host::Color v) {
    setBackColor(v);
    chk->setBackColor(v);
    lbl->setBackColor(v);
    propertyChanged(key::BackColor);
}

host::Color VxLineIn::ButtonBackColor() const {
    return cmd->backColor();
}
void VxLineIn::SetButtonBackColor(host::Color v) {
    cmd->setBackColor(v);
    propertyChanged(key::ButtonBackColor);
}

std::wstring VxLineIn::ButtonCaption() const {
    return cmd->caption();
}
void VxLineIn::SetButtonCaption(const std::wstring& v) {
    cmd->setCaption(v);
    propertyChanged(key::ButtonCaption);
}

host::FontDesc VxLineIn::ButtonFont() const {
    return cmd->font();
}
void VxLineIn::SetButtonFont(const host::FontDesc& v) {
    cmd->setFont(v);
    propertyChanged(key::ButtonFont);
}

host::Color VxLineIn::ButtonMaskColor() const {
    return cmd->maskColor();
}
void VxLineIn::SetButtonMaskColor(host::Color v) {
    cmd->setMaskColor(v);
    propertyChanged(key::ButtonMaskColor);
}

void VxLineIn::SetButtonPicture(const host::Picture& v) {
    buttonPicture_ = v;
    ApplyButtonPicture();
    propertyChanged(key::ButtonPicture);
}

std::wstring VxLineIn::ButtonToolTip() const {
    return cmd->toolTip();
}
void VxLineIn::SetButtonToolTip(const std::wstring& v) {
    cmd->setToolTip(v);
    propertyChanged(key::ButtonToolTip);
}

bool VxLineIn::ButtonUseMaskColor() const {
    return cmd->useMaskColor();
}
void VxLineIn::SetButtonUseMaskColor(bool v) {
    cmd->setUseMaskColor(v);
    RedrawControl();
    propertyChanged(key::ButtonUseMaskColor);
}

std::wstring VxLineIn::Caption() const {
    return lbl->caption();
}
void VxLineIn::SetCaption(const std::wstring& v) {
    const std::wstring caption = WithoutTrailingBlanks(v);
    lbl->setCaption(caption);
    chk->setCaption(caption);
    propertyChanged(key::Caption);
}

host::FontDesc VxLineIn::Font() const {
    return txt->font();
}
void VxLineIn::SetFont(const host::FontDesc& v) {
    txi->setFont(v);
    txt->setFont(v);
    mem->setFont(v);
    cmb0->setFont(v);
    cmb2->setFont(v);
    anz->setFont(v);
    ApplyComboLines();
    RedrawControl();
    propertyChanged(key::Font);
}

host::Color VxLineIn::ForeColor() const {
    return foreColor();
}
void VxLineIn::SetForeColor(host::Color v) {
    setForeColor(v);
    propertyChanged(key::ForeColor);
}

std::int32_t VxLineIn::LabelAlignment() const {
    return lbl->alignment();
}
void VxLineIn::SetLabelAlignment(std::int32_t v) {
    lbl->setAlignment(v); // a value other than 0, 1 or 2 is refused by the label
    propertyChanged(key::LabelAlignment);
}

host::FontDesc VxLineIn::LabelFont() const {
    return lbl->font();
}
void VxLineIn::SetLabelFont(const host::FontDesc& v) {
    lbl->setFont(v);
    chk->setFont(v);
    RedrawControl();
    propertyChanged(key::LabelFont);
}

host::Color VxLineIn::LabelForeColor() const {
    return lbl->foreColor();
}
void VxLineIn::SetLabelForeColor(host::Color v) {
    lbl->setForeColor(v);
    chk->setForeColor(v);
    propertyChanged(key::LabelForeColor);
}

std::wstring VxLineIn::LabelToolTip() const {
    return lbl->toolTip();
}
void VxLineIn::SetLabelToolTip(const std::wstring& v) {
    lbl->setToolTip(v);
    chk->setToolTip(v);
    propertyChanged(key::LabelToolTip);
}

host::Picture VxLineIn::LinePicture() const {
    return img->picture();
}
void VxLineIn::SetLinePicture(const host::Picture& v) {
    img->setPicture(v);
    RedrawControl();
    propertyChanged(key::LinePicture);
}

void VxLineIn::SetPictureType(std::int32_t v) {
    pictureType_ = v;
    ApplyButtonPicture();
    propertyChanged(key::PictureType);
}

bool VxLineIn::ShowImage() const {
    return img->visible();
}
void VxLineIn::SetShowImage(bool v) {
    img->setVisible(v);
    RedrawControl();
    propertyChanged(key::ShowImage);
}

host::Color VxLineIn::TextBackColor() const {
    return txt->backColor();
}
void VxLineIn::SetTextBackColor(host::Color v) {
    textBackColor_ = v;
    for (host::Control* c : {static_cast<host::Control*>(txt.get()), static_cast<host::Control*>(txi.get()),
                             static_cast<host::Control*>(con.get()), static_cast<host::Control*>(mem.get()),
                             static_cast<host::Control*>(cmb0.get()), static_cast<host::Control*>(cmb2.get()),
                             static_cast<host::Control*>(anz.get())})
        c->setBackColor(v);
    propertyChanged(key::TextBackColor);
}

void VxLineIn::SetTextForeColor(host::Color v) {
    textForeColor_ = v;
    for (host::Control* c : {static_cast<host::Control*>(txt.get()), static_cast<host::Control*>(txi.get()),
                             static_cast<host::Control*>(mem.get()), static_cast<host::Control*>(cmb0.get()),
                             static_cast<host::Control*>(cmb2.get()), static_cast<host::Control*>(anz.get())})
        c->setForeColor(v);
    propertyChanged(key::TextForeColor);
}

std::wstring VxLineIn::TextToolTip() const {
    return txt->toolTip();
}
void VxLineIn::SetTextToolTip(const std::wstring& v) {
    for (host::Control* c : {static_cast<host::Control*>(txt.get()), static_cast<host::Control*>(txi.get()),
                             static_cast<host::Control*>(mem.get()), static_cast<host::Control*>(cmb0.get()),
                             static_cast<host::Control*>(cmb2.get()), static_cast<host::Control*>(anz.get())})
        c->setToolTip(v);
    propertyChanged(key::TextToolTip);
}

bool VxLineIn::UseMnemonic() const {
    return anz->useMnemonic();
}
void VxLineIn::SetUseMnemonic(bool v) {
    anz->setUseMnemonic(v);
    propertyChanged(key::UseMnemonic);
}

void VxLineIn::ApplyButtonPicture() {
    if (pictureType_ != 0) {
        // The built-in pictures are the program's bitmaps 101 to 115; a
        // number without a bitmap leaves the button's picture as it was.
        const bool isResourceId = pictureType_ > 0 && pictureType_ <= 0xFFFF - 100;
        const host::Picture builtIn =
            isResourceId ? host::Picture::FromResource(100 + pictureType_) : host::Picture();
        if (!builtIn.IsEmpty())
            cmd->setPicture(builtIn);
        return;
    }
    cmd->setPicture(buttonPicture_);
}
