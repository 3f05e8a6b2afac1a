// The input line's stored state: an empty bag, a written and re-read bag (also
// through the text store), the keys a new instance writes, pictures in a bag,
// and the main window's stored form data as the program embeds it.
#include "VxLineIn.h"

#include "Form.h"
#include "PropertyBagText.h"
#include "Screen.h"
#include "StoredFormData.h"

#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <vector>

namespace {

const host::FontDesc kSansSerif{L"MS Sans Serif", 8.25, 400, false, false, false, 0};

std::vector<std::wstring> Keys(const host::PropertyBag& bag) {
    std::vector<std::wstring> keys;
    for (const auto& e : bag.Entries())
        keys.push_back(e.key);
    return keys;
}

// A 24-bit bitmap with one red pixel at the top left, as a picture.
host::Picture RedDotPicture(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap)
        return {};
    const int stride = ((width * 24 + 31) / 32) * 4;
    auto* pixels = static_cast<unsigned char*>(bits);
    std::fill(pixels, pixels + stride * height, 0xC0);
    unsigned char* topLeft = pixels + stride * (height - 1); // bottom-up rows
    topLeft[0] = 0;
    topLeft[1] = 0;
    topLeft[2] = 0xFF;
    return host::Picture::FromBitmap(bitmap);
}

class Persistence : public ::testing::Test {
protected:
    void SetUp() override {
        form = host::Form::Create({L"Persistence test", 9000, 3000});
        ASSERT_NE(form, nullptr);
        form->setFont(kSansSerif);
    }

    std::unique_ptr<VxLineIn> NewLine() {
        auto line = VxLineIn::Create({form->hwnd(), form.get()});
        if (line)
            line->InitProperties();
        return line;
    }
    std::unique_ptr<VxLineIn> RestoredLine(const host::PropertyBag& bag) {
        auto line = VxLineIn::Create({form->hwnd(), form.get()});
        if (line)
            line->ReadProperties(bag);
        return line;
    }

    std::unique_ptr<host::Form> form;
};

} // namespace

TEST_F(Persistence, AnEmptyBagRestoresTheReadDefaults) {
    auto line = RestoredLine(host::PropertyBag{});
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->ButtonWidth(), 32); // a new instance has 384 twips in pixels
    EXPECT_EQ(line->LabelWidth(), 125);
    EXPECT_EQ(line->TopDistance(), 2);
    EXPECT_EQ(line->ControlDistance(), 4);
    EXPECT_EQ(line->DlgFileType(), L"Textdatei");
    EXPECT_EQ(line->DlgOpenCaption(), L"Datei \u00f6ffnen : ");
    EXPECT_EQ(line->DlgPathCaption(), L"W\u00e4hlen Sie ein Verzeichnis : ");
    EXPECT_EQ(line->TextMask(), L"*");
    EXPECT_EQ(line->ComboStyle(), 2);
    EXPECT_EQ(line->ComboLines(), 8);
    EXPECT_EQ(line->DlgFolderStyle(), 1);
    EXPECT_TRUE(line->ButtonShow());
    EXPECT_TRUE(line->AutoAmbientChanges());
    EXPECT_TRUE(line->Value());
    EXPECT_EQ(line->TextBackColor(), host::kColorWindow);
    // The caption loses its trailing blank on the label, not on the check box.
    EXPECT_EQ(line->Caption(), L"Label :");
    EXPECT_EQ(static_cast<host::CheckBox*>(line->ChildNamed(L"chk"))->caption(), L"Label : ");
    // Without a style 1 there is no combo box to work on.
    line->AddItem(L"eins");
    EXPECT_EQ(line->ListCount(), 0);
    EXPECT_EQ(line->List(0), L"");
    line->SetControlStyle(lineinput::StyleCombo);
    line->AddItem(L"eins");
    EXPECT_EQ(line->ListCount(), 1);
}

