// The 31 events of the input line, by number, and their parameters. Every
// parameter is passed by reference: a handler's change is seen by the control.
#pragma once

#include <cstdint>
#include <functional>
#include <windows.h>

namespace VxEvent {
enum Number : int {
    AfterButtonClicked = 1,
    BeforeButtonClicked = 2,
    AfterButtonClickedFinished = 3,
    ButtonClicked = 4,
    Click = 5,
    Change = 6,
    DblClick = 7,
    GotFocusText = 8,
    GotFocusCombo = 9,
    KeyDown = 10,  // KeyCode, Shift
    KeyUp = 11,    // KeyCode, Shift
    KeyPress = 12, // KeyAscii
    LostFocusText = 13,
    LostFocusCombo = 14,
    MouseDown = 15,           // Button, Shift, X, y
    MouseMove = 16,           // Button, Shift, X, y
    MouseUp = 17,             // Button, Shift, X, y
    KeyPressBeforeCheck = 18, // KeyAscii
    Resize = 19,
    AfterRedraw = 20,
    BeforeRedraw = 21,
    Paint = 22,
    CheckBoxChanged = 23, // newstate
    LabelClick = 24,
    LabelDblClick = 25,
    LabelPopMenu = 26,     // Shift
    ButtonRightClick = 27, // Button, Shift, X, y
    LabelMouseDown = 28,   // Button, Shift, X, y
    LabelMouseUp = 29,     // Button, Shift, X, y
    ComboKeyPress = 30,    // KeyAscii
    RequestMainForm = 31,  // frm
};
inline constexpr int Count = 31;
} // namespace VxEvent

// The parameters of one event; those the event does not have are null.
// frm is the window that is to own a dialog: the host may set it.
struct VxLineInEventArgs {
    std::int16_t* KeyCode = nullptr;
    std::int16_t* KeyAscii = nullptr;
    std::int16_t* Shift = nullptr;
    std::int16_t* Button = nullptr;
    float* X = nullptr;
    float* y = nullptr;
    bool* newstate = nullptr;
    HWND* frm = nullptr;
};

using VxLineInEventHandler = std::function<void(int eventNumber, VxLineInEventArgs& args)>;
