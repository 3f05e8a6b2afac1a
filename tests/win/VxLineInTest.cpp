// The input line in a real form: defaults of a new instance, the host
// notification of its setters, the children per style, the layout of every
// style, the grey states, ambient changes and the redraw events.
#include "VxLineIn.h"
#include "Font.h"
#include "Form.h"
#include "LineLayout.h"
#include "LineTestSupport.h"
#include "Screen.h"
#include "Win32Holders.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <string>
#include <vector>

namespace {

class VxLineInTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = host::Form::Create({L"VxLineIn test", 9000, 6000});
        ASSERT_NE(form, nullptr);
        RecordPropertyChanges(*form, changed);
        line = NewLine(400);
        ASSERT_NE(line, nullptr);
        changed.clear();
    }

    // A new instance 400 pixels wide at (10, 10), placed like a host does.
    std::unique_ptr<VxLineIn> NewLine(int widthPixels, int style = 0) {
        return NewPlacedLine(*form, {.width = widthPixels}, style);
    }

    host::Control& Child(const wchar_t* name) { return *line->ChildNamed(name); }

    int S() {
        auto* txt = line->ChildNamed(L"txt");
        return txt->height();
    }

    std::unique_ptr<host::Form> form;
    std::unique_ptr<VxLineIn> line;
    std::vector<std::wstring> changed;
};

TEST_F(VxLineInTest, NewInstanceReadsBackItsDefaults) {
    EXPECT_EQ(line->Caption(), L"Label : ");
    EXPECT_EQ(line->Text(), L"");
    EXPECT_EQ(line->ControlStyle(), 0);
    EXPECT_EQ(line->ComboStyle(), 2);
    EXPECT_EQ(line->ComboLines(), 8);
    EXPECT_EQ(line->LabelWidth(), 125);
    EXPECT_EQ(line->TopDistance(), 2);
    EXPECT_EQ(line->ControlDistance(), 4);
    EXPECT_EQ(line->DlgFolderStyle(), 1);
    EXPECT_EQ(line->TextMask(), L"*");
    EXPECT_TRUE(line->Value());
    EXPECT_TRUE(line->ButtonShow());
    EXPECT_TRUE(line->AutoAmbientChanges());
    EXPECT_EQ(line->TextBackColor(), 0x80000005u);
    const int expectedButton = static_cast<int>(std::nearbyint(384.0 / host::TwipsPerPixelX()));
    EXPECT_EQ(line->ButtonWidth(), expectedButton);
    EXPECT_EQ(line->DlgOpenCaption(), L"Datei \u00f6ffnen : ");
    EXPECT_EQ(line->DlgSaveCaption(), L"Datei speichern : ");
    EXPECT_EQ(line->DlgPathCaption(), L"W\u00e4hlen Sie ein Verzeichnis : ");
    EXPECT_EQ(line->DlgFileType(), L"Textdatei");
    EXPECT_EQ(line->DlgFileExtension(), L"txt");
    EXPECT_EQ(line->ButtonMaskColor(), 0xC0C0C0u);
    EXPECT_TRUE(line->ButtonUseMaskColor());
    EXPECT_TRUE(line->Enabled());
    EXPECT_FALSE(line->CheckboxShow());
    EXPECT_FALSE(line->GreyControl());
    EXPECT_FALSE(line->ShowImage());
    EXPECT_EQ(line->BackColor(), form->backColor());
    EXPECT_EQ(line->ForeColor(), form->foreColor());
    EXPECT_EQ(line->TextForeColor(), form->foreColor());
    EXPECT_EQ(line->Font(), form->font());
    EXPECT_EQ(line->LabelFont(), form->font());
    EXPECT_EQ(line->ButtonFont(), form->font());
    EXPECT_EQ(line->CTLClassName(), L"VxLineIn");
    EXPECT_EQ(line->CTLGetLngPropertyType(), 2);
    EXPECT_EQ(line->CTLUseLng(), 0);
    EXPECT_TRUE(line->TagExtra().IsEmpty());
    EXPECT_EQ(line->hWnd(), line->hwnd());
    EXPECT_NE(line->hdc(), nullptr);
}

TEST_F(VxLineInTest, SettersCorrectTextMaskAndButtonWidth) {
    line->SetTextMask(L"");
    EXPECT_EQ(line->TextMask(), L"*");
    line->SetButtonWidth(0);
    EXPECT_EQ(line->ButtonWidth(), 32);
    line->SetControlStyle(lineinput::StyleInnerBox);
    line->SetButtonWidth(0);
    EXPECT_EQ(line->ButtonWidth(), S() - 4);
    line->SetCaption(L"  Pfad :   ");
    EXPECT_EQ(line->Caption(), L"  Pfad :");
}

