// The input line's design-time state: initialisation of a newly placed
// control, and reading and writing the state in the host's property bag.
// Each persisted key is one row of the table below: its default in the bag,
// the value written (of the type stored) and every target it is read into,
// each at its place in the order of reading. The rows stand in the order of
// writing.
#include "VxLineIn.h"

#include "LineLayout.h"
#include "PersistedKeys.h"
#include "Screen.h"

#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>
#include <variant>

namespace lineinput {

// A key's default in the bag: a key the bag lacks reads as it, and a value
// equal to it is not written. An ambient default is the host's value at the
// time of the call.
struct BagDefault {
    enum class Ambient { None, BackColor, ForeColor, Font };

    BagDefault(Ambient a) : ambient(a) {}
    BagDefault(const wchar_t* text) : fixed(std::wstring(text)) {}
    template <class T> BagDefault(T value) : fixed(std::move(value)) {}

    host::PropertyValue Of(const host::AmbientProperties& a) const {
        switch (ambient) {
        case Ambient::BackColor:
            return host::ColorValue{a.backColor};
        case Ambient::ForeColor:
            return host::ColorValue{a.foreColor};
        case Ambient::Font:
            return a.font;
        case Ambient::None:
            break;
        }
        return fixed;
    }

    host::PropertyValue fixed;
    Ambient ambient = Ambient::None;
};

// One target of a key: the stored value (or the default) goes there when it
// converts to the target's type, and is skipped otherwise.
struct ReadStep {
    int position; // in the order of reading, from 1
    std::function<void(VxLineIn&, const host::PropertyValue&)> apply;
};

struct PersistedProperty {
    const wchar_t* key;
    BagDefault bagDefault;
    std::function<host::PropertyValue(const VxLineIn&)> written;
    std::vector<ReadStep> readInto;
};

} // namespace lineinput

namespace {

using host::PropertyValue;
using lineinput::PersistedProperty;
using lineinput::ReadStep;
using Ambient = lineinput::BagDefault::Ambient;
namespace key = lineinput::key;

// The bag's form of a value of each type the control writes.
PropertyValue InBag(std::int32_t v) {
    return v;
}
PropertyValue InBag(std::int16_t v) {
    return v;
}
PropertyValue InBag(bool v) {
    return v;
}
PropertyValue InBag(const std::wstring& v) {
    return v;
}
PropertyValue InBag(host::Color v) {
    return host::ColorValue{v};
}
PropertyValue InBag(const host::FontDesc& v) {
    return v;
}
PropertyValue InBag(const host::Picture& v) {
    return host::PictureData{v.ToBitmapFile()};
}

// A stored value as a target of type T takes it; nothing when it does not
// convert.
template <class T> std::optional<T> FromBag(const PropertyValue& v);
template <> std::optional<std::int32_t> FromBag(const PropertyValue& v) {
    return host::ToInt32(v);
}
template <> std::optional<std::int16_t> FromBag(const PropertyValue& v) {
    return host::ToInt16(v);
}
template <> std::optional<bool> FromBag(const PropertyValue& v) {
    return host::ToBool(v);
}
template <> std::optional<std::wstring> FromBag(const PropertyValue& v) {
    return host::ToText(v);
}
template <> std::optional<host::Color> FromBag(const PropertyValue& v) {
    return host::ToColor(v);
}
template <> std::optional<host::FontDesc> FromBag(const PropertyValue& v) {
    return host::ToFont(v);
}
template <> std::optional<host::Picture> FromBag(const PropertyValue& v) {
    if (const auto data = host::ToPicture(v))
        return host::Picture::FromBitmapFile(data->bitmapFile);
    return std::nullopt;
}

// The value written, stored as type T.
template <class T, class Get> auto Written(Get get) {
    return [get](const VxLineIn& line) { return InBag(static_cast<T>(get(line))); };
}

// A target that takes a value of type T.
template <class T, class Set> ReadStep Into(int position, Set set) {
    return {position, [set](VxLineIn& line, const PropertyValue& stored) {
                if (const auto v = FromBag<T>(stored))
                    set(line, *v);
            }};
}

// A child's property as a target, of the type its setter takes.
template <class Child, class Result, class Base, class Arg>
ReadStep IntoChild(int position, std::unique_ptr<Child> VxLineIn::*child, Result (Base::*set)(Arg)) {
    using T = std::remove_cvref_t<Arg>;
    return Into<T>(position, [child, set](VxLineIn& line, const T& v) { ((*(line.*child)).*set)(v); });
}

// A key held in a field of the control, written from it and read into it.
template <class T>
PersistedProperty FieldRow(const wchar_t* name, lineinput::BagDefault bagDefault, T VxLineIn::*field,
                           int readPosition) {
    return {name,
            std::move(bagDefault),
            Written<T>([field](const VxLineIn& line) { return line.*field; }),
            {Into<T>(readPosition, [field](VxLineIn& line, const T& v) { line.*field = v; })}};
}

// The caption's default, which a new instance shows as it is.
constexpr wchar_t kCaption[] = L"Label : ";

std::wstring WithoutTrailingBlanks(std::wstring text) {
    text.erase(text.find_last_not_of(L' ') + 1);
    return text;
}

} // namespace

