#include "PropertyBag.h"

#include <algorithm>

namespace host {

std::wstring LowerKey(const std::wstring& key) {
    std::wstring lower = key;
    for (wchar_t& c : lower)
        if (c >= L'A' && c <= L'Z')
            c = static_cast<wchar_t>(c + (L'a' - L'A'));
    return lower;
}

std::vector<PropertyBag::Entry>::const_iterator PropertyBag::Find(const std::wstring& lowerKey) const {
    return std::find_if(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.key == lowerKey; });
}

PropertyValue PropertyBag::ReadProperty(const std::wstring& key, const PropertyValue& def) const {
    const auto it = Find(LowerKey(key));
    return it == entries_.end() ? def : it->value;
}

void PropertyBag::WriteProperty(const std::wstring& key, const PropertyValue& value,
                                const PropertyValue& def) {
    if (SameValue(value, def)) {
        const auto it = Find(LowerKey(key));
        if (it != entries_.end())
            entries_.erase(it);
        return;
    }
    Put(key, value);
}

void PropertyBag::Put(const std::wstring& key, PropertyValue value) {
    std::wstring lower = LowerKey(key);
    const auto it = Find(lower);
    if (it != entries_.end()) {
        entries_[static_cast<std::size_t>(it - entries_.begin())].value = std::move(value);
        return;
    }
    entries_.push_back({std::move(lower), std::move(value)});
}

bool PropertyBag::Contains(const std::wstring& key) const {
    return Find(LowerKey(key)) != entries_.end();
}

} // namespace host
