#include "DropTestSupport.h"

#include <ole2.h>
#include <shlobj.h>

#include <cstring>

namespace droptest {
namespace {

class DataObject final : public IDataObject {
public:
    DataObject(CLIPFORMAT format, HGLOBAL memory) : format_(format), memory_(memory) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (!object)
            return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IDataObject) {
            *object = static_cast<IDataObject*>(this);
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

    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
        if (!format || !medium)
            return E_INVALIDARG;
        const HRESULT hr = QueryGetData(format);
        if (hr != S_OK)
            return hr;
        // The receiver owns the copy it gets.
        const SIZE_T cb = GlobalSize(memory_);
        HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, cb);
        if (!copy)
            return E_OUTOFMEMORY;
        void* to = GlobalLock(copy);
        const void* from = GlobalLock(memory_);
        std::memcpy(to, from, cb);
        GlobalUnlock(memory_);
        GlobalUnlock(copy);
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = copy;
        medium->pUnkForRelease = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
        if (!format)
            return E_INVALIDARG;
        if (format->cfFormat != format_)
            return DV_E_FORMATETC;
        if (!(format->tymed & TYMED_HGLOBAL))
            return DV_E_TYMED;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
        if (out)
            out->ptd = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** out) override {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        if (direction != DATADIR_GET)
            return E_NOTIMPL;
        FORMATETC offered{format_, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        return SHCreateStdEnumFmtEtc(1, &offered, out);
    }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

private:
    ~DataObject() { GlobalFree(memory_); }

    ULONG references_ = 1;
    CLIPFORMAT format_;
    HGLOBAL memory_;
};

// Tracks for a few rounds, so that the target sees DragEnter and DragOver,
// then drops.
class ScriptedDropSource final : public IDropSource {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (!object)
            return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IDropSource) {
            *object = static_cast<IDropSource*>(this);
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    // Lives on the stack of DragAndDrop, which outlasts the loop.
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escapePressed, DWORD) override {
        if (escapePressed)
            return DRAGDROP_S_CANCEL;
        return ++rounds_ < 3 ? S_OK : DRAGDROP_S_DROP;
    }
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }

private:
    int rounds_ = 0;
};

HGLOBAL GlobalWith(const void* bytes, SIZE_T cb) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, cb);
    if (!memory)
        return nullptr;
    std::memcpy(GlobalLock(memory), bytes, cb);
    GlobalUnlock(memory);
    return memory;
}

} // namespace

IDataObject* NewFileListObject(const std::vector<std::wstring>& paths) {
    // DROPFILES, then the wide paths, each ended by a null, then one more null.
    std::wstring list;
    for (const std::wstring& path : paths) {
        list += path;
        list += L'\0';
    }
    list += L'\0';
    std::vector<unsigned char> block(sizeof(DROPFILES) + list.size() * sizeof(wchar_t));
    DROPFILES header{};
    header.pFiles = sizeof(DROPFILES);
    header.fWide = TRUE;
    std::memcpy(block.data(), &header, sizeof header);
    std::memcpy(block.data() + sizeof header, list.data(), list.size() * sizeof(wchar_t));
    return NewFileListObjectFromBlock(block);
}

IDataObject* NewFileListObjectFromBlock(const std::vector<unsigned char>& block) {
    HGLOBAL memory = GlobalWith(block.data(), block.size());
    return memory ? new DataObject(CF_HDROP, memory) : nullptr;
}

IDataObject* NewTextObject(const std::wstring& text) {
    HGLOBAL memory = GlobalWith(text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    return memory ? new DataObject(CF_UNICODETEXT, memory) : nullptr;
}

DragResult DragAndDrop(HWND window, IDataObject* data, DWORD allowed) {
    RECT rect{};
    GetWindowRect(window, &rect);
    SetCursorPos((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    ScriptedDropSource source;
    DragResult result;
    result.hr = DoDragDrop(data, &source, allowed, &result.effect);
    return result;
}

} // namespace droptest
