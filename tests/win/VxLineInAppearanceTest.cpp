// The appearance properties of the input line in a real form: which children
// each colour, font, caption, tooltip and alignment reaches (and which not),
// where each reads back from, which setters run the layout, the button
// pictures chosen by PictureType and ButtonPicture, and how the button draws
// its picture. The last test saves a picture of all fifteen built-in pictures
// on the control's own buttons beside the test program.
#include "VxLineIn.h"

#include "ComApartment.h"
#include "Form.h"
#include "LineLayout.h"
#include "LineStyles.h"
#include "LineTestSupport.h"
#include "Screen.h"
#include "ScreenCapture.h"
#include "TempFolder.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <type_traits>
#include <vector>

namespace {

const wchar_t* const kChildren[] = {L"cmb0", L"gry", L"con", L"txi", L"chk", L"mem", L"cmb2",
                                    L"cmd",  L"txt", L"img", L"shp", L"anz", L"lbl"};

// A 20 x 12 picture in two colours, left half red and right half blue.
host::Picture TwoColourPicture() {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = 20;
    info.bmiHeader.biHeight = -12;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap || !bits)
        return host::Picture::FromBitmap(bitmap);
    auto* pixel = static_cast<std::uint32_t*>(bits);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 20; ++x)
            pixel[y * 20 + x] = x < 10 ? 0x00FF0000u : 0x000000FFu; // BGRA: red, blue
    return host::Picture::FromBitmap(bitmap);
}

class VxLineInAppearanceTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = host::Form::Create({L"VxLineIn appearance", 12000, 9000});
        ASSERT_NE(form, nullptr);
        RecordPropertyChanges(*form, changed);
        line = NewLine(10, 10, 400);
        ASSERT_NE(line, nullptr);
        RecordEvents(*line, {VxEvent::BeforeRedraw, VxEvent::AfterRedraw}, redraws);
        changed.clear();
    }

    std::unique_ptr<VxLineIn> NewLine(int left, int top, int widthPixels, int style = 0) {
        return NewPlacedLine(*form, {.left = left, .top = top, .width = widthPixels}, style);
    }

    host::Control& Child(const wchar_t* name) { return *line->ChildNamed(name); }
    host::Label& Label(const wchar_t* name) { return dynamic_cast<host::Label&>(Child(name)); }

    // What read gives for each child, by the child's name.
    template <class Read> auto Snapshot(Read read) {
        std::map<std::wstring, std::decay_t<decltype(read(Child(kChildren[0])))>> m;
        for (const wchar_t* name : kChildren)
            m[name] = read(Child(name));
        return m;
    }
    auto BackColours() {
        return Snapshot([](host::Control& c) { return c.backColor(); });
    }
    auto ForeColours() {
        return Snapshot([](host::Control& c) { return c.foreColor(); });
    }
    auto Fonts() {
        return Snapshot([](host::Control& c) { return c.font(); });
    }
    auto ToolTips() {
        return Snapshot([](host::Control& c) { return c.toolTip(); });
    }
    // The names of the children whose value differs between two snapshots.
    template <class T>
    static std::set<std::wstring> Differences(const std::map<std::wstring, T>& before,
                                              const std::map<std::wstring, T>& after) {
        std::set<std::wstring> names;
        for (const auto& [name, value] : before)
            if (!(after.at(name) == value))
                names.insert(name);
        return names;
    }

    // What the button shows now, read from the screen, relative to the
    // button's top left corner.
    Pixels ButtonOnScreen() {
        host::CommandButton& cmd = *line->ButtonControl();
        InvalidateRect(cmd.hwnd(), nullptr, TRUE);
        UpdateWindow(cmd.hwnd());
        PumpMessages();
        const Bitmap capture = CaptureWindow(cmd.hwnd(), cmd.width(), cmd.height());
        return ReadPixels(capture.get());
    }

    std::unique_ptr<host::Form> form;
    std::unique_ptr<VxLineIn> line;
    std::vector<std::wstring> changed;
    EventList redraws;
};

