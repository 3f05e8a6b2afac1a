// The input line's design-time state: initialisation of a newly placed
// control, and reading and writing the state in the host's property bag,
// key by key in a fixed order.
#include "VxLineIn.h"

#include "LineLayout.h"
#include "Screen.h"

#include <string>

namespace {

using host::PropertyBag;
using host::PropertyValue;

// One key read into one target: the stored value, or def, converted to the
// target's type; a value that does not convert leaves the target alone.
class BagReader {
public:
    BagReader(const PropertyBag& bag, const host::AmbientProperties& ambient)
        : bag_(bag), ambient_(ambient) {}

    void Int32(const wchar_t* key, std::int16_t def, std::int32_t& target) const {
        if (const auto v = host::ToInt32(bag_.ReadProperty(key, def)))
            target = *v;
    }
    void Flag(const wchar_t* key, bool def, bool& target) const {
        if (const auto v = host::ToBool(bag_.ReadProperty(key, def)))
            target = *v;
    }
    void Text(const wchar_t* key, const std::wstring& def, std::wstring& target) const {
        if (auto v = host::ToText(bag_.ReadProperty(key, def)))
            target = std::move(*v);
    }
    template <class Apply> void Int32(const wchar_t* key, std::int16_t def, Apply apply) const {
        if (const auto v = host::ToInt32(bag_.ReadProperty(key, def)))
            apply(*v);
    }
    template <class Apply> void Flag(const wchar_t* key, bool def, Apply apply) const {
        if (const auto v = host::ToBool(bag_.ReadProperty(key, def)))
            apply(*v);
    }
    template <class Apply> void Text(const wchar_t* key, const std::wstring& def, Apply apply) const {
        if (const auto v = host::ToText(bag_.ReadProperty(key, def)))
            apply(*v);
    }
    template <class Apply> void Color(const wchar_t* key, host::Color def, Apply apply) const {
        if (const auto v = host::ToColor(bag_.ReadProperty(key, host::ColorValue{def})))
            apply(*v);
    }
    template <class Apply> void Font(const wchar_t* key, Apply apply) const {
        if (const auto v = host::ToFont(bag_.ReadProperty(key, ambient_.font)))
            apply(*v);
    }
    template <class Apply> void Picture(const wchar_t* key, Apply apply) const {
        if (const auto v = host::ToPicture(bag_.ReadProperty(key, host::PictureData{})))
            apply(host::Picture::FromBitmapFile(v->bitmapFile));
    }
    host::Color AmbientFore() const { return ambient_.foreColor; }
    host::Color AmbientBack() const { return ambient_.backColor; }

private:
    const PropertyBag& bag_;
    const host::AmbientProperties& ambient_;
};

std::wstring WithoutTrailingBlanks(std::wstring text) {
    text.erase(text.find_last_not_of(L' ') + 1);
    return text;
}

const std::wstring kDefaultCaption = L"Label : ";
const std::wstring kDefaultOpenCaption = L"Datei \u00f6ffnen : ";
const std::wstring kDefaultSaveCaption = L"Datei speichern : ";
const std::wstring kDefaultPathCaption = L"W\u00e4hlen Sie ein Verzeichnis : ";

} // namespace

