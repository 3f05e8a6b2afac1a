#include "ComboBox.h"

#include "Windows1252.h"

#include <commctrl.h>

namespace host {
namespace {
constexpr UINT_PTR kEditSubclassId = 2;
}

std::unique_ptr<ComboBox> ComboBox::Create(const ComboBoxArgs& args) {
    std::unique_ptr<ComboBox> combo(new ComboBox());
    combo->listOnly_ = args.listOnly;
    combo->focusFromMessages_ = false; // the combo box reports focus itself
    const DWORD style =
        WS_TABSTOP | WS_VSCROLL | CBS_AUTOHSCROLL | (args.listOnly ? CBS_DROPDOWNLIST : CBS_DROPDOWN);
    if (!combo->createStandard(L"COMBOBOX", L"", style, 0, args.parent))
        return nullptr;
    // Keys and mouse of the editable kind arrive at its edit field.
    if (HWND edit = combo->editWindow())
        SetWindowSubclass(edit, &ComboBox::EditProc, kEditSubclassId,
                          reinterpret_cast<DWORD_PTR>(combo.get()));
    return combo;
}

HWND ComboBox::editWindow() const {
    if (!hwnd() || listOnly_)
        return nullptr;
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    return GetComboBoxInfo(hwnd(), &info) ? info.hwndItem : nullptr;
}

LRESULT CALLBACK ComboBox::EditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                    DWORD_PTR refData) noexcept {
    if (msg == WM_NCDESTROY) {
        RemoveWindowSubclass(hwnd, &ComboBox::EditProc, kEditSubclassId);
        return DefSubclassProc(hwnd, msg, wParam, lParam);
    }
    try {
        auto* self = reinterpret_cast<ComboBox*>(refData);
        LRESULT result = 0;
        if (self->handleInputOf(hwnd, msg, wParam, lParam, result))
            return result;
    } catch (...) {
        // Nothing may cross the platform's callback; the edit field handles it.
    }
    return DefSubclassProc(hwnd, msg, wParam, lParam);
}

LRESULT ComboBox::handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
        // Sent by the combo box's own edit field and list.
        return paintColors(reinterpret_cast<HDC>(wParam));
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (locked_) { // a locked combo box does not open its list
            SetFocus(hwnd());
            return 0;
        }
        break;
    case WM_KEYDOWN:
        if (locked_ && (wParam == VK_UP || wParam == VK_DOWN || wParam == VK_PRIOR || wParam == VK_NEXT ||
                        wParam == VK_HOME || wParam == VK_END || wParam == VK_F4))
            return 0;
        break;
    case WM_CHAR:
        if (locked_ && listOnly_) {
            // Typing would select an item: the key is reported, then dropped.
            Windows1252::CharacterAfterKeyPress(static_cast<wchar_t>(wParam), onKeyPress);
            return 0;
        }
        break;
    default:
        break;
    }
    return Control::handleMessage(msg, wParam, lParam);
}

bool ComboBox::handleReflected(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (msg != WM_COMMAND)
        return Control::handleReflected(msg, wParam, lParam, result);
    result = 0;
    switch (HIWORD(wParam)) {
    case CBN_EDITCHANGE:
        if (!settingText_ && onChange)
            onChange();
        break;
    case CBN_SELCHANGE:
        if (onClick)
            onClick();
        break;
    case CBN_DBLCLK:
        if (onDblClick)
            onDblClick();
        break;
    case CBN_SETFOCUS:
        if (onGotFocus)
            onGotFocus();
        break;
    case CBN_KILLFOCUS:
        if (onLostFocus)
            onLostFocus();
        break;
    default:
        break;
    }
    return true;
}

std::wstring ComboBox::text() const {
    if (!hwnd())
        return {};
    std::wstring value(static_cast<size_t>(GetWindowTextLengthW(hwnd())) + 1, L'\0');
    value.resize(static_cast<size_t>(GetWindowTextW(hwnd(), value.data(), static_cast<int>(value.size()))));
    return value;
}

bool ComboBox::setText(const std::wstring& value) {
    if (!hwnd())
        return false;
    if (listOnly_) {
        // A list-only combo box refuses a text that is not one of its items.
        const int count = listCount();
        for (int i = 0; i < count; ++i)
            if (list(i) == value)
                return setListIndex(i);
        return false;
    }
    if (text() == value)
        return true;
    settingText_ = true;
    const bool written = SetWindowTextW(hwnd(), value.c_str()) != FALSE;
    settingText_ = false;
    if (written && onChange)
        onChange();
    return written;
}

void ComboBox::setLocked(bool on) {
    locked_ = on;
    if (HWND edit = editWindow())
        SendMessageW(edit, EM_SETREADONLY, on, 0);
}

