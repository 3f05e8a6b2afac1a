#include "Frame.h"

namespace host {

std::unique_ptr<Frame> Frame::Create(const FrameArgs& args) {
    std::unique_ptr<Frame> frame(new Frame());
    if (!frame->createStandard(L"BUTTON", args.caption, BS_GROUPBOX | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT,
                               args.parent))
        return nullptr;
    return frame;
}

std::wstring Frame::caption() const {
    if (!hwnd())
        return {};
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd())) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(hwnd(), text.data(), static_cast<int>(text.size()))));
    return text;
}

void Frame::setCaption(const std::wstring& text) {
    if (!hwnd())
        return;
    SetWindowTextW(hwnd(), text.c_str());
    invalidate();
}

LRESULT Frame::handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_ERASEBKGND) {
        // A group box leaves its inside to the parent; as a container it
        // paints it in its own back colour.
        RECT r{};
        GetClientRect(hwnd(), &r);
        FillRect(reinterpret_cast<HDC>(wParam), &r, backBrush());
        return 1;
    }
    return Control::handleMessage(msg, wParam, lParam);
}

} // namespace host
