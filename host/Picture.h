// A picture of the framework: a bitmap, or nothing. Copies share the bitmap.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>
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
    // A bitmap file (.bmp); an empty picture when it cannot be read.
    static Picture FromFile(const std::wstring& path);
    // The bytes of a bitmap file, as a property bag stores a picture; an
    // empty picture when they do not describe an uncompressed bitmap.
    static Picture FromBitmapFile(const std::vector<std::uint8_t>& bytes);
    // The picture as the bytes of a bitmap file (24 bits per pixel, or 32 when
    // the picture has them); empty for an empty picture.
    std::vector<std::uint8_t> ToBitmapFile() const;

    bool IsEmpty() const { return !bitmap_; }
    HBITMAP Bitmap() const { return bitmap_ ? bitmap_.get() : nullptr; }
    int Width() const;
    int Height() const;

    friend bool operator==(const Picture& a, const Picture& b) { return a.bitmap_ == b.bitmap_; }

private:
    std::shared_ptr<std::remove_pointer_t<HBITMAP>> bitmap_;
};

} // namespace host
