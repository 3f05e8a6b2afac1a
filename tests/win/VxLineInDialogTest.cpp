// The input line's button with the real dialogs behind it: a click on the
// button opens the file dialogs or the folder browser, a driver acts in the
// dialog as a user would, and the test checks the line's text afterwards and
// the events the host saw during the click.
#include "DialogDriver.h"
#include "DialogTestSupport.h"
#include "Form.h"
#include "Frame.h"
#include "L_FOLDER.h"
#include "LetterCase.h"
#include "LineTestSupport.h"
#include "TempFolder.h"
#include "VxLineIn.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

using namespace VxEvent;

const std::wstring kOpenTitle = L"Datei \u00F6ffnen :";
const std::wstring kSaveTitle = L"Datei speichern :";

std::wstring WithSlashes(std::wstring path) {
    std::replace(path.begin(), path.end(), L'\\', L'/');
    return path;
}

// What the user saw of a dialog before acting on it.
struct DialogView {
    HWND owner = nullptr;
    std::wstring nameBox;                  // file dialogs
    std::vector<std::wstring> staticTexts; // visible static children
};

DialogView Look(HWND dialog) {
    DialogView view;
    view.owner = GetWindow(dialog, GW_OWNER);
    if (const HWND nameBox = NameBox(dialog))
        view.nameBox = WindowText(nameBox);
    for (HWND child : ChildWindows(dialog))
        if (ClassName(child) == L"Static" && IsWindowVisible(child))
            view.staticTexts.push_back(WindowText(child));
    return view;
}

class VxLineInDialogTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(com_.Ok());
        form_ = host::Form::Create({L"VxLineIn Dialoge", 9000, 2000});
        ASSERT_NE(form_, nullptr);
        RecordPropertyChanges(*form_, notified_);
        line_ = NewLine(form_->hwnd());
        ASSERT_NE(line_, nullptr);
        form_->show();
        GetCurrentDirectoryW(MAX_PATH, startFolder_);
    }
    // A confirmed file dialog makes the chosen folder the current one, which
    // would keep the temporary folder from being removed.
    void TearDown() override { SetCurrentDirectoryW(startFolder_); }

    // A new instance in parent (the form or a frame on it), 560 pixels wide,
    // whose click events are recorded.
    std::unique_ptr<VxLineIn> NewLine(HWND parent) {
        auto line = VxLineIn::Create({parent, form_.get()});
        if (!line)
            return nullptr;
        line->InitProperties();
        PlaceInPixels(*line, {.top = 20, .width = 560, .height = 40});
        // Only the events of the click; focus, paint and layout events are
        // the business of other tests.
        for (const VxEvent::Number number :
             {AfterButtonClicked, BeforeButtonClicked, AfterButtonClickedFinished, ButtonClicked, Change,
              RequestMainForm})
            line->BindEvent(number, [this](int n, VxLineInEventArgs& args) {
                events_.push_back(static_cast<VxEvent::Number>(n));
                if (n == RequestMainForm && args.frm && answerOwner_)
                    *args.frm = answerOwner_;
            });
        return line;
    }

    // Clicks the button as a user does: the click message to the button's
    // window. The dialog it opens (found by its caption, or any dialog of the
    // thread when the caption is empty) gets the action.
    void ClickWithDialog(const std::wstring& caption, const DialogDriver::Action& action) {
        PressWithDialog([this] { SendMessageW(line_->ButtonControl()->hwnd(), BM_CLICK, 0, 0); }, caption,
                        action);
    }
    // The same with another way of pressing the button.
    void PressWithDialog(const std::function<void()>& press, const std::wstring& caption,
                         const DialogDriver::Action& action) {
        events_.clear();
        notified_.clear();
        DialogDriver driver(caption, [this, action](HWND dialog) {
            view_ = Look(dialog);
            action(dialog);
        });
        press();
        EXPECT_TRUE(driver.Acted()) << "no dialog showed";
        EXPECT_FALSE(driver.LeftOpen()) << "the dialog did not close on its button";
    }

    static DialogDriver::Action Type(const std::wstring& name, int button) {
        return [name, button](HWND dialog) {
            if (!name.empty())
                SetWindowTextW(NameBox(dialog), name.c_str());
            PressButton(dialog, button);
        };
    }
    static DialogDriver::Action Press(int button) {
        return [button](HWND dialog) { PressButton(dialog, button); };
    }

    void UseFolderBrowser(bool namesAsIs, std::int32_t folderStyle) {
        line_->SetCommandStyle(lineinput::ActionFolder);
        line_->SetDlgFolderStyle(folderStyle);
        line_->SetDlgFolderNamesAsis(namesAsIs);
        line_->SetDlgPathCaption(L"Quellordner w\u00E4hlen : ");
    }

    bool BrowserShowedTitle() const {
        return std::find(view_.staticTexts.begin(), view_.staticTexts.end(), L"Quellordner w\u00E4hlen :") !=
               view_.staticTexts.end();
    }

    ComApartment com_;
    TempFolder tmp_;
    std::unique_ptr<host::Form> form_;
    std::unique_ptr<VxLineIn> line_;
    EventList events_;
    std::vector<std::wstring> notified_;
    HWND answerOwner_ = nullptr; // what the host answers to RequestMainForm
    DialogView view_;
    wchar_t startFolder_[MAX_PATH]{};
};