using Names = std::set<std::wstring>;

TEST_F(VxLineInAppearanceTest, CaptionReachesLabelAndCheckBoxWithoutTrailingBlanks) {
    line->SetCaption(L"  Pfad :   ");
    EXPECT_EQ(Label(L"lbl").caption(), L"  Pfad :");
    EXPECT_EQ(dynamic_cast<host::CheckBox&>(Child(L"chk")).caption(), L"  Pfad :");
    EXPECT_EQ(line->Caption(), L"  Pfad :");
    line->SetCaption(L"   ");
    EXPECT_EQ(line->Caption(), L"");
    line->SetButtonCaption(L"...");
    EXPECT_EQ(line->ButtonControl()->caption(), L"...");
    EXPECT_EQ(line->ButtonCaption(), L"...");
    EXPECT_EQ(changed, (std::vector<std::wstring>{L"Caption", L"Caption", L"ButtonCaption"}));
}

TEST_F(VxLineInAppearanceTest, EachColourReachesOnlyItsChildren) {
    constexpr host::Color kRed = 0x0000FF, kGreen = 0x00FF00, kBlue = 0xFF0000, kTeal = 0x808000;
    constexpr host::Color kPurple = 0x800080, kOlive = 0x008080;

    auto back = BackColours();
    auto fore = ForeColours();
    line->SetBackColor(kRed);
    EXPECT_EQ(line->BackColor(), kRed);
    EXPECT_EQ(Differences(back, BackColours()), (Names{L"chk", L"lbl"}));
    EXPECT_EQ(Differences(fore, ForeColours()), Names{});

    back = BackColours();
    line->SetForeColor(kGreen);
    EXPECT_EQ(line->ForeColor(), kGreen);
    // Neither the caption nor the field takes the control's fore colour.
    EXPECT_EQ(Differences(back, BackColours()), Names{});
    EXPECT_EQ(Differences(fore, ForeColours()), Names{});

    line->SetTextBackColor(kBlue);
    EXPECT_EQ(line->TextBackColor(), kBlue);
    EXPECT_EQ(Differences(back, BackColours()),
              (Names{L"txt", L"txi", L"con", L"mem", L"cmb0", L"cmb2", L"anz"}));
    EXPECT_EQ(Differences(fore, ForeColours()), Names{});

    back = BackColours();
    line->SetTextForeColor(kTeal);
    EXPECT_EQ(line->TextForeColor(), kTeal);
    EXPECT_EQ(Differences(fore, ForeColours()), (Names{L"txt", L"txi", L"mem", L"cmb0", L"cmb2", L"anz"}));
    EXPECT_EQ(Differences(back, BackColours()), Names{});

    fore = ForeColours();
    line->SetLabelForeColor(kPurple);
    EXPECT_EQ(line->LabelForeColor(), kPurple);
    EXPECT_EQ(Differences(fore, ForeColours()), (Names{L"lbl", L"chk"}));

    fore = ForeColours();
    line->SetButtonBackColor(kOlive);
    EXPECT_EQ(line->ButtonBackColor(), kOlive);
    EXPECT_EQ(Differences(back, BackColours()), Names{L"cmd"});
    EXPECT_EQ(Differences(fore, ForeColours()), Names{});

    line->SetButtonMaskColor(0x00FF00FF);
    EXPECT_EQ(line->ButtonControl()->maskColor(), 0x00FF00FFu);
    EXPECT_EQ(line->ButtonMaskColor(), 0x00FF00FFu);
    line->SetButtonUseMaskColor(false);
    EXPECT_FALSE(line->ButtonControl()->useMaskColor());
    EXPECT_FALSE(line->ButtonUseMaskColor());

    EXPECT_EQ(changed, (std::vector<std::wstring>{L"BackColor", L"ForeColor", L"TextBackColor",
                                                  L"TextForeColor", L"LabelForeColor", L"ButtonBackColor",
                                                  L"ButtonMaskColor", L"ButtonUseMaskColor"}));
}

