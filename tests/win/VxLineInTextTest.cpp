// The editing side of the input line in a real form: which child's Change
// reaches the host, the key path with its filter and the Enter key, focus
// colours, mouse and label events, the button's click sequence and the check
// box. The children are driven by their own messages; the events are recorded
// by number and compared as whole sequences.
#include "Clipboard.h"
#include "Form.h"
#include "LineTestSupport.h"
#include "VxLineIn.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr VxEvent::Number kFocusEvents[] = {VxEvent::GotFocusText, VxEvent::GotFocusCombo,
                                            VxEvent::LostFocusText, VxEvent::LostFocusCombo};

class VxLineInTextTest : public ::testing::Test {
protected:
    void SetUp() override {
        // The pointer, wherever an earlier program left it, is moved off the
        // form, and the moves that reports are delivered before recording
        // starts: a move over a field would add mouse events to the sequences.
        SetCursorPos(0, 0);
        form = host::Form::Create({L"VxLineIn text test", 9000, 6000});
        ASSERT_NE(form, nullptr);
        form->show();
        sink = host::TextBox::Create({form->hwnd(), false, true});
        ASSERT_NE(sink, nullptr);
        sink->move(10, 200, 100, 20);
        sink->setVisible(true);
        line = NewPlacedLine(*form);
        ASSERT_NE(line, nullptr);
        PumpMessages();
        Record();
    }

    // Every event is recorded by number; key events also record KeyAscii as
    // the handler saw it. Paint is left out: whether a repaint is pending when
    // the button click lets the queued messages run depends on the display.
    void Record() {
        for (int n = 1; n <= VxEvent::Count; ++n)
            line->BindEvent(n, [this](int number, VxLineInEventArgs& args) {
                if (number == VxEvent::Paint)
                    return;
                events.push_back(static_cast<VxEvent::Number>(number));
                if (args.KeyAscii)
                    keys.push_back(*args.KeyAscii);
                if (args.Button)
                    buttons.push_back(*args.Button);
                if (args.newstate)
                    states.push_back(*args.newstate);
            });
    }

    // Binds one event to a handler that records it and then runs action.
    void On(VxEvent::Number number, std::function<void(VxLineInEventArgs&)> action) {
        line->BindEvent(number, [this, number, action](int, VxLineInEventArgs& args) {
            events.push_back(static_cast<VxEvent::Number>(number));
            if (args.KeyAscii)
                keys.push_back(*args.KeyAscii);
            action(args);
        });
    }

    void Forget() {
        events.clear();
        keys.clear();
        buttons.clear();
        states.clear();
    }

    EventList WithoutFocusEvents() const {
        EventList rest;
        for (VxEvent::Number e : events)
            if (std::find(std::begin(kFocusEvents), std::end(kFocusEvents), e) == std::end(kFocusEvents))
                rest.push_back(e);
        return rest;
    }

    host::Control& Child(const wchar_t* name) { return *line->ChildNamed(name); }
    host::TextBox& Box(const wchar_t* name) { return static_cast<host::TextBox&>(Child(name)); }
    host::ComboBox& Combo(const wchar_t* name) { return static_cast<host::ComboBox&>(Child(name)); }
    HWND Hwnd(const wchar_t* name) { return Child(name).hwnd(); }

    static void Type(HWND window, wchar_t ch) { SendMessageW(window, WM_CHAR, ch, 1); }
    static void Type(HWND window, const std::wstring& text) {
        for (wchar_t ch : text)
            Type(window, ch);
    }

    // The edit field inside the editable combo box.
    HWND ComboEdit() {
        COMBOBOXINFO info{};
        info.cbSize = sizeof info;
        return GetComboBoxInfo(Hwnd(L"cmb0"), &info) ? info.hwndItem : nullptr;
    }

    std::unique_ptr<host::Form> form;
    std::unique_ptr<host::TextBox> sink; // somewhere else for the focus to go
    std::unique_ptr<VxLineIn> line;
    EventList events;
    std::vector<std::int16_t> keys;
    std::vector<std::int16_t> buttons;
    std::vector<bool> states;
};

using V = EventList;
using E = std::vector<std::int16_t>;

// The plain text on the clipboard; "" when there is none.
std::wstring ClipboardText(HWND owner) {
    if (!OpenClipboard(owner))
        return {};
    std::wstring onClipboard;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* text = static_cast<const wchar_t*>(GlobalLock(data))) {
            onClipboard = text;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return onClipboard;
}

// --- Text, TextSilent, selection ---------------------------------------------------------

TEST_F(VxLineInTextTest, TextReachesEveryChildButOnlyTheFieldOfTheStyleRaisesChange) {
    line->SetText(L"abc");
    EXPECT_EQ(events, V{VxEvent::Change});
    EXPECT_EQ(Box(L"txt").text(), L"abc");
    EXPECT_EQ(Box(L"txi").text(), L"abc");
    EXPECT_EQ(Box(L"mem").text(), L"abc");
    EXPECT_EQ(static_cast<host::Label&>(Child(L"anz")).caption(), L"abc");
    EXPECT_EQ(line->Text(), L"abc");

    Forget();
    line->SetText(L"abc"); // the same text: the text boxes report nothing
    EXPECT_EQ(events, V{});

    for (int style : {2, 4}) {
        SCOPED_TRACE(style);
        line->SetControlStyle(style);
        Forget();
        line->SetText(L"style " + std::to_wstring(style));
        EXPECT_EQ(events, V{VxEvent::Change});
        EXPECT_EQ(line->Text(), L"style " + std::to_wstring(style));
    }
    line->SetControlStyle(lineinput::StyleDisplay);
    Forget();
    line->SetText(L"Anzeige"); // a label raises no Change
    EXPECT_EQ(events, V{});
    EXPECT_EQ(line->Text(), L"Anzeige");
}