TEST_F(VxLineInTest, EverySetterButEditedTellsTheHostEvenWithoutChange) {
    line->SetEdited(true);
    EXPECT_TRUE(changed.empty());
    EXPECT_TRUE(line->Edited());

    line->SetAllowDDMultiFiles(line->AllowDDMultiFiles());
    line->SetAlignment(line->Alignment());
    line->SetAppendOleDDFiles(line->AppendOleDDFiles());
    line->SetAutoAmbientChanges(line->AutoAmbientChanges());
    line->SetBackColor(line->BackColor());
    line->SetButtonBackColor(line->ButtonBackColor());
    line->SetButtonCaption(line->ButtonCaption());
    line->SetButtonClickOnEnter(line->ButtonClickOnEnter());
    line->SetButtonFont(line->ButtonFont());
    line->SetButtonMaskColor(line->ButtonMaskColor());
    line->SetButtonPicture(line->ButtonPicture());
    line->SetButtonShow(line->ButtonShow());
    line->SetButtonToolTip(line->ButtonToolTip());
    line->SetButtonUseMaskColor(line->ButtonUseMaskColor());
    line->SetButtonWidth(line->ButtonWidth());
    line->SetCaption(line->Caption());
    line->SetCheckboxShow(line->CheckboxShow());
    line->SetComboLines(line->ComboLines());
    line->SetComboStyle(line->ComboStyle());
    line->SetCommandStyle(line->CommandStyle());
    line->SetControlDistance(line->ControlDistance());
    line->SetControlStyle(line->ControlStyle());
    line->SetCTLUseLng(line->CTLUseLng());
    line->SetDefaultFilename(line->DefaultFilename());
    line->SetDlgFileExtension(line->DlgFileExtension());
    line->SetDlgFileType(line->DlgFileType());
    line->SetDlgFolderNamesAsis(line->DlgFolderNamesAsis());
    line->SetDlgFolderStyle(line->DlgFolderStyle());
    line->SetDlgOpenCaption(line->DlgOpenCaption());
    line->SetDlgPathCaption(line->DlgPathCaption());
    line->SetDlgSaveCaption(line->DlgSaveCaption());
    line->SetEnabled(line->Enabled());
    line->SetFixedBlockWidth(line->FixedBlockWidth());
    line->SetFont(line->Font());
    line->SetForeColor(line->ForeColor());
    line->SetGreyControl(line->GreyControl());
    line->SetItemData(0, 0);
    line->SetItemTag(0, host::Variant());
    line->SetLabelAlignment(line->LabelAlignment());
    line->SetLabelFont(line->LabelFont());
    line->SetLabelForeColor(line->LabelForeColor());
    line->SetLabelToolTip(line->LabelToolTip());
    line->SetLabelWidth(line->LabelWidth());
    line->SetLeftOffset(line->LeftOffset());
    line->SetLinePicture(line->LinePicture());
    line->SetListIndex(line->ListIndex());
    line->SetLocked(line->Locked());
    line->SetMaxLength(line->MaxLength());
    line->SetMultiStringGrey(line->MultiStringGrey());
    line->SetPasswordChar(line->PasswordChar());
    line->SetPictureType(line->PictureType());
    line->SetSelLength(line->SelLength());
    line->SetSelStart(line->SelStart());
    line->SetSelText(line->SelText());
    line->SetShowImage(line->ShowImage());
    line->SetTagExtra(line->TagExtra());
    line->SetTagKenn(line->TagKenn());
    line->SetTagPos(line->TagPos());
    line->SetTagUser(line->TagUser());
    line->SetTagUser2(line->TagUser2());
    line->SetText(line->Text());
    line->SetTextBackColor(line->TextBackColor());
    line->SetTextBoxStyle(line->TextBoxStyle());
    line->SetTextForeColor(line->TextForeColor());
    line->SetTextMask(line->TextMask());
    line->SetTextSilent(line->Text());
    line->SetTextToolTip(line->TextToolTip());
    line->SetTopDistance(line->TopDistance());
    line->SetTopIndex(line->TopIndex());
    line->SetUseMnemonic(line->UseMnemonic());
    line->SetValue(line->Value());

    const std::vector<std::wstring> expected = {
        L"AllowDDMultiFiles",
        L"Alignment",
        L"AppendOleDDFiles",
        L"AutoAmbientChanges",
        L"BackColor",
        L"ButtonBackColor",
        L"ButtonCaption",
        L"ButtonClickOnEnter",
        L"ButtonFont",
        L"ButtonMaskColor",
        L"ButtonPicture",
        L"ButtonShow",
        L"ButtonToolTip",
        L"ButtonUseMaskColor",
        L"ButtonWidth",
        L"Caption",
        L"CheckboxShow",
        L"ComboLines",
        L"ComboStyle",
        L"CommandStyle",
        L"ControlDistance",
        L"ControlStyle",
        L"CTLUseLng",
        L"DefaultFilename",
        L"DlgFileExtension",
        L"DlgFileType",
        L"DlgFolderNamesAsis",
        L"DlgFolderStyle",
        L"DlgOpenCaption",
        L"DlgPathCaption",
        L"DlgSaveCaption",
        L"Enabled",
        L"FixedBlockWidth",
        L"Font",
        L"ForeColor",
        L"GreyControl",
        L"ItemData",
        L"ItemTag",
        L"LabelAlignment",
        L"LabelFont",
        L"LabelForeColor",
        L"LabelToolTip",
        L"LabelWidth",
        L"LeftOffset",
        L"LinePicture",
        L"ListIndex",
        L"Locked",
        L"MaxLength",
        L"MultiStringGrey",
        L"PasswordChar",
        L"PictureType",
        L"SelLength",
        L"SelStart",
        L"SelText",
        L"ShowImage",
        L"TagExtra",
        L"TagKenn",
        L"TagPos",
        L"TagUser",
        L"TagUser2",
        L"Text",
        L"TextBackColor",
        L"TextBoxStyle",
        L"TextForeColor",
        L"TextMask",
        L"TextSilent",
        L"TextToolTip",
        L"TopDistance",
        L"TopIndex",
        L"UseMnemonic",
        L"Value",
    };
    EXPECT_EQ(changed, expected);
    EXPECT_TRUE(form->propertiesChanged());
}

