#include "SyncRecord.h"
#include "SettingsKey.h"

#include "L_PFADE.h"
#include "Win32Holders.h"

#include <windows.h>

namespace L_SHTCUT {
namespace {

const std::wstring RecordKey = std::wstring(SettingsKey) + L"\\Sync";

// Value names are compared without regard to case, as paths are.
std::wstring ValueName(const std::wstring& folder) {
    return L_PFADE::RemoveTrailingSeparators(folder);
}

// The mutex's name: FNV-1a (64 bits) of the folder's path in capitals, as
// the file system compares names without regard to case.
std::wstring LockName(const std::wstring& folder) {
    std::wstring upper = ValueName(folder);
    CharUpperBuffW(upper.data(), static_cast<DWORD>(upper.size()));
    std::uint64_t hash = 14695981039346656037ull;
    for (const wchar_t ch : upper) {
        hash ^= static_cast<std::uint16_t>(ch);
        hash *= 1099511628211ull;
    }
    wchar_t hex[17] = {};
    for (int i = 15; i >= 0; --i, hash >>= 4)
        hex[i] = L"0123456789ABCDEF"[hash & 0xF];
    return L"Local\\Ordnerlink-Sync-" + std::wstring(hex);
}

} // namespace

SyncLock::SyncLock(const std::wstring& folder, std::uint32_t waitMilliseconds)
    : mutex_(CreateMutexW(nullptr, FALSE, LockName(folder).c_str())) {
    if (!mutex_) {
        error_ = GetLastError();
        return;
    }
    switch (WaitForSingleObject(mutex_.get(), waitMilliseconds)) {
    case WAIT_OBJECT_0:
    case WAIT_ABANDONED: // the run before was ended by force; what it wrote is whole, entry by entry
        held_ = true;
        break;
    case WAIT_TIMEOUT:
        busy_ = true;
        break;
    default:
        error_ = GetLastError();
        break;
    }
}

SyncLock::~SyncLock() {
    // It fails only for a mutex this thread does not own; the end of the
    // process lets go of it in any case.
    if (held_)
        ReleaseMutex(mutex_.get());
}

std::optional<std::vector<std::wstring>> RecordedSyncLinks(const std::wstring& folder) {
    HKEY opened = nullptr;
    LSTATUS status = RegOpenKeyExW(HKEY_CURRENT_USER, RecordKey.c_str(), 0, KEY_QUERY_VALUE, &opened);
    const win32::RegistryKey key(status == ERROR_SUCCESS ? opened : nullptr);
    if (status == ERROR_FILE_NOT_FOUND)
        return std::vector<std::wstring>{};
    if (status != ERROR_SUCCESS) {
        SetLastError(static_cast<DWORD>(status));
        return std::nullopt;
    }
    const std::wstring name = ValueName(folder);
    DWORD cbData = 0;
    status = RegGetValueW(key.get(), nullptr, name.c_str(), RRF_RT_REG_MULTI_SZ, nullptr, nullptr, &cbData);
    if (status == ERROR_FILE_NOT_FOUND)
        return std::vector<std::wstring>{};
    if (status != ERROR_SUCCESS) {
        SetLastError(static_cast<DWORD>(status));
        return std::nullopt;
    }
    // The value may have grown since its size was asked.
    std::wstring data;
    do {
        data.assign(cbData / sizeof(wchar_t) + 2, L'\0');
        cbData = static_cast<DWORD>(data.size() * sizeof(wchar_t));
        status = RegGetValueW(key.get(), nullptr, name.c_str(), RRF_RT_REG_MULTI_SZ, nullptr, data.data(),
                              &cbData);
    } while (status == ERROR_MORE_DATA);
    if (status != ERROR_SUCCESS) {
        SetLastError(static_cast<DWORD>(status));
        return std::nullopt;
    }
    data.resize(cbData / sizeof(wchar_t));
    std::vector<std::wstring> names;
    for (std::size_t at = 0; at < data.size();) {
        const std::size_t end = data.find(L'\0', at);
        const std::wstring entry = data.substr(at, end == std::wstring::npos ? std::wstring::npos : end - at);
        if (!entry.empty())
            names.push_back(entry);
        if (end == std::wstring::npos)
            break;
        at = end + 1;
    }
    return names;
}

bool RecordSyncLinks(const std::wstring& folder, const std::vector<std::wstring>& names) {
    HKEY created = nullptr;
    LSTATUS status = RegCreateKeyExW(HKEY_CURRENT_USER, RecordKey.c_str(), 0, nullptr,
                                     REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr, &created, nullptr);
    const win32::RegistryKey key(status == ERROR_SUCCESS ? created : nullptr);
    if (status == ERROR_SUCCESS) {
        const std::wstring name = ValueName(folder);
        if (names.empty()) {
            status = RegDeleteValueW(key.get(), name.c_str());
            if (status == ERROR_FILE_NOT_FOUND)
                status = ERROR_SUCCESS;
        } else {
            std::wstring data;
            for (const std::wstring& entry : names)
                data += entry + L'\0';
            data += L'\0';
            status = RegSetValueExW(key.get(), name.c_str(), 0, REG_MULTI_SZ,
                                    reinterpret_cast<const BYTE*>(data.data()),
                                    static_cast<DWORD>(data.size() * sizeof(wchar_t)));
        }
    }
    if (status != ERROR_SUCCESS) {
        SetLastError(static_cast<DWORD>(status));
        return false;
    }
    return true;
}

} // namespace L_SHTCUT
