// What an administrator sets for /sync through Group Policy or a management
// tool: values under Software\Policies\Ordnerlink, read from the machine's
// hive (HKEY_LOCAL_MACHINE) and then the user's (HKEY_CURRENT_USER), value
// by value, so that a machine's value wins over the user's. The program
// only ever reads them. Here, below the windows and the command mode, so
// that both can read it.
#pragma once

#include <optional>
#include <string>

namespace L_SHTCUT {

inline constexpr wchar_t kSyncPolicyKey[] = L"Software\\Policies\\Ordnerlink";

// The values a policy holds, with what stands for one that is not set. Text
// values may be REG_SZ or REG_EXPAND_SZ; variables are expanded in both.
struct SyncPolicy {
    std::wstring listFile; // SyncList
    std::wstring folder;   // SyncFolder; empty for the user's network shortcuts
    bool prune = false;    // Prune (REG_DWORD 0 or 1)
    std::wstring logFile;  // LogFile; %LOCALAPPDATA%\Ordnerlink\sync.log when not set
};

struct SyncPolicyReading {
    // Nothing when SyncList is set in neither hive (there is no policy), or
    // when a value cannot be used.
    std::optional<SyncPolicy> policy;
    // Why a value that is set cannot be used, in German; empty when none.
    std::wstring problem;
};

SyncPolicyReading ReadSyncPolicy();

// Where a sync's report goes when neither the command line nor the policy
// names a file (%LOCALAPPDATA%\Ordnerlink\sync.log), expanded; empty, with
// the platform's error, when it cannot be.
std::wstring DefaultSyncLogFile(unsigned long& error);

} // namespace L_SHTCUT
