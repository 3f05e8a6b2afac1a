#include "DialogDriver.h"
#include "DialogTestSupport.h"
#include "L_FOLDER.h"
#include "LetterCase.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

using L_FOLDER::BrowseForFolder;

namespace {

// What a user sees of an open browser, read before pressing its button.
struct BrowserView {
    std::wstring caption;
    HWND owner = nullptr;
    std::vector<std::wstring> texts; // captions of its visible static children
};

BrowserView Look(HWND dialog) {
    BrowserView view;
    view.caption = WindowText(dialog);
    view.owner = GetWindow(dialog, GW_OWNER);
    for (HWND child : ChildWindows(dialog))
        if (ClassName(child) == L"Static" && IsWindowVisible(child))
            view.texts.push_back(WindowText(child));
    return view;
}

bool Shows(const BrowserView& view, const std::wstring& text) {
    return std::find(view.texts.begin(), view.texts.end(), text) != view.texts.end();
}

std::wstring Joined(const BrowserView& view) {
    std::wstring all;
    for (const auto& text : view.texts)
        all += L"[" + text + L"] ";
    return all;
}

const std::wstring kTitle = L"Ordner w\u00E4hlen";

class FolderBrowser : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(com_.Ok());
        ASSERT_NE(owner_.Handle(), nullptr);
        folder_ = tmp_ / L"Mein Ordner";
        ASSERT_TRUE(CreateDirectoryW(folder_.c_str(), nullptr));
    }

    // Opens the browser (the title with blanks around it), looks at it once it
    // shows, optionally takes a screenshot, then presses the button.
    std::wstring Browse(std::wstring& initialPath, std::int32_t statusText, bool namesAsIs, bool newStyle,
                        int button, const std::wstring& screenshot = {}) {
        // The browser's window caption is the platform's, so any dialog of
        // this thread is taken; the owner check below confirms it is ours.
        DialogDriver driver(L"", [&](HWND dialog) {
            view_ = Look(dialog);
            if (!screenshot.empty()) {
                RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
                screenshotPath_ = SaveScreenshot(screenshot);
            }
            PressButton(dialog, button);
        });
        const std::wstring answer = BrowseForFolder(owner_.Handle(), L"  " + kTitle + L"  ", initialPath,
                                                    statusText, namesAsIs, newStyle);
        EXPECT_TRUE(driver.Acted()) << "the browser never showed";
        EXPECT_FALSE(driver.LeftOpen()) << "the browser did not close on its button";
        EXPECT_EQ(view_.owner, owner_.Handle());
        EXPECT_TRUE(Shows(view_, kTitle))
            << "title not shown trimmed; statics: " << testing::PrintToString(Joined(view_));
        return answer;
    }

    // The screenshot is for a person to look at; not having one is no failure.
    void ReportScreenshot() const {
        if (screenshotPath_.empty())
            std::printf("note: no screenshot taken (not under Wine, or xwd/convert missing)\n");
        else
            std::printf("screenshot: %s\n", screenshotPath_.c_str());
    }

    ComApartment com_;
    OwnerWindow owner_;
    TempFolder tmp_;
    std::wstring folder_; // the folder to choose, without trailing "\"
    BrowserView view_;
    std::string screenshotPath_;
};

TEST_F(FolderBrowser, ClassicOkAtInitialSelectionReturnsItAsIs) {
    std::wstring initial = folder_ + L"\\";
    const std::wstring answer = Browse(initial, 1, true, false, IDOK, L"folder_browser_classic.png");
    ReportScreenshot();
    EXPECT_EQ(initial, folder_) << "the trailing separator is removed and written back";
    EXPECT_EQ(answer, folder_ + L"\\");
    // The status line shows the selected folder.
    EXPECT_TRUE(Shows(view_, folder_)) << testing::PrintToString(Joined(view_));
}

TEST_F(FolderBrowser, NewStyleOkReturnsUpperCaseUnlessNamesAsIs) {
    std::wstring initial = folder_;
    const std::wstring answer = Browse(initial, 1, false, true, IDOK, L"folder_browser_new_style.png");
    EXPECT_EQ(answer, LetterCase::ToUpper(folder_ + L"\\"));
    EXPECT_EQ(L_FOLDER::ProperCaseName(answer, true).substr(answer.size() - 13), L"\\Mein Ordner\\");
    ReportScreenshot();
    // The new-style browser has no status line: the platform ignores the
    // status flag with that style and shows only the title above the tree.
}

TEST_F(FolderBrowser, CancelGivesEmptyAnswer) {
    for (const bool newStyle : {false, true}) {
        std::wstring initial = folder_ + L"/";
        EXPECT_EQ(Browse(initial, 0, true, newStyle, IDCANCEL), L"");
        EXPECT_EQ(initial, folder_);
    }
}

TEST_F(FolderBrowser, DriveRootKeepsOneBackslash) {
    wchar_t windows[MAX_PATH]{};
    ASSERT_GT(GetWindowsDirectoryW(windows, MAX_PATH), 2u);
    const std::wstring drive(windows, 2); // "C:"
    std::wstring initial = drive + L"\\";
    EXPECT_EQ(Browse(initial, 0, true, false, IDOK), drive + L"\\");
    EXPECT_EQ(initial, drive);
}

TEST_F(FolderBrowser, WithoutStatusTextTheSelectionIsNotShown) {
    std::wstring initial = folder_;
    EXPECT_EQ(Browse(initial, 0, true, false, IDOK), folder_ + L"\\");
    // Without the status flag the browser has no status line, so the
    // selection-change notification shows nothing.
    EXPECT_FALSE(Shows(view_, folder_)) << testing::PrintToString(Joined(view_));
}

TEST_F(FolderBrowser, MissingInitialPathStillOpens) {
    std::wstring initial = folder_ + L"\\fehlt\\";
    // The platform keeps its default selection; whatever it is, OK gives a
    // folder path ending in "\" or nothing for an item without one.
    const std::wstring answer = Browse(initial, 0, true, false, IDOK);
    EXPECT_EQ(initial, folder_ + L"\\fehlt");
    EXPECT_TRUE(answer.empty() || answer.back() == L'\\') << testing::PrintToString(answer);
}

} // namespace