TEST_F(VxLineInAppearanceTest, TextColoursInTheFrameStyle) {
    line->SetControlStyle(lineinput::StyleInnerBox);
    line->SetTextBackColor(0x00FFFF);
    EXPECT_EQ(Child(L"con").backColor(), 0x00FFFFu);
    EXPECT_EQ(Child(L"txi").backColor(), 0x00FFFFu);
    const host::Color frameFore = Child(L"con").foreColor();
    line->SetTextForeColor(0x0000FF);
    EXPECT_EQ(Child(L"txi").foreColor(), 0x0000FFu);
    EXPECT_EQ(Child(L"con").foreColor(), frameFore);
}

TEST_F(VxLineInAppearanceTest, TextBackColorReadsWhatTheFieldShowsTextForeColorTheStoredValue) {
    line->SetBackColor(0x00C0FF);
    line->SetTextBackColor(0xFFFFFF);
    line->SetTextForeColor(0x000080);
    line->SetMultiStringGrey(true); // runs the layout: the unfocused field turns grey
    EXPECT_EQ(Child(L"txt").backColor(), 0x00C0FFu);
    EXPECT_EQ(line->TextBackColor(), 0x00C0FFu);
    EXPECT_EQ(line->TextForeColor(), 0x000080u);

    // A write colours the grey field at once; the next layout greys it again.
    line->SetTextBackColor(0xE0FFE0);
    EXPECT_EQ(line->TextBackColor(), 0xE0FFE0u);
    line->RedrawControl();
    EXPECT_EQ(line->TextBackColor(), 0x00C0FFu);
    line->SetMultiStringGrey(false);
    EXPECT_EQ(line->TextBackColor(), 0xE0FFE0u);
    EXPECT_EQ(Child(L"txt").foreColor(), 0x000080u);
}

TEST_F(VxLineInAppearanceTest, EachFontReachesOnlyItsChildren) {
    host::FontDesc big;
    big.name = L"Tahoma";
    big.size = 14;

    auto fonts = Fonts();
    line->SetFont(big);
    EXPECT_EQ(line->Font(), big);
    EXPECT_EQ(Differences(fonts, Fonts()), (Names{L"txi", L"txt", L"mem", L"cmb0", L"cmb2", L"anz"}));

    host::FontDesc bold = big;
    bold.weight = 700;
    fonts = Fonts();
    line->SetLabelFont(bold);
    EXPECT_EQ(line->LabelFont(), bold);
    EXPECT_EQ(Differences(fonts, Fonts()), (Names{L"lbl", L"chk"}));

    host::FontDesc italic = big;
    italic.italic = true;
    fonts = Fonts();
    line->SetButtonFont(italic);
    EXPECT_EQ(line->ButtonFont(), italic);
    EXPECT_EQ(Differences(fonts, Fonts()), Names{L"cmd"});
    EXPECT_EQ(changed, (std::vector<std::wstring>{L"Font", L"LabelFont", L"ButtonFont"}));
}

TEST_F(VxLineInAppearanceTest, EachToolTipReachesOnlyItsChildren) {
    auto tips = ToolTips();
    line->SetLabelToolTip(L"Beschriftung");
    EXPECT_EQ(line->LabelToolTip(), L"Beschriftung");
    EXPECT_EQ(Differences(tips, ToolTips()), (Names{L"lbl", L"chk"}));

    tips = ToolTips();
    line->SetButtonToolTip(L"Durchsuchen");
    EXPECT_EQ(line->ButtonToolTip(), L"Durchsuchen");
    EXPECT_EQ(Differences(tips, ToolTips()), Names{L"cmd"});

    tips = ToolTips();
    line->SetTextToolTip(L"Pfad der Datei");
    EXPECT_EQ(line->TextToolTip(), L"Pfad der Datei");
    EXPECT_EQ(Differences(tips, ToolTips()), (Names{L"txt", L"txi", L"mem", L"cmb0", L"cmb2", L"anz"}));
}

