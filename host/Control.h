// The common base of the framework's child controls: one object owns one
// window, found from it through GWLP_USERDATA without a search. Standard
// controls get the framework's window procedure in place of their own (which
// it calls for what it leaves to the platform), the framework's own window
// classes their object from lpCreateParams at WM_NCCREATE; the binding ends
// at WM_NCDESTROY.
//
// Parents reflect WM_COMMAND, WM_NOTIFY, WM_DRAWITEM and WM_CTLCOLOR* to the
// framework control that sent them (handleReflected), so each control handles
// its own notifications and colours.
#pragma once

#include "Color.h"
#include "Font.h"
#include "FontDesc.h"
#include "Win32Holders.h"

#include <cstdint>
#include <functional>
#include <string>
#include <windows.h>

namespace host {

// Mouse button and shift state as the events pass them: 1 left, 2 right,
// 4 middle; shift 1, control 2, alt 4.
using MouseHandler = std::function<void(std::int16_t& button, std::int16_t& shift, float& x, float& y)>;
using KeyHandler = std::function<void(std::int16_t& keyCode, std::int16_t& shift)>;
// The typed character as a 16-bit Windows-1252 code; the value left there is
// what the control inserts, 0 inserts nothing.
using KeyPressHandler = std::function<void(std::int16_t& keyAscii)>;

class Control {
public:
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    HWND hwnd() const { return hwnd_; }

    // Geometry in pixels, relative to the parent's client area.
    int left() const;
    int top() const;
    int width() const;
    int height() const;
    void move(int left, int top, int width, int height);
    void setLeft(int v);
    void setTop(int v);
    // A negative extent is refused: the control keeps its extent and false
    // comes back.
    bool setWidth(int v);
    bool setHeight(int v);
    // All four in one move; a negative extent is refused and kept as it is.
    void setBounds(int left, int top, int width, int height);

    bool visible() const;
    void setVisible(bool v);
    bool enabled() const;
    virtual void setEnabled(bool v);

    const FontDesc& font() const { return font_; }
    virtual void setFont(const FontDesc& desc);
    Color backColor() const { return backColor_; }
    virtual void setBackColor(Color c);
    Color foreColor() const { return foreColor_; }
    virtual void setForeColor(Color c);
    const std::wstring& toolTip() const { return toolTip_; }
    void setToolTip(const std::wstring& text);

    // Moves the window into another parent window (SetParent).
    bool setParentWindow(HWND parent);
    // Puts the window after all its siblings, which is also last in the
    // order in which Tab reaches them.
    void placeLastInTabOrder();
    // Repaints the control now.
    void refresh();
    bool setFocus();
    bool hasFocus() const;

    std::function<void()> onClick;
    std::function<void()> onDblClick;
    std::function<void()> onGotFocus;
    std::function<void()> onLostFocus;
    KeyHandler onKeyDown;
    KeyHandler onKeyUp;
    KeyPressHandler onKeyPress;
    MouseHandler onMouseDown;
    MouseHandler onMouseMove;
    MouseHandler onMouseUp;

    // The object bound to hwnd, or null when hwnd is not a framework window.
    static Control* FromHandle(HWND hwnd);
    // Sends a parent's notification to the framework control it concerns;
    // true when that control handled it (result then holds the answer).
    static bool ReflectToChild(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

protected:
    Control(Color backColor, Color foreColor);

    // Creates a window of a standard class and binds it to this object.
    bool createStandard(const wchar_t* className, const std::wstring& text, DWORD style, DWORD exStyle,
                        HWND parent);
    // Creates a window of one of the framework's own classes (registered on
    // first use with CS_DBLCLKS and the extra class style given).
    bool createOwn(const wchar_t* className, UINT classStyle, DWORD style, DWORD exStyle, HWND parent);

    // Every message of the window passes here; the default handles the
    // reflection, the input events and the colours, then calls the platform.
    virtual LRESULT handleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    // A notification reflected by the parent; false when not handled (the
    // parent then lets the platform handle it).
    virtual bool handleReflected(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    LRESULT callDefault(UINT msg, WPARAM wParam, LPARAM lParam);

    // Fills the client area with the back colour (WM_ERASEBKGND); returns 1.
    LRESULT eraseBackground(HDC dc);
    // Colours a WM_CTLCOLOR* request with this control's colours.
    LRESULT paintColors(HDC dc);
    HBRUSH backBrush();
    // Asks for the whole window to be painted again, when it is on screen.
    void invalidate();
    // Input of this control's window or of another window on its behalf (the
    // edit field of a combo box), in ControlInput.cpp: raises this control's
    // events; true when the message was handled (result holds the answer),
    // false when the window should process it as usual.
    bool handleInputOf(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // Whether WM_SETFOCUS/WM_KILLFOCUS of the own window raise the focus
    // events (combo boxes report focus through their notifications instead).
    bool focusFromMessages_ = true;
    // Whether the control itself raises Click and DblClick from the mouse.
    bool clickFromMouse_ = false;

private:
    static LRESULT CALLBACK StandardWindowProc(HWND, UINT, WPARAM, LPARAM) noexcept;
    static LRESULT CALLBACK OwnWindowProc(HWND, UINT, WPARAM, LPARAM) noexcept;
    // The message families of handleInputOf.
    bool handleFocusOf(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    void raiseKey(UINT msg, WPARAM wParam);
    bool handleCharacterOf(HWND window, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool handleMouseOf(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // The platform's handling of a message of window.
    LRESULT callDefaultOf(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
    void applyFont();

    HWND hwnd_ = nullptr;
    // The standard class's own procedure; null for the framework's classes.
    WNDPROC standardProc_ = nullptr;
    FontDesc font_;
    FontHandle fontHandle_;
    Color backColor_;
    Color foreColor_;
    win32::GdiObject<HBRUSH> brush_;
    std::wstring toolTip_;
    HWND toolTipWindow_ = nullptr;
};

// The colour to paint for a framework colour value.
COLORREF ToColorRef(Color c);

// Moves control to a place given in twips of its container, as the forms'
// layouts are written, and shows it.
void ShowAtTwips(Control& control, double left, double top, double width, double height);

} // namespace host
