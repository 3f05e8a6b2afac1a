#include "Clipboard.h"

#include "Win32Holders.h"

#include <cstring>

namespace host {
namespace {

struct ClipboardCloser {
    ~ClipboardCloser() { CloseClipboard(); }
};

// A movable global block holding text and its terminating null; null when
// the platform has no memory for it.
win32::GlobalMemory GlobalCopyOf(const std::wstring& text) {
    const size_t cbText = (text.size() + 1) * sizeof(wchar_t);
    win32::GlobalMemory memory(GlobalAlloc(GMEM_MOVEABLE, cbText));
    const win32::ScopedGlobalLock lock(memory.get());
    if (!lock.data())
        return nullptr;
    std::memcpy(lock.data(), text.c_str(), cbText);
    return memory;
}

} // namespace

bool PutClipboardText(HWND owner, const std::wstring& text) {
    if (!OpenClipboard(owner))
        return false;
    const ClipboardCloser closer;
    if (!EmptyClipboard())
        return false;
    win32::GlobalMemory memory = GlobalCopyOf(text);
    if (!memory || !SetClipboardData(CF_UNICODETEXT, memory.get()))
        return false;
    memory.release(); // the clipboard owns the memory now
    return true;
}

} // namespace host
