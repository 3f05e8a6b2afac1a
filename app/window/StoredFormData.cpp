#include "StoredFormData.h"

#include <windows.h>

std::vector<host::StoredBag> LoadStoredFormData() {
    // Resources of a module need no freeing: they live as long as the module.
    const HRSRC info = FindResourceW(nullptr, L"B_MAIN_FORMDATA", RT_RCDATA);
    if (!info)
        return {};
    const HGLOBAL loaded = LoadResource(nullptr, info);
    const DWORD cbData = SizeofResource(nullptr, info);
    const char* data = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
    if (!data || cbData == 0 || cbData > INT_MAX)
        return {};
    const int cchText = MultiByteToWideChar(CP_UTF8, 0, data, static_cast<int>(cbData), nullptr, 0);
    if (cchText <= 0)
        return {};
    std::wstring text(static_cast<std::size_t>(cchText), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, data, static_cast<int>(cbData), text.data(), cchText);
    return host::ParsePropertyBags(text);
}