TEST_F(VxLineInAppearanceTest, ChildrenWithToolTipsStillReportTheirNotifications) {
    // A tooltip subclasses the window it describes, on top of the framework's
    // own window procedure; the parent must still find the child's object.
    line->SetCommandStyle(lineinput::ActionReportOnly);
    line->SetButtonToolTip(L"Durchsuchen");
    line->SetTextToolTip(L"Pfad der Datei");
    EventList events;
    RecordEvents(*line, {VxEvent::ButtonClicked, VxEvent::Change}, events);
    SendMessageW(line->ButtonControl()->hwnd(), BM_CLICK, 0, 0);
    SendMessageW(line->TextBoxControl()->hwnd(), WM_CHAR, L'a', 0);
    PumpMessages();
    EXPECT_EQ(events, (EventList{VxEvent::ButtonClicked, VxEvent::Change}));
}

TEST_F(VxLineInAppearanceTest, AlignmentAndMnemonicActOnTheDisplayLabelOnly) {
    const int labelAlignment = Label(L"lbl").alignment();
    line->SetAlignment(2);
    EXPECT_EQ(Label(L"anz").alignment(), 2);
    EXPECT_EQ(line->Alignment(), 2);
    EXPECT_EQ(Label(L"lbl").alignment(), labelAlignment);
    // Outside the 16-bit range the write is skipped; the host still hears of it.
    line->SetAlignment(70000);
    EXPECT_EQ(line->Alignment(), 2);

    line->SetLabelAlignment(1);
    EXPECT_EQ(Label(L"lbl").alignment(), 1);
    EXPECT_EQ(line->LabelAlignment(), 1);
    EXPECT_EQ(Label(L"anz").alignment(), 2);
    line->SetLabelAlignment(-40000);
    EXPECT_EQ(line->LabelAlignment(), 1);

    const bool labelMnemonic = Label(L"lbl").useMnemonic();
    line->SetUseMnemonic(false);
    EXPECT_FALSE(Label(L"anz").useMnemonic());
    EXPECT_FALSE(line->UseMnemonic());
    EXPECT_EQ(Label(L"lbl").useMnemonic(), labelMnemonic);
    EXPECT_EQ(changed, (std::vector<std::wstring>{L"Alignment", L"Alignment", L"LabelAlignment",
                                                  L"LabelAlignment", L"UseMnemonic"}));
}

// Only left, right and centred exist: any other value leaves the label as it
// is, so it is neither stored nor restored; the host still hears of the set.
TEST_F(VxLineInAppearanceTest, AnAlignmentOtherThanLeftRightOrCentredIsRefused) {
    line->SetAlignment(1);
    line->SetLabelAlignment(2);
    changed.clear();
    for (std::int32_t v : {3, -1, 255}) {
        SCOPED_TRACE(v);
        line->SetAlignment(v);
        line->SetLabelAlignment(v);
        EXPECT_EQ(line->Alignment(), 1);
        EXPECT_EQ(line->LabelAlignment(), 2);
    }
    EXPECT_EQ(changed, (std::vector<std::wstring>{L"Alignment", L"LabelAlignment", L"Alignment",
                                                  L"LabelAlignment", L"Alignment", L"LabelAlignment"}));

    host::PropertyBag written;
    line->WriteProperties(written);
    EXPECT_EQ(host::ToInt32(written.ReadProperty(L"Alignment", std::int16_t{0})), 1);
    EXPECT_EQ(host::ToInt32(written.ReadProperty(L"LabelAlignment", std::wstring())), 2);

    host::PropertyBag stored;
    stored.Put(L"Alignment", std::int16_t{3});
    stored.Put(L"LabelAlignment", std::int16_t{7});
    auto restored = VxLineIn::Create({form->hwnd(), form.get()});
    ASSERT_NE(restored, nullptr);
    restored->ReadProperties(stored);
    EXPECT_EQ(restored->Alignment(), 0);
    EXPECT_EQ(restored->LabelAlignment(), 0);
}

