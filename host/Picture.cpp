#include "Picture.h"

namespace host {
namespace {

struct BitmapDeleter {
    void operator()(HBITMAP b) const noexcept { DeleteObject(b); }
};

BITMAP InfoOf(HBITMAP bitmap) {
    BITMAP info{};
    if (!bitmap || GetObjectW(bitmap, sizeof info, &info) != sizeof info)
        return BITMAP{};
    return info;
}

} // namespace

Picture Picture::FromResource(int id) {
    auto* bitmap = static_cast<HBITMAP>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    return FromBitmap(bitmap);
}

Picture Picture::FromBitmap(HBITMAP bitmap) {
    Picture p;
    if (bitmap)
        p.bitmap_ = std::shared_ptr<std::remove_pointer_t<HBITMAP>>(bitmap, BitmapDeleter{});
    return p;
}

int Picture::Width() const {
    return InfoOf(Bitmap()).bmWidth;
}
int Picture::Height() const {
    return InfoOf(Bitmap()).bmHeight;
}

} // namespace host
