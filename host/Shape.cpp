#include "Shape.h"

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
    PAINTSTRUCT ps{};
    HDC dc = BeginPaint(hwnd(), &ps);
    if (!dc)
        return 0;
    RECT r{};
    GetClientRect(hwnd(), &r);
    // The inside shows what lies behind: the back colour of the parent.
    const Control* parent = Control::FromHandle(GetParent(hwnd()));
    const Color inside = parent ? parent->backColor() : backColor();
    if (HBRUSH brush = CreateSolidBrush(ToColorRef(inside))) {
        FillRect(dc, &r, brush);
        DeleteObject(brush);
    }
    if (HPEN pen = CreatePen(PS_SOLID, 1, ToColorRef(foreColor()))) {
        HGDIOBJ oldPen = SelectObject(dc, pen);
        HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
        Rectangle(dc, r.left, r.top, r.right, r.bottom);
        SelectObject(dc, oldBrush);
        SelectObject(dc, oldPen);
        DeleteObject(pen);
    }
    EndPaint(hwnd(), &ps);
    return 0;
}

} // namespace host