TEST_F(VxLineInAppearanceTest, HeightChangingSettersRunTheLayoutOthersDoNot) {
    const EventList onePass = {VxEvent::BeforeRedraw, VxEvent::AfterRedraw};
    host::FontDesc big;
    big.size = 12;

    line->SetLabelFont(big);
    EXPECT_EQ(redraws, onePass);
    redraws.clear();
    line->SetFont(big);
    EXPECT_EQ(redraws, onePass);
    redraws.clear();
    line->SetShowImage(true);
    EXPECT_TRUE(Child(L"img").visible());
    EXPECT_TRUE(line->ShowImage());
    EXPECT_EQ(redraws, onePass);
    redraws.clear();
    line->SetButtonUseMaskColor(false);
    EXPECT_EQ(redraws, onePass);
    redraws.clear();
    line->SetLinePicture(TwoColourPicture());
    EXPECT_EQ(redraws, onePass);
    redraws.clear();

    line->SetButtonFont(big);
    line->SetBackColor(0x123456);
    line->SetTextBackColor(0x654321);
    line->SetCaption(L"Name :");
    line->SetAlignment(1);
    line->SetPictureType(3);
    line->SetButtonPicture(TwoColourPicture());
    EXPECT_TRUE(redraws.empty());
}

TEST_F(VxLineInAppearanceTest, FontRemeasuresTheSingleLineHeight) {
    host::FontDesc big;
    big.name = L"Tahoma";
    big.size = 20;

    const int lineHeight = line->height();
    const int fieldHeight = Child(L"txt").height();
    line->SetFont(big);
    EXPECT_GT(Child(L"txt").height(), fieldHeight);
    EXPECT_GT(line->height(), lineHeight);

    // The multi-line field keeps the control's height.
    auto memo = NewLine(10, 200, 400, 2);
    ASSERT_NE(memo, nullptr);
    const int memoHeight = memo->height();
    memo->SetFont(big);
    EXPECT_EQ(memo->height(), memoHeight);

    // The combo box measures its drop-down again from its new item height.
    auto combo = NewLine(10, 300, 400, 1);
    ASSERT_NE(combo, nullptr);
    host::ComboBox* box = combo->ComboControl();
    ASSERT_NE(box, nullptr);
    RECT before{};
    SendMessageW(box->hwnd(), CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&before));
    const int comboHeight = combo->height();
    combo->SetFont(big);
    EXPECT_GT(combo->height(), comboHeight);
    RECT after{};
    SendMessageW(box->hwnd(), CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&after));
    EXPECT_GT(after.bottom - after.top, before.bottom - before.top);
    const int expectedTotal =
        lineinput::DropDownHeight(box->height(), box->itemHeight(), combo->ComboLines());
    EXPECT_EQ(after.bottom - after.top, expectedTotal - box->height());
}

TEST_F(VxLineInAppearanceTest, LinePictureFromAFileAndFromAResource) {
    const TempFolder folder;
    const std::vector<std::uint8_t> bytes = TwoColourPicture().ToBitmapFile();
    ASSERT_FALSE(bytes.empty());
    ASSERT_TRUE(WriteFileBytes(folder / L"zeile.bmp", std::string(bytes.begin(), bytes.end())));
    const host::Picture fromFile = host::Picture::FromFile(folder / L"zeile.bmp");
    ASSERT_FALSE(fromFile.IsEmpty());

    line->SetLinePicture(fromFile);
    EXPECT_EQ(dynamic_cast<host::Image&>(Child(L"img")).picture(), fromFile);
    EXPECT_EQ(line->LinePicture(), fromFile);
    EXPECT_EQ(Child(L"img").width(), 20);

    const host::Picture fromResource = host::Picture::FromResource(IDB_PICTURE_NOTES);
    ASSERT_FALSE(fromResource.IsEmpty());
    line->SetLinePicture(fromResource);
    EXPECT_EQ(line->LinePicture(), fromResource);
    EXPECT_EQ(Child(L"img").width(), 16);
}