TEST_F(VxLineInTest, AccessorsGiveTheChildrenOfTheStyleOnly) {
    using namespace lineinput;
    struct Expect {
        FieldStyle style;
        const wchar_t* inner;
        const wchar_t* textBox;
        bool combo, label;
    };
    const Expect cases[] = {
        {StyleTextBox, L"txt", L"txt", false, false},  {StyleCombo, L"cmb2", nullptr, true, false},
        {StyleMemo, L"mem", L"mem", false, false},     {StyleDisplay, L"anz", nullptr, false, true},
        {StyleInnerBox, L"con", L"txi", false, false}, {StyleOutline, nullptr, nullptr, false, false},
    };
    for (const Expect& e : cases) {
        SCOPED_TRACE(e.style);
        line->SetControlStyle(e.style);
        EXPECT_EQ(line->InnerControl(), e.inner ? line->ChildNamed(e.inner) : nullptr);
        EXPECT_EQ(static_cast<host::Control*>(line->TextBoxControl()),
                  e.textBox ? line->ChildNamed(e.textBox) : nullptr);
        EXPECT_EQ(static_cast<host::Control*>(line->ComboControl()),
                  e.combo ? line->ChildNamed(L"cmb2") : nullptr);
        EXPECT_EQ(static_cast<host::Control*>(line->LabelControl()),
                  e.label ? line->ChildNamed(L"anz") : nullptr);
        EXPECT_EQ(line->cid(), 0);
    }
    EXPECT_EQ(static_cast<host::Control*>(line->ButtonControl()), line->ChildNamed(L"cmd"));
    line->SetButtonShow(false);
    EXPECT_EQ(line->ButtonControl(), nullptr);
}

TEST_F(VxLineInTest, CidGivesTheSelectedItemDataOnlyInTheComboStyle) {
    // A new instance works on cmb0 in style 0, yet cid stays 0 there.
    line->AddItem(L"a");
    line->SetItemData(0, 7);
    line->SetListIndex(0);
    auto& cmb0 = static_cast<host::ComboBox&>(Child(L"cmb0"));
    ASSERT_EQ(cmb0.listIndex(), 0);
    ASSERT_EQ(cmb0.itemData(0), 7);
    EXPECT_EQ(line->cid(), 0);

    line->SetControlStyle(lineinput::StyleCombo);
    line->AddItem(L"a");
    line->AddItem(L"b");
    line->SetItemData(1, 9);
    EXPECT_EQ(line->cid(), 0);
    line->SetListIndex(1);
    EXPECT_EQ(line->cid(), 9);
    line->SetListIndex(0);
    EXPECT_EQ(line->cid(), 0);
}

TEST_F(VxLineInTest, StyleZeroWithDefaults) {
    const int s = S();
    EXPECT_EQ(line->height(), s + 2);
    EXPECT_EQ(Child(L"txt").top(), 1);
    EXPECT_EQ(Child(L"txt").left(), 125);
    EXPECT_EQ(Child(L"txt").width(), 400 - 125 - (line->ButtonWidth() + 4));
    EXPECT_EQ(Child(L"cmd").left(), 400 - line->ButtonWidth());
    EXPECT_EQ(Child(L"cmd").width(), line->ButtonWidth());
    EXPECT_EQ(Child(L"cmd").height(), s);
    const host::Control& lbl = Child(L"lbl");
    EXPECT_EQ(lbl.top(), static_cast<int>(std::nearbyint((s + 2 - lbl.height()) / 2.0)));
    EXPECT_EQ(lbl.width(), 124);
    EXPECT_TRUE(Child(L"txt").visible());
    EXPECT_FALSE(Child(L"gry").visible());
    EXPECT_FALSE(Child(L"chk").visible());
}

