#include "PictureBox.h"

#include "Win32Holders.h"

namespace host {

std::unique_ptr<PictureBox> PictureBox::Create(const PictureBoxArgs& args) {
    std::unique_ptr<PictureBox> box(new PictureBox());
    if (!box->createOwn(L"OrdnerlinkPictureBox", 0, WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                        (args.border ? WS_EX_CLIENTEDGE : 0) | (args.holdsTabStops ? WS_EX_CONTROLPARENT : 0),
                        args.parent))
        return nullptr;
    return box;
}

bool PictureBox::border() const {
    return hwnd() && (GetWindowLongPtrW(hwnd(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE) != 0;
}

void PictureBox::setBorder(bool on) {
    if (!hwnd() || on == border())
        return;
    LONG_PTR ex = GetWindowLongPtrW(hwnd(), GWL_EXSTYLE);
    ex = on ? (ex | WS_EX_CLIENTEDGE) : (ex & ~static_cast<LONG_PTR>(WS_EX_CLIENTEDGE));
    SetWindowLongPtrW(hwnd(), GWL_EXSTYLE, ex);
    SetWindowPos(hwnd(), nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void PictureBox::drawLine(int x1, int y1, int x2, int y2, Color color) {
    lines_.push_back(Line{x1, y1, x2, y2, color});
    invalidate();
}

void PictureBox::clearDrawing() {
    lines_.clear();
    invalidate();
}

LRESULT PictureBox::handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_ERASEBKGND:
        return eraseBackground(reinterpret_cast<HDC>(wParam));
    case WM_PAINT: {
        const win32::PaintDc paint(hwnd());
        if (!paint)
            return 0;
        // The drawing is kept, so it is drawn again with every paint.
        for (const Line& line : lines_) {
            const win32::GdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, ToColorRef(line.color)));
            if (!pen)
                continue;
            const win32::ScopedSelect selection(paint.get(), pen.get());
            MoveToEx(paint.get(), line.x1, line.y1, nullptr);
            LineTo(paint.get(), line.x2, line.y2);
        }
        return 0;
    }
    default:
        return Control::handleMessage(msg, wParam, lParam);
    }
}

} // namespace host
