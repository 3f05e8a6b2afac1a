// The button and the check box: the click sequence around the action of
// CommandStyle, pressing the button and clicking the check box from code.
#include "VxLineIn.h"

#include "Clipboard.h"
#include "PendingMessages.h"

using namespace lineinput;

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

    const ActionDescriptor& action = DescriptorOfAction(commandStyle_);
    switch (Style().buttonActsOn) {
    case ButtonTarget::Text:
        AnswerClickOnText(action);
        break;
    case ButtonTarget::Combo:
        AnswerClickOnCombo(action);
        break;
    case ButtonTarget::None:
        break;
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

void VxLineIn::AnswerClickOnText(const ActionDescriptor& action) {
    switch (action.onText) {
    case TextAnswer::Clear:
        SetText(L"");
        break;
    case TextAnswer::ChooseInDialog:
        // The answer is written back also when the dialog was cancelled.
        SetText(RunDialogAction(action.dialog, txt->text()));
        break;
    case TextAnswer::ReportClick:
        RaiseEvent(VxEvent::ButtonClicked);
        break;
    case TextAnswer::Copy:
        host::PutClipboardText(hwnd(), txt->text()); // a failed copy leaves the clipboard empty
        break;
    case TextAnswer::Nothing:
        break;
    }
}

void VxLineIn::AnswerClickOnCombo(const ActionDescriptor& action) {
    switch (action.onCombo) {
    case ComboAnswer::Clear:
        if (CurrentCombo) {
            CurrentCombo->setListIndex(-1);
            CurrentCombo->setText(L""); // a list-only combo box refuses it unless "" is an item
        }
        break;
    case ComboAnswer::ReportClick:
        RaiseEvent(VxEvent::ButtonClicked);
        break;
    case ComboAnswer::Nothing:
        break;
    }
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