TEST_F(VxLineInTest, SingleLineHeightIsTheTextBoxMinimumForItsFontAndBorder) {
    const auto lineAndBorder = [](const host::FontDesc& desc) {
        const host::FontHandle font = host::CreateFontHandle(desc);
        const win32::WindowDc screen(nullptr);
        const win32::ScopedSelect selected(screen.get(), font.get());
        TEXTMETRICW tm{};
        GetTextMetricsW(screen.get(), &tm);
        return tm.tmHeight + 2 * GetSystemMetrics(SM_CYEDGE);
    };
    const int small = S();
    EXPECT_GE(small, lineAndBorder(line->Font()));
    EXPECT_LE(small, lineAndBorder(line->Font()) + 4);
    // The text box refuses a lower height.
    Child(L"txt").setHeight(small - 5);
    EXPECT_EQ(Child(L"txt").height(), small);

    host::FontDesc big = line->Font();
    big.size = 20;
    line->SetFont(big);
    const int large = S();
    EXPECT_GE(large, lineAndBorder(big));
    EXPECT_LE(large, lineAndBorder(big) + 4);
    EXPECT_GT(large, small);
    EXPECT_EQ(line->height(), large + 2);
}

TEST_F(VxLineInTest, AutoSizeLabelMakesTheColumnEightPixelsWiderThanTheCaption) {
    line->SetCaption(L"Quelle :");
    SIZE extent{};
    {
        const host::FontHandle font = host::CreateFontHandle(line->LabelFont());
        const win32::WindowDc screen(nullptr);
        const win32::ScopedSelect selected(screen.get(), font.get());
        GetTextExtentPoint32W(screen.get(), L"Quelle :", 8, &extent);
    }
    ASSERT_GT(extent.cx, 0);

    changed.clear();
    line->AutoSizeLabel();
    EXPECT_EQ(line->LabelWidth(), extent.cx + 8);
    EXPECT_EQ(changed, std::vector<std::wstring>{L"LabelWidth"});
    EXPECT_EQ(Child(L"txt").left(), extent.cx + 8);
}

TEST_F(VxLineInTest, StyleOneIsOnePixelHigherWithTheComboOnePixelUp) {
    line->SetControlStyle(lineinput::StyleCombo);
    const int s = S();
    EXPECT_EQ(line->height(), s + 3);
    EXPECT_EQ(Child(L"cmb2").top(), 0);
    EXPECT_EQ(Child(L"txt").top(), 1);
    EXPECT_TRUE(Child(L"cmb2").visible());
    EXPECT_FALSE(Child(L"cmb0").visible());
    line->SetComboStyle(0);
    EXPECT_TRUE(Child(L"cmb0").visible());
    EXPECT_FALSE(Child(L"cmb2").visible());
}

// The height of the opened list of a combo box, and the height it takes to
// show comboLines items.
int DroppedHeight(const host::ComboBox& combo) {
    RECT r{};
    SendMessageW(combo.hwnd(), CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&r));
    return r.bottom - r.top;
}
int ListHeightFor(const host::ComboBox& combo, int comboLines) {
    return lineinput::DropDownHeight(combo.height(), combo.itemHeight(), comboLines) - combo.height();
}

TEST_F(VxLineInTest, LayoutPassesKeepTheDropDownHeightOfComboLines) {
    line->SetControlStyle(lineinput::StyleCombo);
    line->SetComboLines(5);
    auto& combo = static_cast<host::ComboBox&>(Child(L"cmb2"));
    const int expected = ListHeightFor(combo, 5);
    EXPECT_EQ(DroppedHeight(combo), expected);
    line->SetLabelWidth(90);
    line->RedrawControl();
    EXPECT_EQ(DroppedHeight(combo), expected);
}

// A new instance starts with cmb0 as its combo box; a restored one with none.
// Whichever combo box the style switches to opens a list of ComboLines items.
TEST_F(VxLineInTest, EveryComboBoxThatBecomesCurrentOpensComboLinesItems) {
    line->SetControlStyle(lineinput::StyleCombo);
    const auto* cmb2 = line->ComboControl();
    ASSERT_EQ(cmb2, line->ChildNamed(L"cmb2"));
    EXPECT_EQ(DroppedHeight(*cmb2), ListHeightFor(*cmb2, 8));

    host::PropertyBag bag;
    bag.Put(L"ControlStyle", std::int32_t{1});
    bag.Put(L"ComboLines", std::int32_t{4});
    auto restored = VxLineIn::Create({form->hwnd(), form.get()});
    ASSERT_NE(restored, nullptr);
    restored->ReadProperties(bag);
    PlaceInPixels(*restored, {.top = 60});
    for (int comboStyle : {0, 2}) {
        SCOPED_TRACE(comboStyle);
        restored->SetComboStyle(comboStyle);
        const auto* combo = restored->ComboControl();
        ASSERT_NE(combo, nullptr);
        EXPECT_EQ(DroppedHeight(*combo), ListHeightFor(*combo, 4));
    }
}