// One row per key, in the order of writing: the key, its default in the
// bag, the value written (its type is the type stored), and the targets it is
// read into, each with its place in the order of reading (each place once).
const std::vector<PersistedProperty>& VxLineIn::PersistedProperties() {
    using host::ComboBox;
    using host::Control;
    using host::Label;
    using host::TextBox;
    using L = VxLineIn;
    static const std::vector<PersistedProperty> table{
        FieldRow(key::ButtonWidth, std::int16_t{32}, &L::buttonWidth_, 1),
        FieldRow(key::LabelWidth, std::int16_t{125}, &L::labelWidth_, 2),
        FieldRow(key::FixedBlockWidth, std::int16_t{0}, &L::fixedBlockWidth_, 3),
        FieldRow(key::ControlDistance, std::int16_t{4}, &L::controlDistance_, 4),
        FieldRow(key::TopDistance, std::int16_t{2}, &L::topDistance_, 5),
        FieldRow(key::DlgFileType, L"Textdatei", &L::dlgFileType_, 6),
        FieldRow(key::DlgFileExtension, L"txt", &L::dlgFileExtension_, 7),
        FieldRow(key::DlgOpenCaption, L"Datei \u00f6ffnen : ", &L::dlgOpenCaption_, 8),
        FieldRow(key::DlgSaveCaption, L"Datei speichern : ", &L::dlgSaveCaption_, 9),
        FieldRow(key::DlgPathCaption, L"W\u00e4hlen Sie ein Verzeichnis : ", &L::dlgPathCaption_, 10),
        FieldRow(key::ButtonShow, true, &L::buttonShow_, 11),
        FieldRow(key::TextBoxStyle, std::int16_t{0}, &L::textBoxStyle_, 12),
        // As stored: an empty mask stays empty ("*" is the setter's).
        FieldRow(key::TextMask, L"*", &L::textMask_, 13),
        FieldRow(key::ControlStyle, std::int16_t{0}, &L::controlStyle_, 14),
        FieldRow(key::GreyControl, false, &L::grey_, 15),
        FieldRow(key::CommandStyle, std::int16_t{0}, &L::commandStyle_, 16),
        FieldRow(key::PictureType, std::int16_t{0}, &L::pictureType_, 17),
        FieldRow(key::AutoAmbientChanges, true, &L::autoAmbientChanges_, 18),
        FieldRow(key::DefaultFilename, L"", &L::defaultFilename_, 19),
        FieldRow(key::AppendOleDDFiles, false, &L::appendOleDDFiles_, 20),
        FieldRow(key::AllowDDMultiFiles, false, &L::allowDDMultiFiles_, 21),
        {key::Caption,
         kCaption,
         Written<std::wstring>([](const L& l) { return WithoutTrailingBlanks(l.lbl->caption()); }),
         {Into<std::wstring>(
              22, [](L& l, const std::wstring& v) { l.lbl->setCaption(WithoutTrailingBlanks(v)); }),
          IntoChild(35, &L::chk, &host::CheckBox::setCaption)}},
        {key::LabelForeColor,
         Ambient::ForeColor,
         Written<host::Color>([](const L& l) { return l.lbl->foreColor(); }),
         {IntoChild(23, &L::lbl, &Control::setForeColor), IntoChild(25, &L::chk, &Control::setForeColor)}},
        {key::LabelFont,
         Ambient::Font,
         Written<host::FontDesc>([](const L& l) { return l.lbl->font(); }),
         {IntoChild(26, &L::lbl, &Control::setFont), IntoChild(34, &L::chk, &Control::setFont)}},
        // Read into every child and the field, written from the field.
        {key::Enabled,
         true,
         Written<bool>([](const L& l) { return l.enabled_; }),
         {IntoChild(27, &L::lbl, &Control::setEnabled), IntoChild(46, &L::txt, &Control::setEnabled),
          IntoChild(55, &L::txi, &Control::setEnabled), IntoChild(65, &L::mem, &Control::setEnabled),
          IntoChild(71, &L::anz, &Control::setEnabled), IntoChild(79, &L::cmb0, &Control::setEnabled),
          IntoChild(85, &L::cmb2, &Control::setEnabled), IntoChild(90, &L::cmd, &Control::setEnabled),
          Into<bool>(95, [](L& l, bool v) { l.enabled_ = v; })}},
        // No number: a bag without the key leaves the caption's alignment as
        // it is, and a written alignment (a number) never equals it, so it is
        // always stored.
        {key::LabelAlignment,
         L"",
         Written<std::int16_t>([](const L& l) { return l.lbl->alignment(); }),
         {Into<std::int16_t>(28, [](L& l, std::int16_t v) { l.lbl->setAlignment(v); })}},
        {key::LabelToolTip,
         L"",
         Written<std::wstring>([](const L& l) { return l.lbl->toolTip(); }),
         {IntoChild(29, &L::lbl, &Control::setToolTip), IntoChild(30, &L::chk, &Control::setToolTip)}},
        FieldRow(key::CheckboxShow, false, &L::checkboxShow_, 31),
        {key::Value,
         true,
         Written<bool>([](const L& l) { return l.chk->value() != 0; }),
         {Into<bool>(32, [](L& l, bool v) { l.SetValue(v); })}},
        FieldRow(key::ButtonClickOnEnter, false, &L::buttonClickOnEnter_, 38),
        FieldRow(key::DlgFolderNamesAsis, false, &L::dlgFolderNamesAsis_, 100),
        // The text of txt, whatever the style, goes to every text child.
        {key::Text,
         L"",
         Written<std::wstring>([](const L& l) { return l.txt->text(); }),
         {IntoChild(39, &L::txt, &TextBox::setText), IntoChild(48, &L::txi, &TextBox::setText),
          IntoChild(58, &L::mem, &TextBox::setText), IntoChild(67, &L::anz, &Label::setCaption)}},
        {key::TextForeColor,
         Ambient::ForeColor,
         Written<host::Color>([](const L& l) { return l.textForeColor_; }),
         {Into<host::Color>(36, [](L& l, host::Color v) { l.textForeColor_ = v; }),
          IntoChild(40, &L::txt, &Control::setForeColor), IntoChild(49, &L::txi, &Control::setForeColor),
          IntoChild(59, &L::mem, &Control::setForeColor), IntoChild(68, &L::anz, &Control::setForeColor),
          IntoChild(75, &L::cmb0, &Control::setForeColor), IntoChild(81, &L::cmb2, &Control::setForeColor)}},
        {key::TextBackColor,
         host::ColorValue{host::kColorWindow},
         Written<host::Color>([](const L& l) { return l.textBackColor_; }),
         {Into<host::Color>(37, [](L& l, host::Color v) { l.textBackColor_ = v; }),
          IntoChild(41, &L::txt, &Control::setBackColor), IntoChild(50, &L::txi, &Control::setBackColor),
          IntoChild(57, &L::con, &Control::setBackColor), IntoChild(60, &L::mem, &Control::setBackColor),
          IntoChild(69, &L::anz, &Control::setBackColor), IntoChild(76, &L::cmb0, &Control::setBackColor),
          IntoChild(82, &L::cmb2, &Control::setBackColor)}},
        {key::Font,
         Ambient::Font,
         Written<host::FontDesc>([](const L& l) { return l.txt->font(); }),
         {IntoChild(42, &L::txt, &Control::setFont), IntoChild(51, &L::txi, &Control::setFont),
          IntoChild(61, &L::mem, &Control::setFont), IntoChild(70, &L::anz, &Control::setFont),
          IntoChild(77, &L::cmb0, &Control::setFont), IntoChild(83, &L::cmb2, &Control::setFont)}},
        {key::Locked,
         false,
         Written<bool>([](const L& l) { return l.txt->locked(); }),
         {IntoChild(43, &L::txt, &TextBox::setLocked), IntoChild(52, &L::txi, &TextBox::setLocked),
          IntoChild(62, &L::mem, &TextBox::setLocked), IntoChild(78, &L::cmb0, &ComboBox::setLocked),
          IntoChild(84, &L::cmb2, &ComboBox::setLocked)}},
        {key::PasswordChar,
         L"",
         Written<std::wstring>([](const L& l) { return l.txt->passwordChar(); }),
         {IntoChild(44, &L::txt, &TextBox::setPasswordChar),
          IntoChild(53, &L::txi, &TextBox::setPasswordChar),
          IntoChild(63, &L::mem, &TextBox::setPasswordChar)}},
        {key::MaxLength,
         std::int16_t{0},
         Written<std::int32_t>([](const L& l) { return l.txt->maxLength(); }),
         {IntoChild(45, &L::txt, &TextBox::setMaxLength), IntoChild(54, &L::txi, &TextBox::setMaxLength),
          IntoChild(64, &L::mem, &TextBox::setMaxLength)}},
        {key::TextToolTip,
         L"",
         Written<std::wstring>([](const L& l) { return l.txt->toolTip(); }),
         {IntoChild(47, &L::txt, &Control::setToolTip), IntoChild(56, &L::txi, &Control::setToolTip),
          IntoChild(66, &L::mem, &Control::setToolTip), IntoChild(72, &L::anz, &Control::setToolTip),
          IntoChild(80, &L::cmb0, &Control::setToolTip), IntoChild(86, &L::cmb2, &Control::setToolTip)}},
        {key::Alignment,
         std::int16_t{0},
         Written<std::int16_t>([](const L& l) { return l.anz->alignment(); }),
         {Into<std::int32_t>(73, [](L& l, std::int32_t v) { l.anz->setAlignment(v); })}},
        {key::UseMnemonic,
         false,
         Written<bool>([](const L& l) { return l.anz->useMnemonic(); }),
         {IntoChild(74, &L::anz, &Label::setUseMnemonic)}},
        FieldRow(key::CTLUseLng, std::int16_t{0}, &L::ctlUseLng_, 96),
        {key::ButtonCaption,
         L"",
         Written<std::wstring>([](const L& l) { return l.cmd->caption(); }),
         {IntoChild(87, &L::cmd, &host::CommandButton::setCaption)}},
        {key::ButtonBackColor,
         Ambient::BackColor,
         Written<host::Color>([](const L& l) { return l.cmd->backColor(); }),
         {IntoChild(88, &L::cmd, &Control::setBackColor)}},
        {key::ButtonFont,
         Ambient::Font,
         Written<host::FontDesc>([](const L& l) { return l.cmd->font(); }),
         {IntoChild(89, &L::cmd, &Control::setFont)}},
        {key::ButtonMaskColor,
         std::int32_t{0xC0C0C0},
         Written<host::Color>([](const L& l) { return l.cmd->maskColor(); }),
         {IntoChild(91, &L::cmd, &host::CommandButton::setMaskColor)}},
        {key::ButtonUseMaskColor,
         true,
         Written<bool>([](const L& l) { return l.cmd->useMaskColor(); }),
         {IntoChild(92, &L::cmd, &host::CommandButton::setUseMaskColor)}},
        {key::BackColor,
         Ambient::BackColor,
         Written<host::Color>([](const L& l) { return l.backColor(); }),
         {IntoChild(24, &L::lbl, &Control::setBackColor), IntoChild(33, &L::chk, &Control::setBackColor),
          Into<host::Color>(93, [](L& l, host::Color v) { l.setBackColor(v); })}},
        {key::ForeColor,
         Ambient::ForeColor,
         Written<host::Color>([](const L& l) { return l.foreColor(); }),
         {Into<host::Color>(94, [](L& l, host::Color v) { l.setForeColor(v); })}},
        {key::ButtonToolTip,
         L"",
         Written<std::wstring>([](const L& l) { return l.cmd->toolTip(); }),
         {IntoChild(97, &L::cmd, &Control::setToolTip)}},
        FieldRow(key::ButtonPicture, host::PictureData{}, &L::buttonPicture_, 98),
        FieldRow(key::ComboLines, std::int16_t{8}, &L::comboLines_, 101),
        FieldRow(key::ComboStyle, std::int16_t{2}, &L::comboStyle_, 102),
        FieldRow(key::LeftOffset, std::int16_t{0}, &L::leftOffset_, 103),
        {key::ShowImage,
         false,
         Written<bool>([](const L& l) { return l.img->visible(); }),
         {IntoChild(104, &L::img, &Control::setVisible)}},
        {key::LinePicture,
         host::PictureData{},
         Written<host::Picture>([](const L& l) { return l.img->picture(); }),
         {IntoChild(105, &L::img, &host::Image::setPicture)}},
        FieldRow(key::DlgFolderStyle, std::int16_t{1}, &L::dlgFolderStyle_, 99),
    };
    return table;
}