bool ComboBox::addItem(const std::wstring& item, int index) {
    if (!hwnd())
        return false;
    const LRESULT at = index == -1
                           ? SendMessageW(hwnd(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()))
                           : SendMessageW(hwnd(), CB_INSERTSTRING, static_cast<WPARAM>(index),
                                          reinterpret_cast<LPARAM>(item.c_str()));
    if (at == CB_ERR || at == CB_ERRSPACE || index < -1)
        return false;
    newIndex_ = static_cast<int>(at);
    return true;
}

bool ComboBox::removeItem(int index) {
    return hwnd() && index >= 0 &&
           SendMessageW(hwnd(), CB_DELETESTRING, static_cast<WPARAM>(index), 0) != CB_ERR;
}

void ComboBox::clear() {
    if (hwnd())
        SendMessageW(hwnd(), CB_RESETCONTENT, 0, 0);
    newIndex_ = -1;
}

std::wstring ComboBox::list(int index) const {
    if (!hwnd() || index < 0)
        return {};
    const LRESULT length = SendMessageW(hwnd(), CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == CB_ERR)
        return {};
    std::wstring value(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT copied = SendMessageW(hwnd(), CB_GETLBTEXT, static_cast<WPARAM>(index),
                                        reinterpret_cast<LPARAM>(value.data()));
    value.resize(copied == CB_ERR ? 0 : static_cast<size_t>(copied));
    return value;
}

int ComboBox::listCount() const {
    const LRESULT n = hwnd() ? SendMessageW(hwnd(), CB_GETCOUNT, 0, 0) : 0;
    return n == CB_ERR ? 0 : static_cast<int>(n);
}

int ComboBox::listIndex() const {
    return hwnd() ? static_cast<int>(SendMessageW(hwnd(), CB_GETCURSEL, 0, 0)) : -1;
}

bool ComboBox::setListIndex(int index) {
    if (!hwnd() || index < -1 || index >= listCount())
        return false;
    SendMessageW(hwnd(), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    // The platform reports only the user's selections; one made in code is
    // a Click all the same.
    if (onClick)
        onClick();
    return true;
}

int ComboBox::topIndex() const {
    const LRESULT top = hwnd() ? SendMessageW(hwnd(), CB_GETTOPINDEX, 0, 0) : CB_ERR;
    return top == CB_ERR ? 0 : static_cast<int>(top);
}

bool ComboBox::setTopIndex(int index) {
    return hwnd() && index >= 0 &&
           SendMessageW(hwnd(), CB_SETTOPINDEX, static_cast<WPARAM>(index), 0) != CB_ERR;
}

std::int32_t ComboBox::itemData(int index) const {
    if (!hwnd() || index < 0 || index >= listCount())
        return 0;
    return static_cast<std::int32_t>(SendMessageW(hwnd(), CB_GETITEMDATA, static_cast<WPARAM>(index), 0));
}

bool ComboBox::setItemData(int index, std::int32_t data) {
    return hwnd() && index >= 0 &&
           SendMessageW(hwnd(), CB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(data)) !=
               CB_ERR;
}

int ComboBox::itemHeight() const {
    const LRESULT h = hwnd() ? SendMessageW(hwnd(), CB_GETITEMHEIGHT, 0, 0) : CB_ERR;
    return h == CB_ERR ? 0 : static_cast<int>(h);
}

bool ComboBox::moveWithListHeight(int left, int top, int width, int totalHeight) {
    return hwnd() && width >= 0 && totalHeight >= 0 &&
           MoveWindow(hwnd(), left, top, width, totalHeight, TRUE);
}

int ComboBox::selStart() const {
    DWORD start = 0;
    if (hwnd())
        SendMessageW(hwnd(), CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start), 0);
    return static_cast<int>(start);
}
int ComboBox::selLength() const {
    DWORD start = 0, end = 0;
    if (hwnd())
        SendMessageW(hwnd(), CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return static_cast<int>(end - start);
}
void ComboBox::setSelStart(int start) {
    if (hwnd() && start >= 0)
        SendMessageW(hwnd(), CB_SETEDITSEL, 0, MAKELPARAM(start, start));
}
void ComboBox::setSelLength(int length) {
    if (!hwnd() || length < 0)
        return;
    const int start = selStart();
    SendMessageW(hwnd(), CB_SETEDITSEL, 0, MAKELPARAM(start, start + length));
}
std::wstring ComboBox::selText() const {
    const std::wstring all = text();
    const auto start = static_cast<size_t>(selStart());
    return start <= all.size() ? all.substr(start, static_cast<size_t>(selLength())) : std::wstring();
}
void ComboBox::setSelText(const std::wstring& value) {
    if (HWND edit = editWindow())
        SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(value.c_str()));
}

} // namespace host