TEST_F(VxLineInTest, TopDistanceThreeIsHalvedInStyleZeroAndRoundedInStyleTwo) {
    line->SetTopDistance(3);
    EXPECT_EQ(Child(L"txt").top(), 1);
    EXPECT_EQ(line->height(), S() + 3);
    line->SetControlStyle(lineinput::StyleMemo);
    const double tpp = host::TwipsPerPixelX();
    line->placeTwips(10 * tpp, 10 * tpp, 400 * tpp, 80 * tpp);
    EXPECT_EQ(Child(L"mem").top(), 2);
    EXPECT_EQ(Child(L"mem").height(), 77);
    EXPECT_EQ(line->height(), 80);
}

TEST_F(VxLineInTest, FixedBlockWidthSharesTheRightPartBetweenFieldAndButton) {
    line->SetFixedBlockWidth(static_cast<int>(100 * host::TwipsPerPixelX()));
    EXPECT_EQ(Child(L"txt").left(), 299);
    EXPECT_EQ(Child(L"txt").width() + line->ButtonWidth() + 4, 101);
}

TEST_F(VxLineInTest, WithoutButtonTheFieldReachesTheRightEdge) {
    line->SetButtonShow(false);
    EXPECT_EQ(Child(L"txt").width(), 400 - 125);
    EXPECT_FALSE(Child(L"cmd").visible());
    EXPECT_FLOAT_EQ(line->CtlLeft(1), static_cast<float>(line->leftTwips() + line->widthTwips()));
    EXPECT_FLOAT_EQ(line->CtlLeft(), static_cast<float>(line->leftTwips() + 125 * host::TwipsPerPixelX()));
    EXPECT_FLOAT_EQ(line->CTLWidth(99), 275);
}

TEST_F(VxLineInTest, PositionQueriesOfEveryKindInTheFormsUnits) {
    const double tpp = host::TwipsPerPixelX();
    const int bw = line->ButtonWidth();
    const int fieldWidth = 400 - 125 - (bw + 4);
    const float left = static_cast<float>(10 * tpp);
    EXPECT_FLOAT_EQ(line->CtlLeft(), static_cast<float>(10 * tpp + 125 * tpp));
    EXPECT_FLOAT_EQ(line->CtlLeft(1), static_cast<float>(10 * tpp + (400 - bw) * tpp));
    EXPECT_FLOAT_EQ(line->CtlLeft(10), static_cast<float>(10 * tpp + 125 * tpp));
    EXPECT_FLOAT_EQ(line->CtlLeft(99), 125);
    for (int none : {2, 3, 4, 7})
        EXPECT_FLOAT_EQ(line->CtlLeft(none), 0) << none;
    EXPECT_FLOAT_EQ(line->CTLWidth(), static_cast<float>(275 * tpp));
    EXPECT_FLOAT_EQ(line->CTLWidth(0), left + static_cast<float>(400 * tpp) - line->CtlLeft(0));
    EXPECT_FLOAT_EQ(line->CTLWidth(1), static_cast<float>(fieldWidth * tpp));
    EXPECT_FLOAT_EQ(line->CTLWidth(2), static_cast<float>(125 * tpp));
    EXPECT_FLOAT_EQ(line->CTLWidth(3), static_cast<float>((125 + fieldWidth) * tpp));
    EXPECT_FLOAT_EQ(line->CTLWidth(4), static_cast<float>(400 * tpp));
    EXPECT_FLOAT_EQ(line->CTLWidth(99), static_cast<float>(fieldWidth));
    for (int none : {5, 10, 7})
        EXPECT_FLOAT_EQ(line->CTLWidth(none), 0) << none;
}

TEST_F(VxLineInTest, InnerBoxStyleHoldsTextButtonAndSeparator) {
    line->SetControlStyle(lineinput::StyleInnerBox);
    auto& con = static_cast<host::PictureBox&>(Child(L"con"));
    EXPECT_TRUE(con.visible());
    EXPECT_TRUE(Child(L"txi").visible());
    EXPECT_EQ(GetParent(Child(L"cmd").hwnd()), con.hwnd());
    EXPECT_EQ(GetParent(Child(L"gry").hwnd()), con.hwnd());
    EXPECT_EQ(con.width(), 400 - 125);
    EXPECT_EQ(Child(L"txi").width(), con.width() - line->ButtonWidth() - 6);
    const host::Control& cmd = Child(L"cmd");
    EXPECT_EQ(cmd.left(), con.width() - line->ButtonWidth() - 4);
    ASSERT_EQ(con.lines().size(), 1u);
    EXPECT_EQ(con.lines()[0].x1, cmd.left() - 1);
    EXPECT_EQ(con.lines()[0].x2, cmd.left() - 1);
    EXPECT_EQ(con.lines()[0].color, host::kColor3DLight);
    line->SetButtonShow(false);
    EXPECT_EQ(Child(L"txi").width(), con.width() - line->ButtonWidth() - 6);
    line->SetControlStyle(lineinput::StyleTextBox);
    EXPECT_EQ(GetParent(Child(L"cmd").hwnd()), line->hwnd());
}

