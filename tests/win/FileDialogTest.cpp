#include "DialogDriver.h"
#include "DialogTestSupport.h"
#include "L_COMDLG.h"
#include "TempFolder.h"

#include <dlgs.h>
#include <gtest/gtest.h>

using namespace L_COMDLG;

namespace {

const std::wstring kOpenTitle = L"Datei \u00F6ffnen :";
const std::wstring kSaveTitle = L"Datei speichern :";
const std::wstring kOpenFilesTitle = L"Dateien w\u00E4hlen :";

std::vector<std::wstring> ComboItems(HWND combo) {
    std::vector<std::wstring> items;
    const auto count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        std::wstring item(static_cast<std::size_t>(SendMessageW(combo, CB_GETLBTEXTLEN, i, 0)) + 1, L'\0');
        item.resize(static_cast<std::size_t>(
            SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item.data()))));
        items.push_back(item);
    }
    return items;
}

std::wstring WithSlashes(std::wstring path) {
    for (wchar_t& ch : path)
        if (ch == L'\\')
            ch = L'/';
    return path;
}

// What the user saw in the dialog before acting.
struct DialogView {
    std::wstring nameBox;
    std::vector<std::wstring> filters;
    LRESULT selectedFilter = -1;
    HWND owner = nullptr;
};

class FileDialog : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(com_.Ok());
        ASSERT_NE(owner_.Handle(), nullptr);
        for (const wchar_t* name : {L"a.txt", L"b.txt", L"c"})
            ASSERT_TRUE(WriteFileBytes(tmp_ / name, "x"));
        GetCurrentDirectoryW(MAX_PATH, startFolder_);
    }
    // A confirmed dialog makes the chosen folder the current one, which would
    // keep the temporary folder from being removed.
    void TearDown() override { SetCurrentDirectoryW(startFolder_); }

    // Drives the dialog with the given caption: looks at it, types a name
    // into its name box (unless typed is empty) and presses the button.
    DialogDriver Drive(const std::wstring& caption, const std::wstring& typed, int button) {
        return DialogDriver(caption, [this, typed, button](HWND dialog) {
            view_.nameBox = WindowText(NameBox(dialog));
            view_.filters = ComboItems(GetDlgItem(dialog, cmb1));
            view_.selectedFilter = SendMessageW(GetDlgItem(dialog, cmb1), CB_GETCURSEL, 0, 0);
            view_.owner = GetWindow(dialog, GW_OWNER);
            if (!typed.empty())
                SetWindowTextW(NameBox(dialog), typed.c_str());
            PressButton(dialog, button);
        });
    }

    static void ExpectClosedByUser(const DialogDriver& driver) {
        EXPECT_TRUE(driver.Acted()) << "the dialog never showed";
        EXPECT_FALSE(driver.LeftOpen()) << "the dialog did not close on its button";
    }

    ComApartment com_;
    OwnerWindow owner_;
    TempFolder tmp_;
    DialogView view_;
    wchar_t startFolder_[MAX_PATH]{};
};

TEST_F(FileDialog, OpenTypedExistingFileReturnsItsPath) {
    std::wstring caption, initialDir = tmp_.Path(), fileName;
    const DialogDriver driver = Drive(kOpenTitle, L"a.txt", IDOK);
    const std::wstring answer =
        ShowOpenDialog(owner_.Handle(), L"Textdatei", L"txt", caption, initialDir, fileName, 0);
    ExpectClosedByUser(driver);
    EXPECT_EQ(answer, tmp_ / L"a.txt");
    EXPECT_EQ(caption, kOpenTitle) << "the default title is written back";
    EXPECT_EQ(view_.owner, owner_.Handle());
    // The filter built from the type list, with the configured type preselected.
    EXPECT_EQ(view_.filters, (std::vector<std::wstring>{L"Alle Dateien (*.*)", L"Textdatei (*.txt)"}));
    EXPECT_EQ(view_.selectedFilter, 1);
    EXPECT_EQ(view_.nameBox, L"");
}

TEST_F(FileDialog, OpenConfirmsTheInitialNameInASlashedFolder) {
    std::wstring caption = L"Quelle", initialDir = WithSlashes(tmp_.Path()), fileName = L"b.txt";
    const DialogDriver driver = Drive(L"Quelle", L"", IDOK);
    const std::wstring answer = ShowOpenDialog(owner_.Handle(), L"", L"", caption, initialDir, fileName, 1);
    ExpectClosedByUser(driver);
    EXPECT_EQ(answer, tmp_ / L"b.txt");
    EXPECT_EQ(initialDir, tmp_.Path()) << "slashes become backslashes and are written back";
    EXPECT_EQ(caption, L"Quelle");
    EXPECT_EQ(view_.nameBox, L"b.txt") << "the name box shows the initial name and nothing else";
    EXPECT_EQ(view_.filters, (std::vector<std::wstring>{L"Alle Dateien (*.*)"}));
    EXPECT_EQ(view_.selectedFilter, 0);
}