TEST_F(Persistence, ANewInstanceWritesOnlyWhatDiffersPlusFontsAndAlignment) {
    auto line = NewLine();
    ASSERT_NE(line, nullptr);
    host::PropertyBag bag;
    line->WriteProperties(bag);
    std::vector<std::wstring> expected;
    if (host::TwipsPerPixelX() == 15)
        expected.push_back(L"buttonwidth"); // 26 differs from the default 32
    // The caption is written without its trailing blank, which differs.
    for (const wchar_t* key : {L"caption", L"labelfont", L"labelalignment", L"font", L"buttonfont"})
        expected.push_back(key);
    EXPECT_EQ(Keys(bag), expected);
    EXPECT_EQ(host::ToText(bag.ReadProperty(L"Caption", std::wstring())), L"Label :");
}

TEST_F(Persistence, WrittenStateIsRestoredThroughTheTextStore) {
    auto line = NewLine();
    ASSERT_NE(line, nullptr);
    line->SetButtonWidth(30);
    line->SetLabelWidth(90);
    line->SetFixedBlockWidth(1500);
    line->SetDlgFileType(L"Bilder|Alle");
    line->SetDlgFileExtension(L"bmp|*");
    line->SetButtonShow(false);
    line->SetTextBoxStyle(11);
    line->SetTextMask(L"0123");
    line->SetCommandStyle(lineinput::ActionCopy);
    line->SetPictureType(12);
    line->SetDefaultFilename(L"C:\\Daten\\x.txt");
    line->SetAllowDDMultiFiles(true);
    line->SetCaption(L"Quelle :  ");
    line->SetLabelForeColor(0x0000FF);
    line->SetLabelAlignment(1);
    line->SetLabelToolTip(L"Woher");
    line->SetCheckboxShow(true);
    line->SetValue(false);
    line->SetTextForeColor(0x00FF00);
    line->SetTextBackColor(0x80000018);
    line->SetButtonClickOnEnter(true);
    line->SetDlgFolderNamesAsis(true);
    line->SetText(L"\\\\srv\\share \u0416");
    line->SetFont({L"Arial", 12, 700, true, false, false, 0});
    line->SetLocked(true);
    line->SetMaxLength(40);
    line->SetTextToolTip(L"Pfad");
    line->SetAlignment(2);
    line->SetCTLUseLng(3);
    line->SetButtonCaption(L"...");
    line->SetButtonMaskColor(0xFF00FF);
    line->SetButtonToolTip(L"W\u00e4hlen");
    line->SetButtonPicture(RedDotPicture(16, 16));
    line->SetComboLines(5);
    line->SetComboStyle(0);
    line->SetLeftOffset(6);
    line->SetShowImage(true);
    line->SetDlgFolderStyle(2);
    line->SetEnabled(false);

    host::PropertyBag written;
    line->WriteProperties(written);
    const auto stored = host::ParsePropertyBags(host::FormatPropertyBags({{L"line", written}}));
    auto restored = RestoredLine(host::FindStoredBag(stored, L"line"));
    ASSERT_NE(restored, nullptr);

    EXPECT_EQ(restored->ButtonWidth(), 30);
    EXPECT_EQ(restored->LabelWidth(), 90);
    EXPECT_EQ(restored->FixedBlockWidth(), 1500);
    EXPECT_EQ(restored->DlgFileType(), L"Bilder|Alle");
    EXPECT_EQ(restored->DlgFileExtension(), L"bmp|*");
    EXPECT_FALSE(restored->ButtonShow());
    EXPECT_EQ(restored->TextBoxStyle(), 11);
    EXPECT_EQ(restored->TextMask(), L"0123");
    EXPECT_EQ(restored->CommandStyle(), 5);
    EXPECT_EQ(restored->PictureType(), 12);
    EXPECT_EQ(restored->DefaultFilename(), L"C:\\Daten\\x.txt");
    EXPECT_TRUE(restored->AllowDDMultiFiles());
    EXPECT_EQ(restored->Caption(), L"Quelle :");
    EXPECT_EQ(restored->LabelForeColor(), 0x0000FFu);
    EXPECT_EQ(restored->LabelAlignment(), 1);
    EXPECT_EQ(restored->LabelToolTip(), L"Woher");
    EXPECT_TRUE(restored->CheckboxShow());
    EXPECT_FALSE(restored->Value());
    EXPECT_EQ(restored->TextForeColor(), 0x00FF00u);
    EXPECT_TRUE(restored->ButtonClickOnEnter());
    EXPECT_TRUE(restored->DlgFolderNamesAsis());
    EXPECT_EQ(restored->Text(), L"\\\\srv\\share \u0416");
    EXPECT_EQ(restored->Font().name, L"Arial");
    EXPECT_EQ(restored->Font().size, 12);
    EXPECT_TRUE(restored->Font().italic);
    EXPECT_TRUE(restored->Locked());
    EXPECT_EQ(restored->MaxLength(), 40);
    EXPECT_EQ(restored->TextToolTip(), L"Pfad");
    EXPECT_EQ(restored->Alignment(), 2);
    EXPECT_EQ(restored->CTLUseLng(), 3);
    EXPECT_EQ(restored->ButtonCaption(), L"...");
    EXPECT_EQ(restored->ButtonMaskColor(), 0xFF00FFu);
    EXPECT_EQ(restored->ButtonToolTip(), L"W\u00e4hlen");
    EXPECT_EQ(restored->ButtonPicture().ToBitmapFile(), line->ButtonPicture().ToBitmapFile());
    EXPECT_EQ(restored->ComboLines(), 5);
    EXPECT_EQ(restored->ComboStyle(), 0);
    EXPECT_EQ(restored->LeftOffset(), 6);
    EXPECT_TRUE(restored->ShowImage());
    EXPECT_EQ(restored->DlgFolderStyle(), 2);
    EXPECT_FALSE(restored->Enabled());

    // The one text of txt goes to every text child.
    for (const wchar_t* child : {L"txt", L"txi", L"mem"})
        EXPECT_EQ(static_cast<host::TextBox*>(restored->ChildNamed(child))->text(), L"\\\\srv\\share \u0416")
            << child;
    EXPECT_EQ(static_cast<host::Label*>(restored->ChildNamed(L"anz"))->caption(), L"\\\\srv\\share \u0416");

    // Written again, the restored control stores the same bag.
    host::PropertyBag rewritten;
    restored->WriteProperties(rewritten);
    EXPECT_EQ(host::FormatPropertyBags({{L"line", rewritten}}),
              host::FormatPropertyBags({{L"line", written}}));
}

