#include "SyncPolicy.h"

#include "ErrorText.h"
#include "Quoted.h"

#include <windows.h>

#include <cstdint>

namespace L_SHTCUT {

namespace {

struct Hive {
    HKEY root;
    const wchar_t* name;
};
// The machine's first: its value wins.
const Hive Hives[] = {
    {HKEY_LOCAL_MACHINE, L"HKEY_LOCAL_MACHINE"},
    {HKEY_CURRENT_USER, L"HKEY_CURRENT_USER"},
};

std::wstring ValueName(const Hive& hive, const wchar_t* name) {
    return Quoted(std::wstring(hive.name) + L"\\" + kSyncPolicyKey + L"\\" + name);
}

std::wstring Expanded(const std::wstring& text, DWORD& error) {
    std::wstring expanded(text.size() + 1, L'\0');
    for (;;) {
        const DWORD cchNeeded =
            ExpandEnvironmentStringsW(text.c_str(), expanded.data(), static_cast<DWORD>(expanded.size()));
        if (cchNeeded == 0) {
            error = GetLastError();
            return {};
        }
        if (cchNeeded <= expanded.size()) {
            expanded.resize(cchNeeded - 1);
            return expanded;
        }
        expanded.assign(cchNeeded, L'\0');
    }
}

// The text of a REG_SZ or REG_EXPAND_SZ value as stored, up to its first NUL.
LSTATUS ReadRegistryText(HKEY root, const wchar_t* name, std::wstring& text) {
    constexpr DWORD flags = RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND;
    DWORD cbData = 0;
    LSTATUS status = RegGetValueW(root, kSyncPolicyKey, name, flags, nullptr, nullptr, &cbData);
    // Asked again while the value grows between asking its size and reading it.
    while (status == ERROR_SUCCESS || status == ERROR_MORE_DATA) {
        text.assign(cbData / sizeof(wchar_t) + 1, L'\0');
        cbData = static_cast<DWORD>(text.size() * sizeof(wchar_t));
        status = RegGetValueW(root, kSyncPolicyKey, name, flags, nullptr, text.data(), &cbData);
        if (status == ERROR_SUCCESS) {
            text.resize(wcsnlen(text.c_str(), text.size()));
            return status;
        }
    }
    return status;
}

// One value from the first hive that holds it: its text, variables
// expanded; nothing when neither hive holds it, or (problem set) when the
// first that holds it gives no usable text.
std::optional<std::wstring> ReadText(const wchar_t* name, std::wstring& problem) {
    for (const Hive& hive : Hives) {
        std::wstring text;
        const LSTATUS status = ReadRegistryText(hive.root, name, text);
        if (status == ERROR_FILE_NOT_FOUND || status == ERROR_PATH_NOT_FOUND)
            continue; // not set in this hive
        if (status == ERROR_UNSUPPORTED_TYPE) {
            problem = L"Die Richtlinie " + ValueName(hive, name) +
                      L" ist kein Text (erwartet wird REG_SZ oder REG_EXPAND_SZ).";
            return std::nullopt;
        }
        if (status != ERROR_SUCCESS) {
            problem = L"Die Richtlinie " + ValueName(hive, name) + L" l\u00E4sst sich nicht lesen: " +
                      ErrorText(static_cast<DWORD>(status)) + L".";
            return std::nullopt;
        }
        DWORD error = ERROR_SUCCESS;
        std::wstring expanded = Expanded(text, error);
        if (error != ERROR_SUCCESS) {
            problem = L"Die Variablen in der Richtlinie " + ValueName(hive, name) +
                      L" lassen sich nicht einsetzen: " + ErrorText(error) + L".";
            return std::nullopt;
        }
        if (expanded.find_first_not_of(L" \t") == std::wstring::npos) {
            problem = L"Die Richtlinie " + ValueName(hive, name) + L" ist leer.";
            return std::nullopt;
        }
        return expanded;
    }
    return std::nullopt;
}

// A switch: REG_DWORD 0 or 1 from the first hive that holds it; nothing when
// neither does, or (problem set) when the first holds something else.
std::optional<bool> ReadSwitch(const wchar_t* name, std::wstring& problem) {
    for (const Hive& hive : Hives) {
        std::uint32_t value = 0;
        DWORD cbData = sizeof(value);
        const LSTATUS status =
            RegGetValueW(hive.root, kSyncPolicyKey, name, RRF_RT_REG_DWORD, nullptr, &value, &cbData);
        if (status == ERROR_FILE_NOT_FOUND || status == ERROR_PATH_NOT_FOUND)
            continue;
        if (status == ERROR_SUCCESS && value <= 1)
            return value == 1;
        problem = L"Die Richtlinie " + ValueName(hive, name) +
                  (status == ERROR_SUCCESS || status == ERROR_UNSUPPORTED_TYPE
                       ? std::wstring(L" ist nicht 0 oder 1 (REG_DWORD).")
                       : L" l\u00E4sst sich nicht lesen: " + ErrorText(static_cast<DWORD>(status)) + L".");
        return std::nullopt;
    }
    return std::nullopt;
}

} // namespace

std::wstring DefaultSyncLogFile(DWORD& error) {
    return Expanded(L"%LOCALAPPDATA%\\Ordnerlink\\sync.log", error);
}

SyncPolicyReading ReadSyncPolicy() {
    SyncPolicyReading reading;
    std::wstring& problem = reading.problem;
    const auto list = ReadText(L"SyncList", problem);
    if (!list)
        return reading;
    SyncPolicy policy;
    policy.listFile = *list;
    if (const auto folder = ReadText(L"SyncFolder", problem))
        policy.folder = *folder;
    if (const auto prune = ReadSwitch(L"Prune", problem))
        policy.prune = *prune;
    if (const auto logFile = ReadText(L"LogFile", problem)) {
        policy.logFile = *logFile;
    } else if (problem.empty()) {
        DWORD error = ERROR_SUCCESS;
        policy.logFile = DefaultSyncLogFile(error);
        if (error != ERROR_SUCCESS)
            problem =
                L"Der Ort der Protokolldatei l\u00E4sst sich nicht ermitteln: " + ErrorText(error) + L".";
    }
    if (problem.empty())
        reading.policy = policy;
    return reading;
}

} // namespace L_SHTCUT
