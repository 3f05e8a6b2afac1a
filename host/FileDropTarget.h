// Accepts dropped file lists on one window. The target registers itself
// with the platform's OLE drag and drop (RegisterDragDrop) for the window
// and raises onDropFiles with the dropped paths, as the source delivered
// them. Only the file-drop format (CF_HDROP) is taken; a drag that carries
// no file list, such as plain text, is refused while it is dragged over the
// window and ignored if it is dropped all the same.
//
// Registering needs OLE initialised on the thread (OleInitialize): without
// it the window accepts no drops and Register gives null. The owner ends
// the registration while the window still exists: once the window is gone
// the platform can no longer revoke it.
#pragma once

#include "Win32Holders.h"

#include <functional>
#include <memory>
#include <objidl.h>
#include <string>
#include <vector>
#include <windows.h>

namespace host {

using DropFilesHandler = std::function<void(const std::vector<std::wstring>& paths)>;

class FileDropTarget {
public:
    // Null when the platform refused the registration (OLE not initialised,
    // the window already has a drop target, no window).
    static std::unique_ptr<FileDropTarget> Register(HWND window, DropFilesHandler onDropFiles);
    // Revokes the registration; a drag still in progress over the window
    // then finds no handler and drops nothing.
    ~FileDropTarget();
    FileDropTarget(const FileDropTarget&) = delete;
    FileDropTarget& operator=(const FileDropTarget&) = delete;

    // The paths of a file list (CF_HDROP) in a data object, in list order;
    // empty when the object carries none. A path that cannot be read is left
    // out.
    static std::vector<std::wstring> FilesOf(IDataObject* data);

private:
    class Target;
    FileDropTarget(HWND window, win32::ComPtr<Target> target);

    HWND window_;
    win32::ComPtr<Target> target_;
};

} // namespace host
