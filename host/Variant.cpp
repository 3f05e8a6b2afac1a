#include "Variant.h"

#include <cwchar>

namespace host {

const std::wstring& Variant::AsString() const {
    static const std::wstring empty;
    return IsString() ? std::get<std::wstring>(value_) : empty;
}

std::wstring Variant::ToText() const {
    if (IsInteger())
        return std::to_wstring(AsInteger());
    if (IsDouble()) {
        // Shortest form that reads back as the same number, like "1.5" or "2".
        wchar_t buffer[64];
        std::swprintf(buffer, 64, L"%.15g", AsDouble());
        return buffer;
    }
    return AsString();
}

} // namespace host
