#include "CommandButton.h"

namespace host {

std::unique_ptr<CommandButton> CommandButton::Create(const CommandButtonArgs& args) {
    std::unique_ptr<CommandButton> button(new CommandButton());
    if (!button->createStandard(L"BUTTON", args.caption, WS_TABSTOP | BS_PUSHBUTTON | BS_OWNERDRAW, 0,
                                args.parent))
        return nullptr;
    return button;
}

std::wstring CommandButton::caption() const {
    if (!hwnd())
        return {};
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd())) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(hwnd(), text.data(), static_cast<int>(text.size()))));
    return text;
}

void CommandButton::setCaption(const std::wstring& text) {
    if (!hwnd())
        return;
    SetWindowTextW(hwnd(), text.c_str());
    InvalidateRect(hwnd(), nullptr, TRUE);
}

void CommandButton::setPicture(const Picture& picture) {
    picture_ = picture;
    if (hwnd())
        InvalidateRect(hwnd(), nullptr, TRUE);
}

void CommandButton::setMaskColor(Color c) {
    maskColor_ = c;
    if (hwnd())
        InvalidateRect(hwnd(), nullptr, TRUE);
}

void CommandButton::setUseMaskColor(bool on) {
    useMaskColor_ = on;
    if (hwnd())
        InvalidateRect(hwnd(), nullptr, TRUE);
}

void CommandButton::click() {
    if (onClick)
        onClick();
}

bool CommandButton::handleReflected(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (msg == WM_COMMAND) {
        // An owner-drawn button reports a quick second click as a double
        // click; each is a press of the button.
        if ((HIWORD(wParam) == BN_CLICKED || HIWORD(wParam) == BN_DOUBLECLICKED) && onClick)
            onClick();
        result = 0;
        return true;
    }
    if (msg == WM_DRAWITEM) {
        draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        result = TRUE;
        return true;
    }
    return Control::handleReflected(msg, wParam, lParam, result);
}

void CommandButton::draw(const DRAWITEMSTRUCT& item) {
    HDC dc = item.hDC;
    RECT r = item.rcItem;
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    const bool disabled = (item.itemState & ODS_DISABLED) != 0;
    FillRect(dc, &r, backBrush());
    DrawEdge(dc, &r, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    const int shift = pressed ? 1 : 0;

    if (!picture_.IsEmpty()) {
        const int w = picture_.Width();
        const int h = picture_.Height();
        const int x = (r.left + r.right - w) / 2 + shift;
        const int y = (r.top + r.bottom - h) / 2 + shift;
        if (disabled) {
            DrawStateW(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(picture_.Bitmap()), 0, x, y, w, h,
                       DST_BITMAP | DSS_DISABLED);
        } else if (HDC source = CreateCompatibleDC(dc)) {
            HGDIOBJ old = SelectObject(source, picture_.Bitmap());
            if (useMaskColor_)
                TransparentBlt(dc, x, y, w, h, source, 0, 0, w, h, ToColorRef(maskColor_));
            else
                BitBlt(dc, x, y, w, h, source, 0, 0, SRCCOPY);
            SelectObject(source, old);
            DeleteDC(source);
        }
    }

    const std::wstring text = caption();
    if (!text.empty()) {
        RECT textRect = r;
        OffsetRect(&textRect, shift, shift);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, disabled ? GetSysColor(COLOR_GRAYTEXT) : ToColorRef(foreColor()));
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textRect,
                  DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
    if (item.itemState & ODS_FOCUS) {
        RECT focus = r;
        InflateRect(&focus, -3, -3);
        DrawFocusRect(dc, &focus);
    }
}

} // namespace host
