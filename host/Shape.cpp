#include "Shape.h"

#include "Win32Holders.h"

namespace host {

std::unique_ptr<Shape> Shape::Create(const ShapeArgs& args) {
    std::unique_ptr<Shape> shape(new Shape());
    if (!shape->createOwn(L"OrdnerlinkShape", 0, WS_CHILD, 0, args.parent))
        return nullptr;
    return shape;
}

LRESULT Shape::handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_ERASEBKGND)
        return 1;
    if (msg != WM_PAINT)
        return Control::handleMessage(msg, wParam, lParam);
    const win32::PaintDc paint(hwnd());
    if (!paint)
        return 0;
    const HDC dc = paint.get();
    RECT r{};
    GetClientRect(hwnd(), &r);
    // The inside shows what lies behind: the back colour of the parent.
    const Control* parent = Control::FromHandle(GetParent(hwnd()));
    const Color inside = parent ? parent->backColor() : backColor();
    if (const win32::GdiObject<HBRUSH> brush(CreateSolidBrush(ToColorRef(inside))); brush)
        FillRect(dc, &r, brush.get());
    if (const win32::GdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, ToColorRef(foreColor()))); pen) {
        const win32::ScopedSelect penSelection(dc, pen.get());
        const win32::ScopedSelect brushSelection(dc, GetStockObject(NULL_BRUSH));
        Rectangle(dc, r.left, r.top, r.right, r.bottom);
    }
    return 0;
}

} // namespace host
