#include "DialogDriver.h"

#include <dlgs.h>

#include <utility>

DialogDriver* DialogDriver::active_ = nullptr;

namespace {

// About ten seconds of ticks: far longer than any dialog needs to close
// after OK or Cancel, short enough to fail instead of hanging.
constexpr int kTicksBeforeGivingUp = 200;
constexpr UINT kTickMs = 50;

} // namespace

DialogDriver::DialogDriver(std::wstring caption, Action action)
    : caption_(std::move(caption)), action_(std::move(action)) {
    active_ = this;
    timer_ = SetTimer(nullptr, 0, kTickMs, &DialogDriver::OnTimer);
}

DialogDriver::~DialogDriver() {
    if (timer_)
        KillTimer(nullptr, timer_);
    active_ = nullptr;
}

void CALLBACK DialogDriver::OnTimer(HWND, UINT, UINT_PTR, DWORD) noexcept {
    if (active_)
        active_->Tick();
}

void DialogDriver::Tick() {
    const HWND dialog = FindThreadDialog(caption_);
    if (!acted_) {
        if (!dialog)
            return;
        acted_ = true;
        try {
            action_(dialog);
        } catch (...) {
            PressButton(dialog, IDCANCEL);
        }
        return;
    }
    if (dialog && ++ticksSinceAction_ >= kTicksBeforeGivingUp) {
        leftOpen_ = true;
        PressButton(dialog, IDCANCEL);
    }
}

HWND FindThreadDialog(const std::wstring& caption) {
    struct Search {
        const std::wstring* caption;
        HWND found;
    } search{&caption, nullptr};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM lParam) -> BOOL {
            auto* s = reinterpret_cast<Search*>(lParam);
            if (IsWindowVisible(window) && ClassName(window) == L"#32770" &&
                (s->caption->empty() || WindowText(window) == *s->caption)) {
                s->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::vector<HWND> ChildWindows(HWND parent) {
    std::vector<HWND> children;
    EnumChildWindows(
        parent,
        [](HWND child, LPARAM lParam) -> BOOL {
            reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(child);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&children));
    return children;
}

std::wstring WindowText(HWND window) {
    const int cch = GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(cch) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), cch + 1)));
    return text;
}

std::wstring ClassName(HWND window) {
    wchar_t name[256]{};
    GetClassNameW(window, name, 256);
    return name;
}

void PressButton(HWND dialog, int id) {
    // A click on a button of an inactive dialog may be lost.
    SetActiveWindow(dialog);
    if (const HWND button = GetDlgItem(dialog, id))
        SendMessageW(button, BM_CLICK, 0, 0);
    else
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
}

HWND NameBox(HWND dialog) {
    if (const HWND combo = GetDlgItem(dialog, cmb13))
        return combo;
    return GetDlgItem(dialog, edt1);
}
