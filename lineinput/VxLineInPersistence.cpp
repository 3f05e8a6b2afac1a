// The input line's design-time state: initialisation of a newly placed
// control, and reading and writing the state in the host's property bag,
// key by key in a fixed order.
#include "VxLineIn.h"

#include "LineLayout.h"
#include "PersistedKeys.h"
#include "Screen.h"

#include <string>
#include <utility>

namespace {

using host::PropertyBag;
using host::PropertyValue;
using lineinput::PersistedKey;
namespace key = lineinput::key;

// The defaults of the keys, with the host's ambient values of the moment.
class Defaults {
public:
    explicit Defaults(host::AmbientProperties ambient) : ambient_(std::move(ambient)) {}

    PropertyValue Of(const PersistedKey& k) const {
        switch (k.ambient) {
        case PersistedKey::Ambient::BackColor:
            return host::ColorValue{ambient_.backColor};
        case PersistedKey::Ambient::ForeColor:
            return host::ColorValue{ambient_.foreColor};
        case PersistedKey::Ambient::Font:
            return ambient_.font;
        default:
            return k.fixedDefault;
        }
    }
    std::int32_t Int32(const PersistedKey& k) const { return host::ToInt32(Of(k)).value_or(0); }
    bool Flag(const PersistedKey& k) const { return host::ToBool(Of(k)).value_or(false); }
    std::wstring Text(const PersistedKey& k) const { return host::ToText(Of(k)).value_or(std::wstring()); }
    host::Color Color(const PersistedKey& k) const { return host::ToColor(Of(k)).value_or(0); }
    host::FontDesc Font(const PersistedKey& k) const {
        return host::ToFont(Of(k)).value_or(host::FontDesc{});
    }

private:
    const host::AmbientProperties ambient_;
};

// One key read into one target: the stored value, or the key's default,
// converted to the target's type; a value that does not convert leaves the
// target alone. Reading from an empty bag gives every target its default.
class BagReader {
public:
    BagReader(const PropertyBag& bag, const Defaults& defaults) : bag_(bag), defaults_(defaults) {}

    void Int32(const PersistedKey& k, std::int32_t& target) const {
        Int32(k, [&target](std::int32_t v) { target = v; });
    }
    void Flag(const PersistedKey& k, bool& target) const {
        Flag(k, [&target](bool v) { target = v; });
    }
    void Text(const PersistedKey& k, std::wstring& target) const {
        Text(k, [&target](const std::wstring& v) { target = v; });
    }
    template <class Apply> void Int32(const PersistedKey& k, Apply apply) const {
        if (const auto v = host::ToInt32(Stored(k)))
            apply(*v);
    }
    template <class Apply> void Int16(const PersistedKey& k, Apply apply) const {
        if (const auto v = host::ToInt16(Stored(k)))
            apply(*v);
    }
    template <class Apply> void Flag(const PersistedKey& k, Apply apply) const {
        if (const auto v = host::ToBool(Stored(k)))
            apply(*v);
    }
    template <class Apply> void Text(const PersistedKey& k, Apply apply) const {
        if (const auto v = host::ToText(Stored(k)))
            apply(*v);
    }
    template <class Apply> void Color(const PersistedKey& k, Apply apply) const {
        if (const auto v = host::ToColor(Stored(k)))
            apply(*v);
    }
    template <class Apply> void Font(const PersistedKey& k, Apply apply) const {
        if (const auto v = host::ToFont(Stored(k)))
            apply(*v);
    }
    template <class Apply> void Picture(const PersistedKey& k, Apply apply) const {
        if (const auto v = host::ToPicture(Stored(k)))
            apply(host::Picture::FromBitmapFile(v->bitmapFile));
    }

private:
    PropertyValue Stored(const PersistedKey& k) const { return bag_.ReadProperty(k.name, defaults_.Of(k)); }

    const PropertyBag& bag_;
    const Defaults& defaults_;
};

// One key written: nothing is stored when the value equals the key's default.
class BagWriter {
public:
    BagWriter(PropertyBag& bag, const Defaults& defaults) : bag_(bag), defaults_(defaults) {}

