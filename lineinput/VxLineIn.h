// The input line: in one row a caption (or a check box in its place), an
// editing field chosen by ControlStyle, an optional picture button at the
// right and an optional small picture. It raises 31 numbered events to its
// host and tells the host of every property set (except Edited).
//
// The members are implemented one concern per file; the sections below name
// the file of their members:
//   VxLineIn.cpp            children, state, the field child of the style and
//                           the accessors, events, control information, and the
//                           field properties whose setters only store and tell
//   VxLineInRedraw.cpp      layout pass, style switches, colours of the field,
//                           ambient changes, position queries (arithmetic in
//                           LineLayout), and the setters that run the layout or
//                           a style switch
//   VxLineInAppearance.cpp  colours, fonts, captions, tooltips, pictures
//   VxLineInText.cpp        text, selection, keys and focus
//   VxLineInButton.cpp      button and check box clicks
//   VxLineInDialogs.cpp     the dialog actions of the button
//   VxLineInLists.cpp       list and combo operations, item tags
//   VxLineInDrops.cpp       files dropped onto the field
//   VxLineInPersistence.cpp initialisation of a new instance, property bag:
//                           one row per persisted key (the key names, which
//                           the setters also tell the host, in PersistedKeys.h)
// LineStyles.h names the values of ControlStyle and CommandStyle and holds
// one descriptor per value, which every member that depends on them reads.
// The children's events become the control's in three places: the text
// boxes, combo boxes and labels in ConnectTextEvents (VxLineInText.cpp), the
// button and the check box in ConnectButtonEvents (VxLineInButton.cpp), the
// file drops in RegisterDropTargets (VxLineInDrops.cpp).
#pragma once

#include "LineStyles.h"
#include "VxLineInEvents.h"

#include "CheckBox.h"
#include "ComboBox.h"
#include "CommandButton.h"
#include "FileDropTarget.h"
#include "Image.h"
#include "Label.h"
#include "Picture.h"
#include "PictureBox.h"
#include "PropertyBag.h"
#include "Shape.h"
#include "TextBox.h"
#include "UserControl.h"
#include "Variant.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace lineinput {
struct PersistedProperty;
}

struct VxLineInArgs {
    HWND parent = nullptr; // the container window (a form or a frame)
    host::ControlSite* site = nullptr;
};

class VxLineIn : public host::UserControl {
public:
    // Creates the control and its thirteen children; null when a window could
    // not be made. The host then either calls InitProperties (a new instance)
    // or restores a stored one, and places the control (its first resize).
    static std::unique_ptr<VxLineIn> Create(const VxLineInArgs& args);
    ~VxLineIn() override;

    // Initialisation of a new instance, and the stored state in a property
    // bag (VxLineInPersistence.cpp).
    void InitProperties();
    void ReadProperties(const host::PropertyBag& bag);
    void WriteProperties(host::PropertyBag& bag) const;

    // Events: one handler per number (1..31); raising runs it synchronously.
    void BindEvent(int eventNumber, VxLineInEventHandler handler);

    // --- properties held in fields (VxLineIn.cpp) ------------------------------------
    bool AllowDDMultiFiles() const { return allowDDMultiFiles_; }
    void SetAllowDDMultiFiles(bool v);
    bool AppendOleDDFiles() const { return appendOleDDFiles_; }
    void SetAppendOleDDFiles(bool v);
    bool AutoAmbientChanges() const { return autoAmbientChanges_; }
    void SetAutoAmbientChanges(bool v);
    bool ButtonClickOnEnter() const { return buttonClickOnEnter_; }
    void SetButtonClickOnEnter(bool v);
    std::int32_t CommandStyle() const { return commandStyle_; }
    void SetCommandStyle(std::int32_t v);
    std::int32_t CTLUseLng() const { return ctlUseLng_; }
    void SetCTLUseLng(std::int32_t v);
    const std::wstring& DefaultFilename() const { return defaultFilename_; }
    void SetDefaultFilename(const std::wstring& v);
    const std::wstring& DlgFileExtension() const { return dlgFileExtension_; }
    void SetDlgFileExtension(const std::wstring& v);
    const std::wstring& DlgFileType() const { return dlgFileType_; }
    void SetDlgFileType(const std::wstring& v);
    bool DlgFolderNamesAsis() const { return dlgFolderNamesAsis_; }
    void SetDlgFolderNamesAsis(bool v);
    std::int32_t DlgFolderStyle() const { return dlgFolderStyle_; }
    void SetDlgFolderStyle(std::int32_t v);
    const std::wstring& DlgOpenCaption() const { return dlgOpenCaption_; }
    void SetDlgOpenCaption(const std::wstring& v);
    const std::wstring& DlgPathCaption() const { return dlgPathCaption_; }
    void SetDlgPathCaption(const std::wstring& v);
    const std::wstring& DlgSaveCaption() const { return dlgSaveCaption_; }
    void SetDlgSaveCaption(const std::wstring& v);
    bool Edited() const { return edited_; }
    void SetEdited(bool v); // the host is not told
    std::int32_t TextBoxStyle() const { return textBoxStyle_; }
    void SetTextBoxStyle(std::int32_t v);
    const std::wstring& TextMask() const { return textMask_; }
    void SetTextMask(const std::wstring& v); // the empty string stores "*"
    const host::Variant& TagExtra() const { return tagExtra_; }
    void SetTagExtra(const host::Variant& v);
    std::int32_t TagKenn() const { return tagKenn_; }
    void SetTagKenn(std::int32_t v);
    std::int32_t TagPos() const { return tagPos_; }
    void SetTagPos(std::int32_t v);
    const host::Variant& TagUser() const { return tagUser_; }
    void SetTagUser(const host::Variant& v);
    const host::Variant& TagUser2() const { return tagUser2_; }
    void SetTagUser2(const host::Variant& v);

