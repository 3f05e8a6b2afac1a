#include "PropertyValue.h"

#include <cwctype>
#include <limits>

namespace host {
namespace {

template <class... F> struct Overloaded : F... { using F::operator()...; };

// The number a numeric value stands for; nothing for text, fonts and pictures.
std::optional<std::int64_t> NumberOf(const PropertyValue& v) {
    return std::visit(Overloaded{
                          [](std::int16_t n) -> std::optional<std::int64_t> { return n; },
                          [](std::int32_t n) -> std::optional<std::int64_t> { return n; },
                          [](bool b) -> std::optional<std::int64_t> { return b ? -1 : 0; },
                          [](const ColorValue& c) -> std::optional<std::int64_t> {
                              return static_cast<std::int32_t>(c.value);
                          },
                          [](const auto&) -> std::optional<std::int64_t> { return std::nullopt; },
                      },
                      v);
}

// A whole decimal number, optionally signed and surrounded by blanks.
std::optional<std::int64_t> ParseNumber(const std::wstring& text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == L' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == L'-' || text[i] == L'+'))
        negative = text[i++] == L'-';
    std::int64_t n = 0;
    std::size_t digits = 0;
    for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i, ++digits) {
        n = n * 10 + (text[i] - L'0');
        if (n > std::numeric_limits<std::int32_t>::max() + std::int64_t{1})
            return std::nullopt;
    }
    while (i < text.size() && text[i] == L' ')
        ++i;
    if (digits == 0 || i != text.size())
        return std::nullopt;
    return negative ? -n : n;
}

std::optional<std::int64_t> NumberOrText(const PropertyValue& v) {
    if (const auto* text = std::get_if<std::wstring>(&v))
        return ParseNumber(*text);
    return NumberOf(v);
}

} // namespace

bool SameValue(const PropertyValue& a, const PropertyValue& b) {
    const auto na = NumberOf(a), nb = NumberOf(b);
    if (na || nb)
        return na && nb && *na == *nb;
    return a == b;
}

std::optional<std::int32_t> ToInt32(const PropertyValue& v) {
    const auto n = NumberOrText(v);
    if (!n || *n < std::numeric_limits<std::int32_t>::min() || *n > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return static_cast<std::int32_t>(*n);
}

std::optional<std::int16_t> ToInt16(const PropertyValue& v) {
    const auto n = NumberOrText(v);
    if (!n || *n < std::numeric_limits<std::int16_t>::min() || *n > std::numeric_limits<std::int16_t>::max())
        return std::nullopt;
    return static_cast<std::int16_t>(*n);
}

std::optional<bool> ToBool(const PropertyValue& v) {
    if (const auto* text = std::get_if<std::wstring>(&v)) {
        std::wstring lower;
        for (wchar_t c : *text)
            lower += static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
        if (lower == L"true")
            return true;
        if (lower == L"false")
            return false;
    }
    const auto n = NumberOrText(v);
    if (!n)
        return std::nullopt;
    return *n != 0;
}

std::optional<std::uint32_t> ToColor(const PropertyValue& v) {
    if (const auto* c = std::get_if<ColorValue>(&v))
        return c->value;
    const auto n = ToInt32(v);
    if (!n)
        return std::nullopt;
    return static_cast<std::uint32_t>(*n);
}

std::optional<std::wstring> ToText(const PropertyValue& v) {
    if (const auto* text = std::get_if<std::wstring>(&v))
        return *text;
    if (const auto* b = std::get_if<bool>(&v))
        return *b ? L"True" : L"False";
    if (const auto n = NumberOf(v))
        return std::to_wstring(*n);
    return std::nullopt;
}

std::optional<FontDesc> ToFont(const PropertyValue& v) {
    if (const auto* font = std::get_if<FontDesc>(&v))
        return *font;
    return std::nullopt;
}

std::optional<PictureData> ToPicture(const PropertyValue& v) {
    if (const auto* picture = std::get_if<PictureData>(&v))
        return *picture;
    return std::nullopt;
}

} // namespace host