TEST_F(VxLineInTextTest, TextInTheEditableComboRaisesOneChange) {
    line->SetControlStyle(lineinput::StyleCombo);
    line->SetComboStyle(0);
    Forget();
    line->SetText(L"frei");
    EXPECT_EQ(events, V{VxEvent::Change});
    EXPECT_EQ(line->Text(), L"frei");
    EXPECT_EQ(Box(L"txt").text(), L"frei");
}

TEST_F(VxLineInTextTest, TextInTheListOnlyComboSelectsAnItemOrIsRefused) {
    line->SetControlStyle(lineinput::StyleCombo);
    line->AddItem(L"eins");
    line->AddItem(L"zwei");
    Forget();
    line->SetText(L"zwei");
    EXPECT_EQ(events, (V{VxEvent::Change, VxEvent::Click}));
    EXPECT_EQ(line->Text(), L"zwei");
    EXPECT_EQ(line->ListIndex(), 1);

    Forget();
    line->SetText(L"drei"); // no such item: the combo keeps its text, the others take it
    EXPECT_EQ(events, V{});
    EXPECT_EQ(line->Text(), L"zwei");
    EXPECT_EQ(Box(L"txt").text(), L"drei");
}

TEST_F(VxLineInTextTest, TextSilentRaisesNoChangeKeepsMultiStringGreyAndRedraws) {
    line->SetMultiStringGrey(true);
    Forget();
    line->SetTextSilent(L"still");
    EXPECT_EQ(events, (V{VxEvent::BeforeRedraw, VxEvent::AfterRedraw}));
    EXPECT_TRUE(line->MultiStringGrey());
    EXPECT_EQ(line->Text(), L"still");
    EXPECT_EQ(Box(L"mem").text(), L"still");

    line->SetControlStyle(lineinput::StyleCombo);
    line->SetComboStyle(0);
    line->SetText(L"combo");
    Forget();
    line->SetTextSilent(L"leise");
    EXPECT_EQ(events, (V{VxEvent::BeforeRedraw, VxEvent::AfterRedraw}));
    EXPECT_EQ(line->Text(), L"combo");
    EXPECT_EQ(Box(L"txt").text(), L"leise");
}

TEST_F(VxLineInTextTest, SelTextReplacesEverySelectionButOnlyTxtReportsIt) {
    line->SetText(L"Hallo Welt");
    line->SetSelStart(0);
    line->SetSelLength(5);
    EXPECT_EQ(line->SelText(), L"Hallo");
    Forget();
    line->SetSelText(L"Servus");
    EXPECT_EQ(events, V{VxEvent::Change});
    EXPECT_EQ(Box(L"txt").text(), L"Servus Welt");
    EXPECT_EQ(Box(L"txi").text(), L"Servus Welt");
    EXPECT_EQ(Box(L"mem").text(), L"Servus Welt");
    EXPECT_EQ(line->SelStart(), 6);

    line->SetControlStyle(lineinput::StyleDisplay);
    EXPECT_EQ(line->SelText(), L"");
    EXPECT_EQ(line->SelStart(), 0);
    EXPECT_EQ(line->SelLength(), 0);
}

TEST_F(VxLineInTextTest, ChangeMessagesRaiseChangeAlwaysAndLeaveMultiStringGrey) {
    line->SetMultiStringGrey(true);
    Forget();
    line->FireEventChange();
    line->SendChangeMsg();
    EXPECT_EQ(events, (V{VxEvent::Change, VxEvent::Change}));
    EXPECT_TRUE(line->MultiStringGrey());
    line->SetText(L"neu"); // a Change from the field shows the text again
    EXPECT_FALSE(line->MultiStringGrey());
}

TEST_F(VxLineInTextTest, TextBoxSettingsReachTheTextChildren) {
    line->SetLocked(true);
    EXPECT_TRUE(line->Locked());
    EXPECT_TRUE(Box(L"txi").locked());
    EXPECT_TRUE(Box(L"mem").locked());
    EXPECT_TRUE(Combo(L"cmb0").locked());
    EXPECT_TRUE(Combo(L"cmb2").locked());
    line->SetLocked(false);

    line->SetMaxLength(3);
    EXPECT_EQ(line->MaxLength(), 3);
    EXPECT_EQ(Box(L"mem").maxLength(), 3);
    Type(Hwnd(L"txt"), L"abcd");
    EXPECT_EQ(line->Text(), L"abc");

    line->SetPasswordChar(L"*");
    EXPECT_EQ(line->PasswordChar(), L"*");
    EXPECT_EQ(Box(L"txi").passwordChar(), L"*");
}

TEST_F(VxLineInTextTest, SetTextFocusAndSetActive) {
    line->SetControlStyle(lineinput::StyleMemo);
    line->SetTextFocus();
    EXPECT_TRUE(Child(L"mem").hasFocus());
    sink->setFocus();
    line->SetControlStyle(lineinput::StyleDisplay);
    line->SetTextFocus(); // the display cannot take the focus
    EXPECT_TRUE(sink->hasFocus());

    EXPECT_TRUE(line->SetActive(false).IsEmpty());
    EXPECT_FALSE(line->Enabled());
    EXPECT_TRUE(line->GreyControl());
    line->SetActive(true);
    EXPECT_TRUE(line->Enabled());
    EXPECT_FALSE(line->GreyControl());
}

// --- keys --------------------------------------------------------------------------------

