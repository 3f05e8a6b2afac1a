#include "Image.h"

#include "Win32Holders.h"

namespace host {

std::unique_ptr<Image> Image::Create(const ImageArgs& args) {
    std::unique_ptr<Image> image(new Image());
    if (!image->createOwn(L"OrdnerlinkImage", 0, WS_CHILD, 0, args.parent))
        return nullptr;
    return image;
}

void Image::setPicture(const Picture& picture) {
    picture_ = picture;
    if (!hwnd())
        return;
    SetWindowPos(hwnd(), nullptr, 0, 0, picture_.Width(), picture_.Height(),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    invalidate();
}

LRESULT Image::handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_ERASEBKGND)
        return 1; // the picture covers the whole window
    if (msg != WM_PAINT)
        return Control::handleMessage(msg, wParam, lParam);
    const win32::PaintDc paint(hwnd());
    if (!paint)
        return 0;
    const HDC dc = paint.get();
    if (const win32::MemoryDc source(picture_.IsEmpty() ? nullptr : CreateCompatibleDC(dc)); source) {
        const win32::ScopedSelect selection(source.get(), picture_.Bitmap());
        BitBlt(dc, 0, 0, picture_.Width(), picture_.Height(), source.get(), 0, 0, SRCCOPY);
    }
    return 0;
}

} // namespace host
