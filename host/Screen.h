// Facts about the screen the framework lays out on.
#pragma once

namespace host {

// Twips per pixel, read from the screen's logical resolution (15 at 96 dpi).
double TwipsPerPixelX();
double TwipsPerPixelY();

} // namespace host