// --- folder browser -------------------------------------------------------------

TEST_F(VxLineInDialogTest, FolderChosenAsTheMainWindowsLinesDo) {
    // The configuration of the main window's lines: new-style browser, names
    // kept in the letter case the browser gives.
    const std::wstring folder = tmp_ / L"Mein Ordner";
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    // Like them, the line sits in a frame on the form.
    const auto frame = host::Frame::Create({form_->hwnd(), L"Ordner"});
    ASSERT_NE(frame, nullptr);
    frame->move(4, 4, 590, 80);
    frame->setVisible(true);
    line_ = NewLine(frame->hwnd());
    ASSERT_NE(line_, nullptr);
    line_->SetPictureType(2);
    UseFolderBrowser(true, 2);
    line_->SetText(WithSlashes(folder) + L"/");

    std::string screenshot;
    ClickWithDialog(L"", [&](HWND dialog) {
        RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        screenshot = SaveScreenshot(L"vxlinein_folder_browser.png");
        PressButton(dialog, IDOK);
    });
    if (screenshot.empty())
        std::printf("note: no screenshot taken (not under Wine, or xwd/convert missing)\n");
    else
        std::printf("screenshot: %s\n", screenshot.c_str());

    // The browser opened at the line's folder, so OK gives that folder back,
    // with a trailing "\" and in the browser's letter case.
    const std::wstring text = line_->Text();
    EXPECT_EQ(LetterCase::ToUpper(text), LetterCase::ToUpper(folder + L"\\"));
    EXPECT_TRUE(BrowserShowedTitle());
    EXPECT_EQ(view_.owner, form_->hwnd()) << "unanswered, the form (not the frame) owns the browser";
    EXPECT_EQ(events_, (EventList{BeforeButtonClicked, RequestMainForm, Change, AfterButtonClicked, Change,
                                  AfterButtonClickedFinished}));
}

TEST_F(VxLineInDialogTest, FolderCancelledLeavesTheStartTextCleaned) {
    // Slashes become backslashes and one trailing separator goes, even though
    // the user chose nothing; the folder need not exist.
    UseFolderBrowser(true, 1);
    const std::wstring start = WithSlashes(tmp_ / L"Daten") + L"/";
    line_->SetText(start);
    ClickWithDialog(L"", Press(IDCANCEL));
    EXPECT_EQ(line_->Text(), tmp_ / L"Daten");
    EXPECT_TRUE(BrowserShowedTitle());
    EXPECT_EQ(events_, (EventList{BeforeButtonClicked, RequestMainForm, Change, AfterButtonClicked, Change,
                                  AfterButtonClickedFinished}));
    // The browser does not write its title back.
    EXPECT_EQ(line_->DlgPathCaption(), L"Quellordner w\u00E4hlen : ");
}

