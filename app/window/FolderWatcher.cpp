#include "FolderWatcher.h"

#include "Worker.h"

namespace {

// What changes of a folder link reach us: entries made, renamed or deleted
// (the folder, desktop.ini, target.lnk), their attributes and their content.
constexpr DWORD kChanges = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME |
                           FILE_NOTIFY_CHANGE_ATTRIBUTES | FILE_NOTIFY_CHANGE_LAST_WRITE;

struct ChangeNotificationCloser {
    void operator()(HANDLE handle) const noexcept { FindCloseChangeNotification(handle); }
};
using ChangeNotification = std::unique_ptr<std::remove_pointer_t<HANDLE>, ChangeNotificationCloser>;

void Watch(const std::wstring& folder, const std::shared_ptr<win32::Handle>& stop,
           const std::function<void()>& onChange) {
    // The folders inside count as well: a link's own files lie one level down.
    const ChangeNotification change(
        win32::NullIfInvalid(FindFirstChangeNotificationW(folder.c_str(), TRUE, kChanges)));
    if (!change)
        return;
    const HANDLE waitFor[2] = {stop->get(), change.get()};
    while (WaitForMultipleObjects(2, waitFor, FALSE, INFINITE) == WAIT_OBJECT_0 + 1) {
        onChange();
        if (!FindNextChangeNotification(change.get()))
            return;
    }
}

} // namespace

std::unique_ptr<FolderWatcher> FolderWatcher::Start(const std::wstring& folder,
                                                    std::function<void()> onChange) {
    auto stop = std::make_shared<win32::Handle>(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!*stop)
        return nullptr;
    if (!RunOnWorker([folder, stop, onChange = std::move(onChange)] { Watch(folder, stop, onChange); }))
        return nullptr;
    return std::unique_ptr<FolderWatcher>(new FolderWatcher(std::move(stop)));
}

FolderWatcher::~FolderWatcher() {
    SetEvent(stop_->get());
}