    void Value(const PersistedKey& k, const PropertyValue& v) {
        bag_.WriteProperty(k.name, v, defaults_.Of(k));
    }
    void Color(const PersistedKey& k, host::Color c) { Value(k, host::ColorValue{c}); }
    void Picture(const PersistedKey& k, const host::Picture& p) {
        Value(k, host::PictureData{p.ToBitmapFile()});
    }
    // A font is an object of each child, never the ambient font itself, so a
    // font always differs from its default and is always stored.
    void Font(const PersistedKey& k, const host::FontDesc& f) { bag_.Put(k.name, f); }

private:
    PropertyBag& bag_;
    const Defaults& defaults_;
};

std::wstring WithoutTrailingBlanks(std::wstring text) {
    text.erase(text.find_last_not_of(L' ') + 1);
    return text;
}

// The children whose settings a new instance takes from the keys' defaults
// and a stored one from the same keys, in the same order.

void ReadTextBoxKeys(host::TextBox& box, const BagReader& read) {
    read.Text(key::Text, [&](const std::wstring& v) { box.setText(v); });
    read.Color(key::TextForeColor, [&](host::Color v) { box.setForeColor(v); });
    read.Color(key::TextBackColor, [&](host::Color v) { box.setBackColor(v); });
    read.Font(key::Font, [&](const host::FontDesc& v) { box.setFont(v); });
    read.Flag(key::Locked, [&](bool v) { box.setLocked(v); });
    read.Text(key::PasswordChar, [&](const std::wstring& v) { box.setPasswordChar(v); });
    read.Int32(key::MaxLength, [&](std::int32_t v) { box.setMaxLength(v); });
    read.Flag(key::Enabled, [&](bool v) { box.setEnabled(v); });
    read.Text(key::TextToolTip, [&](const std::wstring& v) { box.setToolTip(v); });
}

void ReadDisplayKeys(host::Label& anz, const BagReader& read) {
    read.Text(key::Text, [&](const std::wstring& v) { anz.setCaption(v); });
    read.Color(key::TextForeColor, [&](host::Color v) { anz.setForeColor(v); });
    read.Color(key::TextBackColor, [&](host::Color v) { anz.setBackColor(v); });
    read.Font(key::Font, [&](const host::FontDesc& v) { anz.setFont(v); });
    read.Flag(key::Enabled, [&](bool v) { anz.setEnabled(v); });
    read.Text(key::TextToolTip, [&](const std::wstring& v) { anz.setToolTip(v); });
    read.Int32(key::Alignment, [&](std::int32_t v) { anz.setAlignment(v); });
    read.Flag(key::UseMnemonic, [&](bool v) { anz.setUseMnemonic(v); });
}

void ReadComboKeys(host::ComboBox& combo, const BagReader& read) {
    read.Color(key::TextForeColor, [&](host::Color v) { combo.setForeColor(v); });
    read.Color(key::TextBackColor, [&](host::Color v) { combo.setBackColor(v); });
    read.Font(key::Font, [&](const host::FontDesc& v) { combo.setFont(v); });
    read.Flag(key::Locked, [&](bool v) { combo.setLocked(v); });
    read.Flag(key::Enabled, [&](bool v) { combo.setEnabled(v); });
    read.Text(key::TextToolTip, [&](const std::wstring& v) { combo.setToolTip(v); });
}

void ReadButtonKeys(host::CommandButton& cmd, const BagReader& read) {
    read.Text(key::ButtonCaption, [&](const std::wstring& v) { cmd.setCaption(v); });
    read.Color(key::ButtonBackColor, [&](host::Color v) { cmd.setBackColor(v); });
    read.Font(key::ButtonFont, [&](const host::FontDesc& v) { cmd.setFont(v); });
    read.Flag(key::Enabled, [&](bool v) { cmd.setEnabled(v); });
    read.Color(key::ButtonMaskColor, [&](host::Color v) { cmd.setMaskColor(v); });
    read.Flag(key::ButtonUseMaskColor, [&](bool v) { cmd.setUseMaskColor(v); });
}

void ReadImageKeys(host::Image& img, const BagReader& read) {
    read.Flag(key::ShowImage, [&](bool v) { img.setVisible(v); });
    read.Picture(key::LinePicture, [&](const host::Picture& v) { img.setPicture(v); });
}

} // namespace

