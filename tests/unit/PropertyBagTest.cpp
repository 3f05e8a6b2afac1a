#include "PropertyBagText.h"

#include <gtest/gtest.h>

#include <random>

using namespace host;

namespace {

std::vector<std::wstring> Keys(const PropertyBag& bag) {
    std::vector<std::wstring> keys;
    for (const auto& e : bag.Entries())
        keys.push_back(e.key);
    return keys;
}

const FontDesc kSansSerif{L"MS Sans Serif", 8.25, 400, false, false, false, 0};

} // namespace

TEST(PropertyBag, KeysIgnoreCaseAndKeepWriteOrder) {
    PropertyBag bag;
    EXPECT_EQ(std::get<std::int16_t>(bag.ReadProperty(L"ButtonWidth", std::int16_t{32})), 32);
    bag.WriteProperty(L"ButtonWidth", std::int32_t{26}, std::int16_t{32});
    bag.WriteProperty(L"LabelWidth", std::int32_t{100}, std::int16_t{125});
    bag.WriteProperty(L"Caption", std::wstring(L"Pfad/UNC/FTP :"), std::wstring(L"Label : "));
    EXPECT_EQ(Keys(bag), (std::vector<std::wstring>{L"buttonwidth", L"labelwidth", L"caption"}));
    EXPECT_EQ(ToInt32(bag.ReadProperty(L"BUTTONWIDTH", std::int16_t{32})), 26);
    // A second write keeps the entry's place.
    bag.WriteProperty(L"buttonWidth", std::int32_t{40}, std::int16_t{32});
    EXPECT_EQ(Keys(bag).front(), L"buttonwidth");
    EXPECT_EQ(ToInt32(bag.ReadProperty(L"ButtonWidth", std::int16_t{32})), 40);
}

TEST(PropertyBag, ValuesEqualToTheirDefaultAreNotStored) {
    PropertyBag bag;
    bag.WriteProperty(L"ButtonWidth", std::int32_t{32}, std::int16_t{32});
    bag.WriteProperty(L"ButtonShow", true, true);
    bag.WriteProperty(L"TextBackColor", ColorValue{0x80000005}, std::int32_t(0x80000005));
    bag.WriteProperty(L"Font", kSansSerif, kSansSerif);
    bag.WriteProperty(L"ButtonPicture", PictureData{}, PictureData{});
    EXPECT_TRUE(bag.Entries().empty());
    // An integer never equals the empty text, so this key is always stored.
    bag.WriteProperty(L"LabelAlignment", std::int16_t{0}, std::wstring());
    EXPECT_TRUE(bag.Contains(L"labelalignment"));
    // Writing the default later removes the earlier value.
    bag.WriteProperty(L"LabelWidth", std::int32_t{100}, std::int16_t{125});
    bag.WriteProperty(L"LabelWidth", std::int32_t{125}, std::int16_t{125});
    EXPECT_FALSE(bag.Contains(L"LabelWidth"));
}

TEST(PropertyValue, ConversionsToTargetTypes) {
    EXPECT_EQ(ToInt16(PropertyValue(std::wstring(L" 2 "))), 2);
    EXPECT_FALSE(ToInt16(PropertyValue(std::wstring())));
    EXPECT_FALSE(ToInt16(PropertyValue(std::wstring(L"links"))));
    EXPECT_FALSE(ToInt16(PropertyValue(std::int32_t{70000})));
    EXPECT_EQ(ToInt32(PropertyValue(true)), -1);
    EXPECT_EQ(ToBool(PropertyValue(std::int16_t{-1})), true);
    EXPECT_EQ(ToBool(PropertyValue(std::wstring(L"False"))), false);
    EXPECT_EQ(ToColor(PropertyValue(std::int32_t(0xC0C0C0))), 0xC0C0C0u);
    EXPECT_EQ(ToColor(PropertyValue(ColorValue{0x80000005})), 0x80000005u);
    EXPECT_EQ(ToText(PropertyValue(std::int16_t{12})), L"12");
    EXPECT_FALSE(ToText(PropertyValue(kSansSerif)));
    EXPECT_FALSE(ToFont(PropertyValue(std::wstring(L"MS Sans Serif"))));
    EXPECT_FALSE(ToPicture(PropertyValue(std::int16_t{0})));
}

TEST(PropertyBagText, RoundTripsEveryType) {
    PropertyBag bag;
    bag.Put(L"ButtonWidth", std::int16_t{-26});
    bag.Put(L"_ExtentX", std::int32_t{11880});
    bag.Put(L"DlgFolderNamesAsis", true);
    bag.Put(L"ButtonShow", false);
    bag.Put(L"Caption", std::wstring(L"W\u00E4hlen \"x\" \\ \u0416\r\n\t\x01 :"));
    bag.Put(L"Text", std::wstring());
    bag.Put(L"BackColor", ColorValue{0x8000000F});
    bag.Put(L"Font", FontDesc{L"Arial, \"bold\"", 12.5, 700, true, false, true, 161});
    bag.Put(L"ButtonPicture", PictureData{{0x42, 0x4D, 0x00, 0xFF}});
    bag.Put(L"LinePicture", PictureData{});
    const std::vector<StoredBag> stored{{L"txtUrl", bag}, {L"txtPat", PropertyBag{}}};

    const std::wstring text = FormatPropertyBags(stored);
    const auto parsed = ParsePropertyBags(text);
    ASSERT_EQ(parsed.size(), 2u);
    EXPECT_EQ(parsed[0].name, L"txtUrl");
    EXPECT_EQ(parsed[1].name, L"txtPat");
    const auto& entries = parsed[0].bag.Entries();
    ASSERT_EQ(entries.size(), bag.Entries().size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        EXPECT_EQ(entries[i].key, bag.Entries()[i].key);
        EXPECT_TRUE(entries[i].value == bag.Entries()[i].value) << entries[i].key;
    }
    EXPECT_EQ(FormatPropertyBags(parsed), text);
    EXPECT_TRUE(FindStoredBag(parsed, L"txtPat").Entries().empty());
    EXPECT_TRUE(FindStoredBag(parsed, L"TXTURL").Entries().empty()); // control names are exact
}