TEST_F(VxLineInTextTest, AKeyZeroedBeforeTheCheckStaysZeroAndInsertsNothing) {
    line->SetTextBoxStyle(1); // upper case: the filter must not revive the key
    On(VxEvent::KeyPressBeforeCheck, [](VxLineInEventArgs& args) { *args.KeyAscii = 0; });
    Type(Hwnd(L"txt"), L'a');
    EXPECT_EQ(events, (V{VxEvent::KeyPressBeforeCheck, VxEvent::KeyPress}));
    EXPECT_EQ(keys, (E{'a', 0}));
    EXPECT_EQ(line->Text(), L"");
}

TEST_F(VxLineInTextTest, TheKeyLeftByKeyPressIsWhatTheFieldInserts) {
    On(VxEvent::KeyPress, [](VxLineInEventArgs& args) { *args.KeyAscii = 'x'; });
    Type(Hwnd(L"txt"), L'a');
    EXPECT_EQ(events, (V{VxEvent::KeyPressBeforeCheck, VxEvent::KeyPress, VxEvent::Change}));
    EXPECT_EQ(line->Text(), L"x");
}

TEST_F(VxLineInTextTest, IntegerStyleRejectsLetters) {
    line->SetTextBoxStyle(11);
    Type(Hwnd(L"txt"), L'a');
    EXPECT_EQ(events, (V{VxEvent::KeyPressBeforeCheck, VxEvent::KeyPress}));
    EXPECT_EQ(keys, (E{'a', 0}));
    Forget();
    Type(Hwnd(L"txt"), L'7');
    EXPECT_EQ(events, (V{VxEvent::KeyPressBeforeCheck, VxEvent::KeyPress, VxEvent::Change}));
    EXPECT_EQ(line->Text(), L"7");
}

TEST_F(VxLineInTextTest, UpperCaseStyleTurnsAnUmlautIntoItsCapital) {
    line->SetTextBoxStyle(1);
    Type(Hwnd(L"txt"), L'\u00e4');
    EXPECT_EQ(keys, (E{228, 196}));
    EXPECT_EQ(line->Text(), L"\u00c4");
    // The frame's text box and the memo filter the same way.
    line->SetControlStyle(lineinput::StyleInnerBox);
    Type(Hwnd(L"txi"), L'\u00f6');
    EXPECT_EQ(line->Text(), L"\u00d6");
    line->SetControlStyle(lineinput::StyleMemo);
    Type(Hwnd(L"mem"), L'u');
    EXPECT_EQ(Box(L"mem").text(), L"U");
}

TEST_F(VxLineInTextTest, KeysTravelAsWindows1252CodesAndComeBackAsTheSameCharacter) {
    Type(Hwnd(L"txt"), L'\u20ac'); // the euro sign is code 0x80
    EXPECT_EQ(keys, (E{0x80, 0x80}));
    EXPECT_EQ(line->Text(), L"\u20ac");
}

TEST_F(VxLineInTextTest, ACharacterWithoutAWindows1252CodeTravelsAsAQuestionMark) {
    // Left as "?", the field inserts the character as typed.
    Type(Hwnd(L"txt"), L'\u0416');
    EXPECT_EQ(events, (V{VxEvent::KeyPressBeforeCheck, VxEvent::KeyPress, VxEvent::Change}));
    EXPECT_EQ(keys, (E{'?', '?'}));
    EXPECT_EQ(line->Text(), L"\u0416");

    // A filter that rejects letters rejects it too.
    line->SetTextBoxStyle(11);
    Forget();
    Type(Hwnd(L"txt"), L'\u0416');
    EXPECT_EQ(events, (V{VxEvent::KeyPressBeforeCheck, VxEvent::KeyPress}));
    EXPECT_EQ(keys, (E{'?', 0}));
    EXPECT_EQ(line->Text(), L"\u0416");

    // A character the host puts in its place is inserted instead.
    line->SetTextBoxStyle(0);
    On(VxEvent::KeyPress, [](VxLineInEventArgs& args) { *args.KeyAscii = 'x'; });
    Type(Hwnd(L"txt"), L'\u0416');
    EXPECT_EQ(line->Text(), L"\u0416x");
}

TEST_F(VxLineInTextTest, EnterInTxtPressesTheButtonBeforeKeyPress) {
    line->SetButtonClickOnEnter(true);
    line->SetCommandStyle(lineinput::ActionReportOnly);
    line->SetTextFocus();
    Forget();
    SendMessageW(Hwnd(L"txt"), WM_KEYDOWN, VK_RETURN, 1);
    Type(Hwnd(L"txt"), L'\r');
    SendMessageW(Hwnd(L"txt"), WM_KEYUP, VK_RETURN, 0xC0000001);
    EXPECT_EQ(events, (V{VxEvent::KeyDown, VxEvent::KeyPressBeforeCheck, VxEvent::BeforeButtonClicked,
                         VxEvent::ButtonClicked, VxEvent::AfterButtonClicked,
                         VxEvent::AfterButtonClickedFinished, VxEvent::KeyPress, VxEvent::KeyUp}));
    EXPECT_EQ(keys, (E{13, 13}));

    // Without the button, or from txi and mem, Enter is only a key.
    line->SetButtonShow(false);
    Forget();
    Type(Hwnd(L"txt"), L'\r');
    EXPECT_EQ(events, (V{VxEvent::KeyPressBeforeCheck, VxEvent::KeyPress}));
    line->SetButtonShow(true);
    for (const wchar_t* name : {L"txi", L"mem"}) {
        SCOPED_TRACE(name);
        Forget();
        SendMessageW(Hwnd(name), WM_KEYDOWN, VK_RETURN, 1);
        Type(Hwnd(name), L'\r');
        SendMessageW(Hwnd(name), WM_KEYUP, VK_RETURN, 0xC0000001);
        EXPECT_EQ(events,
                  (V{VxEvent::KeyDown, VxEvent::KeyPressBeforeCheck, VxEvent::KeyPress, VxEvent::KeyUp}));
    }
    // Without ButtonClickOnEnter txt does not press it either.
    line->SetButtonClickOnEnter(false);
    Forget();
    Type(Hwnd(L"txt"), L'\r');
    EXPECT_EQ(events, (V{VxEvent::KeyPressBeforeCheck, VxEvent::KeyPress}));
}

