#include "FileDropTarget.h"

#include "Win32Holders.h"

#include <ole2.h>
#include <shlobj.h>

#include <atomic>
#include <cstring>

namespace host {
namespace {

FORMATETC FileListFormat() {
    return FORMATETC{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
}

bool CarriesFileList(IDataObject* data) {
    FORMATETC format = FileListFormat();
    return data && data->QueryGetData(&format) == S_OK;
}

// A file list is only read, never moved: copy when the source allows it,
// else a link, else nothing.
DWORD EffectAfterDrop(DWORD allowed) {
    if (allowed & DROPEFFECT_COPY)
        return DROPEFFECT_COPY;
    return allowed & DROPEFFECT_LINK;
}

// While dragging, a source that offers only "move" is answered "move": with
// no effect the platform would never deliver the drop. The drop itself then
// answers no effect, so the source moves (deletes) nothing.
DWORD EffectWhileDragging(DWORD allowed) {
    const DWORD effect = EffectAfterDrop(allowed);
    return effect != DROPEFFECT_NONE ? effect : allowed & DROPEFFECT_MOVE;
}

struct MediumHolder {
    STGMEDIUM medium{};
    bool held = false;
    ~MediumHolder() {
        if (held)
            ReleaseStgMedium(&medium);
    }
};

template <typename Char> std::vector<std::basic_string<Char>> SplitList(const Char* first, const Char* end) {
    // Strings follow one another, each ended by a null character; an empty
    // string ends the list. A list cut off by the end of the block ends there.
    std::vector<std::basic_string<Char>> items;
    const Char* p = first;
    while (p < end && *p != 0) {
        const Char* q = p;
        while (q < end && *q != 0)
            ++q;
        if (q == end)
            break;
        items.emplace_back(p, q);
        p = q + 1;
    }
    return items;
}

std::wstring WideFromAnsi(const std::string& s) {
    const int cch = MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
    if (cch <= 0)
        return {};
    std::wstring wide(static_cast<size_t>(cch), L'\0');
    MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), wide.data(), cch);
    return wide;
}

// Reads the DROPFILES block in one pass: asking the platform for item i
// (DragQueryFileW) walks the list from its start each time, which makes a
// drop of thousands of files quadratic.
std::vector<std::wstring> ParseDropFiles(HGLOBAL memory) {
    const SIZE_T cbBlock = GlobalSize(memory);
    const win32::ScopedGlobalLock lock(memory);
    if (!lock.data() || cbBlock < sizeof(DROPFILES))
        return {};
    const auto* header = static_cast<const DROPFILES*>(lock.data());
    if (header->pFiles < sizeof(DROPFILES) || header->pFiles >= cbBlock)
        return {};
    const auto* bytes = static_cast<const unsigned char*>(lock.data());
    const SIZE_T cbList = cbBlock - header->pFiles;
    if (header->fWide) {
        // Copied out: the offset of the list need not be aligned for wide characters.
        std::wstring list(cbList / sizeof(wchar_t), L'\0');
        std::memcpy(list.data(), bytes + header->pFiles, list.size() * sizeof(wchar_t));
        return SplitList(list.data(), list.data() + list.size());
    }
    const auto* first = reinterpret_cast<const char*>(bytes + header->pFiles);
    std::vector<std::wstring> paths;
    for (const std::string& ansi : SplitList(first, first + cbList)) {
        std::wstring wide = WideFromAnsi(ansi);
        if (!wide.empty())
            paths.push_back(std::move(wide));
    }
    return paths;
}

} // namespace

class FileDropTarget::Target final : public IDropTarget {
public:
    explicit Target(DropFilesHandler handler) : handler_(std::move(handler)) {}
    void Detach() { handler_ = nullptr; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (!object)
            return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IDropTarget) {
            *object = static_cast<IDropTarget*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0)
            delete this;
        return left;
    }

    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD, POINTL, DWORD* effect) override {
        if (!effect)
            return E_INVALIDARG;
        carriesFiles_ = CarriesFileList(data);
        *effect = carriesFiles_ ? EffectWhileDragging(*effect) : DROPEFFECT_NONE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL, DWORD* effect) override {
        if (!effect)
            return E_INVALIDARG;
        *effect = carriesFiles_ ? EffectWhileDragging(*effect) : DROPEFFECT_NONE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragLeave() override {
        carriesFiles_ = false;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD, POINTL, DWORD* effect) override {
        carriesFiles_ = false;
        if (!effect)
            return E_INVALIDARG;
        const DWORD allowed = *effect;
        *effect = DROPEFFECT_NONE;
        if (!CarriesFileList(data) || EffectWhileDragging(allowed) == DROPEFFECT_NONE)
            return S_OK;
        *effect = EffectAfterDrop(allowed);
        // The handler may revoke this target (the control ends); keep it.
        const DropFilesHandler handler = handler_;
        if (handler) {
            try {
                handler(FilesOf(data));
            } catch (...) {
                // Nothing may cross the platform's callback; the drop is lost.
                *effect = DROPEFFECT_NONE;
            }
        }
        return S_OK;
    }

private:
    ~Target() = default;

    std::atomic<ULONG> references_{1};
    DropFilesHandler handler_;
    bool carriesFiles_ = false;
};

std::unique_ptr<FileDropTarget> FileDropTarget::Register(HWND window, DropFilesHandler onDropFiles) {
    if (!window)
        return nullptr;
    win32::ComPtr<Target> target(new Target(std::move(onDropFiles)));
    if (FAILED(RegisterDragDrop(window, target.get())))
        return nullptr;
    return std::unique_ptr<FileDropTarget>(new FileDropTarget(window, std::move(target)));
}

FileDropTarget::FileDropTarget(HWND window, win32::ComPtr<Target> target)
    : window_(window), target_(std::move(target)) {}

FileDropTarget::~FileDropTarget() {
    RevokeDragDrop(window_);
    target_->Detach();
}

std::vector<std::wstring> FileDropTarget::FilesOf(IDataObject* data) {
    if (!CarriesFileList(data))
        return {};
    FORMATETC format = FileListFormat();
    MediumHolder holder;
    if (data->GetData(&format, &holder.medium) != S_OK)
        return {};
    holder.held = true;
    if (holder.medium.tymed != TYMED_HGLOBAL || !holder.medium.hGlobal)
        return {};
    return ParseDropFiles(holder.medium.hGlobal);
}

} // namespace host
