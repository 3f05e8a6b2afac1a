#include "UserRegistry.h"

#include "Win32Holders.h"

namespace UserRegistry {

LSTATUS CreateKey(const std::wstring& subKey, HKEY* opened) {
    return RegCreateKeyExW(HKEY_CURRENT_USER, subKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                           KEY_READ | KEY_WRITE, nullptr, opened, nullptr);
}

LSTATUS SetString(const std::wstring& subKey, const wchar_t* name, const std::wstring& value,
                  bool expandable) {
    HKEY opened = nullptr;
    if (const LSTATUS created = CreateKey(subKey, &opened); created != ERROR_SUCCESS)
        return created;
    const win32::RegistryKey key(opened);
    const auto cbData = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
    return RegSetValueExW(key.get(), name, 0, expandable ? REG_EXPAND_SZ : REG_SZ,
                          reinterpret_cast<const BYTE*>(value.c_str()), cbData);
}

LSTATUS SetNumber(const std::wstring& subKey, const wchar_t* name, DWORD value) {
    HKEY opened = nullptr;
    if (const LSTATUS created = CreateKey(subKey, &opened); created != ERROR_SUCCESS)
        return created;
    const win32::RegistryKey key(opened);
    return RegSetValueExW(key.get(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

StringReading ReadString(const std::wstring& subKey, const wchar_t* name) {
    constexpr DWORD flags = RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND;
    constexpr int kReads = 4;
    StringReading reading;
    for (int read = 0; read < kReads; ++read) {
        DWORD type = 0;
        DWORD cbData = 0;
        reading.status =
            RegGetValueW(HKEY_CURRENT_USER, subKey.c_str(), name, flags, &type, nullptr, &cbData);
        if (reading.status != ERROR_SUCCESS)
            return reading;
        std::wstring text(cbData / sizeof(wchar_t) + 1, L'\0');
        cbData = static_cast<DWORD>(text.size() * sizeof(wchar_t));
        reading.status =
            RegGetValueW(HKEY_CURRENT_USER, subKey.c_str(), name, flags, &type, text.data(), &cbData);
        if (reading.status == ERROR_MORE_DATA)
            continue; // written anew meanwhile, and longer
        if (reading.status == ERROR_SUCCESS) {
            text.resize(wcsnlen(text.c_str(), text.size()));
            reading.value = StoredString{text, type == REG_EXPAND_SZ};
        }
        return reading;
    }
    return reading;
}

LSTATUS DeleteValue(const std::wstring& subKey, const wchar_t* name) {
    HKEY opened = nullptr;
    if (const LSTATUS open = RegOpenKeyExW(HKEY_CURRENT_USER, subKey.c_str(), 0, KEY_SET_VALUE, &opened);
        open != ERROR_SUCCESS)
        return open == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : open;
    const win32::RegistryKey key(opened);
    const LSTATUS deleted = RegDeleteValueW(key.get(), name);
    return deleted == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : deleted;
}

LSTATUS DeleteTree(const std::wstring& subKey) {
    // With a subkey named, RegDeleteTreeW deletes that key too, not only its content.
    const LSTATUS deleted = RegDeleteTreeW(HKEY_CURRENT_USER, subKey.c_str());
    return deleted == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : deleted;
}

void DeleteIfEmpty(const std::wstring& subKey) {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, subKey.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS)
        return;
    win32::RegistryKey key(opened);
    DWORD subKeys = 0;
    DWORD values = 0;
    const bool empty = RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr,
                                        &values, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS &&
                       subKeys == 0 && values == 0;
    key.reset();
    // A failed deletion leaves an empty key, which changes nothing the user sees.
    if (empty)
        RegDeleteKeyW(HKEY_CURRENT_USER, subKey.c_str());
}

bool Exists(const std::wstring& subKey) {
    HKEY opened = nullptr;
    const bool exists =
        RegOpenKeyExW(HKEY_CURRENT_USER, subKey.c_str(), 0, KEY_READ, &opened) == ERROR_SUCCESS;
    const win32::RegistryKey key(exists ? opened : nullptr);
    return exists;
}

} // namespace UserRegistry
