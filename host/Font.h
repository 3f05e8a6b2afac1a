// A platform font made from a FontDesc. Each control keeps its own, so a
// font set on one child is never shared with another.
#pragma once

#include "FontDesc.h"

#include <memory>
#include <type_traits>
#include <windows.h>

namespace host {

struct FontDeleter {
    void operator()(HFONT font) const noexcept { DeleteObject(font); }
};
using FontHandle = std::unique_ptr<std::remove_pointer_t<HFONT>, FontDeleter>;

// The font of desc at the screen's resolution; null when the platform could
// not make it.
FontHandle CreateFontHandle(const FontDesc& desc);

} // namespace host