TEST_F(VxLineInTest, OutlineStyleHidesTheButtonAndKeepsTheHostsHeight) {
    line->SetControlStyle(lineinput::StyleOutline);
    const double tpp = host::TwipsPerPixelX();
    line->placeTwips(10 * tpp, 10 * tpp, 400 * tpp, 50 * tpp);
    EXPECT_FALSE(Child(L"cmd").visible());
    EXPECT_TRUE(Child(L"shp").visible());
    EXPECT_EQ(Child(L"shp").width(), 400 - 125);
    EXPECT_EQ(Child(L"shp").height(), 50 - 2 - 1);
    EXPECT_EQ(line->height(), 50);
}

TEST_F(VxLineInTest, UnknownStyleShowsNoFieldAndLeavesTheHeight) {
    const double tpp = host::TwipsPerPixelX();
    line->SetControlStyle(7);
    line->placeTwips(10 * tpp, 10 * tpp, 400 * tpp, 44 * tpp);
    EXPECT_EQ(line->height(), 44);
    for (const wchar_t* name : {L"txt", L"cmb0", L"cmb2", L"mem", L"anz", L"con", L"shp"})
        EXPECT_FALSE(Child(name).visible()) << name;
}

TEST_F(VxLineInTest, GreyControlCoversTheFieldUntilItIsSwitchedOff) {
    line->SetGreyControl(true);
    EXPECT_TRUE(Child(L"gry").visible());
    EXPECT_FALSE(Child(L"txt").visible());
    EXPECT_FALSE(Child(L"lbl").enabled());
    EXPECT_FALSE(Child(L"cmd").enabled());
    line->SetGreyControl(false);
    EXPECT_FALSE(Child(L"gry").visible());
    EXPECT_TRUE(Child(L"txt").visible());
    EXPECT_TRUE(Child(L"lbl").enabled());
    EXPECT_TRUE(Child(L"cmd").enabled());

    line->SetControlStyle(lineinput::StyleInnerBox);
    line->SetGreyControl(true);
    EXPECT_TRUE(Child(L"con").visible());
    EXPECT_TRUE(Child(L"gry").visible());

    line->SetActive(true);
    EXPECT_TRUE(line->Enabled());
    EXPECT_FALSE(Child(L"gry").visible());
    line->SetActive(false);
    EXPECT_FALSE(line->Enabled());
    EXPECT_TRUE(Child(L"gry").visible());
}

TEST_F(VxLineInTest, MultiStringGreyHidesTheTextOfTheUnfocusedField) {
    line->SetTextBackColor(0x00FFFFFF);
    line->SetTextForeColor(0x00000080);
    line->SetMultiStringGrey(true);
    EXPECT_EQ(Child(L"txt").foreColor(), line->BackColor());
    EXPECT_EQ(Child(L"txt").backColor(), line->BackColor());
    EXPECT_EQ(line->TextBackColor(), line->BackColor());
    line->SwitchMSGColors(&Child(L"txt"), 1);
    EXPECT_EQ(Child(L"txt").backColor(), 0x00FFFFFFu);
    EXPECT_EQ(Child(L"txt").foreColor(), 0x00000080u);
    line->SetMultiStringGrey(false);
    EXPECT_EQ(Child(L"txt").foreColor(), 0x00000080u);
}

TEST_F(VxLineInTest, AmbientChangesAreFollowedOnlyWhenAskedAndByExactName) {
    host::FontDesc big = form->font();
    big.size = 12;
    const int before = line->height();
    form->setFont(big);
    EXPECT_EQ(line->Font(), big);
    EXPECT_EQ(line->LabelFont(), big);
    EXPECT_EQ(line->ButtonFont(), big);
    EXPECT_GT(line->height(), before);

    form->setBackColor(0x00C0FFC0);
    EXPECT_EQ(line->BackColor(), 0x00C0FFC0u);
    form->setForeColor(0x00400000);
    EXPECT_EQ(line->ForeColor(), 0x00400000u);

    host::FontDesc small = big;
    small.size = 8.25;
    line->SetAutoAmbientChanges(false);
    form->setFont(small);
    EXPECT_EQ(line->Font(), big);

    line->SetAutoAmbientChanges(true);
    changed.clear();
    line->ambientChanged(L"font");
    EXPECT_EQ(line->Font(), big);
    EXPECT_TRUE(changed.empty());
}

