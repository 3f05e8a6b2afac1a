// Named, typed values that a hosting form stores for each control it holds.
// Keys match without regard to letter case; entries keep the order in which
// they were first written; a write that equals its default stores nothing.
#pragma once

#include "PropertyValue.h"

#include <string>
#include <vector>

namespace host {

class PropertyBag {
public:
    struct Entry {
        std::wstring key; // lower case
        PropertyValue value;
    };

    // The stored value of key, or def when the bag holds none.
    PropertyValue ReadProperty(const std::wstring& key, const PropertyValue& def) const;
    // Stores value under key unless it equals def; then any earlier entry of
    // the key is removed, so the bag holds only values that differ.
    void WriteProperty(const std::wstring& key, const PropertyValue& value, const PropertyValue& def);
    // Stores value as it is, whatever it equals: the store's reader uses it.
    void Put(const std::wstring& key, PropertyValue value);

    bool Contains(const std::wstring& key) const;
    const std::vector<Entry>& Entries() const { return entries_; }

private:
    std::vector<Entry>::const_iterator Find(const std::wstring& lowerKey) const;
    std::vector<Entry> entries_;
};

// The form of keys in a bag: ASCII letters in lower case.
std::wstring LowerKey(const std::wstring& key);

} // namespace host