TEST_F(VxLineInAppearanceTest, PictureTypeChoosesBetweenBuiltInPicturesAndButtonPicture) {
    const TempFolder folder;
    const std::vector<std::uint8_t> bytes = TwoColourPicture().ToBitmapFile();
    ASSERT_TRUE(WriteFileBytes(folder / L"knopf.bmp", std::string(bytes.begin(), bytes.end())));
    const host::Picture own = host::Picture::FromFile(folder / L"knopf.bmp");
    ASSERT_FALSE(own.IsEmpty());
    host::CommandButton& cmd = *line->ButtonControl();
    const Pixels folderPicture = ReadPixels(host::Picture::FromResource(IDB_PICTURE_FOLDER).Bitmap());
    const Pixels notesPicture = ReadPixels(host::Picture::FromResource(IDB_PICTURE_NOTES).Bitmap());
    ASSERT_EQ(folderPicture.width, 16);

    line->SetPictureType(0);
    EXPECT_TRUE(cmd.picture().IsEmpty());
    line->SetButtonPicture(own);
    EXPECT_EQ(line->ButtonPicture(), own);
    EXPECT_EQ(cmd.picture(), own);

    // A built-in picture wins over the button picture while PictureType is set.
    line->SetPictureType(1);
    EXPECT_EQ(line->PictureType(), 1);
    EXPECT_EQ(ReadPixels(cmd.picture().Bitmap()), folderPicture);
    EXPECT_EQ(line->ButtonPicture(), own);
    line->RedrawControl();
    EXPECT_EQ(ReadPixels(cmd.picture().Bitmap()), folderPicture);

    line->SetPictureType(0);
    EXPECT_EQ(cmd.picture(), own);

    // A number without a built-in picture leaves the button as it was.
    line->SetPictureType(15);
    const host::Picture shown = cmd.picture();
    EXPECT_EQ(ReadPixels(shown.Bitmap()), notesPicture);
    for (const int number : {99, 16, -1, 65535, -2147483647 - 1}) {
        SCOPED_TRACE(number);
        line->SetPictureType(number);
        EXPECT_EQ(line->PictureType(), number);
        EXPECT_EQ(cmd.picture(), shown);
    }
    line->SetButtonPicture(host::Picture());
    EXPECT_EQ(cmd.picture(), shown);

    // A picture from the program's resources serves as button picture too.
    const host::Picture floppy = host::Picture::FromResource(IDB_PICTURE_FLOPPY);
    ASSERT_FALSE(floppy.IsEmpty());
    line->SetButtonPicture(floppy);
    line->SetPictureType(0);
    EXPECT_EQ(cmd.picture(), floppy);
    line->SetButtonPicture(host::Picture());
    EXPECT_TRUE(cmd.picture().IsEmpty());
}

// The children that paint themselves, read from the screen: the frame's
// separator left of the button, the outline in the fore colour around the
// container's back colour, and the line's picture.
TEST_F(VxLineInAppearanceTest, FrameOutlineAndPicturePaintThemselves) {
    constexpr COLORREF kInside = RGB(210, 220, 230);
    constexpr COLORREF kBorder = RGB(0, 128, 0);
    form->show();
    const auto onScreen = [](const host::Control& child) {
        InvalidateRect(child.hwnd(), nullptr, TRUE);
        UpdateWindow(child.hwnd());
        PumpMessages();
        const Bitmap capture = CaptureWindow(child.hwnd(), child.width(), child.height());
        return ReadPixels(capture.get());
    };

    line->SetControlStyle(lineinput::StyleInnerBox);
    const host::Control& cmd = Child(L"cmd");
    const Pixels frame = onScreen(Child(L"con"));
    ASSERT_GT(cmd.height(), 0);
    for (int y = cmd.top(); y < cmd.top() + cmd.height(); ++y)
        EXPECT_EQ(frame.At(cmd.left() - 1, y), GetSysColor(COLOR_3DLIGHT)) << y;

    line->SetControlStyle(lineinput::StyleOutline);
    line->SetBackColor(kInside);
    Child(L"shp").setForeColor(kBorder);
    const Pixels outline = onScreen(Child(L"shp"));
    ASSERT_GT(outline.width, 2);
    EXPECT_EQ(outline.At(0, 0), kBorder);
    EXPECT_EQ(outline.At(outline.width - 1, outline.height / 2), kBorder);
    EXPECT_EQ(outline.At(outline.width / 2, outline.height / 2), kInside);

    line->SetLinePicture(TwoColourPicture());
    line->SetShowImage(true);
    const Pixels picture = onScreen(Child(L"img"));
    ASSERT_EQ(picture.width, 20);
    EXPECT_EQ(picture.At(2, 6), RGB(255, 0, 0));
    EXPECT_EQ(picture.At(17, 6), RGB(0, 0, 255));
}

