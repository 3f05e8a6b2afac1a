#include "ManagerSettings.h"
#include "SettingsKey.h"

#include "Win32Holders.h"

#include <algorithm>

namespace {

const std::wstring kKey = std::wstring(SettingsKey) + L"\\Verwalten";
constexpr const wchar_t* kBoundsValues[] = {L"Links", L"Oben", L"Breite", L"Hoehe"};
constexpr wchar_t kDpiValue[] = L"Aufloesung";
constexpr wchar_t kColumnsValue[] = L"Spaltenbreiten";
constexpr wchar_t kSortColumnValue[] = L"Sortierspalte";
constexpr wchar_t kSortDescendingValue[] = L"Absteigend";
constexpr wchar_t kFolderValue[] = L"Ordner";

std::optional<DWORD> ReadDword(HKEY key, const wchar_t* name) {
    DWORD value = 0;
    DWORD cbValue = sizeof value;
    if (RegGetValueW(key, nullptr, name, RRF_RT_REG_DWORD, nullptr, &value, &cbValue) != ERROR_SUCCESS)
        return std::nullopt;
    return value;
}

std::optional<std::wstring> ReadString(HKEY key, const wchar_t* name, DWORD type) {
    DWORD cbValue = 0;
    if (RegGetValueW(key, nullptr, name, type, nullptr, nullptr, &cbValue) != ERROR_SUCCESS)
        return std::nullopt;
    std::wstring value(cbValue / sizeof(wchar_t) + 1, L'\0');
    cbValue = static_cast<DWORD>(value.size() * sizeof(wchar_t));
    if (RegGetValueW(key, nullptr, name, type, nullptr, value.data(), &cbValue) != ERROR_SUCCESS)
        return std::nullopt;
    value.resize(cbValue / sizeof(wchar_t));
    return value;
}

} // namespace

ManagerSettings LoadManagerSettings() {
    ManagerSettings settings;
    HKEY raw = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kKey.c_str(), 0, KEY_QUERY_VALUE, &raw) != ERROR_SUCCESS)
        return settings;
    const win32::RegistryKey key(raw);
    LONG bounds[4]{};
    bool haveBounds = true;
    for (int i = 0; i < 4; ++i) {
        const auto value = ReadDword(key.get(), kBoundsValues[i]);
        haveBounds = haveBounds && value;
        bounds[i] = value ? static_cast<LONG>(*value) : 0; // stored as the bits of a signed value
    }
    if (haveBounds && bounds[2] > 0 && bounds[3] > 0)
        settings.bounds = RECT{bounds[0], bounds[1], bounds[0] + bounds[2], bounds[1] + bounds[3]};
    if (const auto dpi = ReadDword(key.get(), kDpiValue); dpi && *dpi >= 48 && *dpi <= 960)
        settings.boundsDpi = *dpi;
    // The widths as a list of strings: one decimal number each.
    if (const auto widths = ReadString(key.get(), kColumnsValue, RRF_RT_REG_MULTI_SZ)) {
        for (std::size_t start = 0; start < widths->size();) {
            const std::size_t end = widths->find(L'\0', start);
            const std::wstring item = widths->substr(start, end - start);
            if (item.empty())
                break;
            settings.columnWidths.push_back(std::clamp(_wtoi(item.c_str()), 0, 4000));
            start = end == std::wstring::npos ? widths->size() : end + 1;
        }
    }
    if (const auto column = ReadDword(key.get(), kSortColumnValue); column && *column < 64)
        settings.sortColumn = static_cast<int>(*column);
    settings.sortDescending = ReadDword(key.get(), kSortDescendingValue).value_or(0) != 0;
    if (const auto folder = ReadString(key.get(), kFolderValue, RRF_RT_REG_SZ))
        settings.folder = folder->c_str(); // without the terminating zero
    return settings;
}

namespace {

bool WriteDword(HKEY key, const wchar_t* name, DWORD value) {
    return RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value) ==
           ERROR_SUCCESS;
}

} // namespace

bool SaveManagerSettings(const ManagerSettings& settings) {
    HKEY raw = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kKey.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &raw,
                        nullptr) != ERROR_SUCCESS)
        return false;
    const win32::RegistryKey key(raw);
    bool written = true;
    if (settings.bounds) {
        const RECT& r = *settings.bounds;
        const LONG values[4] = {r.left, r.top, r.right - r.left, r.bottom - r.top};
        for (int i = 0; i < 4; ++i)
            written = WriteDword(key.get(), kBoundsValues[i], static_cast<DWORD>(values[i])) && written;
        written = WriteDword(key.get(), kDpiValue, settings.boundsDpi) && written;
    }
    if (settings.sortColumn >= 0) {
        written = WriteDword(key.get(), kSortColumnValue, static_cast<DWORD>(settings.sortColumn)) && written;
        written = WriteDword(key.get(), kSortDescendingValue, settings.sortDescending ? 1 : 0) && written;
    }
    std::wstring widths;
    for (int width : settings.columnWidths)
        widths += std::to_wstring(width) + L'\0';
    widths += L'\0';
    written = RegSetValueExW(key.get(), kColumnsValue, 0, REG_MULTI_SZ,
                             reinterpret_cast<const BYTE*>(widths.c_str()),
                             static_cast<DWORD>(widths.size() * sizeof(wchar_t))) == ERROR_SUCCESS &&
              written;
    written = RegSetValueExW(
                  key.get(), kFolderValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(settings.folder.c_str()),
                  static_cast<DWORD>((settings.folder.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS &&
              written;
    return written;
}

RECT OnVisibleMonitor(const RECT& bounds) {
    // Workspace coordinates begin at the corner of the primary monitor's
    // work area: with the taskbar at the top or at the left they are not
    // the screen's.
    RECT primaryWork{};
    if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &primaryWork, 0))
        primaryWork = RECT{};
    RECT onScreen = bounds;
    OffsetRect(&onScreen, primaryWork.left, primaryWork.top);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoW(MonitorFromRect(&onScreen, MONITOR_DEFAULTTONEAREST), &info))
        return bounds;
    const RECT& work = info.rcWork;
    const LONG width = std::min(onScreen.right - onScreen.left, work.right - work.left);
    const LONG height = std::min(onScreen.bottom - onScreen.top, work.bottom - work.top);
    const LONG left = std::clamp(onScreen.left, work.left, work.right - width) - primaryWork.left;
    const LONG top = std::clamp(onScreen.top, work.top, work.bottom - height) - primaryWork.top;
    return RECT{left, top, left + width, top + height};
}
