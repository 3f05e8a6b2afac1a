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
        // At most fifteen significant digits, without trailing zeros: "1.5", "2".
        wchar_t buffer[64];
        std::swprintf(buffer, 64, L"%.15g", AsDouble());
        return buffer;
    }
    return AsString();
}

} // namespace host
