#include "Label.h"

#include "Win32Holders.h"

#include <optional>

namespace host {
namespace {

// The extent of text in the window's font as DrawTextW lays it out with
// format: one line's height and no width for an empty text. Nothing when the
// window gives no device context.
std::optional<SIZE> TextExtent(HWND window, const std::wstring& text, UINT format) {
    const win32::WindowDc dc(window);
    if (!dc)
        return std::nullopt;
    const win32::ScopedSelect font(dc.get(), reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)));
    TEXTMETRICW tm{};
    GetTextMetricsW(dc.get(), &tm);
    SIZE extent{0, tm.tmHeight};
    RECT r{0, 0, 0, 0};
    if (!text.empty() &&
        DrawTextW(dc.get(), text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | format) > 0)
        extent = SIZE{r.right - r.left, r.bottom - r.top};
    return extent;
}

} // namespace

std::unique_ptr<Label> Label::Create(const LabelArgs& args) {
    std::unique_ptr<Label> label(new Label());
    label->autoSize_ = args.autoSize;
    if (!label->createStandard(L"STATIC", args.caption, SS_NOTIFY | SS_LEFT, 0, args.parent))
        return nullptr;
    label->fitToCaption();
    return label;
}

std::wstring Label::caption() const {
    if (!hwnd())
        return {};
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd())) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(hwnd(), text.data(), static_cast<int>(text.size()))));
    return text;
}

void Label::setCaption(const std::wstring& text) {
    if (!hwnd())
        return;
    SetWindowTextW(hwnd(), text.c_str());
    fitToCaption();
    invalidate();
}

bool Label::setAlignment(int alignment) {
    if (alignment < 0 || alignment > 2)
        return false;
    alignment_ = alignment;
    updateStyle();
    return true;
}

void Label::setUseMnemonic(bool on) {
    useMnemonic_ = on;
    updateStyle();
    fitToCaption();
}

void Label::setFont(const FontDesc& desc) {
    Control::setFont(desc);
    fitToCaption();
}

void Label::updateStyle() {
    if (!hwnd())
        return;
    LONG_PTR style = GetWindowLongPtrW(hwnd(), GWL_STYLE) & ~static_cast<LONG_PTR>(SS_TYPEMASK | SS_NOPREFIX);
    style |= alignment_ == 1 ? SS_RIGHT : alignment_ == 2 ? SS_CENTER : SS_LEFT;
    if (!useMnemonic_)
        style |= SS_NOPREFIX;
    SetWindowLongPtrW(hwnd(), GWL_STYLE, style);
    invalidate();
}

void Label::fitToCaption() {
    if (!autoSize_ || !hwnd())
        return;
    const std::optional<SIZE> extent =
        TextExtent(hwnd(), caption(), DT_LEFT | DT_NOCLIP | (useMnemonic_ ? 0 : DT_NOPREFIX));
    if (extent)
        SetWindowPos(hwnd(), nullptr, 0, 0, extent->cx, extent->cy,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool Label::handleReflected(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (msg == WM_COMMAND) {
        if (HIWORD(wParam) == STN_CLICKED && onClick)
            onClick();
        else if (HIWORD(wParam) == STN_DBLCLK && onDblClick)
            onDblClick();
        result = 0;
        return true;
    }
    return Control::handleReflected(msg, wParam, lParam, result);
}

} // namespace host
