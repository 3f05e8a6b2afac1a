// A picture of the framework: a bitmap, or nothing. Copies share the bitmap.
#pragma once

#include <memory>
#include <windows.h>

namespace host {

class Picture {
public:
    Picture() = default;
    // The bitmap resource id of the running program; an empty picture when
    // there is no such resource.
    static Picture FromResource(int id);
    // Takes ownership of bitmap (null gives an empty picture).
    static Picture FromBitmap(HBITMAP bitmap);

    bool IsEmpty() const { return !bitmap_; }
    HBITMAP Bitmap() const { return bitmap_ ? bitmap_.get() : nullptr; }
    int Width() const;
    int Height() const;

    friend bool operator==(const Picture& a, const Picture& b) { return a.bitmap_ == b.bitmap_; }

private:
    std::shared_ptr<std::remove_pointer_t<HBITMAP>> bitmap_;
};

} // namespace host
