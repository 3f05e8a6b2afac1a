// Drags a data object onto a window through the platform's own drag and
// drop loop (DoDragDrop): the cursor is put on the window, and a scripted
// drop source lets the loop track it for a few rounds and then drops. The
// loop finds the window's registered drop target itself, as it does for a
// user's drag. OLE must be initialised on the thread.
#pragma once

#include <objidl.h>
#include <string>
#include <vector>
#include <windows.h>

namespace droptest {

// A data object offering exactly one format: a file list (CF_HDROP, wide
// paths) or plain text (CF_UNICODETEXT). Created with one reference.
IDataObject* NewFileListObject(const std::vector<std::wstring>& paths);
IDataObject* NewTextObject(const std::wstring& text);
// A file list given as the raw bytes of its DROPFILES block.
IDataObject* NewFileListObjectFromBlock(const std::vector<unsigned char>& block);

struct DragResult {
    HRESULT hr = E_FAIL;            // what DoDragDrop answered
    DWORD effect = DROPEFFECT_NONE; // the effect it reported
};

// Drags data onto the centre of window (which must be visible and on top)
// and drops it there; the source offers the effects allowed.
DragResult DragAndDrop(HWND window, IDataObject* data,
                       DWORD allowed = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK);

} // namespace droptest