void VxLineIn::InitProperties() {
    const Defaults d(ambient());
    const PropertyBag none;
    const BagReader defaults(none, d);

    CurrentCombo = cmb0.get();
    // Not the bag's default: a new button is 384 twips wide.
    buttonWidth_ = lineinput::DefaultButtonWidth(host::TwipsPerPixelX());
    labelWidth_ = d.Int32(key::LabelWidth);
    fixedBlockWidth_ = d.Int32(key::FixedBlockWidth);
    controlDistance_ = d.Int32(key::ControlDistance);
    topDistance_ = d.Int32(key::TopDistance);
    dlgFileType_ = d.Text(key::DlgFileType);
    dlgFileExtension_ = d.Text(key::DlgFileExtension);
    dlgOpenCaption_ = d.Text(key::DlgOpenCaption);
    dlgSaveCaption_ = d.Text(key::DlgSaveCaption);
    dlgPathCaption_ = d.Text(key::DlgPathCaption);
    buttonShow_ = d.Flag(key::ButtonShow);
    textBoxStyle_ = d.Int32(key::TextBoxStyle);
    textMask_ = d.Text(key::TextMask);
    controlStyle_ = d.Int32(key::ControlStyle);
    grey_ = d.Flag(key::GreyControl);
    commandStyle_ = d.Int32(key::CommandStyle);
    pictureType_ = d.Int32(key::PictureType);
    autoAmbientChanges_ = d.Flag(key::AutoAmbientChanges);
    defaultFilename_ = d.Text(key::DefaultFilename);
    appendOleDDFiles_ = d.Flag(key::AppendOleDDFiles);
    allowDDMultiFiles_ = d.Flag(key::AllowDDMultiFiles);

    lbl->setToolTip(d.Text(key::LabelToolTip));
    chk->setToolTip(d.Text(key::LabelToolTip));
    cmd->setToolTip(d.Text(key::ButtonToolTip));

    lbl->setCaption(d.Text(key::Caption));
    lbl->setForeColor(d.Color(key::LabelForeColor));
    chk->setForeColor(d.Color(key::LabelForeColor));
    lbl->setFont(d.Font(key::LabelFont));
    lbl->setEnabled(d.Flag(key::Enabled));
    lbl->setAlignment(0); // left: the bag's default is no alignment
    lbl->setBackColor(d.Color(key::BackColor));

    checkboxShow_ = d.Flag(key::CheckboxShow);
    SetValue(d.Flag(key::Value));

    chk->setBackColor(d.Color(key::BackColor));
    chk->setFont(d.Font(key::LabelFont));
    chk->setCaption(d.Text(key::Caption));

    textForeColor_ = d.Color(key::TextForeColor);
    textBackColor_ = d.Color(key::TextBackColor);
    buttonClickOnEnter_ = d.Flag(key::ButtonClickOnEnter);

    ReadTextBoxKeys(*txt, defaults);
    ReadTextBoxKeys(*txi, defaults);
    con->setBackColor(d.Color(key::TextBackColor));
    ReadTextBoxKeys(*mem, defaults);
    ReadDisplayKeys(*anz, defaults);
    ReadComboKeys(*cmb0, defaults);
    ReadComboKeys(*cmb2, defaults);

    comboLines_ = d.Int32(key::ComboLines);

    ReadButtonKeys(*cmd, defaults);

    setBackColor(d.Color(key::BackColor));
    setForeColor(d.Color(key::ForeColor));

    enabled_ = d.Flag(key::Enabled);
    ctlUseLng_ = d.Int32(key::CTLUseLng);
    comboStyle_ = d.Int32(key::ComboStyle);
    buttonPicture_ = host::Picture();
    dlgFolderStyle_ = d.Int32(key::DlgFolderStyle);
    dlgFolderNamesAsis_ = d.Flag(key::DlgFolderNamesAsis);
    leftOffset_ = d.Int32(key::LeftOffset);

    ReadImageKeys(*img, defaults);

    ReparentForStyle();
    SelectComboStyle();
    ApplyComboLines();
    ApplyEnabled();
}

// --- the property bag ---------------------------------------------------------------------

