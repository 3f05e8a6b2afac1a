// The list interface of the input line on its real combo boxes: items,
// selection, item data, the tags kept in the tag array with their slots,
// the two ways of selecting by tag, and the events a selection produces.
#include "Form.h"
#include "LineTestSupport.h"
#include "VxLineIn.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class VxLineInListTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = host::Form::Create({L"VxLineIn list test", 9000, 6000});
        ASSERT_NE(form, nullptr);
        RecordPropertyChanges(*form, changed);
        line = NewLine(nullptr);
        ASSERT_NE(line, nullptr);
        line->SetControlStyle(lineinput::StyleCombo);
        PumpMessages();
        events.clear();
        changed.clear();
    }

    // A new instance, or with a bag one restored from it.
    std::unique_ptr<VxLineIn> NewLine(const host::PropertyBag* bag) {
        auto l = VxLineIn::Create({form->hwnd(), form.get()});
        if (!l)
            return nullptr;
        if (bag)
            l->ReadProperties(*bag);
        else
            l->InitProperties();
        PlaceInPixels(*l, {});
        RecordEvents(*l, {VxEvent::Change, VxEvent::Click}, events);
        return l;
    }

    void AddItems(std::initializer_list<const wchar_t*> items) {
        for (const wchar_t* item : items)
            line->AddItem(item);
    }

    std::vector<std::wstring> Items() {
        std::vector<std::wstring> items;
        for (int i = 0; i < line->ListCount(); ++i)
            items.push_back(line->List(i));
        return items;
    }

    host::ComboBox& Combo(const wchar_t* name) {
        return *static_cast<host::ComboBox*>(line->ChildNamed(name));
    }

    std::unique_ptr<host::Form> form;
    std::unique_ptr<VxLineIn> line;
    EventList events;
    std::vector<std::wstring> changed;
};

using Texts = std::vector<std::wstring>;
const EventList kChangeClick{VxEvent::Change, VxEvent::Click};

TEST_F(VxLineInListTest, AddItemAppendsOrInsertsAtAPosition) {
    AddItems({L"b", L"a"});
    EXPECT_EQ(Items(), (Texts{L"b", L"a"})); // unsorted: at the end
    EXPECT_EQ(line->NewIndex(), 1);
    line->AddItem(L"erster", 0);
    EXPECT_EQ(line->NewIndex(), 0);
    EXPECT_EQ(Items(), (Texts{L"erster", L"b", L"a"}));
    line->AddItem(L"mitte", 2);
    EXPECT_EQ(Items(), (Texts{L"erster", L"b", L"mitte", L"a"}));
    // Positions that do not exist add nothing.
    line->AddItem(L"x", -5);
    line->AddItem(L"x", 99);
    line->AddItem(L"x", 65536 + 1);
    EXPECT_EQ(line->ListCount(), 4);
    EXPECT_EQ(line->ItemData(3), 0);
    EXPECT_TRUE(events.empty());
}

TEST_F(VxLineInListTest, RemoveItemIgnoresPositionsThatDoNotExist) {
    AddItems({L"a", L"b", L"c"});
    line->RemoveItem(-1);
    line->RemoveItem(99);
    line->RemoveItem(65536 + 1); // would be item 1 if cut to 16 bits
    EXPECT_EQ(Items(), (Texts{L"a", L"b", L"c"}));
    line->RemoveItem(1);
    EXPECT_EQ(Items(), (Texts{L"a", L"c"}));
    EXPECT_EQ(line->List(5), L"");
}

TEST_F(VxLineInListTest, IndexesOutside16BitsReachNoItem) {
    AddItems({L"a"});
    line->SetItemData(0, 7);
    line->SetItemData(65536, 9);
    EXPECT_EQ(line->ItemData(0), 7);
    EXPECT_EQ(line->ItemData(65536), 0);
    EXPECT_EQ(line->List(65536), L"");
    line->SetItemData(0, -70000);
    EXPECT_EQ(line->ItemData(0), -70000); // the data itself is 32-bit
}

