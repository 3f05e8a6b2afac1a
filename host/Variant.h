// A value of any of the kinds the input line's tags hold: empty, a whole
// number, a floating-point number or a text. Portable, so that the control
// and the property store can share it.
#pragma once

#include <cstdint>
#include <string>
#include <variant>

namespace host {

class Variant {
public:
    Variant() = default;
    Variant(std::int32_t v) : value_(v) {}
    Variant(double v) : value_(v) {}
    Variant(std::wstring v) : value_(std::move(v)) {}
    Variant(const wchar_t* v) : value_(std::wstring(v)) {}

    bool IsEmpty() const { return std::holds_alternative<std::monostate>(value_); }
    bool IsInteger() const { return std::holds_alternative<std::int32_t>(value_); }
    bool IsDouble() const { return std::holds_alternative<double>(value_); }
    bool IsString() const { return std::holds_alternative<std::wstring>(value_); }

    std::int32_t AsInteger() const { return IsInteger() ? std::get<std::int32_t>(value_) : 0; }
    double AsDouble() const { return IsDouble() ? std::get<double>(value_) : 0.0; }
    const std::wstring& AsString() const;
    // The value as text: "" for empty, decimal digits for numbers.
    std::wstring ToText() const;

    friend bool operator==(const Variant&, const Variant&) = default;

private:
    std::variant<std::monostate, std::int32_t, double, std::wstring> value_;
};

} // namespace host