TEST_F(VxLineInTextTest, ComboKeysAreReportedUnfiltered) {
    line->SetControlStyle(lineinput::StyleCombo);
    line->SetComboStyle(0);
    line->SetTextBoxStyle(11);
    line->SetButtonClickOnEnter(true);
    line->SetMultiStringGrey(true);
    Forget();
    Type(ComboEdit(), L'a');
    EXPECT_EQ(events, (V{VxEvent::ComboKeyPress, VxEvent::Change}));
    EXPECT_FALSE(line->MultiStringGrey());
    EXPECT_EQ(keys, E{'a'});
    EXPECT_EQ(line->Text(), L"a");
    Forget();
    Type(ComboEdit(), L'\r'); // no button press from a combo box
    EXPECT_EQ(events, V{VxEvent::ComboKeyPress});
}

TEST_F(VxLineInTextTest, TheKeyLeftByComboKeyPressIsWhatTheComboInserts) {
    line->SetControlStyle(lineinput::StyleCombo);
    line->SetComboStyle(0);
    On(VxEvent::ComboKeyPress, [](VxLineInEventArgs& args) {
        *args.KeyAscii = *args.KeyAscii == 'a' ? std::int16_t{'x'} : std::int16_t{0};
    });
    Type(ComboEdit(), L"ab");
    EXPECT_EQ(keys, (E{'a', 'b'}));
    EXPECT_EQ(line->Text(), L"x");
}

TEST_F(VxLineInTextTest, ALockedDropDownListReportsKeysButKeepsItsSelection) {
    line->SetControlStyle(lineinput::StyleCombo);
    line->SetComboStyle(2);
    line->AddItem(L"alpha");
    line->AddItem(L"beta");
    line->SetListIndex(0);
    line->SetLocked(true);
    Forget();
    Type(Hwnd(L"cmb2"), L'b');
    EXPECT_EQ(events, V{VxEvent::ComboKeyPress});
    EXPECT_EQ(keys, E{'b'});
    EXPECT_EQ(line->ListIndex(), 0);
}

// --- focus colours -----------------------------------------------------------------------

TEST_F(VxLineInTextTest, FocusColoursFollowMultiStringGrey) {
    line->SetTextBackColor(0x00E0FFFF);
    line->SetTextForeColor(0x00800000);
    line->SetMultiStringGrey(true);
    const host::Color back = line->BackColor();
    host::Control& txt = Child(L"txt");
    EXPECT_EQ(txt.backColor(), back);
    EXPECT_EQ(txt.foreColor(), back);

    Forget();
    line->SetTextFocus();
    EXPECT_EQ(events, V{VxEvent::GotFocusText});
    EXPECT_EQ(txt.backColor(), 0x00E0FFFFu);
    EXPECT_EQ(txt.foreColor(), 0x00800000u);

    sink->setFocus(); // still greyed: the text disappears again
    EXPECT_EQ(txt.backColor(), back);
    line->SetTextFocus();
    Type(txt.hwnd(), L'z'); // a change by the user ends the grey state
    EXPECT_FALSE(line->MultiStringGrey());
    Forget();
    sink->setFocus();
    EXPECT_EQ(events, V{VxEvent::LostFocusText});
    EXPECT_EQ(txt.backColor(), 0x00E0FFFFu);
    EXPECT_EQ(txt.foreColor(), 0x00800000u);
}

TEST_F(VxLineInTextTest, ComboFocusRaisesTheComboEvents) {
    line->SetTextBackColor(0x00E0FFFF);
    line->SetControlStyle(lineinput::StyleCombo);
    line->SetMultiStringGrey(true);
    host::Control& cmb2 = Child(L"cmb2");
    Forget();
    line->SetTextFocus();
    EXPECT_EQ(cmb2.backColor(), 0x00E0FFFFu);
    sink->setFocus();
    EXPECT_EQ(events, (V{VxEvent::GotFocusCombo, VxEvent::LostFocusCombo}));
    EXPECT_EQ(cmb2.backColor(), line->BackColor());
}

// --- focus across layout passes, Tab ------------------------------------------------------

// A layout pass while the user types (from code or from a handler) leaves the
// field shown and focused: the next key lands in it, and no focus event comes.
TEST_F(VxLineInTextTest, ALayoutPassWhileTypingKeepsTheFieldFocused) {
    using namespace VxEvent;
    const struct {
        int style;
        int comboStyle;
        const wchar_t* field;
        V typing; // the events of one typed character
    } fields[] = {
        {0, 2, L"txt", {KeyPressBeforeCheck, KeyPress, Change}},
        {1, 0, L"cmb0", {ComboKeyPress, Change}},
        {2, 2, L"mem", {KeyPressBeforeCheck, KeyPress, Change}},
        {4, 2, L"txi", {KeyPressBeforeCheck, KeyPress, Change}},
    };
    const struct {
        const char* name;
        std::function<void(VxLineIn&)> run;
    } passes[] = {
        {"Refresh", [](VxLineIn& l) { l.Refresh(); }},
        {"TextSilent", [](VxLineIn& l) { l.SetTextSilent(L"leise"); }},
        {"MultiStringGrey", [](VxLineIn& l) { l.SetMultiStringGrey(false); }},
        {"LabelWidth", [](VxLineIn& l) { l.SetLabelWidth(90); }},
    };
    for (const auto& field : fields) {
        line->SetControlStyle(field.style);
        line->SetComboStyle(field.comboStyle);
        line->SetTextFocus();
        ASSERT_TRUE(Child(field.field).hasFocus()) << field.style;
        for (const auto& pass : passes) {
            SCOPED_TRACE(testing::Message() << "ControlStyle " << field.style << ", " << pass.name);
            Forget();
            pass.run(*line);
            const std::wstring before = line->Text();
            Type(GetFocus(), L'x');
            V expected{BeforeRedraw, AfterRedraw};
            expected.insert(expected.end(), field.typing.begin(), field.typing.end());
            EXPECT_EQ(events, expected);
            EXPECT_TRUE(Child(field.field).hasFocus());
            EXPECT_EQ(line->Text().size(), before.size() + 1);
        }
    }
}