TEST(PropertyBagText, MalformedLinesAreSkippedAndTheRestKept) {
    const std::wstring text = L"int16 outside = 1\n"
                              L"Begin txtPat\r\n"
                              L"  int16 a = 40000\n" // out of range
                              L"  int16 b = 5\n"
                              L"  int32 c = 12 13\n" // trailing text
                              L"  bool d = 1\n"      // booleans are -1 or 0
                              L"  bool e = -1\n"
                              L"  string f = \"open\n"  // no closing quote
                              L"  string g = \"\\q\"\n" // unknown escape
                              L"  string h = \"ok\"\n"
                              L"  color i = &HZZ\n"
                              L"  color j = &H80000005\n"
                              L"  font k = \"Arial\", 8.25, 400, 0, 0\n" // truncated
                              L"  font l = \"Arial\", 9, 400, 0, 0, 0, 0\n"
                              L"  picture m = 424\n" // odd digit count
                              L"  double n = 1.5\n"  // unknown type
                              L"  int16 = 3\n"       // no key
                              L"  int16 o 3\n"       // no "="
                              L"  int16 p = 7";      // last line without line end
    const auto bags = ParsePropertyBags(text);
    ASSERT_EQ(bags.size(), 1u);
    EXPECT_EQ(Keys(bags[0].bag), (std::vector<std::wstring>{L"b", L"e", L"h", L"j", L"l", L"p"}));
    EXPECT_EQ(ToInt32(bags[0].bag.ReadProperty(L"A", std::int16_t{32})), 32);
    EXPECT_EQ(ToFont(bags[0].bag.ReadProperty(L"l", kSansSerif))->name, L"Arial");
}

TEST(PropertyBagText, AByteOrderMarkDoesNotCostTheFirstBlock) {
    const auto bags = ParsePropertyBags(L"\uFEFFBegin txtUrl\n  int32 labelwidth = 100\nEnd\n");
    ASSERT_EQ(bags.size(), 1u);
    EXPECT_EQ(bags[0].name, L"txtUrl");
    EXPECT_EQ(ToInt32(bags[0].bag.ReadProperty(L"LabelWidth", std::int16_t{125})), 100);
}

TEST(PropertyBagText, CarriageReturnsAreNoPartOfANameOrValue) {
    const std::pair<const char*, std::wstring> cases[] = {
        {"CR LF", L"Begin txtUrl\r\n  int32 labelwidth = 100\r\nEnd\r\n"},
        {"CR CR LF", L"Begin txtUrl\r\r\n  int32 labelwidth = 100\r\r\nEnd\r\r\n"},
        {"CR before the last line end", L"Begin txtUrl\r\n  int32 labelwidth = 100\r"},
        {"CR inside the line", L"Begin\rtxtUrl \r\n  int32\rlabelwidth\r=\r100\nEnd"},
    };
    for (const auto& [name, text] : cases) {
        SCOPED_TRACE(name);
        const auto bags = ParsePropertyBags(text);
        ASSERT_EQ(bags.size(), 1u);
        EXPECT_EQ(bags[0].name, L"txtUrl");
        EXPECT_EQ(Keys(bags[0].bag), (std::vector<std::wstring>{L"labelwidth"}));
        EXPECT_EQ(ToInt32(bags[0].bag.ReadProperty(L"LabelWidth", std::int16_t{125})), 100);
        EXPECT_EQ(FormatPropertyBags(ParsePropertyBags(FormatPropertyBags(bags))), FormatPropertyBags(bags));
    }
}

TEST(PropertyBagText, RandomAndMutatedInputNeverBreaksTheReader) {
    PropertyBag bag;
    bag.Put(L"caption", std::wstring(L"Lokales Ziel :"));
    bag.Put(L"labelfont", kSansSerif);
    bag.Put(L"backcolor", ColorValue{0x8000000F});
    bag.Put(L"buttonpicture", PictureData{{1, 2, 3}});
    bag.Put(L"picturetype", std::int16_t{1});
    const std::wstring valid = FormatPropertyBags({{L"txtPat", bag}});
    const std::wstring alphabet =
        L"Begin End int16 int32 bool string color font picture = \" \\ , . - &H 0123456789"
        L"ABCDEFabcdef\r\n\t\u00E4\u0416\uFFFF";

    std::mt19937 random(20261207);
    for (int round = 0; round < 20000; ++round) {
        std::wstring text;
        if (round % 2 == 0) {
            text = valid; // mutate a valid store: flips, cuts, insertions
            const int edits = 1 + static_cast<int>(random() % 4);
            for (int e = 0; e < edits && !text.empty(); ++e) {
                const std::size_t at = random() % text.size();
                switch (random() % 3) {
                case 0:
                    text[at] = alphabet[random() % alphabet.size()];
                    break;
                case 1:
                    text.resize(at);
                    break;
                default:
                    text.insert(at, 1, alphabet[random() % alphabet.size()]);
                }
            }
        } else {
            const std::size_t length = random() % 200;
            for (std::size_t i = 0; i < length; ++i)
                text += alphabet[random() % alphabet.size()];
        }
        const auto bags = ParsePropertyBags(text);
        // Whatever survived parsing formats and parses to the same entries.
        EXPECT_EQ(FormatPropertyBags(ParsePropertyBags(FormatPropertyBags(bags))), FormatPropertyBags(bags));
    }
}
