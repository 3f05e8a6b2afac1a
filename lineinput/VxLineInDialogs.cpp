// The dialog actions of the button: each takes the start text and returns
// the text the line is to hold afterwards.
#include "VxLineIn.h"

std::wstring VxLineIn::RunDialogAction(std::int32_t, const std::wstring& startText) {
    // No dialog is opened yet for any CommandStyle: the start text comes back, as from a cancelled dialog.
    return startText;
}
