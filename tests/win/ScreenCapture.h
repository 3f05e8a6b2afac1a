// Pictures the tests take of what they show: GDI bitmaps and memory device
// contexts held for their lifetime, the pixels of a bitmap, a copy of a
// window's area as the screen shows it, and a PNG file of a bitmap beside
// the test program.
#pragma once

#include "Win32Holders.h"

#include <windows.h>

#include <string>
#include <vector>

using Bitmap = win32::GdiObject<HBITMAP>;
using win32::MemoryDc;
// A bitmap selected into a memory device context for as long as it lives.
using Selection = win32::ScopedSelect;

// A top-down image, one COLORREF per pixel.
struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> colours;

    COLORREF At(int x, int y) const { return colours[static_cast<size_t>(y) * width + x]; }
    friend bool operator==(const Pixels&, const Pixels&) = default;
};

// The pixels of bitmap read as 32 bits each; empty when they cannot be read.
Pixels ReadPixels(HBITMAP bitmap);

// A copy of what the screen shows now of window's client area, width by
// height pixels from its top left corner; null when it could not be taken.
Bitmap CaptureWindow(HWND window, int width, int height);

// The folder of the test program, ending in "\\"; empty when unknown.
std::wstring ProgramFolder();

// Writes bitmap as a PNG file through the platform's imaging component. COM
// must be initialised on the thread.
bool SaveAsPng(HBITMAP bitmap, const std::wstring& path);
