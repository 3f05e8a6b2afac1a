// The 31 events of the input line, by number, and their parameters. Every
// parameter is passed by reference: a handler's change is seen by the control.
#pragma once

#include <cstdint>
#include <functional>
#include <windows.h>

namespace VxEvent {
inline constexpr int AfterButtonClicked = 1;
inline constexpr int BeforeButtonClicked = 2;
inline constexpr int AfterButtonClickedFinished = 3;
inline constexpr int ButtonClicked = 4;
inline constexpr int Click = 5;
inline constexpr int Change = 6;
inline constexpr int DblClick = 7;
inline constexpr int GotFocusText = 8;
inline constexpr int GotFocusCombo = 9;
inline constexpr int KeyDown = 10;  // KeyCode, Shift
inline constexpr int KeyUp = 11;    // KeyCode, Shift
inline constexpr int KeyPress = 12; // KeyAscii
inline constexpr int LostFocusText = 13;
inline constexpr int LostFocusCombo = 14;
inline constexpr int MouseDown = 15;           // Button, Shift, X, y
inline constexpr int MouseMove = 16;           // Button, Shift, X, y
inline constexpr int MouseUp = 17;             // Button, Shift, X, y
inline constexpr int KeyPressBeforeCheck = 18; // KeyAscii
inline constexpr int Resize = 19;
inline constexpr int AfterRedraw = 20;
inline constexpr int BeforeRedraw = 21;
inline constexpr int Paint = 22;
inline constexpr int CheckBoxChanged = 23; // newstate
inline constexpr int LabelClick = 24;
inline constexpr int LabelDblClick = 25;
inline constexpr int LabelPopMenu = 26;     // Shift
inline constexpr int ButtonRightClick = 27; // Button, Shift, X, y
inline constexpr int LabelMouseDown = 28;   // Button, Shift, X, y
inline constexpr int LabelMouseUp = 29;     // Button, Shift, X, y
inline constexpr int ComboKeyPress = 30;    // KeyAscii
inline constexpr int RequestMainForm = 31;  // frm
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