    // --- properties held in fields whose setters run the layout or a style
    // switch (VxLineInRedraw.cpp) ------------------------------------------------------
    bool ButtonShow() const { return buttonShow_; }
    void SetButtonShow(bool v);
    std::int32_t ButtonWidth() const { return buttonWidth_; }
    void SetButtonWidth(std::int32_t v);
    bool CheckboxShow() const { return checkboxShow_; }
    void SetCheckboxShow(bool v);
    std::int32_t ComboLines() const { return comboLines_; }
    void SetComboLines(std::int32_t v);
    std::int32_t ComboStyle() const { return comboStyle_; }
    void SetComboStyle(std::int32_t v);
    std::int32_t ControlDistance() const { return controlDistance_; }
    void SetControlDistance(std::int32_t v);
    std::int32_t ControlStyle() const { return controlStyle_; }
    void SetControlStyle(std::int32_t v);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool v);
    std::int32_t FixedBlockWidth() const { return fixedBlockWidth_; } // twips
    void SetFixedBlockWidth(std::int32_t v);
    bool GreyControl() const { return grey_; }
    void SetGreyControl(bool v);
    std::int32_t LabelWidth() const { return labelWidth_; }
    void SetLabelWidth(std::int32_t v);
    std::int32_t LeftOffset() const { return leftOffset_; }
    void SetLeftOffset(std::int32_t v);
    bool MultiStringGrey() const { return multiStringGrey_; }
    void SetMultiStringGrey(bool v);
    std::int32_t TopDistance() const { return topDistance_; }
    void SetTopDistance(std::int32_t v);

    // --- appearance (VxLineInAppearance.cpp) ------------------------------------------
    std::int32_t Alignment() const;
    void SetAlignment(std::int32_t v);
    host::Color BackColor() const;
    void SetBackColor(host::Color v);
    host::Color ButtonBackColor() const;
    void SetButtonBackColor(host::Color v);
    std::wstring ButtonCaption() const;
    void SetButtonCaption(const std::wstring& v);
    host::FontDesc ButtonFont() const;
    void SetButtonFont(const host::FontDesc& v);
    host::Color ButtonMaskColor() const;
    void SetButtonMaskColor(host::Color v);
    const host::Picture& ButtonPicture() const { return buttonPicture_; }
    void SetButtonPicture(const host::Picture& v);
    std::wstring ButtonToolTip() const;
    void SetButtonToolTip(const std::wstring& v);
    bool ButtonUseMaskColor() const;
    void SetButtonUseMaskColor(bool v);
    std::wstring Caption() const;
    void SetCaption(const std::wstring& v); // trailing blanks are cut
    host::FontDesc Font() const;
    void SetFont(const host::FontDesc& v);
    host::Color ForeColor() const;
    void SetForeColor(host::Color v);
    std::int32_t LabelAlignment() const;
    void SetLabelAlignment(std::int32_t v);
    host::FontDesc LabelFont() const;
    void SetLabelFont(const host::FontDesc& v);
    host::Color LabelForeColor() const;
    void SetLabelForeColor(host::Color v);
    std::wstring LabelToolTip() const;
    void SetLabelToolTip(const std::wstring& v);
    host::Picture LinePicture() const;
    void SetLinePicture(const host::Picture& v);
    std::int32_t PictureType() const { return pictureType_; }
    void SetPictureType(std::int32_t v);
    bool ShowImage() const;
    void SetShowImage(bool v);
    host::Color TextBackColor() const; // the colour txt shows now
    void SetTextBackColor(host::Color v);
    host::Color TextForeColor() const { return textForeColor_; }
    void SetTextForeColor(host::Color v);
    std::wstring TextToolTip() const;
    void SetTextToolTip(const std::wstring& v);
    bool UseMnemonic() const;
    void SetUseMnemonic(bool v);

    // --- text, selection, check box (VxLineInText.cpp) -----------------------------
    std::wstring Text() const;
    void SetText(const std::wstring& v);
    void SetTextSilent(const std::wstring& v);
    bool Locked() const;
    void SetLocked(bool v);
    std::int32_t MaxLength() const;
    void SetMaxLength(std::int32_t v);
    std::wstring PasswordChar() const;
    void SetPasswordChar(const std::wstring& v);
    std::int32_t SelLength() const;
    void SetSelLength(std::int32_t v);
    std::int32_t SelStart() const;
    void SetSelStart(std::int32_t v);
    std::wstring SelText() const;
    void SetSelText(const std::wstring& v);
    bool Value();
    void SetValue(bool v);
    void SetTextFocus();
    host::Variant SetActive(bool stat = true);
    void FireEventChange();
    void SendChangeMsg();

    // --- button and check box (VxLineInButton.cpp) ---------------------------------
    void DoButtonClick(bool doit = true);
    void DoCheckBoxClick(bool doit = true);

    // --- lists (VxLineInLists.cpp) -------------------------------------------------
    void AddItem(const std::wstring& Item, std::int32_t Index = -1);
    void RemoveItem(std::int32_t Index);
    void Clear();
    std::wstring List(std::int32_t Index) const;
    std::int32_t ListCount() const;
    std::int32_t ListIndex() const;
    void SetListIndex(std::int32_t v);
    std::int32_t NewIndex() const;
    std::int32_t TopIndex() const;
    void SetTopIndex(std::int32_t v);
    std::int32_t ItemData(std::int32_t Index) const;
    void SetItemData(std::int32_t Index, std::int32_t v);
    host::Variant ItemTag(std::int32_t Index) const;
    void SetItemTag(std::int32_t Index, const host::Variant& TG);
    host::Variant SelectByItemTag(const std::wstring& TG);
    void ListFocusItemTag(const std::wstring& TG);
    std::int32_t cid() const;

    // --- layout (VxLineInRedraw.cpp) -------------------------------------------------
    void RedrawControl();
    void Refresh() { RedrawControl(); }
    void AutoSizeLabel();
    void SwitchMSGColors(host::Control* ctr, std::int32_t akt);
    float CtlLeft(std::int32_t wdtyp = 0) const;
    float CTLWidth(std::int32_t wdtyp = 0) const;

    // --- children and control information (VxLineIn.cpp) ----------------------------
    host::CommandButton* ButtonControl() const;
    host::ComboBox* ComboControl() const;
    host::Control* InnerControl() const;
    host::Label* LabelControl() const;
    host::TextBox* TextBoxControl() const;
    HWND hWnd() const { return hwnd(); }
    HDC hdc() const { return UserControl::hdc(); }
    std::wstring CTLClassName() const { return L"VxLineIn"; }
    std::int32_t CTLGetLngPropertyType() const { return 2; }
    void AboutBox();
    void TerminateControl();

    // A child by its name ("cmb0" ... "lbl"), for hosts and tests that look
    // at the parts; null for an unknown name.
    host::Control* ChildNamed(const std::wstring& name) const;

