#include "CheckBox.h"

namespace host {

std::unique_ptr<CheckBox> CheckBox::Create(const CheckBoxArgs& args) {
    std::unique_ptr<CheckBox> box(new CheckBox());
    // Not an automatic box: a user's click goes between checked and
    // unchecked only; the greyed state is set in code.
    if (!box->createStandard(L"BUTTON", args.caption, WS_TABSTOP | BS_3STATE, 0, args.parent))
        return nullptr;
    return box;
}

std::wstring CheckBox::caption() const {
    if (!hwnd())
        return {};
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd())) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(hwnd(), text.data(), static_cast<int>(text.size()))));
    return text;
}

void CheckBox::setCaption(const std::wstring& text) {
    if (hwnd())
        SetWindowTextW(hwnd(), text.c_str());
}

int CheckBox::value() const {
    return hwnd() ? static_cast<int>(SendMessageW(hwnd(), BM_GETCHECK, 0, 0)) : 0;
}

bool CheckBox::setValue(int state) {
    if (!hwnd() || state < 0 || state > 2)
        return false;
    if (value() == state)
        return true;
    SendMessageW(hwnd(), BM_SETCHECK, static_cast<WPARAM>(state), 0);
    if (onClick)
        onClick();
    return true;
}

bool CheckBox::handleReflected(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (msg == WM_COMMAND) {
        if (HIWORD(wParam) == BN_CLICKED)
            setValue(value() == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED);
        result = 0;
        return true;
    }
    return Control::handleReflected(msg, wParam, lParam, result);
}

} // namespace host