TEST_F(VxLineInAppearanceTest, ButtonDrawsItsPictureCentredOnItsBackColour) {
    constexpr COLORREF kFace = RGB(200, 230, 255);
    constexpr COLORREF kMask = RGB(192, 192, 192);
    form->show();
    host::FontDesc font;
    font.name = L"Tahoma";
    font.size = 14; // a button tall enough for the whole picture and its shifted copy
    line->SetFont(font);
    line->SetButtonWidth(40);
    line->SetButtonBackColor(kFace);
    line->SetPictureType(9); // the red cross
    host::CommandButton& cmd = *line->ButtonControl();
    const int left = (cmd.width() - 16) / 2;
    const int top = (cmd.height() - 16) / 2;
    ASSERT_GE(top, 3);

    const auto countIn = [&](const Pixels& shown, COLORREF colour) {
        int count = 0;
        for (int y = top; y < top + 16; ++y)
            for (int x = left; x < left + 16; ++x)
                count += shown.At(x, y) == colour;
        return count;
    };

    // With the mask colour the picture's background is the button's face.
    Pixels shown = ButtonOnScreen();
    ASSERT_EQ(shown.width, cmd.width());
    EXPECT_EQ(shown.At(left, top), kFace);
    EXPECT_EQ(countIn(shown, kMask), 0);
    EXPECT_GE(countIn(shown, RGB(255, 0, 0)), 12);
    EXPECT_EQ(shown.At(cmd.width() / 2, 3), kFace);

    // Without it the whole square shows, grey background included.
    line->SetButtonUseMaskColor(false);
    shown = ButtonOnScreen();
    EXPECT_EQ(shown.At(left, top), kMask);
    EXPECT_GE(countIn(shown, RGB(255, 0, 0)), 12);

    // Disabled: the shape embossed in the 3D colours, still on the face.
    line->SetButtonUseMaskColor(true);
    line->SetEnabled(false);
    shown = ButtonOnScreen();
    EXPECT_EQ(shown.At(left, top), kFace);
    EXPECT_EQ(countIn(shown, RGB(255, 0, 0)), 0);
    EXPECT_GE(countIn(shown, GetSysColor(COLOR_3DSHADOW)), 12);
    EXPECT_LE(countIn(shown, GetSysColor(COLOR_3DSHADOW)), 16 * 16 / 2);
    line->SetEnabled(true);

    // Pressed, the picture moves one pixel to the right and down.
    SendMessageW(cmd.hwnd(), BM_SETSTATE, TRUE, 0);
    const Pixels pressed = ButtonOnScreen();
    SendMessageW(cmd.hwnd(), BM_SETSTATE, FALSE, 0);
    shown = ButtonOnScreen();
    int same = 0;
    for (int y = top; y < top + 16; ++y)
        for (int x = left; x < left + 16; ++x)
            same += shown.At(x, y) == pressed.At(x + 1, y + 1);
    EXPECT_EQ(same, 16 * 16);
}