TEST_F(VxLineInTest, RedrawEventsSurroundEveryPassAndNestedPasses) {
    EventList events;
    RecordEvents(*line, events);
    line->SetLabelWidth(100);
    EXPECT_EQ(events, (EventList{VxEvent::BeforeRedraw, VxEvent::AfterRedraw}));

    events.clear();
    const double tpp = host::TwipsPerPixelX();
    line->placeTwips(10 * tpp, 10 * tpp, 300 * tpp, 60 * tpp);
    EXPECT_EQ(events, (EventList{VxEvent::BeforeRedraw, VxEvent::AfterRedraw, VxEvent::Resize}));

    // A handler that sets a layout property starts a nested pass.
    events.clear();
    bool once = true;
    line->BindEvent(VxEvent::BeforeRedraw, [&](int number, VxLineInEventArgs&) {
        events.push_back(static_cast<VxEvent::Number>(number));
        if (once) {
            once = false;
            line->SetTopDistance(4);
        }
    });
    line->RedrawControl();
    EXPECT_EQ(events, (EventList{VxEvent::BeforeRedraw, VxEvent::BeforeRedraw, VxEvent::AfterRedraw,
                                 VxEvent::AfterRedraw}));
    EXPECT_EQ(line->height(), S() + 4);

    events.clear();
    line->Refresh();
    EXPECT_EQ(events, (EventList{VxEvent::BeforeRedraw, VxEvent::AfterRedraw}));
}

// Until its host places it, a restored line runs no layout pass; the
// placement runs one, which gives the geometry of setting the same
// properties on a placed line.
TEST_F(VxLineInTest, RestoringBeforePlacementLaysOutOnceAtThePlacement) {
    host::PropertyBag bag;
    bag.Put(L"LabelWidth", std::int32_t{90});
    bag.Put(L"ControlStyle", std::int32_t{3});
    bag.Put(L"TopDistance", std::int32_t{5});
    auto restored = VxLineIn::Create({form->hwnd(), form.get()});
    ASSERT_NE(restored, nullptr);
    EventList events;
    RecordEvents(*restored, {VxEvent::BeforeRedraw, VxEvent::AfterRedraw, VxEvent::Resize}, events);
    restored->ReadProperties(bag);
    restored->SetControlDistance(7);
    EXPECT_TRUE(events.empty());
    PlaceInPixels(*restored, {.top = 80});
    EXPECT_EQ(events, (EventList{VxEvent::BeforeRedraw, VxEvent::AfterRedraw, VxEvent::Resize}));

    auto placedFirst = VxLineIn::Create({form->hwnd(), form.get()});
    ASSERT_NE(placedFirst, nullptr);
    placedFirst->ReadProperties(host::PropertyBag());
    PlaceInPixels(*placedFirst, {.top = 80});
    placedFirst->SetLabelWidth(90);
    placedFirst->SetControlStyle(lineinput::StyleDisplay);
    placedFirst->SetTopDistance(5);
    placedFirst->SetControlDistance(7);
    EXPECT_EQ(restored->height(), placedFirst->height());
    for (const wchar_t* name : {L"lbl", L"anz", L"gry", L"cmd", L"txt", L"img"}) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(name)));
        const host::Control& a = *restored->ChildNamed(name);
        const host::Control& b = *placedFirst->ChildNamed(name);
        EXPECT_EQ((std::vector{a.left(), a.top(), a.width(), a.height()}),
                  (std::vector{b.left(), b.top(), b.width(), b.height()}));
        EXPECT_EQ(a.visible(), b.visible());
    }
}

// ButtonWidth 0 in the framed style stands for the single-line height less
// 4. Set before the host places the line, new or restored, it is the width
// that setting it after the placement gives, and the width written.
TEST_F(VxLineInTest, AutomaticButtonWidthSetBeforePlacementIsTheOneSetAfter) {
    host::PropertyBag framed;
    framed.Put(L"ControlStyle", std::int32_t{4});
    struct Route {
        const char* name;
        void (*prepare)(VxLineIn&, const host::PropertyBag&);
    };
    const Route routes[] = {
        {"new instance switched to the framed style",
         [](VxLineIn& l, const host::PropertyBag&) {
             l.InitProperties();
             l.SetControlStyle(lineinput::StyleInnerBox);
         }},
        {"restored in the framed style",
         [](VxLineIn& l, const host::PropertyBag& bag) { l.ReadProperties(bag); }},
    };
    for (const Route& route : routes) {
        SCOPED_TRACE(route.name);
        auto setFirst = VxLineIn::Create({form->hwnd(), form.get()});
        auto placedFirst = VxLineIn::Create({form->hwnd(), form.get()});
        ASSERT_NE(setFirst, nullptr);
        ASSERT_NE(placedFirst, nullptr);
        route.prepare(*setFirst, framed);
        setFirst->SetButtonWidth(0);
        PlaceInPixels(*setFirst, {.top = 80});
        route.prepare(*placedFirst, framed);
        PlaceInPixels(*placedFirst, {.top = 120});
        placedFirst->SetButtonWidth(0);

        const int s = placedFirst->ChildNamed(L"txt")->height();
        EXPECT_EQ(placedFirst->ButtonWidth(), s - 4);
        EXPECT_EQ(setFirst->ButtonWidth(), placedFirst->ButtonWidth());
        host::PropertyBag written;
        setFirst->WriteProperties(written);
        EXPECT_EQ(host::ToInt32(written.ReadProperty(L"ButtonWidth", std::int16_t{32})), s - 4);
        for (const wchar_t* name : {L"txt", L"con", L"txi", L"cmd", L"gry"}) {
            SCOPED_TRACE(testing::PrintToString(std::wstring(name)));
            const host::Control& a = *setFirst->ChildNamed(name);
            const host::Control& b = *placedFirst->ChildNamed(name);
            EXPECT_EQ((std::vector{a.left(), a.top(), a.width(), a.height()}),
                      (std::vector{b.left(), b.top(), b.width(), b.height()}));
        }
    }
}