TEST_F(VxLineInDialogTest, FolderCancelledInTheMemoAndFrameStylesRaisesTwoChanges) {
    // The start text is taken from txt in every style; the answer reaches the
    // field of the style, which reports it, and the click reports it again.
    UseFolderBrowser(true, 1);
    for (const std::int32_t style : {2, 4}) {
        SCOPED_TRACE(style);
        line_->SetControlStyle(style);
        line_->SetText(WithSlashes(tmp_ / L"Daten") + L"/");
        ClickWithDialog(L"", Press(IDCANCEL));
        EXPECT_EQ(line_->Text(), tmp_ / L"Daten");
        EXPECT_EQ(events_, (EventList{BeforeButtonClicked, RequestMainForm, Change, AfterButtonClicked,
                                      Change, AfterButtonClickedFinished}));
    }
}

TEST_F(VxLineInDialogTest, FolderCancelledOnAnEmptyLineStartsFromDefaultFilename) {
    UseFolderBrowser(true, 1);
    line_->SetDefaultFilename(WithSlashes(tmp_.Path()));
    ClickWithDialog(L"", Press(IDCANCEL));
    EXPECT_EQ(line_->Text(), tmp_.Path().substr(0, tmp_.Path().size() - 1));
}

TEST_F(VxLineInDialogTest, FolderNamesRecasedUnlessAsIs) {
    const std::wstring folder = tmp_ / L"mein ORDNER_neu";
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    UseFolderBrowser(false, 1);
    line_->SetText(folder);
    ClickWithDialog(L"", Press(IDOK));
    // The browser answers in upper case; the line shows each word capitalised.
    const std::wstring text = line_->Text();
    EXPECT_EQ(LetterCase::ToUpper(text), LetterCase::ToUpper(folder + L"\\"));
    ASSERT_GT(text.size(), 17u);
    EXPECT_EQ(text.substr(text.size() - 17), L"\\Mein Ordner_Neu\\");
    EXPECT_EQ(text, L_FOLDER::ProperCaseName(text, true));
}

TEST_F(VxLineInDialogTest, DisplayStyleRaisesOnlyTheChangeOfTheClick) {
    UseFolderBrowser(true, 1);
    line_->SetControlStyle(lineinput::StyleDisplay);
    line_->SetText(WithSlashes(tmp_ / L"Daten"));
    ClickWithDialog(L"", Press(IDCANCEL));
    EXPECT_EQ(line_->Text(), tmp_ / L"Daten");
    EXPECT_EQ(events_, (EventList{BeforeButtonClicked, RequestMainForm, AfterButtonClicked, Change,
                                  AfterButtonClickedFinished}));
}

TEST_F(VxLineInDialogTest, OwnerIsTheWindowTheHostAnswers) {
    OwnerWindow other;
    ASSERT_NE(other.Handle(), nullptr);
    answerOwner_ = other.Handle();
    UseFolderBrowser(true, 1);
    line_->SetText(tmp_.Path());
    ClickWithDialog(L"", Press(IDCANCEL));
    EXPECT_EQ(view_.owner, other.Handle());
}

// --- file dialogs ---------------------------------------------------------------

