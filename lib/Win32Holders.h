// Holders for what the platform hands out and wants back: each releases its
// resource with the call that belongs to it when it goes out of scope. None
// can be copied; the unique_ptr-based ones can be moved, so that a function
// can return one. Empty (null) means the platform gave nothing.
#pragma once

#include <windows.h>

#include <objbase.h>
#include <oleauto.h>

#include <memory>
#include <type_traits>
#include <utility>

namespace win32 {

// A kernel object such as an open file, closed with CloseHandle.
struct HandleCloser {
    void operator()(HANDLE handle) const noexcept { CloseHandle(handle); }
};
using Handle = std::unique_ptr<std::remove_pointer_t<HANDLE>, HandleCloser>;

// A search begun by FindFirstFileW, ended with FindClose.
struct FindCloser {
    void operator()(HANDLE search) const noexcept { FindClose(search); }
};
using FindHandle = std::unique_ptr<std::remove_pointer_t<HANDLE>, FindCloser>;

// An open registry key, closed with RegCloseKey.
struct RegistryKeyCloser {
    void operator()(HKEY key) const noexcept { RegCloseKey(key); }
};
using RegistryKey = std::unique_ptr<std::remove_pointer_t<HKEY>, RegistryKeyCloser>;

// CreateFileW and FindFirstFileW report failure as INVALID_HANDLE_VALUE,
// which a holder must not close: it becomes null.
inline HANDLE NullIfInvalid(HANDLE handle) {
    return handle == INVALID_HANDLE_VALUE ? nullptr : handle;
}

// A menu made by CreatePopupMenu that no window owns, destroyed with DestroyMenu.
struct MenuDestroyer {
    void operator()(HMENU menu) const noexcept { DestroyMenu(menu); }
};
using Menu = std::unique_ptr<std::remove_pointer_t<HMENU>, MenuDestroyer>;

// A pen, brush, font or bitmap, deleted with DeleteObject. It must no longer
// be selected into a device context then: declare the holder before the
// ScopedSelect that selects it.
template <class GdiHandle> struct GdiObjectDeleter {
    void operator()(GdiHandle object) const noexcept { DeleteObject(object); }
};
template <class GdiHandle>
using GdiObject = std::unique_ptr<std::remove_pointer_t<GdiHandle>, GdiObjectDeleter<GdiHandle>>;

// A device context made by CreateCompatibleDC, deleted with DeleteDC.
struct MemoryDcDeleter {
    void operator()(HDC dc) const noexcept { DeleteDC(dc); }
};
using MemoryDc = std::unique_ptr<std::remove_pointer_t<HDC>, MemoryDcDeleter>;

// The device context of a window (null: of the screen), from GetDC, given
// back with ReleaseDC.
class WindowDc {
public:
    explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDc() {
        if (dc_)
            ReleaseDC(window_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;

    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HWND window_;
    HDC dc_;
};

// The painting of a window in answer to WM_PAINT: BeginPaint for the scope,
// EndPaint when it ends. Declare it before any holder that selects into its
// device context, so that the selections are undone first. get() is null
// when BeginPaint gave no device context; there is then no paint to end.
class PaintDc {
public:
    explicit PaintDc(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
    ~PaintDc() {
        if (dc_)
            EndPaint(window_, &paint_);
    }
    PaintDc(const PaintDc&) = delete;
    PaintDc& operator=(const PaintDc&) = delete;

    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

// Selects an object into a device context and puts the one it replaced back
// when the scope ends. A null object or device context selects nothing.
class ScopedSelect {
public:
    ScopedSelect(HDC dc, HGDIOBJ object)
        : dc_(dc), previous_(dc && object ? SelectObject(dc, object) : nullptr) {}
    ~ScopedSelect() {
        if (previous_ && previous_ != HGDI_ERROR)
            SelectObject(dc_, previous_);
    }
    ScopedSelect(const ScopedSelect&) = delete;
    ScopedSelect& operator=(const ScopedSelect&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// Memory from GlobalAlloc, freed with GlobalFree unless released to a new
// owner (the clipboard).
struct GlobalFreer {
    void operator()(HGLOBAL memory) const noexcept { GlobalFree(memory); }
};
using GlobalMemory = std::unique_ptr<std::remove_pointer_t<HGLOBAL>, GlobalFreer>;

// A global block locked with GlobalLock for the scope, unlocked with
// GlobalUnlock. data() is null when the lock failed.
class ScopedGlobalLock {
public:
    explicit ScopedGlobalLock(HGLOBAL memory)
        : memory_(memory), data_(memory ? GlobalLock(memory) : nullptr) {}
    ~ScopedGlobalLock() {
        if (data_)
            GlobalUnlock(memory_);
    }
    ScopedGlobalLock(const ScopedGlobalLock&) = delete;
    ScopedGlobalLock& operator=(const ScopedGlobalLock&) = delete;

    void* data() const { return data_; }

private:
    HGLOBAL memory_;
    void* data_;
};

// Memory that a COM or shell call allocated for the caller (an item ID list,
// a display name), freed with CoTaskMemFree.
struct TaskMemoryFreer {
    void operator()(void* memory) const noexcept { CoTaskMemFree(memory); }
};
template <class T> using TaskMemory = std::unique_ptr<T, TaskMemoryFreer>;

// Memory from LocalAlloc, or that a call allocated with it for the caller
// (CommandLineToArgvW), freed with LocalFree.
struct LocalFreer {
    void operator()(void* memory) const noexcept { LocalFree(memory); }
};
template <class T> using LocalMemory = std::unique_ptr<T, LocalFreer>;

// A string the platform allocated for COM (SysAllocString), freed with SysFreeString.
struct BstrFreer {
    void operator()(BSTR text) const noexcept { SysFreeString(text); }
};
using Bstr = std::unique_ptr<OLECHAR, BstrFreer>;

// One reference to a COM interface, released by the scope that holds it.
template <class T> class ComPtr {
public:
    ComPtr() = default;
    // Takes over a reference the caller already holds.
    explicit ComPtr(T* adopted) : p_(adopted) {}
    ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) {
            reset();
            p_ = std::exchange(other.p_, nullptr);
        }
        return *this;
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ~ComPtr() { reset(); }

    T* operator->() const { return p_; }
    T* get() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    // For calls that return a new reference through a void** (CoCreateInstance,
    // QueryInterface); whatever was held before is released first.
    void** put() {
        reset();
        return reinterpret_cast<void**>(&p_);
    }
    void reset() {
        if (p_)
            std::exchange(p_, nullptr)->Release();
    }

private:
    T* p_ = nullptr;
};

} // namespace win32