TEST_F(VxLineInListTest, TagsTakeSlotsInTheOrderTheyAreWritten) {
    AddItems({L"a", L"b", L"c"});
    EXPECT_TRUE(line->ItemTag(0).IsEmpty()); // before any tag was written
    line->SetItemTag(2, L"zwei");
    line->SetItemTag(0, host::Variant(std::int32_t{5}));
    line->SetItemTag(1, host::Variant(1.5));
    EXPECT_EQ(line->ItemData(2), 1);
    EXPECT_EQ(line->ItemData(0), 2);
    EXPECT_EQ(line->ItemData(1), 3);
    EXPECT_EQ(line->ItemTag(2), host::Variant(L"zwei"));
    EXPECT_EQ(line->ItemTag(0), host::Variant(std::int32_t{5}));
    EXPECT_EQ(line->ItemTag(1), host::Variant(1.5));

    // Re-tagging reuses the slot; an empty tag is a tag too.
    line->SetItemTag(0, host::Variant());
    EXPECT_EQ(line->ItemData(0), 2);
    EXPECT_TRUE(line->ItemTag(0).IsEmpty());
    line->AddItem(L"d");
    line->SetItemTag(3, L"vier");
    EXPECT_EQ(line->ItemData(3), 4);
    EXPECT_EQ(changed, (std::vector<std::wstring>(5, L"ItemTag")));
}

TEST_F(VxLineInListTest, TagsSurviveRemovalAndKeepTheirSlots) {
    AddItems({L"a", L"b", L"c"});
    line->SetItemTag(0, L"A");
    line->SetItemTag(1, L"B");
    line->RemoveItem(0);
    EXPECT_EQ(line->List(0), L"b");
    EXPECT_EQ(line->ItemTag(0), host::Variant(L"B"));
    EXPECT_TRUE(line->ItemTag(1).IsEmpty());
    // The removed item's slot stays taken.
    line->SetItemTag(1, L"C");
    EXPECT_EQ(line->ItemData(1), 3);
}

TEST_F(VxLineInListTest, TagsForMissingItemsOrForeignItemData) {
    AddItems({L"a", L"b"});
    // A tag for an item that does not exist still takes a slot.
    line->SetItemTag(99, L"niemand");
    line->SetItemTag(0, L"A");
    EXPECT_EQ(line->ItemData(0), 2);
    // ItemData set by the host beyond the array: the tag is not stored.
    line->SetItemData(1, 50);
    line->SetItemTag(1, L"B");
    EXPECT_EQ(line->ItemData(1), 50);
    EXPECT_TRUE(line->ItemTag(1).IsEmpty());
    EXPECT_TRUE(line->ItemTag(99).IsEmpty());
}

TEST_F(VxLineInListTest, ClearResetsTheTagsToOneEmptyElement) {
    AddItems({L"a", L"b"});
    line->SetItemTag(0, L"A");
    line->SetItemTag(1, L"B");
    line->Clear();
    EXPECT_EQ(line->ListCount(), 0);
    AddItems({L"c"});
    EXPECT_TRUE(line->ItemTag(0).IsEmpty());
    line->SetItemTag(0, L"C");
    EXPECT_EQ(line->ItemData(0), 1);
    // Only the tag writes told the host; Clear tells it nothing.
    EXPECT_EQ(changed, (std::vector<std::wstring>(3, L"ItemTag")));
}

TEST_F(VxLineInListTest, SelectByItemTagTrimsAndUpperCasesTheTagButNotTheArgument) {
    AddItems({L"a", L"b", L"c"});
    line->SetItemTag(0, L"x");
    line->SetItemTag(2, L"  K\u00f6ln ");
    EXPECT_TRUE(line->SelectByItemTag(L" K\u00d6LN").IsEmpty());
    EXPECT_EQ(line->ListIndex(), -1);
    EXPECT_TRUE(events.empty());
    EXPECT_TRUE(line->SelectByItemTag(L"k\u00d6ln").IsEmpty());
    EXPECT_EQ(line->ListIndex(), 2);
    EXPECT_EQ(events, kChangeClick);
    EXPECT_EQ(line->Text(), L"c");
    // Numbers are compared as their text.
    line->SetItemTag(1, host::Variant(std::int32_t{42}));
    line->SelectByItemTag(L"42");
    EXPECT_EQ(line->ListIndex(), 1);
    // Selecting tells the host nothing.
    EXPECT_EQ(changed, (std::vector<std::wstring>(3, L"ItemTag")));
}