void VxLineIn::ReadProperties(const host::PropertyBag& bag) {
    const Defaults d(ambient());
    const BagReader read(bag, d);

    read.Int32(key::ButtonWidth, buttonWidth_);
    read.Int32(key::LabelWidth, labelWidth_);
    read.Int32(key::FixedBlockWidth, fixedBlockWidth_);
    read.Int32(key::ControlDistance, controlDistance_);
    read.Int32(key::TopDistance, topDistance_);
    read.Text(key::DlgFileType, dlgFileType_);
    read.Text(key::DlgFileExtension, dlgFileExtension_);
    read.Text(key::DlgOpenCaption, dlgOpenCaption_);
    read.Text(key::DlgSaveCaption, dlgSaveCaption_);
    read.Text(key::DlgPathCaption, dlgPathCaption_);
    read.Flag(key::ButtonShow, buttonShow_);
    read.Int32(key::TextBoxStyle, textBoxStyle_);
    read.Text(key::TextMask, textMask_); // as stored: an empty mask stays empty
    read.Int32(key::ControlStyle, controlStyle_);
    read.Flag(key::GreyControl, grey_);
    read.Int32(key::CommandStyle, commandStyle_);
    read.Int32(key::PictureType, pictureType_);
    read.Flag(key::AutoAmbientChanges, autoAmbientChanges_);
    read.Text(key::DefaultFilename, defaultFilename_);
    read.Flag(key::AppendOleDDFiles, appendOleDDFiles_);
    read.Flag(key::AllowDDMultiFiles, allowDDMultiFiles_);

    read.Text(key::Caption, [&](const std::wstring& v) { lbl->setCaption(WithoutTrailingBlanks(v)); });
    read.Color(key::LabelForeColor, [&](host::Color v) { lbl->setForeColor(v); });
    read.Color(key::BackColor, [&](host::Color v) { lbl->setBackColor(v); });
    read.Color(key::LabelForeColor, [&](host::Color v) { chk->setForeColor(v); });
    read.Font(key::LabelFont, [&](const host::FontDesc& v) { lbl->setFont(v); });
    read.Flag(key::Enabled, [&](bool v) { lbl->setEnabled(v); });
    read.Int16(key::LabelAlignment, [&](std::int16_t v) { lbl->setAlignment(v); });
    read.Text(key::LabelToolTip, [&](const std::wstring& v) { lbl->setToolTip(v); });
    read.Text(key::LabelToolTip, [&](const std::wstring& v) { chk->setToolTip(v); });
    read.Flag(key::CheckboxShow, checkboxShow_);
    read.Flag(key::Value, [&](bool v) { SetValue(v); });
    read.Color(key::BackColor, [&](host::Color v) { chk->setBackColor(v); });
    read.Font(key::LabelFont, [&](const host::FontDesc& v) { chk->setFont(v); });
    read.Text(key::Caption, [&](const std::wstring& v) { chk->setCaption(v); });
    read.Color(key::TextForeColor, [&](host::Color v) { textForeColor_ = v; });
    read.Color(key::TextBackColor, [&](host::Color v) { textBackColor_ = v; });
    read.Flag(key::ButtonClickOnEnter, buttonClickOnEnter_);

    ReadTextBoxKeys(*txt, read);
    ReadTextBoxKeys(*txi, read);
    read.Color(key::TextBackColor, [&](host::Color v) { con->setBackColor(v); });
    ReadTextBoxKeys(*mem, read);
    ReadDisplayKeys(*anz, read);
    ReadComboKeys(*cmb0, read);
    ReadComboKeys(*cmb2, read);

    ReadButtonKeys(*cmd, read);
    read.Color(key::BackColor, [&](host::Color v) { setBackColor(v); });
    read.Color(key::ForeColor, [&](host::Color v) { setForeColor(v); });
    read.Flag(key::Enabled, enabled_);
    read.Int32(key::CTLUseLng, ctlUseLng_);
    read.Text(key::ButtonToolTip, [&](const std::wstring& v) { cmd->setToolTip(v); });
    read.Picture(key::ButtonPicture, [&](const host::Picture& v) { buttonPicture_ = v; });
    read.Int32(key::DlgFolderStyle, dlgFolderStyle_);
    read.Flag(key::DlgFolderNamesAsis, dlgFolderNamesAsis_);
    read.Int32(key::ComboLines, comboLines_);
    read.Int32(key::ComboStyle, comboStyle_);
    read.Int32(key::LeftOffset, leftOffset_);
    ReadImageKeys(*img, read);

    ReparentForStyle();
    SelectComboStyle();
    ApplyComboLines();
    ApplyEnabled();
}

