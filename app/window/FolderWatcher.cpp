#include "FolderWatcher.h"

#include "Worker.h"

#include <cstddef>
#include <set>

namespace {

// What changes of a folder link reach us: entries made, renamed or deleted
// (the folder, desktop.ini, target.lnk), their attributes and their content.
constexpr DWORD kChanges = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME |
                           FILE_NOTIFY_CHANGE_ATTRIBUTES | FILE_NOTIFY_CHANGE_LAST_WRITE;
// Room for the names of many changes at once; more than that are reported as
// a change of unknown entries.
constexpr DWORD kCbChanges = 16 * 1024;

// The names of the folder's entries that changed or hold what changed: the
// first part of each reported path ("Fotos" for "Fotos\desktop.ini").
std::set<std::wstring> ChangedEntries(const std::vector<std::byte>& buffer, DWORD cbFilled) {
    std::set<std::wstring> entries;
    for (DWORD offset = 0; offset + sizeof(FILE_NOTIFY_INFORMATION) <= cbFilled;) {
        const auto* change = reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(buffer.data() + offset);
        const std::wstring path(change->FileName, change->FileNameLength / sizeof(wchar_t));
        entries.insert(path.substr(0, path.find(L'\\')));
        if (change->NextEntryOffset == 0)
            break;
        offset += change->NextEntryOffset;
    }
    return entries;
}

void Watch(const std::wstring& folder, const std::shared_ptr<win32::Handle>& stop,
           const FolderWatcher::ChangeReport& onChange) {
    const win32::Handle directory(win32::NullIfInvalid(CreateFileW(
        folder.c_str(), FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr)));
    const win32::Handle done(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!directory || !done)
        return;
    std::vector<std::byte> buffer(kCbChanges);
    for (;;) {
        OVERLAPPED overlapped{};
        overlapped.hEvent = done.get();
        // The folders inside count as well: a link's own files lie one level down.
        if (!ReadDirectoryChangesW(directory.get(), buffer.data(), kCbChanges, TRUE, kChanges, nullptr,
                                   &overlapped, nullptr))
            return;
        const HANDLE waitFor[2] = {stop->get(), done.get()};
        if (WaitForMultipleObjects(2, waitFor, FALSE, INFINITE) != WAIT_OBJECT_0 + 1) {
            // Stopped: the read is cancelled and waited for, as it writes into the buffer.
            CancelIoEx(directory.get(), &overlapped);
            DWORD cbIgnored = 0;
            GetOverlappedResult(directory.get(), &overlapped, &cbIgnored, TRUE);
            return;
        }
        DWORD cbFilled = 0;
        if (!GetOverlappedResult(directory.get(), &overlapped, &cbFilled, FALSE))
            return; // the folder went, or can be followed no more
        // Nothing filled: more changes than the buffer holds, entries unknown.
        onChange(ChangedEntries(buffer, cbFilled));
    }
}

} // namespace

std::unique_ptr<FolderWatcher> FolderWatcher::Start(const std::wstring& folder, ChangeReport onChange) {
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