void VxLineIn::ReadKeys(const host::PropertyBag& bag) {
    std::vector<std::pair<const PersistedProperty*, const ReadStep*>> steps;
    for (const PersistedProperty& row : PersistedProperties())
        for (const ReadStep& step : row.readInto)
            steps.emplace_back(&row, &step);
    std::sort(steps.begin(), steps.end(),
              [](const auto& a, const auto& b) { return a.second->position < b.second->position; });
    const host::AmbientProperties a = ambient();
    // A key is read again for every target, each time with its default.
    for (const auto& [row, step] : steps)
        step->apply(*this, bag.ReadProperty(row->key, row->bagDefault.Of(a)));
}

void VxLineIn::FinishProperties() {
    ReparentForStyle();
    SelectComboStyle();
    ApplyComboLines();
    ApplyEnabled();
}

void VxLineIn::InitProperties() {
    CurrentCombo = cmb0.get();
    ReadKeys(host::PropertyBag());
    // Where a new instance differs from a bag without its keys: its button
    // is 384 twips wide, not 32 pixels; its caption keeps the trailing blank
    // that reading cuts; and the caption is left-aligned, where the bag's
    // default leaves the alignment as it is.
    buttonWidth_ = lineinput::DefaultButtonWidth(host::TwipsPerPixelX());
    lbl->setCaption(kCaption);
    lbl->setAlignment(0);
    FinishProperties();
}

void VxLineIn::ReadProperties(const host::PropertyBag& bag) {
    ReadKeys(bag);
    FinishProperties();
}

void VxLineIn::WriteProperties(host::PropertyBag& bag) const {
    const host::AmbientProperties a = ambient();
    for (const PersistedProperty& row : PersistedProperties()) {
        PropertyValue value = row.written(*this);
        // A font is an object of each child, never the ambient font itself,
        // so a font always differs from its default and is always stored.
        if (std::holds_alternative<host::FontDesc>(value))
            bag.Put(row.key, std::move(value));
        else
            bag.WriteProperty(row.key, value, row.bagDefault.Of(a));
    }
}
