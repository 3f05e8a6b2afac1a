#include "Clipboard.h"

#include <cstring>
#include <memory>

namespace host {
namespace {

struct ClipboardCloser {
    ~ClipboardCloser() { CloseClipboard(); }
};

struct GlobalFreer {
    void operator()(HGLOBAL memory) const noexcept { GlobalFree(memory); }
};
using GlobalMemory = std::unique_ptr<std::remove_pointer_t<HGLOBAL>, GlobalFreer>;

} // namespace

bool PutClipboardText(HWND owner, const std::wstring& text) {
    if (!OpenClipboard(owner))
        return false;
    const ClipboardCloser closer;
    if (!EmptyClipboard())
        return false;
    const size_t cbText = (text.size() + 1) * sizeof(wchar_t);
    GlobalMemory memory(GlobalAlloc(GMEM_MOVEABLE, cbText));
    if (!memory)
        return false;
    void* target = GlobalLock(memory.get());
    if (!target)
        return false;
    std::memcpy(target, text.c_str(), cbText);
    GlobalUnlock(memory.get());
    if (!SetClipboardData(CF_UNICODETEXT, memory.get()))
        return false;
    memory.release(); // the clipboard owns the memory now
    return true;
}

} // namespace host
