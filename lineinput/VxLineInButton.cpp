// The button and the check box: the click sequence around the action of
// CommandStyle, pressing the button and clicking the check box from code.
#include "VxLineIn.h"

#include "Clipboard.h"
#include "LineStyles.h"
#include "PendingMessages.h"

using namespace lineinput;

namespace {

// The styles whose button acts on the text (every style but the combo box).
bool IsTextStyle(std::int32_t controlStyle) {
    return controlStyle == StyleTextBox || controlStyle == StyleMemo || controlStyle == StyleDisplay ||
           controlStyle == StyleInnerBox;
}

} // namespace

void VxLineIn::ConnectButtonEvents() {
    cmd->onClick = [this] { cmd_Click(); };
    // Any mouse button released over the button; the host tests which.
    cmd->onMouseUp = [this](std::int16_t& button, std::int16_t& shift, float& x, float& y) {
        VxLineInEventArgs args;
        args.Button = &button;
        args.Shift = &shift;
        args.X = &x;
        args.y = &y;
        RaiseEvent(VxEvent::ButtonRightClick, args);
    };
    chk->onClick = [this] { chk_Click(); };
}

void VxLineIn::cmd_Click() {
    // Remembered before BeforeButtonClicked, so that a change the host makes
    // there counts as a change of the click.
    const std::wstring textBefore = txt->text();
    RaiseEvent(VxEvent::BeforeButtonClicked);

    if (IsTextStyle(controlStyle_)) {
        switch (commandStyle_) {
        case ActionClear:
            SetText(L"");
            break;
        case ActionOpenFile:
        case ActionSaveFile:
        case ActionFolder:
        case ActionOpenFiles:
            // The answer is written back also when the dialog was cancelled.
            SetText(RunDialogAction(commandStyle_, txt->text()));
            break;
        case ActionReportOnly:
            RaiseEvent(VxEvent::ButtonClicked);
            break;
        case ActionCopy:
            host::PutClipboardText(hwnd(), txt->text()); // a failed copy leaves the clipboard empty
            break;
        default:
            break;
        }
    }
    if (controlStyle_ == StyleCombo) {
        if (commandStyle_ == ActionClear) {
            if (CurrentCombo) {
                CurrentCombo->setListIndex(-1);
                CurrentCombo->setText(L""); // a list-only combo box refuses it unless "" is an item
            }
        } else if (commandStyle_ >= ActionOpenFile && commandStyle_ <= ActionOpenFiles) {
            RaiseEvent(VxEvent::ButtonClicked);
        }
    }

    // A line greyed by MultiStringGrey keeps its look: the focus stays where it is.
    if (!multiStringGrey_)
        SetTextFocus();
    // The new text is painted before the host's handlers run.
    host::ProcessPendingMessages();
    RaiseEvent(VxEvent::AfterButtonClicked);
    if (txt->text() != textBefore)
        RaiseEvent(VxEvent::Change);
    RaiseEvent(VxEvent::AfterButtonClickedFinished);
}

void VxLineIn::chk_Click() {
    // The host gets a copy: a change it makes to newstate has no effect.
    bool newstate = Value();
    VxLineInEventArgs args;
    args.newstate = &newstate;
    RaiseEvent(VxEvent::CheckBoxChanged, args);
}

void VxLineIn::DoButtonClick(bool doit) {
    if (buttonShow_ && doit)
        cmd->click();
}

void VxLineIn::DoCheckBoxClick(bool doit) {
    if (checkboxShow_)
        chk->setValue(doit ? 1 : 0);
}