TEST_F(VxLineInDialogTest, OpenFileCancelledOnAnEmptyLineWritesDefaultFilename) {
    line_->SetCommandStyle(lineinput::ActionOpenFile);
    line_->SetDlgOpenCaption(L"");
    line_->SetDefaultFilename(tmp_ / L"neu.txt");
    ClickWithDialog(kOpenTitle, Press(IDCANCEL));
    EXPECT_EQ(line_->Text(), tmp_ / L"neu.txt");
    EXPECT_EQ(view_.nameBox, L"neu.txt") << "the dialog starts with the name part of the start text";
    EXPECT_EQ(view_.owner, form_->hwnd());
    EXPECT_EQ(events_, (EventList{BeforeButtonClicked, RequestMainForm, Change, AfterButtonClicked, Change,
                                  AfterButtonClickedFinished}));
    // The default title is kept in the member; the host is not told of it.
    EXPECT_EQ(line_->DlgOpenCaption(), kOpenTitle);
    EXPECT_EQ(std::count(notified_.begin(), notified_.end(), L"DlgOpenCaption"), 0);
}

TEST_F(VxLineInDialogTest, OpenFileTypedNameBecomesTheText) {
    ASSERT_TRUE(WriteFileBytes(tmp_ / L"b.txt", "b"));
    line_->SetCommandStyle(lineinput::ActionOpenFile);
    line_->SetDlgOpenCaption(L"Quelle");
    line_->SetText(tmp_ / L"a.txt");
    ClickWithDialog(L"Quelle", Type(L"b.txt", IDOK));
    EXPECT_EQ(line_->Text(), tmp_ / L"b.txt");
    EXPECT_EQ(view_.nameBox, L"a.txt");
    EXPECT_EQ(line_->DlgOpenCaption(), L"Quelle");
}

TEST_F(VxLineInDialogTest, SaveFileGetsTheFirstExtension) {
    line_->SetCommandStyle(lineinput::ActionSaveFile);
    line_->SetDlgSaveCaption(L"");
    line_->SetDlgFileType(L"Protokoll|Text");
    line_->SetDlgFileExtension(L"log|txt");
    line_->SetText(WithSlashes(tmp_ / L"alt.log"));
    ClickWithDialog(kSaveTitle, Type(L"neu", IDOK));
    EXPECT_EQ(line_->Text(), tmp_ / L"neu.log");
    EXPECT_EQ(line_->DlgSaveCaption(), kSaveTitle);
}

TEST_F(VxLineInDialogTest, EnterInTheLineOpensTheDialogWhenButtonClickOnEnter) {
    line_->SetCommandStyle(lineinput::ActionSaveFile);
    line_->SetButtonClickOnEnter(true);
    line_->SetDlgSaveCaption(L"Ziel");
    line_->SetText(tmp_ / L"alt.txt");
    line_->SetTextFocus();
    const HWND txt = line_->TextBoxControl()->hwnd();
    PressWithDialog(
        [txt] {
            SendMessageW(txt, WM_KEYDOWN, VK_RETURN, 1);
            SendMessageW(txt, WM_CHAR, L'\r', 1);
            SendMessageW(txt, WM_KEYUP, VK_RETURN, 0xC0000001);
        },
        L"Ziel", Type(L"neu.txt", IDOK));
    EXPECT_EQ(line_->Text(), tmp_ / L"neu.txt");
    EXPECT_EQ(view_.nameBox, L"alt.txt");
}

TEST_F(VxLineInDialogTest, SaveFileCancelledKeepsTheLine) {
    line_->SetCommandStyle(lineinput::ActionSaveFile);
    line_->SetText(tmp_ / L"alt.txt");
    ClickWithDialog(L"Datei speichern : ", Press(IDCANCEL));
    EXPECT_EQ(line_->Text(), tmp_ / L"alt.txt");
    EXPECT_EQ(events_, (EventList{BeforeButtonClicked, RequestMainForm, AfterButtonClicked,
                                  AfterButtonClickedFinished}));
}

