#include "TextBox.h"

#include "Win32Holders.h"

#include <windowsx.h>

namespace host {

std::unique_ptr<TextBox> TextBox::Create(const TextBoxArgs& args) {
    std::unique_ptr<TextBox> box(new TextBox());
    box->multiLine_ = args.multiLine;
    box->clickFromMouse_ = true;
    const DWORD style =
        WS_TABSTOP | (args.multiLine ? ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN : ES_AUTOHSCROLL);
    if (!box->createStandard(L"EDIT", L"", style, args.border ? WS_EX_CLIENTEDGE : 0, args.parent))
        return nullptr;
    return box;
}

std::wstring TextBox::text() const {
    if (!hwnd())
        return {};
    std::wstring value(static_cast<size_t>(GetWindowTextLengthW(hwnd())) + 1, L'\0');
    value.resize(static_cast<size_t>(GetWindowTextW(hwnd(), value.data(), static_cast<int>(value.size()))));
    return value;
}

void TextBox::setText(const std::wstring& value) {
    if (!hwnd() || text() == value)
        return;
    // The platform reports WM_SETTEXT of a single-line box but not of a
    // multi-line one; both report here exactly once instead.
    settingText_ = true;
    const bool written = SetWindowTextW(hwnd(), value.c_str()) != FALSE;
    settingText_ = false;
    if (written && onChange)
        onChange();
}

bool TextBox::locked() const {
    return hwnd() && (GetWindowLongPtrW(hwnd(), GWL_STYLE) & ES_READONLY) != 0;
}
void TextBox::setLocked(bool on) {
    if (hwnd())
        SendMessageW(hwnd(), EM_SETREADONLY, on, 0);
}

void TextBox::setMaxLength(int n) {
    if (!hwnd() || n < 0)
        return;
    maxLength_ = n;
    SendMessageW(hwnd(), EM_SETLIMITTEXT, static_cast<WPARAM>(n), 0);
}

void TextBox::setPasswordChar(const std::wstring& ch) {
    if (!hwnd())
        return;
    passwordChar_ = ch.substr(0, 1);
    SendMessageW(hwnd(), EM_SETPASSWORDCHAR, passwordChar_.empty() ? 0 : passwordChar_[0], 0);
    invalidate();
}

int TextBox::selStart() const {
    DWORD start = 0;
    if (hwnd())
        SendMessageW(hwnd(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
    return static_cast<int>(start);
}
int TextBox::selLength() const {
    DWORD start = 0, end = 0;
    if (hwnd())
        SendMessageW(hwnd(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return static_cast<int>(end - start);
}
void TextBox::setSelStart(int start) {
    if (hwnd() && start >= 0)
        SendMessageW(hwnd(), EM_SETSEL, static_cast<WPARAM>(start), start);
}
void TextBox::setSelLength(int length) {
    if (!hwnd() || length < 0)
        return;
    const int start = selStart();
    SendMessageW(hwnd(), EM_SETSEL, static_cast<WPARAM>(start), start + length);
}
std::wstring TextBox::selText() const {
    const std::wstring all = text();
    const auto start = static_cast<size_t>(selStart());
    return start <= all.size() ? all.substr(start, static_cast<size_t>(selLength())) : std::wstring();
}
void TextBox::setSelText(const std::wstring& value) {
    if (hwnd())
        SendMessageW(hwnd(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(value.c_str()));
}

int TextBox::minimumHeight() {
    const win32::WindowDc dc(hwnd());
    if (!dc)
        return 0;
    const win32::ScopedSelect font(dc.get(), reinterpret_cast<HFONT>(SendMessageW(hwnd(), WM_GETFONT, 0, 0)));
    TEXTMETRICW tm{};
    if (!GetTextMetricsW(dc.get(), &tm))
        return 0;
    // The line, one pixel of margin above and below, and the border.
    const bool border = (GetWindowLongPtrW(hwnd(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE) != 0;
    return tm.tmHeight + 2 + (border ? 2 * GetSystemMetrics(SM_CYEDGE) : 0);
}

LRESULT TextBox::handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_WINDOWPOSCHANGING: {
        auto* pos = reinterpret_cast<WINDOWPOS*>(lParam);
        if (!multiLine_ && !(pos->flags & SWP_NOSIZE)) {
            const int minimum = minimumHeight();
            if (pos->cy < minimum)
                pos->cy = minimum;
        }
        break;
    }
    case WM_GETDLGCODE: {
        // Enter and Escape belong to the text box, not to the form's dialog
        // keys, so that the key events see them.
        LRESULT code = callDefault(msg, wParam, lParam);
        const auto* m = reinterpret_cast<const MSG*>(lParam);
        if (m && (m->message == WM_KEYDOWN || m->message == WM_CHAR) &&
            (m->wParam == VK_RETURN || m->wParam == VK_ESCAPE))
            code |= DLGC_WANTMESSAGE;
        return code;
    }
    default:
        break;
    }
    return Control::handleMessage(msg, wParam, lParam);
}

bool TextBox::handleReflected(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (msg == WM_COMMAND) {
        if (HIWORD(wParam) == EN_CHANGE && !settingText_ && onChange)
            onChange();
        result = 0;
        return true;
    }
    return Control::handleReflected(msg, wParam, lParam, result);
}

} // namespace host
