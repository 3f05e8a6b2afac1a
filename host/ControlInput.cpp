// The input events of a framework control, one message family at a time:
// focus, keys, typed characters and the mouse. They come from the control's
// own window or from a window that takes input on its behalf (the edit field
// of an editable combo box).
#include "Control.h"

#include "Windows1252.h"

#include <commctrl.h>
#include <windowsx.h>

namespace host {
namespace {

std::int16_t ShiftState() {
    std::int16_t shift = 0;
    if (GetKeyState(VK_SHIFT) < 0)
        shift |= 1;
    if (GetKeyState(VK_CONTROL) < 0)
        shift |= 2;
    if (GetKeyState(VK_MENU) < 0)
        shift |= 4;
    return shift;
}

std::int16_t ButtonsOf(WPARAM keys) {
    std::int16_t button = 0;
    if (keys & MK_LBUTTON)
        button |= 1;
    if (keys & MK_RBUTTON)
        button |= 2;
    if (keys & MK_MBUTTON)
        button |= 4;
    return button;
}

} // namespace

bool Control::handleInputOf(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        return handleFocusOf(window, msg, wParam, lParam, result);
    case WM_KEYDOWN:
    case WM_KEYUP:
        raiseKey(msg, wParam);
        return false; // the window handles the key as usual
    case WM_CHAR:
        return handleCharacterOf(window, wParam, lParam, result);
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
    case WM_MOUSEMOVE:
    case WM_LBUTTONDBLCLK:
        return handleMouseOf(window, msg, wParam, lParam, result);
    default:
        return false;
    }
}

LRESULT Control::callDefaultOf(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    return window == hwnd_ ? callDefault(msg, wParam, lParam) : DefSubclassProc(window, msg, wParam, lParam);
}

bool Control::handleFocusOf(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (!focusFromMessages_ || window != hwnd_)
        return false;
    // The platform moves the focus first, so that the handler sees it moved.
    result = callDefault(msg, wParam, lParam);
    auto& handler = msg == WM_SETFOCUS ? onGotFocus : onLostFocus;
    if (handler)
        handler();
    return true;
}

void Control::raiseKey(UINT msg, WPARAM wParam) {
    auto& handler = msg == WM_KEYDOWN ? onKeyDown : onKeyUp;
    if (!handler)
        return;
    std::int16_t keyCode = static_cast<std::int16_t>(wParam);
    std::int16_t shift = ShiftState();
    handler(keyCode, shift);
}

bool Control::handleCharacterOf(HWND window, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (!onKeyPress)
        return false;
    const std::optional<wchar_t> inserted =
        Windows1252::CharacterAfterKeyPress(static_cast<wchar_t>(wParam), onKeyPress);
    result = inserted ? callDefaultOf(window, WM_CHAR, *inserted, lParam) : 0;
    return true;
}

bool Control::handleMouseOf(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (msg == WM_LBUTTONDBLCLK) {
        result = callDefaultOf(window, msg, wParam, lParam);
        if (clickFromMouse_ && onDblClick)
            onDblClick();
        return true;
    }
    const bool down = msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN || msg == WM_MBUTTONDOWN;
    const bool up = msg == WM_LBUTTONUP || msg == WM_RBUTTONUP || msg == WM_MBUTTONUP;
    std::int16_t button = msg == WM_LBUTTONDOWN || msg == WM_LBUTTONUP   ? 1
                          : msg == WM_RBUTTONDOWN || msg == WM_RBUTTONUP ? 2
                          : msg == WM_MBUTTONDOWN || msg == WM_MBUTTONUP ? 4
                                                                         : ButtonsOf(wParam);
    std::int16_t shift = static_cast<std::int16_t>(
        ((wParam & MK_SHIFT) ? 1 : 0) | ((wParam & MK_CONTROL) ? 2 : 0) | (GetKeyState(VK_MENU) < 0 ? 4 : 0));
    // The events give positions in the control's own client area.
    POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    if (window != hwnd_)
        MapWindowPoints(window, hwnd_, &pt, 1);
    float x = static_cast<float>(pt.x);
    float y = static_cast<float>(pt.y);
    result = callDefaultOf(window, msg, wParam, lParam);
    auto& handler = down ? onMouseDown : up ? onMouseUp : onMouseMove;
    if (handler)
        handler(button, shift, x, y);
    if (clickFromMouse_ && msg == WM_LBUTTONUP && onClick)
        onClick();
    return true;
}

} // namespace host