// The stored form holds each key once, in this order, when every value
// differs from its default.
const wchar_t* const kWriteOrder[] = {
    L"buttonwidth",
    L"labelwidth",
    L"fixedblockwidth",
    L"controldistance",
    L"topdistance",
    L"dlgfiletype",
    L"dlgfileextension",
    L"dlgopencaption",
    L"dlgsavecaption",
    L"dlgpathcaption",
    L"buttonshow",
    L"textboxstyle",
    L"textmask",
    L"controlstyle",
    L"greycontrol",
    L"commandstyle",
    L"picturetype",
    L"autoambientchanges",
    L"defaultfilename",
    L"appendoleddfiles",
    L"allowddmultifiles",
    L"caption",
    L"labelforecolor",
    L"labelfont",
    L"enabled",
    L"labelalignment",
    L"labeltooltip",
    L"checkboxshow",
    L"value",
    L"buttonclickonenter",
    L"dlgfoldernamesasis",
    L"text",
    L"textforecolor",
    L"textbackcolor",
    L"font",
    L"locked",
    L"passwordchar",
    L"maxlength",
    L"texttooltip",
    L"alignment",
    L"usemnemonic",
    L"ctluselng",
    L"buttoncaption",
    L"buttonbackcolor",
    L"buttonfont",
    L"buttonmaskcolor",
    L"buttonusemaskcolor",
    L"backcolor",
    L"forecolor",
    L"buttontooltip",
    L"buttonpicture",
    L"combolines",
    L"combostyle",
    L"leftoffset",
    L"showimage",
    L"linepicture",
    L"dlgfolderstyle",
};