TEST_F(VxLineInListTest, SelectByItemTagSearchesUpToTheHighestSlot) {
    AddItems({L"u0", L"u1", L"u2", L"t3"});
    line->SetItemTag(3, L"T"); // slot 1: positions 0 and 1 are searched
    line->SelectByItemTag(L"T");
    EXPECT_EQ(line->ListIndex(), -1);
    // An empty argument matches the first untagged item.
    line->SelectByItemTag(L"");
    EXPECT_EQ(line->ListIndex(), 0);
    line->SetItemTag(0, L"a");
    line->SetItemTag(1, L"b");
    line->SetItemTag(2, L"c"); // slots up to 4: now item 3 lies in range
    line->SelectByItemTag(L"t");
    EXPECT_EQ(line->ListIndex(), 3);
}

TEST_F(VxLineInListTest, ListFocusItemTagComparesExactly) {
    AddItems({L"leer", L"abc", L"zahl", L"text"});
    line->SetItemTag(1, L"ABC");
    line->SetItemTag(2, host::Variant(std::int32_t{5}));
    line->SetItemTag(3, L"5x");
    line->ListFocusItemTag(L"abc");
    EXPECT_EQ(line->ListIndex(), -1);
    EXPECT_TRUE(events.empty());
    line->ListFocusItemTag(L"ABC");
    EXPECT_EQ(line->ListIndex(), 1);
    EXPECT_EQ(events, kChangeClick);
    // A numeric tag compares as a number; a text that is no number matches
    // no numeric tag.
    line->ListFocusItemTag(L"5.0");
    EXPECT_EQ(line->ListIndex(), 2);
    line->ListFocusItemTag(L"");
    EXPECT_EQ(line->ListIndex(), 0); // the untagged item
    line->ListFocusItemTag(L"5x");
    EXPECT_EQ(line->ListIndex(), 3);
    line->ListFocusItemTag(L"0x5");
    EXPECT_EQ(line->ListIndex(), 3);
}

// Item 32768 exists but lies beyond the 16-bit positions: reading its tag
// gives empty, and selecting it by tag must fail like every other step.
TEST_F(VxLineInListTest, SelectingByTagNeverReachesAnItemBeyond16Bits) {
    SendMessageW(Combo(L"cmb2").hwnd(), CB_INITSTORAGE, 32769, 32769 * 16); // one allocation
    for (int i = 0; i <= 32768; ++i)
        line->AddItem(L"Eintrag");
    ASSERT_EQ(line->ListCount(), 32769);
    for (int i = 0; i < 32768; ++i)
        line->SetItemTag(i, L"x");
    line->ListFocusItemTag(L"");
    EXPECT_EQ(line->ListIndex(), -1);
    line->SelectByItemTag(L"");
    EXPECT_EQ(line->ListIndex(), -1);
    EXPECT_TRUE(events.empty());
    line->SelectByItemTag(L"X");
    EXPECT_EQ(line->ListIndex(), 0);
}

TEST_F(VxLineInListTest, SelectionChangeRaisesChangeThenClickOnlyInStyle1) {
    AddItems({L"a", L"b"});
    line->SetListIndex(1);
    EXPECT_EQ(events, kChangeClick);
    EXPECT_EQ(line->Text(), L"b");
    EXPECT_EQ(changed, (std::vector<std::wstring>{L"ListIndex"}));

    // In another style the hidden combo box keeps its items; a selection
    // raises Click alone.
    line->SetControlStyle(lineinput::StyleTextBox);
    AddItems({L"a", L"b"});
    events.clear();
    line->SetListIndex(0);
    EXPECT_EQ(line->ListIndex(), 0);
    EXPECT_EQ(events, (EventList{VxEvent::Click}));
}

