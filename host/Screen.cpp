#include "Screen.h"

#include "Win32Holders.h"

#include <windows.h>

namespace host {
namespace {

double TwipsPerPixel(int capability) {
    const win32::WindowDc screen(nullptr);
    if (!screen)
        return 15.0; // 96 dpi, the platform's default resolution
    const int dotsPerInch = GetDeviceCaps(screen.get(), capability);
    return dotsPerInch > 0 ? 1440.0 / dotsPerInch : 15.0;
}

} // namespace

double TwipsPerPixelX() {
    return TwipsPerPixel(LOGPIXELSX);
}
double TwipsPerPixelY() {
    return TwipsPerPixel(LOGPIXELSY);
}

} // namespace host
