// Which folder links a synchronisation made in a folder, recorded for the
// user under HKCU\Software\Ordnerlink\Sync: one value per folder, named by
// its full path, holding the names of the folder links made there. Only
// what is recorded here is ever removed for no longer being listed, so that
// network locations the user or Windows made are left alone.
#pragma once

#include "Win32Holders.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace L_SHTCUT {

// The lock under which one run at a time reads and writes a folder's record,
// held for the whole run: a mutex in the user's logon session ("Local\"),
// named after a hash of the folder's full path in capitals, since an
// object's name holds no "\" and is limited in length. It keeps out a run
// in the same logon session only; a redirected folder used from two
// machines at once is not protected.
class SyncLock {
public:
    // Waits up to waitMilliseconds while another run holds the lock. A run
    // that ended without letting go (ended by force) leaves it free.
    SyncLock(const std::wstring& folder, std::uint32_t waitMilliseconds);
    ~SyncLock();
    SyncLock(const SyncLock&) = delete;
    SyncLock& operator=(const SyncLock&) = delete;

    bool held() const { return held_; }
    bool busy() const { return busy_; }            // another run held it for the whole wait
    std::uint32_t error() const { return error_; } // neither: why it could not be taken

private:
    win32::Handle mutex_;
    bool held_ = false;
    bool busy_ = false;
    std::uint32_t error_ = 0;
};

// The names recorded for folder (a full path ending in "\"): empty when
// nothing is, nothing when the record cannot be read.
std::optional<std::vector<std::wstring>> RecordedSyncLinks(const std::wstring& folder);

// Replaces the names recorded for folder; an empty list removes the value.
// false (the thread's last error set) when the record cannot be written.
bool RecordSyncLinks(const std::wstring& folder, const std::vector<std::wstring>& names);

} // namespace L_SHTCUT