TEST_F(Persistence, EveryKeyIsWrittenOnceInTheStoredOrder) {
    auto line = NewLine();
    ASSERT_NE(line, nullptr);
    line->SetButtonWidth(30);
    line->SetLabelWidth(90);
    line->SetFixedBlockWidth(1500);
    line->SetControlDistance(5);
    line->SetTopDistance(3);
    line->SetDlgFileType(L"Bilder");
    line->SetDlgFileExtension(L"bmp");
    line->SetDlgOpenCaption(L"\u00d6ffnen :");
    line->SetDlgSaveCaption(L"Speichern :");
    line->SetDlgPathCaption(L"Ordner :");
    line->SetButtonShow(false);
    line->SetTextBoxStyle(11);
    line->SetTextMask(L"0123");
    line->SetControlStyle(lineinput::StyleMemo);
    line->SetGreyControl(true);
    line->SetCommandStyle(lineinput::ActionCopy);
    line->SetPictureType(12);
    line->SetAutoAmbientChanges(false);
    line->SetDefaultFilename(L"x.txt");
    line->SetAppendOleDDFiles(true);
    line->SetAllowDDMultiFiles(true);
    line->SetCaption(L"Quelle :");
    line->SetLabelForeColor(0x0000FF);
    line->SetLabelToolTip(L"Woher");
    line->SetCheckboxShow(true);
    line->SetValue(false);
    line->SetButtonClickOnEnter(true);
    line->SetDlgFolderNamesAsis(true);
    line->SetText(L"abc");
    line->SetTextForeColor(0x00FF00);
    line->SetTextBackColor(0x80000018);
    line->SetLocked(true);
    line->SetPasswordChar(L"*");
    line->SetMaxLength(40);
    line->SetTextToolTip(L"Pfad");
    line->SetAlignment(2);
    line->SetUseMnemonic(true);
    line->SetCTLUseLng(3);
    line->SetButtonCaption(L"...");
    line->SetButtonBackColor(0x00FFFF);
    line->SetButtonMaskColor(0xFF00FF);
    line->SetButtonUseMaskColor(false);
    line->SetBackColor(0x808080);
    line->SetForeColor(0x404040);
    line->SetButtonToolTip(L"W\u00e4hlen");
    line->SetButtonPicture(RedDotPicture(16, 16));
    line->SetComboLines(5);
    line->SetComboStyle(0);
    line->SetLeftOffset(6);
    line->SetShowImage(true);
    line->SetLinePicture(RedDotPicture(8, 8));
    line->SetDlgFolderStyle(2);
    line->SetEnabled(false);

    host::PropertyBag bag;
    line->WriteProperties(bag);
    EXPECT_EQ(Keys(bag), std::vector<std::wstring>(std::begin(kWriteOrder), std::end(kWriteOrder)));
}

TEST_F(Persistence, StoredValuesAreTakenAsTheyAre) {
    host::PropertyBag bag;
    bag.Put(L"textmask", std::wstring());                // the "*" substitution belongs to the setter only
    bag.Put(L"labelalignment", std::wstring(L"rechts")); // no number: the alignment stays
    bag.Put(L"buttonwidth", std::wstring(L"breit"));     // unreadable: the default is not taken either
    bag.Put(L"ButtonPicture", host::PictureData{{0x42, 0x4D, 1, 2, 3}}); // damaged bitmap
    auto line = RestoredLine(bag);
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->TextMask(), L"");
    EXPECT_EQ(line->LabelAlignment(), 0);
    EXPECT_TRUE(line->ButtonPicture().IsEmpty());
}