TEST_F(VxLineInTextTest, AHostThatShowsTheTextOnFocusKeepsTheFocus) {
    line->SetMultiStringGrey(true);
    On(VxEvent::GotFocusText, [this](VxLineInEventArgs&) { line->SetMultiStringGrey(false); });
    Forget();
    line->SetTextFocus();
    EXPECT_EQ(events, (V{VxEvent::GotFocusText, VxEvent::BeforeRedraw, VxEvent::AfterRedraw}));
    EXPECT_TRUE(Child(L"txt").hasFocus());
}

// Tab goes from the window's other control to the field, to the button and
// back, as the form's message loop moves it.
TEST_F(VxLineInTextTest, TabReachesTheFieldAndTheButtonOfEveryStyle) {
    const auto pressTab = [this] {
        MSG msg{GetFocus(), WM_KEYDOWN, VK_TAB, 0, 0, {}};
        IsDialogMessageW(form->hwnd(), &msg);
    };
    const struct {
        int style;
        int comboStyle;
        std::vector<const wchar_t*> stops;
    } cases[] = {
        {0, 2, {L"txt", L"cmd"}},
        {1, 0, {L"cmb0", L"cmd"}},
        {1, 2, {L"cmb2", L"cmd"}},
        {2, 2, {L"mem", L"cmd"}},
        {3, 2, {L"cmd"}},
        {4, 2, {L"txi", L"cmd"}},
        {5, 2, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "ControlStyle " << c.style << ", ComboStyle " << c.comboStyle);
        line->SetControlStyle(c.style);
        line->SetComboStyle(c.comboStyle);
        sink->setFocus();
        for (const wchar_t* stop : c.stops) {
            pressTab();
            EXPECT_TRUE(Child(stop).hasFocus()) << stop;
        }
        pressTab();
        EXPECT_TRUE(sink->hasFocus());
    }
}

// Escape in a multi-line text box asks its parent to close, as it would close
// a dialog box; the line's surface is not a window that closes.
TEST_F(VxLineInTextTest, EscapeInTheMultiLineFieldLeavesTheLineInPlace) {
    line->SetControlStyle(lineinput::StyleMemo);
    line->SetTextFocus();
    MSG msg{GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0, 0, {}};
    if (!IsDialogMessageW(form->hwnd(), &msg))
        DispatchMessageW(&msg);
    PumpMessages();
    EXPECT_TRUE(IsWindow(line->hwnd()));
    EXPECT_TRUE(Child(L"mem").hasFocus());
}

// --- mouse, labels, combo clicks -----------------------------------------------------------

TEST_F(VxLineInTextTest, MouseAndClicksOfTheFields) {
    line->SetTextFocus();
    Forget();
    const HWND txt = Hwnd(L"txt");
    SendMessageW(txt, WM_MOUSEMOVE, 0, MAKELPARAM(3, 4));
    SendMessageW(txt, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 4));
    SendMessageW(txt, WM_LBUTTONUP, 0, MAKELPARAM(3, 4));
    SendMessageW(txt, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(3, 4));
    SendMessageW(txt, WM_LBUTTONUP, 0, MAKELPARAM(3, 4));
    EXPECT_EQ(events, (V{VxEvent::MouseMove, VxEvent::MouseDown, VxEvent::MouseUp, VxEvent::Click,
                         VxEvent::DblClick, VxEvent::MouseUp, VxEvent::Click}));

    line->SetControlStyle(lineinput::StyleDisplay);
    Forget();
    const HWND anz = Hwnd(L"anz");
    SendMessageW(anz, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(2, 2));
    SendMessageW(anz, WM_RBUTTONUP, 0, MAKELPARAM(2, 2));
    SendMessageW(anz, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(2, 2));
    EXPECT_EQ(events, (V{VxEvent::MouseDown, VxEvent::MouseUp, VxEvent::DblClick}));
    EXPECT_EQ(buttons, (E{2, 2}));
}

