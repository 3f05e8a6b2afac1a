// A typed value as a property bag holds it, and the conversions the control
// applies when it reads one into a target of its own type.
#pragma once

#include "FontDesc.h"

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace host {

// A color in the host's format: RGB, or a system color with the high bit set.
struct ColorValue {
    std::uint32_t value = 0;
    friend bool operator==(const ColorValue&, const ColorValue&) = default;
};

// A picture as the bag stores it: the bytes of a bitmap file; empty is "no picture".
struct PictureData {
    std::vector<std::uint8_t> bitmapFile;
    friend bool operator==(const PictureData&, const PictureData&) = default;
};

using PropertyValue =
    std::variant<std::int16_t, std::int32_t, bool, std::wstring, ColorValue, FontDesc, PictureData>;

// Equality as the bag decides whether a value equals its write default:
// numbers, booleans (-1/0) and colors compare by number, other kinds only
// with their own kind. A number never equals a string.
bool SameValue(const PropertyValue& a, const PropertyValue& b);

// Conversions to a target's type; nothing when the value cannot be converted
// (a text that is not a number, a number out of range, a font for a string...).
std::optional<std::int32_t> ToInt32(const PropertyValue& v);
std::optional<std::int16_t> ToInt16(const PropertyValue& v);
std::optional<bool> ToBool(const PropertyValue& v);
std::optional<std::uint32_t> ToColor(const PropertyValue& v);
std::optional<std::wstring> ToText(const PropertyValue& v);
std::optional<FontDesc> ToFont(const PropertyValue& v);
std::optional<PictureData> ToPicture(const PropertyValue& v);

} // namespace host