TEST_F(VxLineInAppearanceTest, ScreenshotOfTheFifteenPicturesOnTheButtons) {
    line.reset();
    constexpr int kRows = 8, kLineWidth = 380, kRowStep = 36, kZoom = 3;
    host::FontDesc font;
    font.name = L"Tahoma";
    font.size = 12;
    std::vector<std::unique_ptr<VxLineIn>> lines;
    for (int n = 1; n <= IDB_PICTURE_COUNT; ++n) {
        auto l = NewLine(10 + ((n - 1) / kRows) * (kLineWidth + 10), 10 + ((n - 1) % kRows) * kRowStep,
                         kLineWidth);
        ASSERT_NE(l, nullptr);
        l->SetFont(font);
        l->SetLabelFont(font);
        l->SetCaption(L"Bild " + std::to_wstring(n) + L" :");
        l->SetButtonWidth(44);
        l->SetPictureType(n);
        lines.push_back(std::move(l));
    }
    form->show();
    UpdateWindow(form->hwnd());
    PumpMessages();

    const int topHeight = 10 + kRows * kRowStep;
    const int buttonWidth = lines[0]->ButtonControl()->width();
    const int buttonHeight = lines[0]->ButtonControl()->height();
    const int cellWidth = buttonWidth * kZoom + 8;
    const int cellHeight = buttonHeight * kZoom + 8;
    const int width = form->clientWidth();
    const int perRow = width / cellWidth;
    const int zoomRows = (IDB_PICTURE_COUNT + perRow - 1) / perRow;
    const int height = topHeight + zoomRows * cellHeight + 8;

    const win32::WindowDc screen(nullptr);
    const Bitmap sheet(CreateCompatibleBitmap(screen.get(), width, height));
    const MemoryDc sheetDc(CreateCompatibleDC(screen.get()));
    ASSERT_TRUE(sheet && sheetDc);
    {
        // The sheet is selected while it is drawn, and no longer when it is saved.
        const win32::ScopedSelect sheetSelected(sheetDc.get(), sheet.get());
        const RECT all{0, 0, width, height};
        FillRect(sheetDc.get(), &all, GetSysColorBrush(COLOR_BTNFACE));
        {
            const win32::WindowDc formDc(form->hwnd());
            BitBlt(sheetDc.get(), 0, 0, width, topHeight, formDc.get(), 0, 0, SRCCOPY);
        }

        // The second part: each button enlarged, so that every pixel is seen.
        for (int i = 0; i < IDB_PICTURE_COUNT; ++i) {
            host::CommandButton& cmd = *lines[static_cast<size_t>(i)]->ButtonControl();
            SCOPED_TRACE(i + 1);
            const Bitmap capture = CaptureWindow(cmd.hwnd(), cmd.width(), cmd.height());
            const Pixels shown = ReadPixels(capture.get());
            ASSERT_EQ(shown.width, cmd.width());
            // The picture shows and its grey background does not.
            const COLORREF face = host::ToColorRef(cmd.backColor());
            int drawn = 0, grey = 0;
            for (int y = (cmd.height() - 16) / 2; y < (cmd.height() + 16) / 2; ++y)
                for (int x = (cmd.width() - 16) / 2; x < (cmd.width() + 16) / 2; ++x) {
                    drawn += shown.At(x, y) != face;
                    grey += shown.At(x, y) == RGB(192, 192, 192);
                }
            EXPECT_GE(drawn, 12);
            if (i + 1 != 14) { // the grey cross may draw in that very grey
                EXPECT_EQ(grey, 0);
            }
            const MemoryDc source(CreateCompatibleDC(sheetDc.get()));
            ASSERT_TRUE(source);
            const win32::ScopedSelect selected(source.get(), capture.get());
            StretchBlt(sheetDc.get(), 8 + (i % perRow) * cellWidth, topHeight + 8 + (i / perRow) * cellHeight,
                       cmd.width() * kZoom, cmd.height() * kZoom, source.get(), 0, 0, cmd.width(),
                       cmd.height(), SRCCOPY);
        }
    }

    const ComApartment com;
    ASSERT_TRUE(com.Ok());
    const std::wstring path = ProgramFolder() + L"vxlinein-pictures.png";
    EXPECT_TRUE(SaveAsPng(sheet.get(), path));
    std::printf("Screenshot: %ls\n", path.c_str());
}

} // namespace