TEST_F(VxLineInListTest, TopIndexAndItemDataTellTheHost) {
    for (int i = 0; i < 30; ++i)
        line->AddItem(L"Eintrag " + std::to_wstring(i));
    line->SetTopIndex(10);
    // Wine's combo box accepts the top index but keeps reporting 0, so the
    // read is compared with what the combo box itself reports.
    EXPECT_EQ(line->TopIndex(), SendMessageW(Combo(L"cmb2").hwnd(), CB_GETTOPINDEX, 0, 0));
    line->SetItemData(3, 33);
    EXPECT_EQ(line->ItemData(3), 33);
    EXPECT_EQ(changed, (std::vector<std::wstring>{L"TopIndex", L"ItemData"}));
}

TEST_F(VxLineInListTest, ClearEmptiesTheTextInEveryStyleWithoutChange) {
    for (int style = 0; style <= 5; ++style) {
        line->SetControlStyle(style);
        line->AddItem(L"Wert");
        line->SetText(L"Wert");
        line->SetEdited(true);
        events.clear();
        line->Clear();
        EXPECT_EQ(line->Text(), L"") << "style " << style;
        EXPECT_TRUE(events.empty()) << "style " << style;
        EXPECT_FALSE(line->Edited()) << "style " << style;
        EXPECT_EQ(line->ListIndex(), -1) << "style " << style;
        EXPECT_EQ(Combo(L"cmb0").listCount() + Combo(L"cmb2").listCount(), 0) << "style " << style;
    }
    // The editable combo box as well.
    line->SetControlStyle(lineinput::StyleCombo);
    line->SetComboStyle(0);
    line->SetText(L"getippt");
    events.clear();
    line->Clear();
    EXPECT_EQ(line->Text(), L"");
    EXPECT_TRUE(events.empty());
}

TEST_F(VxLineInListTest, ChangingComboStyleEmptiesBothLists) {
    line->SetComboStyle(0);
    AddItems({L"a", L"b"});
    EXPECT_EQ(Combo(L"cmb0").listCount(), 2);
    line->SetComboStyle(2);
    EXPECT_EQ(line->ListCount(), 0);
    EXPECT_EQ(Combo(L"cmb0").listCount(), 0);
    AddItems({L"c"});
    EXPECT_EQ(Combo(L"cmb2").listCount(), 1);
}

// A control restored in style 0 has no combo box to work on until style 1
// is set; a new instance of the same style works on cmb0.
TEST_F(VxLineInListTest, RestoredInStyle0TheListsDoNothingUntilStyle1) {
    auto fresh = NewLine(nullptr);
    ASSERT_NE(fresh, nullptr);
    host::PropertyBag bag;
    fresh->WriteProperties(bag);
    fresh->AddItem(L"neu");
    EXPECT_EQ(static_cast<host::ComboBox*>(fresh->ChildNamed(L"cmb0"))->listCount(), 1);

    auto restored = NewLine(&bag);
    ASSERT_NE(restored, nullptr);
    ASSERT_EQ(restored->ControlStyle(), 0);
    restored->AddItem(L"a");
    restored->SetItemData(0, 3);
    restored->SetListIndex(0);
    EXPECT_EQ(restored->ListCount(), 0);
    EXPECT_EQ(restored->List(0), L"");
    EXPECT_EQ(restored->ListIndex(), 0);
    EXPECT_EQ(restored->NewIndex(), 0);
    EXPECT_EQ(restored->ItemData(0), 0);
    EXPECT_TRUE(restored->ItemTag(0).IsEmpty());
    auto* cmb0 = static_cast<host::ComboBox*>(restored->ChildNamed(L"cmb0"));
    auto* cmb2 = static_cast<host::ComboBox*>(restored->ChildNamed(L"cmb2"));
    EXPECT_EQ(cmb0->listCount() + cmb2->listCount(), 0);

    restored->SetControlStyle(lineinput::StyleCombo);
    restored->AddItem(L"a");
    EXPECT_EQ(restored->ListCount(), 1);
    EXPECT_EQ(restored->ComboStyle(), 2);
    EXPECT_EQ(cmb2->listCount(), 1);
}

} // namespace