void VxLineIn::InitProperties() {
    const host::AmbientProperties a = ambient();

    CurrentCombo = cmb0.get();
    buttonWidth_ = lineinput::DefaultButtonWidth(host::TwipsPerPixelX());
    labelWidth_ = 125;
    fixedBlockWidth_ = 0;
    controlDistance_ = 4;
    topDistance_ = 2;
    dlgFileType_ = L"Textdatei";
    dlgFileExtension_ = L"txt";
    dlgOpenCaption_ = kDefaultOpenCaption;
    dlgSaveCaption_ = kDefaultSaveCaption;
    dlgPathCaption_ = kDefaultPathCaption;
    buttonShow_ = true;
    textBoxStyle_ = 0;
    textMask_ = L"*";
    controlStyle_ = 0;
    grey_ = false;
    commandStyle_ = 0;
    pictureType_ = 0;
    autoAmbientChanges_ = true;
    defaultFilename_.clear();
    appendOleDDFiles_ = false;
    allowDDMultiFiles_ = false;

    lbl->setToolTip(L"");
    chk->setToolTip(L"");
    cmd->setToolTip(L"");

    lbl->setCaption(kDefaultCaption);
    lbl->setForeColor(a.foreColor);
    chk->setForeColor(a.foreColor);
    lbl->setFont(a.font);
    lbl->setEnabled(true);
    lbl->setAlignment(0);
    lbl->setBackColor(a.backColor);

    checkboxShow_ = false;
    SetValue(true);

    chk->setBackColor(a.backColor);
    chk->setFont(a.font);
    chk->setCaption(kDefaultCaption);

    textForeColor_ = a.foreColor;
    textBackColor_ = host::kColorWindow;
    buttonClickOnEnter_ = false;

    for (host::TextBox* box : {txt.get(), txi.get(), mem.get()}) {
        if (box == mem.get())
            con->setBackColor(host::kColorWindow);
        box->setText(L"");
        box->setForeColor(a.foreColor);
        box->setBackColor(host::kColorWindow);
        box->setFont(a.font);
        box->setLocked(false);
        box->setPasswordChar(L"");
        box->setMaxLength(0);
        box->setEnabled(true);
        box->setToolTip(L"");
    }

    anz->setCaption(L"");
    anz->setForeColor(a.foreColor);
    anz->setBackColor(host::kColorWindow);
    anz->setFont(a.font);
    anz->setEnabled(true);
    anz->setToolTip(L"");
    anz->setAlignment(0);
    anz->setUseMnemonic(false);

    for (host::ComboBox* combo : {cmb0.get(), cmb2.get()}) {
        combo->setForeColor(a.foreColor);
        combo->setBackColor(host::kColorWindow);
        combo->setFont(a.font);
        combo->setLocked(false);
        combo->setEnabled(true);
        combo->setToolTip(L"");
    }

    comboLines_ = 8;

    cmd->setCaption(L"");
    cmd->setBackColor(a.backColor);
    cmd->setFont(a.font);
    cmd->setEnabled(true);
    cmd->setMaskColor(0xC0C0C0);
    cmd->setUseMaskColor(true);

    setBackColor(a.backColor);
    setForeColor(a.foreColor);

    enabled_ = true;
    ctlUseLng_ = 0;
    comboStyle_ = 2;
    buttonPicture_ = host::Picture();
    dlgFolderStyle_ = 1;
    dlgFolderNamesAsis_ = false;
    leftOffset_ = 0;

    img->setVisible(false);
    img->setPicture(host::Picture());

    ReparentForStyle();
    SelectComboStyle();
    ApplyComboLines();
    ApplyEnabled();
}

// --- the property bag ---------------------------------------------------------------------

