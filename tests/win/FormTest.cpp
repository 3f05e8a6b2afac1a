// The form's additions for windows that grow and wait for workers: the
// resizable border, the resize event, an own system menu command, the
// smallest size, and work posted from other threads, which runs on the
// form's thread only for the current generation and never after the form
// is gone.
#include "Form.h"
#include "MessagePump.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

namespace {

constexpr unsigned kOwnCommand = 0x0120;

TEST(Form, ResizableFormResizesAndTakesItsSystemMenuCommand) {
    const auto fixed = host::Form::Create({L"fest", 3000, 2000});
    const auto sizable = host::Form::Create({L"veränderlich", 3000, 2000, true});
    ASSERT_TRUE(fixed && sizable);
    EXPECT_FALSE(GetWindowLongPtrW(fixed->hwnd(), GWL_STYLE) & WS_THICKFRAME);
    EXPECT_TRUE(GetWindowLongPtrW(sizable->hwnd(), GWL_STYLE) & WS_THICKFRAME);

    std::vector<std::wstring> events;
    sizable->onResize = [&] { events.push_back(L"Resize " + std::to_wstring(sizable->clientWidth())); };
    sizable->onSystemMenuItem = [&](unsigned id) { events.push_back(L"Menu " + std::to_wstring(id)); };
    ASSERT_TRUE(sizable->addSystemMenuItem(kOwnCommand, L"Eigener Befehl"));
    const HMENU menu = GetSystemMenu(sizable->hwnd(), FALSE);
    wchar_t text[64]{};
    GetMenuStringW(menu, kOwnCommand, text, 64, MF_BYCOMMAND);
    EXPECT_STREQ(text, L"Eigener Befehl");
    // Apart from the system's commands: a separator before it.
    const int count = GetMenuItemCount(menu);
    EXPECT_EQ(GetMenuItemID(menu, count - 1), kOwnCommand);
    EXPECT_EQ(GetMenuState(menu, static_cast<UINT>(count - 2), MF_BYPOSITION) & MF_SEPARATOR, MF_SEPARATOR);

    SetWindowPos(sizable->hwnd(), nullptr, 0, 0, 500, 300, SWP_NOMOVE | SWP_NOZORDER);
    // The system adds its own bits to the low four; a command of the
    // system's own is left to the system; a minimised form has no size to
    // lay out.
    SendMessageW(sizable->hwnd(), WM_SYSCOMMAND, kOwnCommand | 0x2, 0);
    SendMessageW(sizable->hwnd(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(IsIconic(sizable->hwnd()));
    SendMessageW(sizable->hwnd(), WM_SYSCOMMAND, SC_RESTORE, 0);
    const std::vector<std::wstring> expected = {L"Resize " + std::to_wstring(sizable->clientWidth()),
                                                L"Menu " + std::to_wstring(kOwnCommand),
                                                L"Resize " + std::to_wstring(sizable->clientWidth())};
    EXPECT_EQ(events, expected);

    // Moved to a screen of another resolution, it takes the size the
    // system suggests and tells the resolution.
    unsigned dpi = 0;
    sizable->onDpiChanged = [&](unsigned newDpi) { dpi = newDpi; };
    RECT suggested{20, 30, 20 + 750, 30 + 450};
    SendMessageW(sizable->hwnd(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    RECT now{};
    GetWindowRect(sizable->hwnd(), &now);
    EXPECT_EQ(dpi, 144u);
    EXPECT_TRUE(EqualRect(&now, &suggested));

    sizable->setMinimumSize(400, 250);
    SetWindowPos(sizable->hwnd(), nullptr, 0, 0, 100, 100, SWP_NOMOVE | SWP_NOZORDER);
    RECT r{};
    GetWindowRect(sizable->hwnd(), &r);
    EXPECT_EQ(r.right - r.left, 400);
    EXPECT_EQ(r.bottom - r.top, 250);
}

TEST(Form, PostedWorkRunsOnTheFormsThreadForTheCurrentGenerationOnly) {
    auto form = host::Form::Create({L"Arbeit", 3000, 2000});
    ASSERT_NE(form, nullptr);
    const auto target = form->postTarget();
    const DWORD formThread = GetCurrentThreadId();
    std::vector<std::wstring> ran;

    const unsigned first = target->generation();
    std::thread([&, first] {
        EXPECT_TRUE(target->post(first, [&] {
            ran.push_back(GetCurrentThreadId() == formThread ? L"first, form thread" : L"first, elsewhere");
        }));
    }).join();
    PumpMessages();

    // Posted for the first generation after the second began: dropped.
    const unsigned second = target->newGeneration();
    EXPECT_FALSE(target->post(first, [&] { ran.push_back(L"late"); }));
    EXPECT_TRUE(target->post(second, [&] { ran.push_back(L"second"); }));
    PumpMessages();

    // Waiting when the form goes, or posted after: never run.
    const std::shared_ptr<host::PostTarget> kept = target;
    EXPECT_TRUE(kept->post(second, [&] { ran.push_back(L"waiting"); }));
    form.reset();
    EXPECT_FALSE(kept->post(kept->generation(), [&] { ran.push_back(L"after"); }));
    PumpMessages();
    EXPECT_EQ(ran, (std::vector<std::wstring>{L"first, form thread", L"second"}));
}

} // namespace
