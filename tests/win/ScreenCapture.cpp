#include "ScreenCapture.h"

#include <wincodec.h>
#include <wrl/client.h>

Pixels ReadPixels(HBITMAP bitmap) {
    Pixels pixels;
    BITMAP info{};
    if (!bitmap || !GetObjectW(bitmap, sizeof info, &info))
        return pixels;
    BITMAPINFO request{};
    request.bmiHeader.biSize = sizeof request.bmiHeader;
    request.bmiHeader.biWidth = info.bmWidth;
    request.bmiHeader.biHeight = -info.bmHeight;
    request.bmiHeader.biPlanes = 1;
    request.bmiHeader.biBitCount = 32;
    request.bmiHeader.biCompression = BI_RGB;
    std::vector<RGBQUAD> quads(static_cast<size_t>(info.bmWidth) * info.bmHeight);
    const HDC screen = GetDC(nullptr);
    const int rows = GetDIBits(screen, bitmap, 0, info.bmHeight, quads.data(), &request, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    if (rows != info.bmHeight)
        return pixels;
    pixels.width = info.bmWidth;
    pixels.height = info.bmHeight;
    for (const RGBQUAD& quad : quads)
        pixels.colours.push_back(RGB(quad.rgbRed, quad.rgbGreen, quad.rgbBlue));
    return pixels;
}

Bitmap CaptureWindow(HWND window, int width, int height) {
    const HDC windowDc = GetDC(window);
    if (!windowDc)
        return nullptr;
    Bitmap capture(CreateCompatibleBitmap(windowDc, width, height));
    const MemoryDc memory(CreateCompatibleDC(windowDc));
    bool copied = false;
    if (capture && memory) {
        const Selection selection(memory.get(), capture.get());
        copied = BitBlt(memory.get(), 0, 0, width, height, windowDc, 0, 0, SRCCOPY);
    }
    ReleaseDC(window, windowDc);
    if (!copied)
        return nullptr;
    return capture;
}

std::wstring ProgramFolder() {
    wchar_t program[MAX_PATH]{};
    const DWORD length = GetModuleFileNameW(nullptr, program, MAX_PATH);
    if (length == 0 || length == MAX_PATH)
        return {};
    std::wstring folder(program, length);
    folder.resize(folder.find_last_of(L'\\') + 1);
    return folder;
}

bool SaveAsPng(HBITMAP bitmap, const std::wstring& path) {
    using Microsoft::WRL::ComPtr;
    ComPtr<IWICImagingFactory> factory;
    if (FAILED(
            CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&factory))))
        return false;
    ComPtr<IWICBitmap> source;
    if (FAILED(factory->CreateBitmapFromHBITMAP(bitmap, nullptr, WICBitmapIgnoreAlpha, &source)))
        return false;
    ComPtr<IWICStream> stream;
    if (FAILED(factory->CreateStream(&stream)) ||
        FAILED(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE)))
        return false;
    ComPtr<IWICBitmapEncoder> encoder;
    if (FAILED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, &encoder)) ||
        FAILED(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache)))
        return false;
    ComPtr<IWICBitmapFrameEncode> frame;
    if (FAILED(encoder->CreateNewFrame(&frame, nullptr)) || FAILED(frame->Initialize(nullptr)) ||
        FAILED(frame->WriteSource(source.Get(), nullptr)) || FAILED(frame->Commit()))
        return false;
    return SUCCEEDED(encoder->Commit());
}