TEST_F(FileDialog, OpenCancelledGivesEmptyAndClearsDotNames) {
    std::wstring caption, initialDir = L".", fileName = L"..";
    const DialogDriver driver = Drive(kOpenTitle, L"", IDCANCEL);
    EXPECT_EQ(ShowOpenDialog(owner_.Handle(), L"A|B", L"a|b", caption, initialDir, fileName, 3), L"");
    ExpectClosedByUser(driver);
    EXPECT_EQ(caption, kOpenTitle);
    EXPECT_EQ(initialDir, L"");
    EXPECT_EQ(fileName, L"");
    EXPECT_EQ(view_.selectedFilter, 2) << "a filter index within range preselects that pair";
}

TEST_F(FileDialog, SaveAppendsTheFirstExtension) {
    std::wstring caption, initialDir = WithSlashes(tmp_.Path()), fileName;
    const DialogDriver driver = Drive(kSaveTitle, L"neu", IDOK);
    const std::wstring answer =
        ShowSaveDialog(owner_.Handle(), L"Text|Protokoll", L"txt|log", caption, initialDir, fileName);
    ExpectClosedByUser(driver);
    EXPECT_EQ(answer, tmp_ / L"neu.txt");
    EXPECT_EQ(caption, kSaveTitle);
    EXPECT_EQ(initialDir, tmp_.Path());
    EXPECT_EQ(GetFileAttributesW(answer.c_str()), INVALID_FILE_ATTRIBUTES) << "the dialog only chooses";
}

TEST_F(FileDialog, SaveCancelledGivesEmpty) {
    std::wstring caption, initialDir = tmp_.Path(), fileName = L"x.txt";
    const DialogDriver driver = Drive(kSaveTitle, L"", IDCANCEL);
    EXPECT_EQ(ShowSaveDialog(owner_.Handle(), L"", L"", caption, initialDir, fileName), L"");
    ExpectClosedByUser(driver);
    EXPECT_EQ(view_.nameBox, L"x.txt");
}

TEST_F(FileDialog, SaveWrapperReportsTheChosenFilter) {
    FileDialogRequest request;
    request.Owner = owner_.Handle();
    request.Filter = BuildFilter(L"Text|Protokoll", L"txt|log").filter;
    request.FilterIndex = 2;
    request.InitialDir = tmp_.Path();
    request.DefaultExt = L"txt";
    request.Title = L"Sichern";
    // The user picks the third pair in the type box, then types a name.
    const DialogDriver driver(L"Sichern", [](HWND dialog) {
        const HWND types = GetDlgItem(dialog, cmb1);
        SendMessageW(types, CB_SETCURSEL, 2, 0);
        // A mouse or keyboard choice in a drop-down list ends with these two.
        for (const WORD notification : {CBN_SELCHANGE, CBN_SELENDOK})
            SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(cmb1, notification), reinterpret_cast<LPARAM>(types));
        SetWindowTextW(NameBox(dialog), L"prot.log");
        PressButton(dialog, IDOK);
    });
    EXPECT_NE(DlgSaveFile(request), 0);
    ExpectClosedByUser(driver);
    EXPECT_EQ(request.FileName, tmp_ / L"prot.log");
    EXPECT_EQ(request.FilterIndex, 3);
}

TEST_F(FileDialog, OpenFilesReturnsEveryChosenPath) {
    std::vector<std::wstring> files{L"stale"};
    std::wstring caption, initialDir = tmp_.Path();
    const DialogDriver driver = Drive(kOpenFilesTitle, L"\"b.txt\" \"a.txt\" \"c\"", IDOK);
    EXPECT_EQ(ShowOpenFilesDialog(owner_.Handle(), files, L"", L"", caption, initialDir), 3);
    ExpectClosedByUser(driver);
    EXPECT_EQ(files, (std::vector<std::wstring>{tmp_ / L"b.txt", tmp_ / L"a.txt", tmp_ / L"c"}));
    EXPECT_EQ(caption, kOpenFilesTitle);
}

TEST_F(FileDialog, OpenFilesWithOneChoiceGivesOneFullPath) {
    std::vector<std::wstring> files;
    std::wstring caption, initialDir = tmp_.Path();
    const DialogDriver driver = Drive(kOpenFilesTitle, L"c", IDOK);
    EXPECT_EQ(ShowOpenFilesDialog(owner_.Handle(), files, L"Text", L"txt", caption, initialDir), 1);
    ExpectClosedByUser(driver);
    EXPECT_EQ(files, (std::vector<std::wstring>{tmp_ / L"c"}));
}

TEST_F(FileDialog, OpenFilesCancelledGivesNone) {
    std::vector<std::wstring> files{L"stale"};
    std::wstring caption = L"Mehrere", initialDir = tmp_.Path();
    const DialogDriver driver = Drive(L"Mehrere", L"", IDCANCEL);
    EXPECT_EQ(ShowOpenFilesDialog(owner_.Handle(), files, L"", L"", caption, initialDir), 0);
    ExpectClosedByUser(driver);
    EXPECT_TRUE(files.empty());
}

} // namespace
