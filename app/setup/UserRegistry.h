// The few things the program writes under the user's own registry hive
// (HKEY_CURRENT_USER), which needs no administrator rights. Each returns the
// platform's error code, ERROR_SUCCESS when it succeeded.
#pragma once

#include <windows.h>

#include <string>

namespace UserRegistry {

// Opens subKey, making it and any missing parent, for writing.
LSTATUS CreateKey(const std::wstring& subKey, HKEY* opened);
// A string value (REG_SZ, or REG_EXPAND_SZ when expandable) in subKey; an
// empty name is the key's default value. The key is made if missing.
LSTATUS SetString(const std::wstring& subKey, const wchar_t* name, const std::wstring& value,
                  bool expandable = false);
LSTATUS SetNumber(const std::wstring& subKey, const wchar_t* name, DWORD value);

// A string value as stored, with whether it is REG_EXPAND_SZ.
struct StoredString {
    std::wstring text;
    bool expandable = false;
};
// The value read, or why not: ERROR_FILE_NOT_FOUND when the key or the value
// is missing, ERROR_UNSUPPORTED_TYPE when the value is no string, else the
// platform's error. A value that grows between asking for its size and
// reading it is read again, a few times.
struct StringReading {
    LSTATUS status = ERROR_SUCCESS;
    StoredString value;
};
StringReading ReadString(const std::wstring& subKey, const wchar_t* name);
LSTATUS DeleteValue(const std::wstring& subKey, const wchar_t* name);

// Deletes subKey with everything below it; a missing key is no error.
LSTATUS DeleteTree(const std::wstring& subKey);
// Deletes subKey when it holds no subkey and no value (not even a default
// value); a missing or non-empty key is left as it is.
void DeleteIfEmpty(const std::wstring& subKey);
// Whether subKey exists.
bool Exists(const std::wstring& subKey);

} // namespace UserRegistry
