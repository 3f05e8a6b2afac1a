// The input line's persisted keys, each with its default in the property
// bag: a key the bag lacks reads as its default, and a value equal to it is
// not written. Where the default is the host's ambient value, it is the one
// at the time of the call. A new instance starts with these values too, but
// for the two marked otherwise. Listed in the order they are written.
#pragma once

#include "Color.h"
#include "PropertyValue.h"

#include <cstdint>
#include <string>

namespace lineinput {

struct PersistedKey {
    enum class Ambient { None, BackColor, ForeColor, Font };
    const wchar_t* name;
    host::PropertyValue fixedDefault; // the default unless it is ambient
    Ambient ambient = Ambient::None;
};

namespace key {

using A = PersistedKey::Ambient;

// A new instance takes 384 twips in pixels instead (26 at 15 twips per pixel).
inline const PersistedKey ButtonWidth{L"ButtonWidth", std::int16_t{32}};
inline const PersistedKey LabelWidth{L"LabelWidth", std::int16_t{125}};
inline const PersistedKey FixedBlockWidth{L"FixedBlockWidth", std::int16_t{0}};
inline const PersistedKey ControlDistance{L"ControlDistance", std::int16_t{4}};
inline const PersistedKey TopDistance{L"TopDistance", std::int16_t{2}};
inline const PersistedKey DlgFileType{L"DlgFileType", std::wstring(L"Textdatei")};
inline const PersistedKey DlgFileExtension{L"DlgFileExtension", std::wstring(L"txt")};
inline const PersistedKey DlgOpenCaption{L"DlgOpenCaption", std::wstring(L"Datei \u00f6ffnen : ")};
inline const PersistedKey DlgSaveCaption{L"DlgSaveCaption", std::wstring(L"Datei speichern : ")};
inline const PersistedKey DlgPathCaption{L"DlgPathCaption",
                                         std::wstring(L"W\u00e4hlen Sie ein Verzeichnis : ")};
inline const PersistedKey ButtonShow{L"ButtonShow", true};
inline const PersistedKey TextBoxStyle{L"TextBoxStyle", std::int16_t{0}};
inline const PersistedKey TextMask{L"TextMask", std::wstring(L"*")};
inline const PersistedKey ControlStyle{L"ControlStyle", std::int16_t{0}};
inline const PersistedKey GreyControl{L"GreyControl", false};
inline const PersistedKey CommandStyle{L"CommandStyle", std::int16_t{0}};
inline const PersistedKey PictureType{L"PictureType", std::int16_t{0}};
inline const PersistedKey AutoAmbientChanges{L"AutoAmbientChanges", true};
inline const PersistedKey DefaultFilename{L"DefaultFilename", std::wstring()};
inline const PersistedKey AppendOleDDFiles{L"AppendOleDDFiles", false};
inline const PersistedKey AllowDDMultiFiles{L"AllowDDMultiFiles", false};
inline const PersistedKey Caption{L"Caption", std::wstring(L"Label : ")};
inline const PersistedKey LabelForeColor{L"LabelForeColor", {}, A::ForeColor};
inline const PersistedKey LabelFont{L"LabelFont", {}, A::Font};
inline const PersistedKey Enabled{L"Enabled", true};
// No number: a bag without the key leaves the caption's alignment as it is,
// and a written alignment (a number) never equals it, so it is always stored.
// A new instance starts left-aligned.
inline const PersistedKey LabelAlignment{L"LabelAlignment", std::wstring()};
inline const PersistedKey LabelToolTip{L"LabelToolTip", std::wstring()};
inline const PersistedKey CheckboxShow{L"CheckboxShow", false};
inline const PersistedKey Value{L"Value", true};
inline const PersistedKey ButtonClickOnEnter{L"ButtonClickOnEnter", false};
inline const PersistedKey DlgFolderNamesAsis{L"DlgFolderNamesAsis", false};
inline const PersistedKey Text{L"Text", std::wstring()};
inline const PersistedKey TextForeColor{L"TextForeColor", {}, A::ForeColor};
inline const PersistedKey TextBackColor{L"TextBackColor", host::ColorValue{host::kColorWindow}};
inline const PersistedKey Font{L"Font", {}, A::Font};
inline const PersistedKey Locked{L"Locked", false};
inline const PersistedKey PasswordChar{L"PasswordChar", std::wstring()};
inline const PersistedKey MaxLength{L"MaxLength", std::int16_t{0}};
inline const PersistedKey TextToolTip{L"TextToolTip", std::wstring()};
inline const PersistedKey Alignment{L"Alignment", std::int16_t{0}};
inline const PersistedKey UseMnemonic{L"UseMnemonic", false};
inline const PersistedKey CTLUseLng{L"CTLUseLng", std::int16_t{0}};
inline const PersistedKey ButtonCaption{L"ButtonCaption", std::wstring()};
inline const PersistedKey ButtonBackColor{L"ButtonBackColor", {}, A::BackColor};
inline const PersistedKey ButtonFont{L"ButtonFont", {}, A::Font};
inline const PersistedKey ButtonMaskColor{L"ButtonMaskColor", std::int32_t{0xC0C0C0}};
inline const PersistedKey ButtonUseMaskColor{L"ButtonUseMaskColor", true};
inline const PersistedKey BackColor{L"BackColor", {}, A::BackColor};
inline const PersistedKey ForeColor{L"ForeColor", {}, A::ForeColor};
inline const PersistedKey ButtonToolTip{L"ButtonToolTip", std::wstring()};
inline const PersistedKey ButtonPicture{L"ButtonPicture", host::PictureData{}};
inline const PersistedKey ComboLines{L"ComboLines", std::int16_t{8}};
inline const PersistedKey ComboStyle{L"ComboStyle", std::int16_t{2}};
inline const PersistedKey LeftOffset{L"LeftOffset", std::int16_t{0}};
inline const PersistedKey ShowImage{L"ShowImage", false};
inline const PersistedKey LinePicture{L"LinePicture", host::PictureData{}};
inline const PersistedKey DlgFolderStyle{L"DlgFolderStyle", std::int16_t{1}};

} // namespace key
} // namespace lineinput
