// A platform font made from a FontDesc. Each control keeps its own, so a
// font set on one child is never shared with another.
#pragma once

#include "FontDesc.h"
#include "Win32Holders.h"

#include <windows.h>

namespace host {

using FontHandle = win32::GdiObject<HFONT>;

// The font of desc at the screen's resolution; null when the platform could
// not make it.
FontHandle CreateFontHandle(const FontDesc& desc);

} // namespace host
