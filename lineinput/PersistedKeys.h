// The keys under which the input line stores its persisted properties, as
// the bag keeps them and as their setters tell the host of a change. What
// each key holds, its defaults and its places in the orders of reading and
// writing: one row per key in VxLineInPersistence.cpp.
#pragma once

namespace lineinput::key {

inline constexpr wchar_t ButtonWidth[] = L"ButtonWidth";
inline constexpr wchar_t LabelWidth[] = L"LabelWidth";
inline constexpr wchar_t FixedBlockWidth[] = L"FixedBlockWidth";
inline constexpr wchar_t ControlDistance[] = L"ControlDistance";
inline constexpr wchar_t TopDistance[] = L"TopDistance";
inline constexpr wchar_t DlgFileType[] = L"DlgFileType";
inline constexpr wchar_t DlgFileExtension[] = L"DlgFileExtension";
inline constexpr wchar_t DlgOpenCaption[] = L"DlgOpenCaption";
inline constexpr wchar_t DlgSaveCaption[] = L"DlgSaveCaption";
inline constexpr wchar_t DlgPathCaption[] = L"DlgPathCaption";
inline constexpr wchar_t ButtonShow[] = L"ButtonShow";
inline constexpr wchar_t TextBoxStyle[] = L"TextBoxStyle";
inline constexpr wchar_t TextMask[] = L"TextMask";
inline constexpr wchar_t ControlStyle[] = L"ControlStyle";
inline constexpr wchar_t GreyControl[] = L"GreyControl";
inline constexpr wchar_t CommandStyle[] = L"CommandStyle";
inline constexpr wchar_t PictureType[] = L"PictureType";
inline constexpr wchar_t AutoAmbientChanges[] = L"AutoAmbientChanges";
inline constexpr wchar_t DefaultFilename[] = L"DefaultFilename";
inline constexpr wchar_t AppendOleDDFiles[] = L"AppendOleDDFiles";
inline constexpr wchar_t AllowDDMultiFiles[] = L"AllowDDMultiFiles";
inline constexpr wchar_t Caption[] = L"Caption";
inline constexpr wchar_t LabelForeColor[] = L"LabelForeColor";
inline constexpr wchar_t LabelFont[] = L"LabelFont";
inline constexpr wchar_t Enabled[] = L"Enabled";
inline constexpr wchar_t LabelAlignment[] = L"LabelAlignment";
inline constexpr wchar_t LabelToolTip[] = L"LabelToolTip";
inline constexpr wchar_t CheckboxShow[] = L"CheckboxShow";
inline constexpr wchar_t Value[] = L"Value";
inline constexpr wchar_t ButtonClickOnEnter[] = L"ButtonClickOnEnter";
inline constexpr wchar_t DlgFolderNamesAsis[] = L"DlgFolderNamesAsis";
inline constexpr wchar_t Text[] = L"Text";
inline constexpr wchar_t TextForeColor[] = L"TextForeColor";
inline constexpr wchar_t TextBackColor[] = L"TextBackColor";
inline constexpr wchar_t Font[] = L"Font";
inline constexpr wchar_t Locked[] = L"Locked";
inline constexpr wchar_t PasswordChar[] = L"PasswordChar";
inline constexpr wchar_t MaxLength[] = L"MaxLength";
inline constexpr wchar_t TextToolTip[] = L"TextToolTip";
inline constexpr wchar_t Alignment[] = L"Alignment";
inline constexpr wchar_t UseMnemonic[] = L"UseMnemonic";
inline constexpr wchar_t CTLUseLng[] = L"CTLUseLng";
inline constexpr wchar_t ButtonCaption[] = L"ButtonCaption";
inline constexpr wchar_t ButtonBackColor[] = L"ButtonBackColor";
inline constexpr wchar_t ButtonFont[] = L"ButtonFont";
inline constexpr wchar_t ButtonMaskColor[] = L"ButtonMaskColor";
inline constexpr wchar_t ButtonUseMaskColor[] = L"ButtonUseMaskColor";
inline constexpr wchar_t BackColor[] = L"BackColor";
inline constexpr wchar_t ForeColor[] = L"ForeColor";
inline constexpr wchar_t ButtonToolTip[] = L"ButtonToolTip";
inline constexpr wchar_t ButtonPicture[] = L"ButtonPicture";
inline constexpr wchar_t ComboLines[] = L"ComboLines";
inline constexpr wchar_t ComboStyle[] = L"ComboStyle";
inline constexpr wchar_t LeftOffset[] = L"LeftOffset";
inline constexpr wchar_t ShowImage[] = L"ShowImage";
inline constexpr wchar_t LinePicture[] = L"LinePicture";
inline constexpr wchar_t DlgFolderStyle[] = L"DlgFolderStyle";

} // namespace lineinput::key
