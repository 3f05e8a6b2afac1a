// The list operations on CurrentCombo, and the item tags kept in ItemTags.
// An item's tag lives in the element whose index is the item's ItemData.
#include "VxLineIn.h"

#include <cwchar>

namespace {

// Indexes travel to the combo box as 16-bit numbers.
bool IsIndex16(std::int32_t index) {
    return index >= -32768 && index <= 32767;
}

// Upper case as the platform's text functions make it (umlauts included).
std::wstring Upper(std::wstring s) {
    if (!s.empty())
        CharUpperBuffW(s.data(), static_cast<DWORD>(s.size()));
    return s;
}

std::wstring TrimBlanks(const std::wstring& s) {
    const auto first = s.find_first_not_of(L' ');
    if (first == std::wstring::npos)
        return {};
    return s.substr(first, s.find_last_not_of(L' ') - first + 1);
}

// The highest index of the tag array, or 0 while it has no elements.
std::int32_t ItemTagUpperBound(const std::vector<host::Variant>& tags) {
    return tags.empty() ? 0 : static_cast<std::int32_t>(tags.size()) - 1;
}

// A decimal number, blanks around it allowed ("12", " -1.5 ", "2e3"); false
// for anything else, hexadecimal, "inf" and "nan" included.
bool ParseDecimal(const std::wstring& text, double& number) {
    const std::wstring digits = TrimBlanks(text);
    if (digits.empty() || digits.find_first_not_of(L"0123456789+-.eE") != std::wstring::npos)
        return false;
    wchar_t* end = nullptr;
    number = std::wcstod(digits.c_str(), &end);
    return end == digits.c_str() + digits.size();
}

// The host's comparison of a text with a tag: exact for texts, by number for
// numbers (a text that is no number matches no numeric tag), and an empty
// tag equals the empty text.
bool TextEqualsTag(const std::wstring& text, const host::Variant& tag) {
    if (tag.IsEmpty())
        return text.empty();
    if (tag.IsString())
        return text == tag.AsString();
    double number = 0;
    if (!ParseDecimal(text, number))
        return false;
    return number == (tag.IsInteger() ? static_cast<double>(tag.AsInteger()) : tag.AsDouble());
}

// A selection by tag: no property write, so the host is not told. A
// position beyond 16 bits reaches no item, like every other index.
void SelectPosition(host::ComboBox* combo, std::int32_t index) {
    if (combo && IsIndex16(index))
        combo->setListIndex(index);
}

} // namespace

void VxLineIn::AddItem(const std::wstring& Item, std::int32_t Index) {
    // -1 appends; any other negative position does not exist.
    if (CurrentCombo && Index >= -1 && IsIndex16(Index))
        CurrentCombo->addItem(Item, Index);
}

void VxLineIn::RemoveItem(std::int32_t Index) {
    if (CurrentCombo && Index >= 0 && IsIndex16(Index))
        CurrentCombo->removeItem(Index);
}

void VxLineIn::Clear() {
    SilentUpdate = true;
    txt->setText(L"");
    txi->setText(L"");
    mem->setText(L"");
    anz->setCaption(L"");
    cmb0->clear();
    cmb2->clear();
    ItemTags.assign(1, host::Variant());
    edited_ = false;
    SilentUpdate = false;
}

std::wstring VxLineIn::List(std::int32_t Index) const {
    return CurrentCombo && IsIndex16(Index) ? CurrentCombo->list(Index) : std::wstring();
}

std::int32_t VxLineIn::ListCount() const {
    return CurrentCombo ? CurrentCombo->listCount() : 0;
}

std::int32_t VxLineIn::ListIndex() const {
    return CurrentCombo ? CurrentCombo->listIndex() : 0;
}
void VxLineIn::SetListIndex(std::int32_t v) {
    if (CurrentCombo && IsIndex16(v))
        CurrentCombo->setListIndex(v);
    propertyChanged(L"ListIndex");
}

std::int32_t VxLineIn::NewIndex() const {
    return CurrentCombo ? CurrentCombo->newIndex() : 0;
}

std::int32_t VxLineIn::TopIndex() const {
    return CurrentCombo ? CurrentCombo->topIndex() : 0;
}
void VxLineIn::SetTopIndex(std::int32_t v) {
    if (CurrentCombo && IsIndex16(v))
        CurrentCombo->setTopIndex(v);
    propertyChanged(L"TopIndex");
}

std::int32_t VxLineIn::ItemData(std::int32_t Index) const {
    return CurrentCombo && IsIndex16(Index) ? CurrentCombo->itemData(Index) : 0;
}
void VxLineIn::SetItemData(std::int32_t Index, std::int32_t v) {
    if (CurrentCombo && IsIndex16(Index))
        CurrentCombo->setItemData(Index, v);
    propertyChanged(L"ItemData");
}

host::Variant VxLineIn::ItemTag(std::int32_t Index) const {
    if (!CurrentCombo || !IsIndex16(Index) || Index < 0 || Index >= CurrentCombo->listCount())
        return {};
    const std::int32_t slot = CurrentCombo->itemData(Index);
    if (slot < 0 || static_cast<size_t>(slot) >= ItemTags.size())
        return {};
    return ItemTags[static_cast<size_t>(slot)];
}

void VxLineIn::SetItemTag(std::int32_t Index, const host::Variant& TG) {
    std::int32_t slot = ItemData(Index);
    if (slot == 0) {
        slot = ItemTagUpperBound(ItemTags) + 1;
        ItemTags.resize(static_cast<size_t>(slot) + 1);
        if (CurrentCombo && IsIndex16(Index))
            CurrentCombo->setItemData(Index, slot);
    }
    if (slot > 0 && static_cast<size_t>(slot) < ItemTags.size())
        ItemTags[static_cast<size_t>(slot)] = TG;
    propertyChanged(L"ItemTag");
}

host::Variant VxLineIn::SelectByItemTag(const std::wstring& TG) {
    const std::int32_t upperBound = ItemTagUpperBound(ItemTags);
    const std::wstring wanted = Upper(TG);
    for (std::int32_t i = 0; i <= upperBound; ++i) {
        if (wanted == Upper(TrimBlanks(ItemTag(i).ToText()))) {
            SelectPosition(CurrentCombo, i);
            break;
        }
    }
    return {};
}

void VxLineIn::ListFocusItemTag(const std::wstring& TG) {
    const std::int32_t count = ListCount();
    for (std::int32_t i = 0; i < count; ++i) {
        if (TextEqualsTag(TG, ItemTag(i))) {
            SelectPosition(CurrentCombo, i);
            return;
        }
    }
}

std::int32_t VxLineIn::cid() const {
    const host::ComboBox* combo = ComboControl();
    if (!combo)
        return 0;
    const int selected = combo->listIndex();
    return selected < 0 ? 0 : combo->itemData(selected);
}