TEST(Picture, BitmapFileBytesRoundTripAndDamagedOnesAreRefused) {
    const host::Picture dot = RedDotPicture(5, 3);
    const std::vector<std::uint8_t> bytes = dot.ToBitmapFile();
    ASSERT_FALSE(bytes.empty());
    const host::Picture copy = host::Picture::FromBitmapFile(bytes);
    EXPECT_EQ(copy.Width(), 5);
    EXPECT_EQ(copy.Height(), 3);
    EXPECT_EQ(copy.ToBitmapFile(), bytes);
    EXPECT_TRUE(host::Picture().ToBitmapFile().empty());

    for (std::size_t cut : {0u, 2u, 14u, 40u, 54u}) {
        const std::vector<std::uint8_t> truncated(bytes.begin(),
                                                  bytes.begin() + static_cast<std::ptrdiff_t>(cut));
        EXPECT_TRUE(host::Picture::FromBitmapFile(truncated).IsEmpty()) << cut;
    }
    std::vector<std::uint8_t> huge = bytes;
    huge[18] = 0xFF; // width far beyond the pixels at hand
    huge[19] = 0x7F;
    EXPECT_TRUE(host::Picture::FromBitmapFile(huge).IsEmpty());
    std::vector<std::uint8_t> compressed = bytes;
    compressed[30] = 1; // run-length compression is not accepted
    EXPECT_TRUE(host::Picture::FromBitmapFile(compressed).IsEmpty());
}

TEST_F(Persistence, TheMainWindowsFormDataRestoresBothLines) {
    const auto formData = LoadStoredFormData();
    ASSERT_EQ(formData.size(), 2u);
    const std::vector<std::wstring> storedKeys{
        L"_extentx",    L"_extenty",   L"buttonwidth",   L"labelwidth",     L"commandstyle",
        L"picturetype", L"caption",    L"labelfont",     L"labelalignment", L"dlgfoldernamesasis",
        L"font",        L"buttonfont", L"dlgfolderstyle"};
    struct Expected {
        const wchar_t* name;
        const wchar_t* caption;
        int pictureType;
    };
    for (const Expected& e :
         {Expected{L"txtUrl", L"Pfad/UNC/FTP :", 2}, Expected{L"txtPat", L"Lokales Ziel :", 1}}) {
        const host::PropertyBag bag = host::FindStoredBag(formData, e.name);
        EXPECT_EQ(Keys(bag), storedKeys) << e.name;
        auto line = RestoredLine(bag);
        ASSERT_NE(line, nullptr);
        EXPECT_EQ(line->Caption(), e.caption);
        EXPECT_EQ(line->CommandStyle(), 3);
        EXPECT_EQ(line->PictureType(), e.pictureType);
        EXPECT_EQ(line->DlgFolderStyle(), 2);
        EXPECT_TRUE(line->DlgFolderNamesAsis());
        EXPECT_EQ(line->ButtonWidth(), 26);
        EXPECT_EQ(line->LabelWidth(), 100);
        EXPECT_EQ(line->LabelAlignment(), 0);
        EXPECT_EQ(line->Font(), kSansSerif);
        EXPECT_EQ(line->LabelFont(), kSansSerif);
        EXPECT_EQ(line->ButtonFont(), kSansSerif);
        EXPECT_EQ(line->Text(), L"");

        // Stored again, the line writes the same entries (the host keeps the extent).
        host::PropertyBag rewritten;
        line->WriteProperties(rewritten);
        EXPECT_EQ(Keys(rewritten), std::vector<std::wstring>(storedKeys.begin() + 2, storedKeys.end()));
        for (const auto& entry : rewritten.Entries())
            EXPECT_TRUE(host::SameValue(entry.value, bag.ReadProperty(entry.key, std::wstring(L"?"))))
                << entry.key;
    }
}
