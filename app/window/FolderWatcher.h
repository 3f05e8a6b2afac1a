// Follows a folder: a worker thread waits for the platform to report a
// change in it or in the folders inside it (a folder link made, repaired or
// removed by any program, or its desktop.ini changed) and calls onChange on
// that thread with the names of the folder's entries that changed or hold
// what changed (empty: too many changes to name). It ends when the watcher
// goes, without waiting for the thread.
#pragma once

#include "Win32Holders.h"

#include <functional>
#include <memory>
#include <set>
#include <string>

class FolderWatcher {
public:
    // Null when the thread could not be started; a folder that cannot be
    // watched ends the thread at once, and nothing is reported.
    using ChangeReport = std::function<void(const std::set<std::wstring>& entries)>;
    static std::unique_ptr<FolderWatcher> Start(const std::wstring& folder, ChangeReport onChange);
    ~FolderWatcher();
    FolderWatcher(const FolderWatcher&) = delete;
    FolderWatcher& operator=(const FolderWatcher&) = delete;

private:
    explicit FolderWatcher(std::shared_ptr<win32::Handle> stop) : stop_(std::move(stop)) {}
    // Set when the watcher goes; shared with the thread, which may still be
    // in a platform call on a slow network folder then.
    std::shared_ptr<win32::Handle> stop_;
};