void VxLineIn::ReadProperties(const host::PropertyBag& bag) {
    const host::AmbientProperties a = ambient();
    const BagReader read(bag, a);

    read.Int32(L"ButtonWidth", 32, buttonWidth_);
    read.Int32(L"LabelWidth", 125, labelWidth_);
    read.Int32(L"FixedBlockWidth", 0, fixedBlockWidth_);
    read.Int32(L"ControlDistance", 4, controlDistance_);
    read.Int32(L"TopDistance", 2, topDistance_);
    read.Text(L"DlgFileType", L"Textdatei", dlgFileType_);
    read.Text(L"DlgFileExtension", L"txt", dlgFileExtension_);
    read.Text(L"DlgOpenCaption", kDefaultOpenCaption, dlgOpenCaption_);
    read.Text(L"DlgSaveCaption", kDefaultSaveCaption, dlgSaveCaption_);
    read.Text(L"DlgPathCaption", kDefaultPathCaption, dlgPathCaption_);
    read.Flag(L"ButtonShow", true, buttonShow_);
    read.Int32(L"TextBoxStyle", 0, textBoxStyle_);
    read.Text(L"TextMask", L"*", textMask_); // as stored: an empty mask stays empty
    read.Int32(L"ControlStyle", 0, controlStyle_);
    read.Flag(L"GreyControl", false, grey_);
    read.Int32(L"CommandStyle", 0, commandStyle_);
    read.Int32(L"PictureType", 0, pictureType_);
    read.Flag(L"AutoAmbientChanges", true, autoAmbientChanges_);
    read.Text(L"DefaultFilename", L"", defaultFilename_);
    read.Flag(L"AppendOleDDFiles", false, appendOleDDFiles_);
    read.Flag(L"AllowDDMultiFiles", false, allowDDMultiFiles_);

    read.Text(L"Caption", kDefaultCaption,
              [&](const std::wstring& v) { lbl->setCaption(WithoutTrailingBlanks(v)); });
    read.Color(L"LabelForeColor", a.foreColor, [&](host::Color v) { lbl->setForeColor(v); });
    read.Color(L"BackColor", a.backColor, [&](host::Color v) { lbl->setBackColor(v); });
    read.Color(L"LabelForeColor", a.foreColor, [&](host::Color v) { chk->setForeColor(v); });
    read.Font(L"LabelFont", [&](const host::FontDesc& v) { lbl->setFont(v); });
    read.Flag(L"Enabled", true, [&](bool v) { lbl->setEnabled(v); });
    // The default is the empty text, which is no number: a missing key
    // leaves the caption's alignment as it is.
    if (const auto v = host::ToInt16(bag.ReadProperty(L"LabelAlignment", std::wstring())))
        lbl->setAlignment(*v);
    read.Text(L"LabelToolTip", L"", [&](const std::wstring& v) { lbl->setToolTip(v); });
    read.Text(L"LabelToolTip", L"", [&](const std::wstring& v) { chk->setToolTip(v); });
    read.Flag(L"CheckboxShow", false, checkboxShow_);
    read.Flag(L"Value", true, [&](bool v) { SetValue(v); });
    read.Color(L"BackColor", a.backColor, [&](host::Color v) { chk->setBackColor(v); });
    read.Font(L"LabelFont", [&](const host::FontDesc& v) { chk->setFont(v); });
    read.Text(L"Caption", kDefaultCaption, [&](const std::wstring& v) { chk->setCaption(v); });
    read.Color(L"TextForeColor", a.foreColor, [&](host::Color v) { textForeColor_ = v; });
    read.Color(L"TextBackColor", host::kColorWindow, [&](host::Color v) { textBackColor_ = v; });
    read.Flag(L"ButtonClickOnEnter", false, buttonClickOnEnter_);

    const auto readTextBox = [&](host::TextBox& box) {
        read.Text(L"Text", L"", [&](const std::wstring& v) { box.setText(v); });
        read.Color(L"TextForeColor", a.foreColor, [&](host::Color v) { box.setForeColor(v); });
        read.Color(L"TextBackColor", host::kColorWindow, [&](host::Color v) { box.setBackColor(v); });
        read.Font(L"Font", [&](const host::FontDesc& v) { box.setFont(v); });
        read.Flag(L"Locked", false, [&](bool v) { box.setLocked(v); });
        read.Text(L"PasswordChar", L"", [&](const std::wstring& v) { box.setPasswordChar(v); });
        read.Int32(L"MaxLength", 0, [&](std::int32_t v) { box.setMaxLength(v); });
        read.Flag(L"Enabled", true, [&](bool v) { box.setEnabled(v); });
        read.Text(L"TextToolTip", L"", [&](const std::wstring& v) { box.setToolTip(v); });
    };
    readTextBox(*txt);
    readTextBox(*txi);
    read.Color(L"TextBackColor", host::kColorWindow, [&](host::Color v) { con->setBackColor(v); });
    readTextBox(*mem);

    read.Text(L"Text", L"", [&](const std::wstring& v) { anz->setCaption(v); });
    read.Color(L"TextForeColor", a.foreColor, [&](host::Color v) { anz->setForeColor(v); });
    read.Color(L"TextBackColor", host::kColorWindow, [&](host::Color v) { anz->setBackColor(v); });
    read.Font(L"Font", [&](const host::FontDesc& v) { anz->setFont(v); });
    read.Flag(L"Enabled", true, [&](bool v) { anz->setEnabled(v); });
    read.Text(L"TextToolTip", L"", [&](const std::wstring& v) { anz->setToolTip(v); });
    read.Int32(L"Alignment", 0, [&](std::int32_t v) { anz->setAlignment(v); });
    read.Flag(L"UseMnemonic", false, [&](bool v) { anz->setUseMnemonic(v); });

    for (host::ComboBox* combo : {cmb0.get(), cmb2.get()}) {
        read.Color(L"TextForeColor", a.foreColor, [&](host::Color v) { combo->setForeColor(v); });
        read.Color(L"TextBackColor", host::kColorWindow, [&](host::Color v) { combo->setBackColor(v); });
        read.Font(L"Font", [&](const host::FontDesc& v) { combo->setFont(v); });
        read.Flag(L"Locked", false, [&](bool v) { combo->setLocked(v); });
        read.Flag(L"Enabled", true, [&](bool v) { combo->setEnabled(v); });
        read.Text(L"TextToolTip", L"", [&](const std::wstring& v) { combo->setToolTip(v); });
    }

    read.Text(L"ButtonCaption", L"", [&](const std::wstring& v) { cmd->setCaption(v); });
    read.Color(L"ButtonBackColor", a.backColor, [&](host::Color v) { cmd->setBackColor(v); });
    read.Font(L"ButtonFont", [&](const host::FontDesc& v) { cmd->setFont(v); });
    read.Flag(L"Enabled", true, [&](bool v) { cmd->setEnabled(v); });
    if (const auto v = host::ToColor(bag.ReadProperty(L"ButtonMaskColor", std::int32_t{0xC0C0C0})))
        cmd->setMaskColor(*v);
    read.Flag(L"ButtonUseMaskColor", true, [&](bool v) { cmd->setUseMaskColor(v); });
    read.Color(L"BackColor", a.backColor, [&](host::Color v) { setBackColor(v); });
    read.Color(L"ForeColor", a.foreColor, [&](host::Color v) { setForeColor(v); });
    read.Flag(L"Enabled", true, enabled_);
    read.Int32(L"CTLUseLng", 0, ctlUseLng_);
    read.Text(L"ButtonToolTip", L"", [&](const std::wstring& v) { cmd->setToolTip(v); });
    read.Picture(L"ButtonPicture", [&](const host::Picture& v) { buttonPicture_ = v; });
    read.Int32(L"DlgFolderStyle", 1, dlgFolderStyle_);
    read.Flag(L"DlgFolderNamesAsis", false, dlgFolderNamesAsis_);
    read.Int32(L"ComboLines", 8, comboLines_);
    read.Int32(L"ComboStyle", 2, comboStyle_);
    read.Int32(L"LeftOffset", 0, leftOffset_);
    read.Flag(L"ShowImage", false, [&](bool v) { img->setVisible(v); });
    read.Picture(L"LinePicture", [&](const host::Picture& v) { img->setPicture(v); });

    ReparentForStyle();
    SelectComboStyle();
    ApplyComboLines();
    ApplyEnabled();
}

