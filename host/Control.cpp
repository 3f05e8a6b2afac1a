#include "Control.h"

#include "Screen.h"
#include "Twips.h"

#include <commctrl.h>

namespace host {
namespace {

// The object of a standard control, kept with its window as well, for the
// one case the window procedure does not tell it: another subclass (a
// tooltip's) sits on top of ours. Only a reflected notification asks for it.
constexpr const wchar_t* kObjectProperty = L"OrdnerlinkControl";

void InitCommonControlsOnce() {
    static const bool done = [] {
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
        return InitCommonControlsEx(&icc) != FALSE;
    }();
    (void)done;
}

// The window a parent's notification comes from.
HWND SenderOf(UINT msg, WPARAM, LPARAM lParam) {
    switch (msg) {
    case WM_COMMAND:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
        return reinterpret_cast<HWND>(lParam);
    case WM_NOTIFY:
        return lParam ? reinterpret_cast<const NMHDR*>(lParam)->hwndFrom : nullptr;
    case WM_DRAWITEM:
        return lParam ? reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)->hwndItem : nullptr;
    default:
        return nullptr;
    }
}

} // namespace

COLORREF ToColorRef(Color c) {
    if (IsSystemColor(c))
        return GetSysColor(SystemColorIndex(c));
    return static_cast<COLORREF>(c & 0xFFFFFFu);
}

Control::Control(Color backColor, Color foreColor) : backColor_(backColor), foreColor_(foreColor) {}

Control::~Control() {
    if (toolTipWindow_)
        DestroyWindow(toolTipWindow_);
    if (hwnd_)
        DestroyWindow(hwnd_); // WM_NCDESTROY ends the binding
}

bool Control::createStandard(const wchar_t* className, const std::wstring& text, DWORD style, DWORD exStyle,
                             HWND parent) {
    InitCommonControlsOnce();
    HWND hwnd = CreateWindowExW(exStyle, className, text.c_str(), style | WS_CHILD, 0, 0, 0, 0, parent,
                                nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!hwnd)
        return false;
    // The window's own procedure is replaced, the object found in
    // GWLP_USERDATA: SetWindowSubclass would cost a window-property look-up
    // on every message (Wine asks its server for it each time), which made a
    // message to a wrapped control some forty times dearer than to a plain one.
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    const auto standardProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Control::StandardWindowProc)));
    if (!standardProc) {
        DestroyWindow(hwnd);
        return false;
    }
    standardProc_ = standardProc;
    SetPropW(hwnd, kObjectProperty, this);
    hwnd_ = hwnd;
    applyFont();
    return true;
}

bool Control::createOwn(const wchar_t* className, UINT classStyle, DWORD style, DWORD exStyle, HWND parent) {
    InitCommonControlsOnce();
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (!GetClassInfoExW(instance, className, &wc)) {
        wc = WNDCLASSEXW{};
        wc.cbSize = sizeof wc;
        wc.style = CS_DBLCLKS | classStyle;
        wc.lpfnWndProc = &Control::OwnWindowProc;
        wc.hInstance = instance;
        wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // IDC_ARROW
        wc.lpszClassName = className;
        if (!RegisterClassExW(&wc))
            return false;
    }
    // hwnd_ is set at WM_NCCREATE, so messages sent during creation reach us.
    if (!CreateWindowExW(exStyle, className, L"", style, 0, 0, 0, 0, parent, nullptr, instance, this))
        return false;
    applyFont();
    return hwnd_ != nullptr;
}

LRESULT CALLBACK Control::StandardWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
    auto* self = reinterpret_cast<Control*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self)
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        const WNDPROC standardProc = self->standardProc_;
        if (reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hwnd, GWLP_WNDPROC)) == &Control::StandardWindowProc)
            SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(standardProc));
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        RemovePropW(hwnd, kObjectProperty);
        self->hwnd_ = nullptr;
        return CallWindowProcW(standardProc, hwnd, msg, wParam, lParam);
    }
    try {
        return self->handleMessage(msg, wParam, lParam);
    } catch (...) {
        // Nothing may cross the platform's callback; the message gets the
        // platform's own handling instead.
        return CallWindowProcW(self->standardProc_, hwnd, msg, wParam, lParam);
    }
}

