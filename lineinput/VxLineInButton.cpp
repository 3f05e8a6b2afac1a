// Pressing the button and clicking the check box from code.
#include "VxLineIn.h"

void VxLineIn::DoButtonClick(bool doit) {
    if (buttonShow_ && doit)
        cmd->click();
}

void VxLineIn::DoCheckBoxClick(bool doit) {
    if (checkboxShow_)
        chk->setValue(doit ? 1 : 0);
}
