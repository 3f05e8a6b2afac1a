#include "StateIcons.h"

#include "LinkState.h"
#include "Win32Holders.h"

#include <algorithm>
#include <initializer_list>

namespace {

// Where no picture is: the image list leaves it transparent.
constexpr COLORREF kMask = RGB(255, 0, 255);

// Each picture on a square of size pixels: a disc or triangle in its colour
// with a white sign, so that the states differ by shape as well as colour.
struct Painter {
    HDC dc;
    int size;

    // A point on a grid of 16 × 16, at this size.
    POINT At(int x, int y) const { return {MulDiv(x, size, 16), MulDiv(y, size, 16)}; }

    void Disc(COLORREF fill, COLORREF edge) const {
        const win32::GdiObject<HBRUSH> brush(CreateSolidBrush(fill));
        const win32::GdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, edge));
        const win32::ScopedSelect selectBrush(dc, brush.get());
        const win32::ScopedSelect selectPen(dc, pen.get());
        const POINT from = At(1, 1), to = At(15, 15);
        Ellipse(dc, from.x, from.y, to.x, to.y);
    }

    void Triangle(COLORREF fill, COLORREF edge) const {
        const win32::GdiObject<HBRUSH> brush(CreateSolidBrush(fill));
        const win32::GdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, edge));
        const win32::ScopedSelect selectBrush(dc, brush.get());
        const win32::ScopedSelect selectPen(dc, pen.get());
        const POINT corners[3] = {At(8, 1), At(15, 14), At(1, 14)};
        Polygon(dc, corners, 3);
    }

    // A line through points of the grid, its width in sixteenths.
    void Stroke(std::initializer_list<POINT> grid, int width, COLORREF colour) const {
        const win32::GdiObject<HPEN> pen(CreatePen(PS_SOLID, std::max(1, MulDiv(width, size, 16)), colour));
        const win32::ScopedSelect selectPen(dc, pen.get());
        bool first = true;
        for (const POINT& p : grid) {
            const POINT at = At(p.x, p.y);
            if (first)
                MoveToEx(dc, at.x, at.y, nullptr);
            else
                LineTo(dc, at.x, at.y);
            first = false;
        }
    }

    void Draw(RowState state) const {
        constexpr COLORREF white = RGB(255, 255, 255);
        switch (state) {
        case RowState::Checking: // a clock: the answer is awaited
            Disc(RGB(225, 232, 240), RGB(90, 110, 140));
            Stroke({{8, 4}, {8, 8}, {11, 10}}, 2, RGB(60, 80, 110));
            return;
        case RowState::Reachable: // a tick
            Disc(RGB(40, 150, 60), RGB(25, 105, 40));
            Stroke({{4, 8}, {7, 11}, {12, 5}}, 2, white);
            return;
        case RowState::NotAnswering: // a pause
            Disc(RGB(235, 170, 30), RGB(170, 115, 10));
            Stroke({{6, 5}, {6, 11}}, 2, white);
            Stroke({{10, 5}, {10, 11}}, 2, white);
            return;
        case RowState::Unreachable: // a cross
            Disc(RGB(205, 45, 40), RGB(150, 25, 20));
            Stroke({{5, 5}, {11, 11}}, 2, white);
            Stroke({{11, 5}, {5, 11}}, 2, white);
            return;
        case RowState::Damaged: // a warning sign
            Triangle(RGB(240, 140, 20), RGB(170, 90, 10));
            Stroke({{8, 5}, {8, 9}}, 2, white);
            Stroke({{8, 11}, {8, 12}}, 2, white);
            return;
        case RowState::NoFolderLink: // an empty ring with a dash: nothing left to follow
            Disc(RGB(255, 255, 255), RGB(130, 130, 130));
            Stroke({{5, 8}, {11, 8}}, 2, RGB(130, 130, 130));
            return;
        }
    }
};

} // namespace

ImageList DrawStateIcons(unsigned dpi) {
    const int size = MulDiv(16, static_cast<int>(dpi ? dpi : 96), 96);
    ImageList images(ImageList_Create(size, size, ILC_COLOR24 | ILC_MASK, kRowStateCount, 0));
    const win32::WindowDc screen(nullptr);
    const win32::MemoryDc dc(CreateCompatibleDC(screen.get()));
    if (!images || !screen || !dc)
        return nullptr;
    for (int state = 0; state < kRowStateCount; ++state) {
        const win32::GdiObject<HBITMAP> picture(CreateCompatibleBitmap(screen.get(), size, size));
        if (!picture)
            return nullptr;
        {
            const win32::ScopedSelect select(dc.get(), picture.get());
            const win32::GdiObject<HBRUSH> background(CreateSolidBrush(kMask));
            const RECT all{0, 0, size, size};
            FillRect(dc.get(), &all, background.get());
            Painter{dc.get(), size}.Draw(static_cast<RowState>(state));
        } // the picture is no longer selected when the list copies it
        if (ImageList_AddMasked(images.get(), picture.get(), kMask) != state)
            return nullptr;
    }
    return images;
}
