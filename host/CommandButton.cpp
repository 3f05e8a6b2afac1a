#include "CommandButton.h"

#include "Win32Holders.h"

namespace host {
namespace {

// The shape of a picture as a one-bit image: the pixels of the colour
// background white, the rest black. Null when the platform could not make it.
win32::GdiObject<HBITMAP> ShapeOf(HDC dc, HBITMAP picture, int w, int h, COLORREF background) {
    win32::GdiObject<HBITMAP> shape(CreateBitmap(w, h, 1, 1, nullptr));
    const win32::MemoryDc sourceDc(CreateCompatibleDC(dc));
    const win32::MemoryDc shapeDc(CreateCompatibleDC(dc));
    if (!shape || !sourceDc || !shapeDc)
        return nullptr;
    const win32::ScopedSelect sourceSelection(sourceDc.get(), picture);
    const win32::ScopedSelect shapeSelection(shapeDc.get(), shape.get());
    // Copying colour to one bit makes the source's back colour white.
    SetBkColor(sourceDc.get(), background);
    BitBlt(shapeDc.get(), 0, 0, w, h, sourceDc.get(), 0, 0, SRCCOPY);
    return shape;
}

// The disabled look of a picture: its shape embossed in the 3D highlight and
// shadow colours, as the platform shows a disabled picture. The pixels of the
// colour background stay the button's face; the rest forms the shape. The
// shape is built as a one-bit image first, because the platform would
// otherwise take only white pixels as background and emboss the whole square.
void DrawDisabledPicture(HDC dc, HBITMAP picture, int x, int y, int w, int h, COLORREF background) {
    const win32::GdiObject<HBITMAP> shape = ShapeOf(dc, picture, w, h, background);
    if (!shape)
        return; // the picture is left out; the face and caption still show
    DrawStateW(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(shape.get()), 0, x, y, w, h,
               DST_BITMAP | DSS_DISABLED);
}

} // namespace

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

int CommandButton::captionWidth() const {
    const std::wstring text = caption();
    if (text.empty())
        return 0;
    const win32::WindowDc dc(hwnd());
    if (!dc)
        return 0;
    // The font the platform selects for the button's drawing (none: the
    // DC's own, which it then draws in).
    const win32::ScopedSelect font(dc.get(), reinterpret_cast<HFONT>(SendMessageW(hwnd(), WM_GETFONT, 0, 0)));
    SIZE extent{};
    if (!GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &extent))
        return 0;
    return extent.cx;
}

void CommandButton::setCaption(const std::wstring& text) {
    if (!hwnd())
        return;
    SetWindowTextW(hwnd(), text.c_str());
    invalidate();
}

void CommandButton::setPicture(const Picture& picture) {
    picture_ = picture;
    invalidate();
}

void CommandButton::setMaskColor(Color c) {
    maskColor_ = c;
    invalidate();
}

void CommandButton::setUseMaskColor(bool on) {
    useMaskColor_ = on;
    invalidate();
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

    // Picture and caption stay inside the raised edge, as on a standard button.
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, r.left + 2, r.top + 2, r.right - 2, r.bottom - 2);
    if (!picture_.IsEmpty()) {
        const int w = picture_.Width();
        const int h = picture_.Height();
        const int x = (r.left + r.right - w) / 2 + shift;
        const int y = (r.top + r.bottom - h) / 2 + shift;
        if (disabled) {
            DrawDisabledPicture(dc, picture_.Bitmap(), x, y, w, h,
                                useMaskColor_ ? ToColorRef(maskColor_) : RGB(255, 255, 255));
        } else if (const win32::MemoryDc source(CreateCompatibleDC(dc)); source) {
            const win32::ScopedSelect selection(source.get(), picture_.Bitmap());
            if (useMaskColor_)
                TransparentBlt(dc, x, y, w, h, source.get(), 0, 0, w, h, ToColorRef(maskColor_));
            else
                BitBlt(dc, x, y, w, h, source.get(), 0, 0, SRCCOPY);
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
    if (saved)
        RestoreDC(dc, saved);
    if (item.itemState & ODS_FOCUS) {
        RECT focus = r;
        InflateRect(&focus, -3, -3);
        DrawFocusRect(dc, &focus);
    }
}

} // namespace host