TEST_F(VxLineInTextTest, CaptionLabelReleasesAndClicks) {
    const HWND lbl = Hwnd(L"lbl");
    SendMessageW(lbl, WM_RBUTTONUP, 0, MAKELPARAM(2, 2));
    EXPECT_EQ(events, (V{VxEvent::LabelPopMenu, VxEvent::LabelMouseUp}));
    Forget();
    SendMessageW(lbl, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    EXPECT_EQ(events, V{VxEvent::LabelMouseUp});
    EXPECT_EQ(buttons, E{1});
    Forget();
    SendMessageW(lbl, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    SendMessageW(lbl, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(2, 2));
    EXPECT_EQ(events, (V{VxEvent::LabelClick, VxEvent::LabelMouseDown, VxEvent::LabelDblClick}));
}

TEST_F(VxLineInTextTest, AnyReleaseOverTheButtonIsAButtonRightClickWithoutTheAction) {
    line->SetText(L"bleibt");
    Forget();
    const HWND cmd = Hwnd(L"cmd");
    SendMessageW(cmd, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(2, 2));
    SendMessageW(cmd, WM_RBUTTONUP, 0, MAKELPARAM(2, 2));
    SendMessageW(cmd, WM_MBUTTONUP, 0, MAKELPARAM(2, 2));
    EXPECT_EQ(events, (V{VxEvent::ButtonRightClick, VxEvent::ButtonRightClick}));
    EXPECT_EQ(buttons, (E{2, 4}));
    EXPECT_EQ(line->Text(), L"bleibt");
}

TEST_F(VxLineInTextTest, AnItemChosenInTheListOnlyComboIsAChangeOnlyInTheComboStyle) {
    line->SetControlStyle(lineinput::StyleCombo);
    line->AddItem(L"eins");
    line->AddItem(L"zwei");
    Forget();
    SendMessageW(Hwnd(L"cmb2"), WM_KEYDOWN, VK_DOWN, 1);
    EXPECT_EQ(events, (V{VxEvent::Change, VxEvent::Click}));
    EXPECT_EQ(line->Text(), L"eins");

    line->SetControlStyle(lineinput::StyleTextBox);
    host::ComboBox& cmb2 = Combo(L"cmb2");
    cmb2.addItem(L"eins");
    cmb2.addItem(L"zwei");
    Forget();
    SendMessageW(cmb2.hwnd(), WM_KEYDOWN, VK_DOWN, 1);
    EXPECT_EQ(events, V{VxEvent::Click});
}

// --- the button ----------------------------------------------------------------------------

TEST_F(VxLineInTextTest, ClearingTheLineRaisesTwoChanges) {
    line->SetText(L"C:\\Daten");
    line->SetTextFocus();
    Forget();
    line->DoButtonClick(true);
    EXPECT_EQ(events, (V{VxEvent::BeforeButtonClicked, VxEvent::Change, VxEvent::AfterButtonClicked,
                         VxEvent::Change, VxEvent::AfterButtonClickedFinished}));
    EXPECT_EQ(line->Text(), L"");
    EXPECT_EQ(Box(L"mem").text(), L"");
}

TEST_F(VxLineInTextTest, APressOfTheRealButtonRunsTheClickAndGivesTheFocusBack) {
    line->SetText(L"weg");
    line->SetTextFocus();
    Forget();
    SendMessageW(Hwnd(L"cmd"), BM_CLICK, 0, 0);
    EXPECT_EQ(WithoutFocusEvents(),
              (V{VxEvent::BeforeButtonClicked, VxEvent::Change, VxEvent::AfterButtonClicked, VxEvent::Change,
                 VxEvent::AfterButtonClickedFinished, VxEvent::ButtonRightClick}));
    EXPECT_EQ(line->Text(), L"");
    EXPECT_TRUE(Child(L"txt").hasFocus());
}

TEST_F(VxLineInTextTest, ReportOnlyStyleRaisesButtonClickedAndChangeOnlyForTheHostsChange) {
    line->SetCommandStyle(lineinput::ActionReportOnly);
    line->SetText(L"a");
    line->SetTextFocus();
    Forget();
    line->DoButtonClick(true);
    EXPECT_EQ(events, (V{VxEvent::BeforeButtonClicked, VxEvent::ButtonClicked, VxEvent::AfterButtonClicked,
                         VxEvent::AfterButtonClickedFinished}));

    // A text the host writes in BeforeButtonClicked counts as a change of the click.
    On(VxEvent::BeforeButtonClicked, [this](VxLineInEventArgs&) { line->SetText(L"vom Host"); });
    Forget();
    line->DoButtonClick(true);
    EXPECT_EQ(events, (V{VxEvent::BeforeButtonClicked, VxEvent::Change, VxEvent::ButtonClicked,
                         VxEvent::AfterButtonClicked, VxEvent::Change, VxEvent::AfterButtonClickedFinished}));
}

TEST_F(VxLineInTextTest, CopyPutsTheTextOnTheClipboard) {
    line->SetCommandStyle(lineinput::ActionCopy);
    line->SetText(L"\\\\srv\\freigabe\\\u00e4");
    line->SetTextFocus();
    Forget();
    line->DoButtonClick(true);
    EXPECT_EQ(events, (V{VxEvent::BeforeButtonClicked, VxEvent::AfterButtonClicked,
                         VxEvent::AfterButtonClickedFinished}));
    EXPECT_EQ(line->Text(), L"\\\\srv\\freigabe\\\u00e4");
    EXPECT_EQ(ClipboardText(form->hwnd()), L"\\\\srv\\freigabe\\\u00e4");
}

TEST_F(VxLineInTextTest, TheDisplayStyleSeesOnlyTheChangeOfTheClick) {
    line->SetControlStyle(lineinput::StyleDisplay);
    line->SetText(L"Anzeige");
    Forget();
    line->DoButtonClick(true);
    EXPECT_EQ(events, (V{VxEvent::BeforeButtonClicked, VxEvent::AfterButtonClicked, VxEvent::Change,
                         VxEvent::AfterButtonClickedFinished}));
    EXPECT_EQ(line->Text(), L"");
}

TEST_F(VxLineInTextTest, TheClickMovesTheFocusUnlessMultiStringGrey) {
    line->SetCommandStyle(lineinput::ActionReportOnly);
    sink->setFocus();
    Forget();
    line->DoButtonClick(true);
    EXPECT_EQ(events, (V{VxEvent::BeforeButtonClicked, VxEvent::ButtonClicked, VxEvent::GotFocusText,
                         VxEvent::AfterButtonClicked, VxEvent::AfterButtonClickedFinished}));

    sink->setFocus();
    line->SetMultiStringGrey(true);
    Forget();
    line->DoButtonClick(true);
    EXPECT_EQ(events, (V{VxEvent::BeforeButtonClicked, VxEvent::ButtonClicked, VxEvent::AfterButtonClicked,
                         VxEvent::AfterButtonClickedFinished}));
    EXPECT_TRUE(sink->hasFocus());
}

TEST_F(VxLineInTextTest, TheComboStyleClearsTheComboOrOnlyReportsTheClick) {
    line->SetControlStyle(lineinput::StyleCombo);
    line->AddItem(L"eins");
    line->AddItem(L"zwei");
    line->SetListIndex(1);
    line->SetTextFocus();
    Forget();
    line->DoButtonClick(true);
    EXPECT_EQ(events, (V{VxEvent::BeforeButtonClicked, VxEvent::Change, VxEvent::Click,
                         VxEvent::AfterButtonClicked, VxEvent::AfterButtonClickedFinished}));
    EXPECT_EQ(line->ListIndex(), -1);
    EXPECT_EQ(line->Text(), L"");

    for (int commandStyle = 1; commandStyle <= 6; ++commandStyle) {
        SCOPED_TRACE(commandStyle);
        line->SetCommandStyle(commandStyle);
        Forget();
        line->DoButtonClick(true);
        EXPECT_EQ(events, (V{VxEvent::BeforeButtonClicked, VxEvent::ButtonClicked,
                             VxEvent::AfterButtonClicked, VxEvent::AfterButtonClickedFinished}));
    }
}

// The focus stays in the combo box's edit field: no lost and regained focus.
TEST_F(VxLineInTextTest, TheEditableComboIsClearedToo) {
    line->SetControlStyle(lineinput::StyleCombo);
    line->SetComboStyle(0);
    line->AddItem(L"eins");
    line->SetText(L"frei");
    line->SetTextFocus();
    line->SetCommandStyle(lineinput::ActionClear);
    Forget();
    line->DoButtonClick(true);
    EXPECT_EQ(events, (V{VxEvent::BeforeButtonClicked, VxEvent::Change, VxEvent::Click,
                         VxEvent::AfterButtonClicked, VxEvent::AfterButtonClickedFinished}));
    EXPECT_EQ(line->Text(), L"");
    EXPECT_EQ(line->ListIndex(), -1);
}

TEST_F(VxLineInTextTest, NoClickWithoutDoitOrWithoutTheButton) {
    line->SetText(L"bleibt");
    Forget();
    line->DoButtonClick(false);
    EXPECT_EQ(events, V{});
    line->SetButtonShow(false);
    Forget();
    line->DoButtonClick(true);
    EXPECT_EQ(events, V{});
    EXPECT_EQ(line->Text(), L"bleibt");
}

// Every CommandStyle that opens no dialog, in every ControlStyle: the events
// of the click come all the same; the text styles act, the combo style only
// reports, the outline and an unknown style do nothing; the focus goes to
// the field of the style. (Clearing the combo box has tests of its own.)
TEST_F(VxLineInTextTest, TheClickInEveryControlStyle) {
    using namespace VxEvent;
    using namespace lineinput;
    const wchar_t* const cleared = L"";
    const wchar_t* const kept = L"vorher";
    const wchar_t* const copied = L"vorher";
    const wchar_t* const untouched = L"Merker";
    constexpr int kNoSuchStyle = 6;
    constexpr int kNoSuchAction = 7;
    const struct {
        int controlStyle;
        int commandStyle;
        V events;
        const wchar_t* txt;
        const wchar_t* clipboard;
    } cases[] = {
        {StyleTextBox,
         ActionClear,
         {BeforeButtonClicked, Change, GotFocusText, AfterButtonClicked, Change, AfterButtonClickedFinished},
         cleared,
         untouched},
        {StyleTextBox,
         ActionReportOnly,
         {BeforeButtonClicked, ButtonClicked, GotFocusText, AfterButtonClicked, AfterButtonClickedFinished},
         kept,
         untouched},
        {StyleTextBox,
         ActionCopy,
         {BeforeButtonClicked, GotFocusText, AfterButtonClicked, AfterButtonClickedFinished},
         kept,
         copied},
        {StyleTextBox,
         kNoSuchAction,
         {BeforeButtonClicked, GotFocusText, AfterButtonClicked, AfterButtonClickedFinished},
         kept,
         untouched},
        {StyleCombo,
         ActionReportOnly,
         {BeforeButtonClicked, ButtonClicked, GotFocusCombo, AfterButtonClicked, AfterButtonClickedFinished},
         kept,
         untouched},
        {StyleCombo,
         ActionCopy,
         {BeforeButtonClicked, ButtonClicked, GotFocusCombo, AfterButtonClicked, AfterButtonClickedFinished},
         kept,
         untouched},
        {StyleCombo,
         kNoSuchAction,
         {BeforeButtonClicked, GotFocusCombo, AfterButtonClicked, AfterButtonClickedFinished},
         kept,
         untouched},
        {StyleMemo,
         ActionClear,
         {BeforeButtonClicked, Change, GotFocusText, AfterButtonClicked, Change, AfterButtonClickedFinished},
         cleared,
         untouched},
        {StyleMemo,
         ActionReportOnly,
         {BeforeButtonClicked, ButtonClicked, GotFocusText, AfterButtonClicked, AfterButtonClickedFinished},
         kept,
         untouched},
        {StyleMemo,
         ActionCopy,
         {BeforeButtonClicked, GotFocusText, AfterButtonClicked, AfterButtonClickedFinished},
         kept,
         copied},
        {StyleMemo,
         kNoSuchAction,
         {BeforeButtonClicked, GotFocusText, AfterButtonClicked, AfterButtonClickedFinished},
         kept,
         untouched},
        {StyleDisplay,
         ActionClear,
         {BeforeButtonClicked, AfterButtonClicked, Change, AfterButtonClickedFinished},
         cleared,
         untouched},
        {StyleDisplay,
         ActionReportOnly,
         {BeforeButtonClicked, ButtonClicked, AfterButtonClicked, AfterButtonClickedFinished},
         kept,
         untouched},
        {StyleDisplay,
         ActionCopy,
         {BeforeButtonClicked, AfterButtonClicked, AfterButtonClickedFinished},
         kept,
         copied},
        {StyleDisplay,
         kNoSuchAction,
         {BeforeButtonClicked, AfterButtonClicked, AfterButtonClickedFinished},
         kept,
         untouched},
        {StyleInnerBox,
         ActionClear,
         {BeforeButtonClicked, Change, GotFocusText, AfterButtonClicked, Change, AfterButtonClickedFinished},
         cleared,
         untouched},
        {StyleInnerBox,
         ActionReportOnly,
         {BeforeButtonClicked, ButtonClicked, GotFocusText, AfterButtonClicked, AfterButtonClickedFinished},
         kept,
         untouched},
        {StyleInnerBox,
         ActionCopy,
         {BeforeButtonClicked, GotFocusText, AfterButtonClicked, AfterButtonClickedFinished},
         kept,
         copied},
        {StyleInnerBox,
         kNoSuchAction,
         {BeforeButtonClicked, GotFocusText, AfterButtonClicked, AfterButtonClickedFinished},
         kept,
         untouched},
        {StyleOutline,
         ActionClear,
         {BeforeButtonClicked, AfterButtonClicked, AfterButtonClickedFinished},
         kept,
         untouched},
        {StyleOutline,
         ActionReportOnly,
         {BeforeButtonClicked, AfterButtonClicked, AfterButtonClickedFinished},
         kept,
         untouched},
        {StyleOutline,
         ActionCopy,
         {BeforeButtonClicked, AfterButtonClicked, AfterButtonClickedFinished},
         kept,
         untouched},
        {StyleOutline,
         kNoSuchAction,
         {BeforeButtonClicked, AfterButtonClicked, AfterButtonClickedFinished},
         kept,
         untouched},
        {kNoSuchStyle,
         ActionClear,
         {BeforeButtonClicked, AfterButtonClicked, AfterButtonClickedFinished},
         kept,
         untouched},
        {kNoSuchStyle,
         ActionReportOnly,
         {BeforeButtonClicked, AfterButtonClicked, AfterButtonClickedFinished},
         kept,
         untouched},
        {kNoSuchStyle,
         ActionCopy,
         {BeforeButtonClicked, AfterButtonClicked, AfterButtonClickedFinished},
         kept,
         untouched},
        {kNoSuchStyle,
         kNoSuchAction,
         {BeforeButtonClicked, AfterButtonClicked, AfterButtonClickedFinished},
         kept,
         untouched},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "ControlStyle " << c.controlStyle << ", CommandStyle " << c.commandStyle);
        line->SetControlStyle(c.controlStyle);
        line->SetCommandStyle(c.commandStyle);
        line->SetText(L"vorher");
        ASSERT_TRUE(host::PutClipboardText(form->hwnd(), L"Merker"));
        sink->setFocus();
        Forget();
        line->DoButtonClick(true);
        EXPECT_EQ(events, c.events);
        EXPECT_EQ(Box(L"txt").text(), c.txt);
        EXPECT_EQ(ClipboardText(form->hwnd()), c.clipboard);
    }
}

// --- the check box ---------------------------------------------------------------------------

TEST_F(VxLineInTextTest, CheckBoxClickFromCodeNeedsTheCheckBox) {
    line->DoCheckBoxClick(false);
    EXPECT_EQ(events, V{});
    EXPECT_TRUE(line->Value());

    line->SetCheckboxShow(true);
    Forget();
    // newstate is a copy of Value: what the host writes there changes nothing.
    line->BindEvent(VxEvent::CheckBoxChanged, [this](int number, VxLineInEventArgs& args) {
        events.push_back(static_cast<VxEvent::Number>(number));
        states.push_back(*args.newstate);
        *args.newstate = true;
    });
    line->DoCheckBoxClick(false);
    EXPECT_EQ(events, V{VxEvent::CheckBoxChanged});
    EXPECT_EQ(states, std::vector<bool>{false});
    EXPECT_FALSE(line->Value());
}

TEST_F(VxLineInTextTest, AUsersClickAndValueRaiseCheckBoxChanged) {
    line->SetCheckboxShow(true);
    Forget();
    SendMessageW(Hwnd(L"chk"), BM_CLICK, 0, 0); // checked -> unchecked
    line->SetValue(true);
    line->SetValue(true); // no change of state, no Click
    EXPECT_EQ(events, (V{VxEvent::CheckBoxChanged, VxEvent::CheckBoxChanged}));
    EXPECT_EQ(states, (std::vector<bool>{false, true}));
}

TEST_F(VxLineInTextTest, AGreyedCheckBoxReadsAsCheckedAndBecomesChecked) {
    line->SetValue(false);
    SendMessageW(Hwnd(L"chk"), BM_SETCHECK, BST_INDETERMINATE, 0);
    Forget();
    EXPECT_TRUE(line->Value());
    EXPECT_EQ(static_cast<host::CheckBox&>(Child(L"chk")).value(), 1);
    EXPECT_EQ(events, V{VxEvent::CheckBoxChanged});
    EXPECT_EQ(states, std::vector<bool>{true});
}

} // namespace
