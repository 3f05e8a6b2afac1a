// Colours as the form framework passes them: an RGB value (0x00BBGGRR), or a
// system colour when the high bit is set (0x80000000 + the system colour
// index). Portable; host/Control turns a value into the colour to paint.
#pragma once

#include <cstdint>

namespace host {

using Color = std::uint32_t;

inline constexpr Color kSystemColorFlag = 0x80000000u;
inline constexpr Color kColorButtonFace = 0x8000000Fu; // system colour 15
inline constexpr Color kColorButtonText = 0x80000012u; // system colour 18
inline constexpr Color kColorWindow = 0x80000005u;     // system colour 5
inline constexpr Color kColorWindowText = 0x80000008u; // system colour 8
inline constexpr Color kColor3DLight = 0x80000016u;    // system colour 22

inline constexpr bool IsSystemColor(Color c) {
    return (c & kSystemColorFlag) != 0;
}
inline constexpr int SystemColorIndex(Color c) {
    return static_cast<int>(c & 0xFFu);
}

} // namespace host
