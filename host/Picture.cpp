#include "Picture.h"

#include "Win32Holders.h"

#include <cstring>

namespace host {
namespace {

BITMAP InfoOf(HBITMAP bitmap) {
    BITMAP info{};
    if (!bitmap || GetObjectW(bitmap, sizeof info, &info) != sizeof info)
        return BITMAP{};
    return info;
}

// Bytes per row of an uncompressed bitmap: rows are padded to 32 bits.
std::size_t StrideOf(std::int64_t width, int bitCount) {
    return static_cast<std::size_t>(((width * bitCount + 31) / 32) * 4);
}

template <class T> bool ReadAt(const std::vector<std::uint8_t>& bytes, std::size_t offset, T& out) {
    if (offset > bytes.size() || bytes.size() - offset < sizeof(T))
        return false;
    std::memcpy(&out, bytes.data() + offset, sizeof(T));
    return true;
}

} // namespace

Picture Picture::FromFile(const std::wstring& path) {
    return FromBitmap(static_cast<HBITMAP>(
        LoadImageW(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
}

Picture Picture::FromBitmapFile(const std::vector<std::uint8_t>& bytes) {
    // Every size is checked against the bytes at hand before the platform
    // sees them: a stored picture may be damaged.
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    if (!ReadAt(bytes, 0, file) || file.bfType != 0x4D42 || !ReadAt(bytes, sizeof file, info))
        return {};
    const bool bitfields =
        info.biCompression == BI_BITFIELDS && (info.biBitCount == 16 || info.biBitCount == 32);
    if (info.biSize < sizeof info || info.biPlanes != 1 || (info.biCompression != BI_RGB && !bitfields))
        return {};
    switch (info.biBitCount) {
    case 1:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32:
        break;
    default:
        return {};
    }
    const std::int64_t width = info.biWidth,
                       height = info.biHeight < 0 ? -std::int64_t{info.biHeight} : info.biHeight;
    if (width <= 0 || height <= 0 || width > 0x8000 || height > 0x8000)
        return {};
    std::size_t colors = info.biClrUsed;
    if (info.biBitCount <= 8 && (colors == 0 || colors > (1u << info.biBitCount)))
        colors = std::size_t{1} << info.biBitCount;
    const std::size_t cbHeader =
        info.biSize + (bitfields && info.biSize == sizeof info ? 12 : 0) + colors * 4;
    const std::size_t cbPixels = StrideOf(width, info.biBitCount) * static_cast<std::size_t>(height);
    if (sizeof file + cbHeader > bytes.size() || file.bfOffBits < sizeof file + cbHeader ||
        file.bfOffBits > bytes.size() || bytes.size() - file.bfOffBits < cbPixels)
        return {};

    // An aligned copy of the header and colour table: in the file they start at byte 14.
    std::vector<std::uint32_t> header((cbHeader + 3) / 4);
    std::memcpy(header.data(), bytes.data() + sizeof file, cbHeader);
    void* bits = nullptr;
    Picture picture = FromBitmap(CreateDIBSection(nullptr, reinterpret_cast<const BITMAPINFO*>(header.data()),
                                                  DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bits)
        return {}; // no pixels to fill: no picture rather than one of undefined pixels
    std::memcpy(bits, bytes.data() + file.bfOffBits, cbPixels);
    return picture;
}

std::vector<std::uint8_t> Picture::ToBitmapFile() const {
    const BITMAP source = InfoOf(Bitmap());
    if (source.bmWidth <= 0 || source.bmHeight <= 0)
        return {};
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = source.bmWidth;
    info.biHeight = source.bmHeight;
    info.biPlanes = 1;
    info.biBitCount = source.bmBitsPixel == 32 ? 32 : 24;
    info.biCompression = BI_RGB;
    const std::size_t cbPixels =
        StrideOf(info.biWidth, info.biBitCount) * static_cast<std::size_t>(info.biHeight);

    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = static_cast<DWORD>(file.bfOffBits + cbPixels);
    std::vector<std::uint8_t> bytes(file.bfSize);

    const win32::WindowDc screen(nullptr);
    const int rows =
        GetDIBits(screen.get(), Bitmap(), 0, static_cast<UINT>(info.biHeight), bytes.data() + file.bfOffBits,
                  reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
    if (rows != info.biHeight)
        return {};
    std::memcpy(bytes.data(), &file, sizeof file);
    std::memcpy(bytes.data() + sizeof file, &info, sizeof info);
    return bytes;
}

Picture Picture::FromResource(int id) {
    return FromBitmap(static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id),
                                                      IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
}

Picture Picture::FromBitmap(HBITMAP bitmap) {
    Picture p;
    if (bitmap)
        p.bitmap_ =
            std::shared_ptr<std::remove_pointer_t<HBITMAP>>(bitmap, win32::GdiObjectDeleter<HBITMAP>{});
    return p;
}

int Picture::Width() const {
    return InfoOf(Bitmap()).bmWidth;
}
int Picture::Height() const {
    return InfoOf(Bitmap()).bmHeight;
}

} // namespace host