void VxLineIn::WriteProperties(host::PropertyBag& bag) const {
    const Defaults d(ambient());
    BagWriter write(bag, d);

    write.Value(key::ButtonWidth, buttonWidth_);
    write.Value(key::LabelWidth, labelWidth_);
    write.Value(key::FixedBlockWidth, fixedBlockWidth_);
    write.Value(key::ControlDistance, controlDistance_);
    write.Value(key::TopDistance, topDistance_);
    write.Value(key::DlgFileType, dlgFileType_);
    write.Value(key::DlgFileExtension, dlgFileExtension_);
    write.Value(key::DlgOpenCaption, dlgOpenCaption_);
    write.Value(key::DlgSaveCaption, dlgSaveCaption_);
    write.Value(key::DlgPathCaption, dlgPathCaption_);
    write.Value(key::ButtonShow, buttonShow_);
    write.Value(key::TextBoxStyle, textBoxStyle_);
    write.Value(key::TextMask, textMask_);
    write.Value(key::ControlStyle, controlStyle_);
    write.Value(key::GreyControl, grey_);
    write.Value(key::CommandStyle, commandStyle_);
    write.Value(key::PictureType, pictureType_);
    write.Value(key::AutoAmbientChanges, autoAmbientChanges_);
    write.Value(key::DefaultFilename, defaultFilename_);
    write.Value(key::AppendOleDDFiles, appendOleDDFiles_);
    write.Value(key::AllowDDMultiFiles, allowDDMultiFiles_);
    write.Value(key::Caption, WithoutTrailingBlanks(lbl->caption()));
    write.Color(key::LabelForeColor, lbl->foreColor());
    write.Font(key::LabelFont, lbl->font());
    write.Value(key::Enabled, enabled_);
    write.Value(key::LabelAlignment, static_cast<std::int16_t>(lbl->alignment()));
    write.Value(key::LabelToolTip, lbl->toolTip());
    write.Value(key::CheckboxShow, checkboxShow_);
    write.Value(key::Value, chk->value() != 0);
    write.Value(key::ButtonClickOnEnter, buttonClickOnEnter_);
    write.Value(key::DlgFolderNamesAsis, dlgFolderNamesAsis_);
    write.Value(key::Text, txt->text());
    write.Color(key::TextForeColor, textForeColor_);
    write.Color(key::TextBackColor, textBackColor_);
    write.Font(key::Font, txt->font());
    write.Value(key::Locked, txt->locked());
    write.Value(key::PasswordChar, txt->passwordChar());
    write.Value(key::MaxLength, std::int32_t{txt->maxLength()});
    write.Value(key::TextToolTip, txt->toolTip());
    write.Value(key::Alignment, static_cast<std::int16_t>(anz->alignment()));
    write.Value(key::UseMnemonic, anz->useMnemonic());
    write.Value(key::CTLUseLng, ctlUseLng_);
    write.Value(key::ButtonCaption, cmd->caption());
    write.Color(key::ButtonBackColor, cmd->backColor());
    write.Font(key::ButtonFont, cmd->font());
    write.Color(key::ButtonMaskColor, cmd->maskColor());
    write.Value(key::ButtonUseMaskColor, cmd->useMaskColor());
    write.Color(key::BackColor, backColor());
    write.Color(key::ForeColor, foreColor());
    write.Value(key::ButtonToolTip, cmd->toolTip());
    write.Picture(key::ButtonPicture, buttonPicture_);
    write.Value(key::ComboLines, comboLines_);
    write.Value(key::ComboStyle, comboStyle_);
    write.Value(key::LeftOffset, leftOffset_);
    write.Value(key::ShowImage, img->visible());
    write.Picture(key::LinePicture, img->picture());
    write.Value(key::DlgFolderStyle, dlgFolderStyle_);
}