TEST_F(VxLineInTest, PaintRequestRaisesPaintOnly) {
    EventList events;
    RecordEvents(*line, events);
    form->show();
    PumpMessages();
    events.clear();
    InvalidateRect(line->hwnd(), nullptr, TRUE);
    UpdateWindow(line->hwnd());
    EXPECT_EQ(events, EventList{VxEvent::Paint});
}

TEST_F(VxLineInTest, ChangeMembersRaiseChangeByNumberAndTerminateDropsTheCombo) {
    EventList events;
    RecordEvents(*line, events);
    line->FireEventChange();
    line->SendChangeMsg();
    EXPECT_EQ(events, (EventList{VxEvent::Change, VxEvent::Change}));

    line->SetControlStyle(lineinput::StyleCombo);
    line->AddItem(L"a");
    line->AddItem(L"b", 0);
    EXPECT_EQ(line->NewIndex(), 0);
    EXPECT_EQ(line->List(0), L"b");
    line->TerminateControl();
    EXPECT_EQ(line->ListCount(), 0);
    EXPECT_EQ(line->ComboControl(), nullptr);
    line->SetComboStyle(2);
    EXPECT_EQ(line->ComboControl(), static_cast<host::ComboBox*>(line->ChildNamed(L"cmb2")));
}

TEST_F(VxLineInTest, DestroyingTheFormTerminatesTheLine) {
    line->SetControlStyle(lineinput::StyleCombo);
    ASSERT_NE(line->ComboControl(), nullptr);
    EventList events;
    RecordEvents(*line, events);
    ASSERT_TRUE(DestroyWindow(form->hwnd()));
    EXPECT_EQ(line->ComboControl(), nullptr);
    EXPECT_EQ(line->ListCount(), 0);
    EXPECT_TRUE(events.empty());
}

TEST_F(VxLineInTest, ScreenshotOfEveryStyle) {
    std::vector<std::unique_ptr<VxLineIn>> lines;
    const double tpp = host::TwipsPerPixelX();
    for (int style = 0; style <= 5; ++style) {
        auto l = VxLineIn::Create({form->hwnd(), form.get()});
        ASSERT_NE(l, nullptr);
        l->InitProperties();
        l->SetControlStyle(style);
        l->SetCaption(L"Stil " + std::to_wstring(style) + L" :");
        l->SetText(L"Text \u00e4\u00f6\u00fc " + std::to_wstring(style));
        l->placeTwips(10 * tpp, (90 + style * 45) * tpp, 500 * tpp, 40 * tpp);
        lines.push_back(std::move(l));
    }
    lines[5]->SetGreyControl(false);
    form->show();
    PumpMessages();
    RedrawWindow(form->hwnd(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    PumpMessages();

    // The form's client area, copied from the screen into a bitmap file.
    RECT client{};
    ASSERT_TRUE(GetClientRect(form->hwnd(), &client));
    const int w = client.right, h = client.bottom;
    HDC windowDc = GetDC(form->hwnd());
    HDC memDc = CreateCompatibleDC(windowDc);
    HBITMAP bitmap = CreateCompatibleBitmap(windowDc, w, h);
    HGDIOBJ old = SelectObject(memDc, bitmap);
    ASSERT_TRUE(BitBlt(memDc, 0, 0, w, h, windowDc, 0, 0, SRCCOPY));
    SelectObject(memDc, old);
    BITMAPINFOHEADER info{sizeof info, w, h, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    const int stride = ((w * 3 + 3) / 4) * 4;
    std::string pixels(static_cast<size_t>(stride) * h, '\0');
    ASSERT_EQ(
        GetDIBits(memDc, bitmap, 0, h, pixels.data(), reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS),
        h);
    DeleteObject(bitmap);
    DeleteDC(memDc);
    ReleaseDC(form->hwnd(), windowDc);

    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
    std::ofstream out("vxlinein_styles.bmp", std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&info), sizeof info);
    out.write(pixels.data(), static_cast<std::streamsize>(pixels.size()));
    EXPECT_TRUE(out.good());
}

} // namespace