TEST_F(VxLineInDialogTest, OpenFilesJoinsThePathsInTheDialogsOrder) {
    for (const wchar_t* name : {L"a.txt", L"b.txt", L"c"})
        ASSERT_TRUE(WriteFileBytes(tmp_ / name, "x"));
    line_->SetCommandStyle(lineinput::ActionOpenFiles);
    line_->SetDlgOpenCaption(L"Mehrere");
    line_->SetText(tmp_ / L"a.txt");
    ClickWithDialog(L"Mehrere", Type(L"\"b.txt\" \"a.txt\" \"c\"", IDOK));
    EXPECT_EQ(line_->Text(), tmp_ / L"b.txt" + L"; " + tmp_ / L"a.txt" + L"; " + tmp_ / L"c");
}

TEST_F(VxLineInDialogTest, OpenFilesWithOneChoiceGivesItsPath) {
    ASSERT_TRUE(WriteFileBytes(tmp_ / L"c", "x"));
    line_->SetCommandStyle(lineinput::ActionOpenFiles);
    line_->SetDlgOpenCaption(L"Mehrere");
    line_->SetText(tmp_ / L"a.txt");
    ClickWithDialog(L"Mehrere", Type(L"c", IDOK));
    EXPECT_EQ(line_->Text(), tmp_ / L"c");
}

TEST_F(VxLineInDialogTest, OpenFilesCancelledKeepsTheLine) {
    line_->SetCommandStyle(lineinput::ActionOpenFiles);
    line_->SetDlgOpenCaption(L"Mehrere");
    line_->SetText(tmp_ / L"a.txt");
    ClickWithDialog(L"Mehrere", Press(IDCANCEL));
    EXPECT_EQ(line_->Text(), tmp_ / L"a.txt");
}

// --- clicks that open no dialog ----------------------------------------------------

TEST_F(VxLineInDialogTest, ComboStyleReportsTheClickInsteadOfADialog) {
    line_->SetControlStyle(lineinput::StyleCombo);
    for (const std::int32_t commandStyle : {1, 2, 3, 6}) {
        line_->SetCommandStyle(commandStyle);
        events_.clear();
        line_->DoButtonClick(true);
        EXPECT_EQ(FindThreadDialog(L""), nullptr);
        EXPECT_EQ(events_, (EventList{BeforeButtonClicked, ButtonClicked, AfterButtonClicked,
                                      AfterButtonClickedFinished}))
            << "CommandStyle " << commandStyle;
    }
}

// In the combo box style the button clears the combo box, and every other
// action, the copy and the report too, only reports the click.
struct ComboClick {
    std::int32_t commandStyle;
    EventList events;
};
const ComboClick kComboClicks[] = {
    // The emptied combo box reports its change.
    {lineinput::ActionClear, {BeforeButtonClicked, Change, AfterButtonClicked, AfterButtonClickedFinished}},
    {lineinput::ActionReportOnly,
     {BeforeButtonClicked, ButtonClicked, AfterButtonClicked, AfterButtonClickedFinished}},
    {lineinput::ActionCopy,
     {BeforeButtonClicked, ButtonClicked, AfterButtonClicked, AfterButtonClickedFinished}},
    {7, {BeforeButtonClicked, AfterButtonClicked, AfterButtonClickedFinished}}, // no action
};

TEST_F(VxLineInDialogTest, InTheComboStyleTheButtonClearsOrReportsTheClick) {
    line_->SetControlStyle(lineinput::StyleCombo);
    line_->SetComboStyle(lineinput::ComboEditable);
    for (const ComboClick& click : kComboClicks) {
        SCOPED_TRACE(click.commandStyle);
        line_->AddItem(L"Eintrag");
        line_->SetListIndex(0);
        line_->SetCommandStyle(click.commandStyle);
        events_.clear();
        line_->DoButtonClick(true);
        EXPECT_EQ(FindThreadDialog(L""), nullptr);
        EXPECT_EQ(events_, click.events);
        EXPECT_EQ(line_->ListIndex(), click.commandStyle == lineinput::ActionClear ? -1 : 0);
        line_->Clear();
    }
}

} // namespace