LRESULT CALLBACK Control::OwnWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
    if (msg == WM_NCCREATE) {
        auto* self = static_cast<Control*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    auto* self = reinterpret_cast<Control*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self)
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    try {
        return self->handleMessage(msg, wParam, lParam);
    } catch (...) {
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

Control* Control::FromHandle(HWND hwnd) {
    if (!hwnd || !IsWindow(hwnd))
        return nullptr;
    const auto proc = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hwnd, GWLP_WNDPROC));
    if (proc == &Control::OwnWindowProc || proc == &Control::StandardWindowProc)
        return reinterpret_cast<Control*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    return static_cast<Control*>(GetPropW(hwnd, kObjectProperty));
}

bool Control::ReflectToChild(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    Control* child = FromHandle(SenderOf(msg, wParam, lParam));
    return child && child->handleReflected(msg, wParam, lParam, result);
}

LRESULT Control::callDefault(UINT msg, WPARAM wParam, LPARAM lParam) {
    return standardProc_ ? CallWindowProcW(standardProc_, hwnd_, msg, wParam, lParam)
                         : DefWindowProcW(hwnd_, msg, wParam, lParam);
}

LRESULT Control::handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (ReflectToChild(msg, wParam, lParam, result))
        return result;
    if (handleInputOf(hwnd_, msg, wParam, lParam, result))
        return result;
    return callDefault(msg, wParam, lParam);
}

bool Control::handleReflected(UINT msg, WPARAM wParam, LPARAM, LRESULT& result) {
    switch (msg) {
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
        result = paintColors(reinterpret_cast<HDC>(wParam));
        return true;
    default:
        return false;
    }
}

LRESULT Control::eraseBackground(HDC dc) {
    RECT r{};
    GetClientRect(hwnd_, &r);
    FillRect(dc, &r, backBrush());
    return 1;
}

LRESULT Control::paintColors(HDC dc) {
    SetTextColor(dc, ToColorRef(foreColor_));
    SetBkColor(dc, ToColorRef(backColor_));
    return reinterpret_cast<LRESULT>(backBrush());
}

HBRUSH Control::backBrush() {
    if (!brush_)
        brush_.reset(CreateSolidBrush(ToColorRef(backColor_)));
    return brush_.get();
}