private:
    // Raises an event through the one dispatch point.
    void RaiseEvent(int eventNumber, VxLineInEventArgs& args);
    void RaiseEvent(int eventNumber);

    void onHostResize() override;
    void onHostPaint() override;
    void onAmbientChanged(const std::wstring& propertyName) override;
    void onTerminate() override { TerminateControl(); }
    // The surface is destroyed before its children: the drop targets end
    // then, while their windows still exist (VxLineInDrops.cpp).
    LRESULT handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

    // The persisted keys, one row each in the order of writing; reading a
    // bag's keys (or, from an empty bag, their defaults) into their targets in
    // the order of reading; and the steps that end both a new instance's
    // initialisation and reading (VxLineInPersistence.cpp).
    static const std::vector<lineinput::PersistedProperty>& PersistedProperties();
    void ReadKeys(const host::PropertyBag& bag);
    void FinishProperties();

    // Style switches and helpers of the layout (VxLineInRedraw.cpp).
    void SelectComboStyle();
    void ReparentForStyle();
    void LayoutInnerBox();
    // S: sets txt to 1 pixel high, which leaves it at the least height its
    // font and border need, and gives that height.
    int SingleLineHeight();
    void ApplyComboLines();
    void ApplyEnabled();
    void ApplyButtonPicture(); // VxLineInAppearance.cpp
    // The descriptor of ControlStyle, which the layout, the focus, the text
    // members, the accessors and the button read, and the child a part of it
    // names (null for none, and for CurrentCombo while there is none)
    // (VxLineIn.cpp).
    const lineinput::StyleDescriptor& Style() const;
    host::Control* ChildOf(lineinput::Part part) const;

    // The children's events become the control's (VxLineInText.cpp).
    void ConnectTextEvents();
    void TextBoxChange(const host::TextBox& child);
    void ComboChange();
    // A character typed in txt, txi or mem; only txt lets Enter press the button.
    void FieldKeyPress(std::int16_t& KeyAscii, bool enterPressesButton);

    // The button and the check box (VxLineInButton.cpp).
    void ConnectButtonEvents();
    void cmd_Click();
    // What the click does by CommandStyle, to the text of a text style or to
    // the combo box of the combo style.
    void AnswerClickOnText(const lineinput::ActionDescriptor& action);
    void AnswerClickOnCombo(const lineinput::ActionDescriptor& action);
    void chk_Click();
    // The dialog on the start text; the answer is the new text
    // (VxLineInDialogs.cpp).
    std::wstring RunDialogAction(lineinput::Dialog dialog, const std::wstring& startText);
    // The window that is to own a dialog: the host's answer to
    // RequestMainForm, else the form that contains the control.
    HWND GetMainForm();
    std::wstring ChooseOpenFile(std::wstring startText);
    std::wstring ChooseSaveFile(std::wstring startText);
    std::wstring ChooseOpenFiles(std::wstring startText);
    std::wstring ChooseFolder(std::wstring startText);

    // The thirteen children, in the order they are created.
    std::unique_ptr<host::ComboBox> cmb0;
    std::unique_ptr<host::PictureBox> gry;
    std::unique_ptr<host::PictureBox> con;
    std::unique_ptr<host::TextBox> txi;
    std::unique_ptr<host::CheckBox> chk;
    std::unique_ptr<host::TextBox> mem;
    std::unique_ptr<host::ComboBox> cmb2;
    std::unique_ptr<host::CommandButton> cmd;
    std::unique_ptr<host::TextBox> txt;
    std::unique_ptr<host::Image> img;
    std::unique_ptr<host::Shape> shp;
    std::unique_ptr<host::Label> anz;
    std::unique_ptr<host::Label> lbl;

    // State, in the order the control keeps it.
    host::ComboBox* CurrentCombo = nullptr;
    host::Picture buttonPicture_;
    bool edited_ = false;
    std::int32_t buttonWidth_ = 0;
    std::int32_t labelWidth_ = 0;
    std::int32_t controlDistance_ = 0;
    std::int32_t topDistance_ = 0;
    std::int32_t commandStyle_ = 0;
    std::wstring dlgFileType_;
    std::wstring dlgFileExtension_;
    std::wstring dlgOpenCaption_;
    std::wstring dlgSaveCaption_;
    std::wstring dlgPathCaption_;
    std::int32_t textBoxStyle_ = 0;
    std::wstring textMask_;
    std::int32_t pictureType_ = 0;
    bool buttonShow_ = false;
    std::int32_t controlStyle_ = 0;
    bool grey_ = false;
    host::Variant tagExtra_;
    host::Variant tagUser_;
    host::Variant tagUser2_;
    std::int32_t tagPos_ = 0;
    std::int32_t tagKenn_ = 0;
    bool checkboxShow_ = false;
    bool autoAmbientChanges_ = false;
    std::wstring defaultFilename_;
    bool multiStringGrey_ = false;
    bool appendOleDDFiles_ = false;
    std::vector<host::Variant> ItemTags;
    std::int32_t comboLines_ = 0;
    std::int32_t fixedBlockWidth_ = 0;
    bool allowDDMultiFiles_ = false;
    bool buttonClickOnEnter_ = false;
    std::int32_t dlgFolderStyle_ = 0;
    bool dlgFolderNamesAsis_ = false;
    std::int32_t comboStyle_ = 0;
    std::int32_t leftOffset_ = 0;
    bool enabled_ = false;
    std::int32_t ctlUseLng_ = 0;
    host::Color textForeColor_ = 0;
    host::Color textBackColor_ = 0;
    bool SilentUpdate = false;

    explicit VxLineIn(host::ControlSite& site);
    bool CreateChildren();

    std::array<VxLineInEventHandler, VxEvent::Count + 1> handlers_;

    // Files dropped onto txt, txi, mem and anz (VxLineInDrops.cpp).
    void RegisterDropTargets();
    void txt_OLEDragDrop(const std::vector<std::wstring>& files);
    void txi_OLEDragDrop(const std::vector<std::wstring>& files);
    void mem_OLEDragDrop(const std::vector<std::wstring>& files);
    void anz_OLEDragDrop(const std::vector<std::wstring>& files);
    // Declared last, so that an object that goes before its windows also
    // ends the registrations before the children go.
    std::array<std::unique_ptr<host::FileDropTarget>, 4> dropTargets_;
};