void VxLineIn::WriteProperties(host::PropertyBag& bag) const {
    const host::AmbientProperties a = ambient();
    const auto color = [](host::Color c) { return host::ColorValue{c}; };
    const auto picture = [](const host::Picture& p) { return host::PictureData{p.ToBitmapFile()}; };
    // A font is an object of each child, never the ambient font itself, so a
    // font always differs from its default and is always stored.
    const auto font = [&bag](const wchar_t* key, const host::FontDesc& f) { bag.Put(key, f); };

    bag.WriteProperty(L"ButtonWidth", buttonWidth_, std::int16_t{32});
    bag.WriteProperty(L"LabelWidth", labelWidth_, std::int16_t{125});
    bag.WriteProperty(L"FixedBlockWidth", fixedBlockWidth_, std::int16_t{0});
    bag.WriteProperty(L"ControlDistance", controlDistance_, std::int16_t{4});
    bag.WriteProperty(L"TopDistance", topDistance_, std::int16_t{2});
    bag.WriteProperty(L"DlgFileType", dlgFileType_, std::wstring(L"Textdatei"));
    bag.WriteProperty(L"DlgFileExtension", dlgFileExtension_, std::wstring(L"txt"));
    bag.WriteProperty(L"DlgOpenCaption", dlgOpenCaption_, kDefaultOpenCaption);
    bag.WriteProperty(L"DlgSaveCaption", dlgSaveCaption_, kDefaultSaveCaption);
    bag.WriteProperty(L"DlgPathCaption", dlgPathCaption_, kDefaultPathCaption);
    bag.WriteProperty(L"ButtonShow", buttonShow_, true);
    bag.WriteProperty(L"TextBoxStyle", textBoxStyle_, std::int16_t{0});
    bag.WriteProperty(L"TextMask", textMask_, std::wstring(L"*"));
    bag.WriteProperty(L"ControlStyle", controlStyle_, std::int16_t{0});
    bag.WriteProperty(L"GreyControl", grey_, false);
    bag.WriteProperty(L"CommandStyle", commandStyle_, std::int16_t{0});
    bag.WriteProperty(L"PictureType", pictureType_, std::int16_t{0});
    bag.WriteProperty(L"AutoAmbientChanges", autoAmbientChanges_, true);
    bag.WriteProperty(L"DefaultFilename", defaultFilename_, std::wstring());
    bag.WriteProperty(L"AppendOleDDFiles", appendOleDDFiles_, false);
    bag.WriteProperty(L"AllowDDMultiFiles", allowDDMultiFiles_, false);
    bag.WriteProperty(L"Caption", WithoutTrailingBlanks(lbl->caption()), kDefaultCaption);
    bag.WriteProperty(L"LabelForeColor", color(lbl->foreColor()), color(a.foreColor));
    font(L"LabelFont", lbl->font());
    bag.WriteProperty(L"Enabled", enabled_, true);
    // An integer never equals the empty text: the key is always stored.
    bag.WriteProperty(L"LabelAlignment", static_cast<std::int16_t>(lbl->alignment()), std::wstring());
    bag.WriteProperty(L"LabelToolTip", lbl->toolTip(), std::wstring());
    bag.WriteProperty(L"CheckboxShow", checkboxShow_, false);
    bag.WriteProperty(L"Value", chk->value() != 0, true);
    bag.WriteProperty(L"ButtonClickOnEnter", buttonClickOnEnter_, false);
    bag.WriteProperty(L"DlgFolderNamesAsis", dlgFolderNamesAsis_, false);
    bag.WriteProperty(L"Text", txt->text(), std::wstring());
    bag.WriteProperty(L"TextForeColor", color(textForeColor_), color(a.foreColor));
    bag.WriteProperty(L"TextBackColor", color(textBackColor_), color(host::kColorWindow));
    font(L"Font", txt->font());
    bag.WriteProperty(L"Locked", txt->locked(), false);
    bag.WriteProperty(L"PasswordChar", txt->passwordChar(), std::wstring());
    bag.WriteProperty(L"MaxLength", std::int32_t{txt->maxLength()}, std::int16_t{0});
    bag.WriteProperty(L"TextToolTip", txt->toolTip(), std::wstring());
    bag.WriteProperty(L"Alignment", static_cast<std::int16_t>(anz->alignment()), std::int16_t{0});
    bag.WriteProperty(L"UseMnemonic", anz->useMnemonic(), false);
    bag.WriteProperty(L"CTLUseLng", ctlUseLng_, std::int16_t{0});
    bag.WriteProperty(L"ButtonCaption", cmd->caption(), std::wstring());
    bag.WriteProperty(L"ButtonBackColor", color(cmd->backColor()), color(a.backColor));
    font(L"ButtonFont", cmd->font());
    bag.WriteProperty(L"ButtonMaskColor", color(cmd->maskColor()), std::int32_t{0xC0C0C0});
    bag.WriteProperty(L"ButtonUseMaskColor", cmd->useMaskColor(), true);
    bag.WriteProperty(L"BackColor", color(backColor()), color(a.backColor));
    bag.WriteProperty(L"ForeColor", color(foreColor()), color(a.foreColor));
    bag.WriteProperty(L"ButtonToolTip", cmd->toolTip(), std::wstring());
    bag.WriteProperty(L"ButtonPicture", picture(buttonPicture_), host::PictureData{});
    bag.WriteProperty(L"ComboLines", comboLines_, std::int16_t{8});
    bag.WriteProperty(L"ComboStyle", comboStyle_, std::int16_t{2});
    bag.WriteProperty(L"LeftOffset", leftOffset_, std::int16_t{0});
    bag.WriteProperty(L"ShowImage", img->visible(), false);
    bag.WriteProperty(L"LinePicture", picture(img->picture()), host::PictureData{});
    bag.WriteProperty(L"DlgFolderStyle", dlgFolderStyle_, std::int16_t{1});
}
