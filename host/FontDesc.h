// A font as the form framework describes it: the values a font property holds
// and a property bag stores. Portable; host/Font turns it into a platform font.
#pragma once

#include <cstdint>
#include <string>

namespace host {

struct FontDesc {
    std::wstring name = L"MS Sans Serif";
    double size = 8.25; // points
    std::int16_t weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikethrough = false;
    std::int16_t charset = 0;

    friend bool operator==(const FontDesc&, const FontDesc&) = default;
};

} // namespace host
