// Conversion between twips (1/1440 inch), the unit of positions on a form,
// and pixels. Portable; the screen's twips per pixel come from host/Screen.
#pragma once

#include <cmath>

namespace host {

// Rounds to the nearest integer, halves to the even neighbour.
inline int RoundHalfEven(double v) {
    return static_cast<int>(std::nearbyint(v));
}

inline int TwipsToPixels(double twips, double twipsPerPixel) {
    return RoundHalfEven(twips / twipsPerPixel);
}
inline double PixelsToTwips(double pixels, double twipsPerPixel) {
    return pixels * twipsPerPixel;
}

} // namespace host