static RECT WindowRectInParent(HWND hwnd) {
    RECT r{};
    if (!hwnd || !GetWindowRect(hwnd, &r))
        return RECT{};
    MapWindowPoints(HWND_DESKTOP, GetParent(hwnd), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

int Control::left() const {
    return WindowRectInParent(hwnd_).left;
}
int Control::top() const {
    return WindowRectInParent(hwnd_).top;
}
int Control::width() const {
    const RECT r = WindowRectInParent(hwnd_);
    return r.right - r.left;
}
int Control::height() const {
    const RECT r = WindowRectInParent(hwnd_);
    return r.bottom - r.top;
}

void Control::move(int l, int t, int w, int h) {
    if (hwnd_ && w >= 0 && h >= 0)
        MoveWindow(hwnd_, l, t, w, h, TRUE);
}

// A setter that would leave the window as it is makes no call: a layout pass
// sets every extent of every child, and most of them are already right.
void Control::setLeft(int v) {
    const RECT r = WindowRectInParent(hwnd_);
    if (hwnd_ && v != r.left)
        SetWindowPos(hwnd_, nullptr, v, r.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
void Control::setTop(int v) {
    const RECT r = WindowRectInParent(hwnd_);
    if (hwnd_ && v != r.top)
        SetWindowPos(hwnd_, nullptr, r.left, v, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
bool Control::setWidth(int v) {
    if (!hwnd_ || v < 0)
        return false;
    const RECT r = WindowRectInParent(hwnd_);
    if (v == r.right - r.left)
        return true;
    return SetWindowPos(hwnd_, nullptr, 0, 0, v, r.bottom - r.top,
                        SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE) != FALSE;
}
bool Control::setHeight(int v) {
    if (!hwnd_ || v < 0)
        return false;
    const RECT r = WindowRectInParent(hwnd_);
    if (v == r.bottom - r.top)
        return true;
    return SetWindowPos(hwnd_, nullptr, 0, 0, r.right - r.left, v,
                        SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE) != FALSE;
}

void Control::setBounds(int l, int t, int w, int h) {
    if (!hwnd_)
        return;
    const RECT r = WindowRectInParent(hwnd_);
    const int width = w >= 0 ? w : r.right - r.left;
    const int height = h >= 0 ? h : r.bottom - r.top;
    if (l == r.left && t == r.top && width == r.right - r.left && height == r.bottom - r.top)
        return;
    SetWindowPos(hwnd_, nullptr, l, t, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

bool Control::visible() const {
    return hwnd_ && (GetWindowLongPtrW(hwnd_, GWL_STYLE) & WS_VISIBLE) != 0;
}
void Control::setVisible(bool v) {
    if (hwnd_ && v != visible())
        ShowWindow(hwnd_, v ? SW_SHOWNA : SW_HIDE);
}
bool Control::enabled() const {
    return hwnd_ && IsWindowEnabled(hwnd_);
}
void Control::setEnabled(bool v) {
    if (hwnd_)
        EnableWindow(hwnd_, v);
}

void Control::setFont(const FontDesc& desc) {
    // The font the window already has: nothing to make or send.
    if (fontHandle_ && desc == font_)
        return;
    FontHandle handle = CreateFontHandle(desc);
    if (!handle)
        return; // the platform has no such font: keep the current one
    font_ = desc;
    fontHandle_ = std::move(handle);
    if (hwnd_)
        SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(fontHandle_.get()), TRUE);
}

void Control::applyFont() {
    setFont(font_);
}

void Control::setBackColor(Color c) {
    backColor_ = c;
    brush_.reset();
    invalidate();
}

void Control::setForeColor(Color c) {
    foreColor_ = c;
    invalidate();
}

void Control::invalidate() {
    // A window that is not on screen is painted whole when it is shown.
    if (hwnd_ && IsWindowVisible(hwnd_))
        InvalidateRect(hwnd_, nullptr, TRUE);
}

void Control::setToolTip(const std::wstring& text) {
    toolTip_ = text;
    if (!hwnd_ || (text.empty() && !toolTipWindow_))
        return;
    TTTOOLINFOW info{};
    info.cbSize = sizeof info;
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = GetParent(hwnd_);
    info.uId = reinterpret_cast<UINT_PTR>(hwnd_);
    info.lpszText = const_cast<wchar_t*>(toolTip_.c_str());
    if (!toolTipWindow_) {
        toolTipWindow_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0,
                                         0, 0, 0, hwnd_, nullptr, GetModuleHandleW(nullptr), nullptr);
        if (!toolTipWindow_)
            return; // the text is kept; it just shows no tip
        SendMessageW(toolTipWindow_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
        return;
    }
    SendMessageW(toolTipWindow_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
}

bool Control::setParentWindow(HWND parent) {
    return hwnd_ && SetParent(hwnd_, parent) != nullptr;
}

void Control::placeLastInTabOrder() {
    if (hwnd_)
        SetWindowPos(hwnd_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void Control::refresh() {
    if (!hwnd_ || !IsWindowVisible(hwnd_))
        return;
    InvalidateRect(hwnd_, nullptr, TRUE);
    UpdateWindow(hwnd_);
}

bool Control::setFocus() {
    if (!hwnd_)
        return false;
    // A control whose part already has the focus keeps it: moving it to the
    // combo box's own window would bounce it back to its edit field and
    // report a lost and a regained focus.
    if (hasFocus())
        return true;
    SetFocus(hwnd_);
    return hasFocus();
}

bool Control::hasFocus() const {
    HWND focus = GetFocus();
    return hwnd_ && focus && (focus == hwnd_ || IsChild(hwnd_, focus));
}

void ShowAtTwips(Control& control, double left, double top, double width, double height) {
    const double tppX = TwipsPerPixelX(), tppY = TwipsPerPixelY();
    control.move(TwipsToPixels(left, tppX), TwipsToPixels(top, tppY), TwipsToPixels(width, tppX),
                 TwipsToPixels(height, tppY));
    control.setVisible(true);
}

} // namespace host
