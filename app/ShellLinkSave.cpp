#include "ShellLinkSave.h"

#include "ShellLinkFile.h"

#include <windows.h>

#include <objbase.h>
#include <shlobj.h>

#include <memory>
#include <utility>

namespace {

struct FileCloser {
    void operator()(HANDLE h) const noexcept { CloseHandle(h); }
};
using FileHandle = std::unique_ptr<std::remove_pointer_t<HANDLE>, FileCloser>;

// The ANSI fields of a link are read in the system code page; a character
// without a code there becomes "?" (no best-fit look-alike) and the link then
// carries the Unicode form as well.
ShellLinkFile::AnsiText ToAnsiCodePage(std::wstring_view text) {
    ShellLinkFile::AnsiText ansi;
    if (text.empty())
        return ansi;
    const int cchText = static_cast<int>(text.size());
    const int cbNeeded =
        WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), cchText, nullptr, 0, nullptr, nullptr);
    if (cbNeeded <= 0) {
        ansi.exact = false;
        return ansi;
    }
    ansi.bytes.resize(static_cast<std::size_t>(cbNeeded));
    BOOL usedDefault = FALSE;
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), cchText, ansi.bytes.data(), cbNeeded,
                        nullptr, &usedDefault);
    ansi.exact = !usedDefault;
    return ansi;
}

// What the platform knows of a local target: its drive's type, serial number
// and label, and its own attributes. Nothing is asked about a network path,
// so an unreachable server never holds the caller up.
ShellLinkFile::Target DescribeTarget(const std::wstring& targetPath) {
    ShellLinkFile::Target target;
    target.path = targetPath;
    if (ShellLinkFile::KindOf(targetPath) != ShellLinkFile::PathKind::LocalDrive)
        return target;

    const std::wstring root = targetPath.substr(0, 2) + L"\\";
    target.volume.driveType = GetDriveTypeW(root.c_str());
    // An empty removable drive must not stop the save with the system's
    // "no disk" box: the facts it cannot give are simply left out.
    DWORD previousMode = 0;
    const bool quiet = SetThreadErrorMode(SEM_FAILCRITICALERRORS, &previousMode);
    wchar_t label[MAX_PATH + 1]{};
    DWORD serialNumber = 0;
    if (GetVolumeInformationW(root.c_str(), label, MAX_PATH + 1, &serialNumber, nullptr, nullptr, nullptr,
                              0)) {
        target.volume.serialNumber = serialNumber;
        target.volume.label = label;
    }
    if (const DWORD attributes = GetFileAttributesW(targetPath.c_str());
        attributes != INVALID_FILE_ATTRIBUTES)
        target.fileAttributes = attributes;
    if (quiet)
        SetThreadErrorMode(previousMode, nullptr);
    return target;
}

// An interface pointer released by the scope that holds it.
template <class T> class ComPtr {
public:
    ComPtr() = default;
    ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ~ComPtr() {
        if (p_)
            p_->Release();
    }
    T* operator->() const { return p_; }
    T* get() const { return p_; }
    void** put() { return reinterpret_cast<void**>(&p_); }

private:
    T* p_ = nullptr;
};

struct CoTaskMemDeleter {
    void operator()(void* p) const noexcept { CoTaskMemFree(p); }
};

// A new shell link object; empty when COM or the shell cannot give one.
ComPtr<IShellLinkW> NewShellLink() {
    ComPtr<IShellLinkW> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.put())))
        return {};
    return link;
}

// Whether the link file names targetPath exactly: its item, read back by a
// fresh shell link object, has targetPath as its address.
bool ReadsBackAs(const std::wstring& linkPath, const std::wstring& targetPath) {
    ComPtr<IShellLinkW> link = NewShellLink();
    ComPtr<IPersistFile> file;
    if (!link.get() || FAILED(link->QueryInterface(IID_IPersistFile, file.put())) ||
        FAILED(file->Load(linkPath.c_str(), STGM_READ)))
        return false;
    PIDLIST_ABSOLUTE rawItem = nullptr;
    if (link->GetIDList(&rawItem) != S_OK || !rawItem)
        return false;
    const std::unique_ptr<ITEMIDLIST_ABSOLUTE, CoTaskMemDeleter> item(rawItem);
    PWSTR rawName = nullptr;
    if (FAILED(SHGetNameFromIDList(item.get(), SIGDN_URL, &rawName)) || !rawName)
        return false;
    const std::unique_ptr<wchar_t, CoTaskMemDeleter> name(rawName);
    return targetPath == name.get();
}

// The shell's own link to targetPath, kept only when it reads back as
// targetPath; otherwise nothing of it is left behind.
bool SaveThroughShell(const std::wstring& linkPath, const std::wstring& targetPath) {
    ComPtr<IShellLinkW> link = NewShellLink();
    ComPtr<IPersistFile> file;
    if (!link.get() || FAILED(link->SetPath(targetPath.c_str())) ||
        FAILED(link->QueryInterface(IID_IPersistFile, file.put())) ||
        FAILED(file->Save(linkPath.c_str(), TRUE)))
        return false;
    if (ReadsBackAs(linkPath, targetPath))
        return true;
    DeleteFileW(linkPath.c_str());
    return false;
}

bool WriteLinkFile(const std::wstring& linkPath, const std::wstring& targetPath);

} // namespace

bool SaveShellLink(const std::wstring& linkPath, const std::wstring& targetPath) {
    // An address such as ftp://host/dir is stored by the shell as an item of
    // its URL namespace, whose layout is not documented: let the shell write
    // it where it can, and keep the result only when it reads back as given.
    if (ShellLinkFile::KindOf(targetPath) == ShellLinkFile::PathKind::Other &&
        SaveThroughShell(linkPath, targetPath))
        return true;
    return WriteLinkFile(linkPath, targetPath);
}

namespace {

bool WriteLinkFile(const std::wstring& linkPath, const std::wstring& targetPath) {
    const auto bytes = ShellLinkFile::Serialize(DescribeTarget(targetPath), ToAnsiCodePage);
    if (!bytes) {
        SetLastError(ERROR_BAD_PATHNAME);
        return false;
    }

    HANDLE h = CreateFileW(linkPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                           nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    FileHandle file(h);
    DWORD cbWritten = 0;
    const bool written =
        WriteFile(file.get(), bytes->data(), static_cast<DWORD>(bytes->size()), &cbWritten, nullptr) &&
        cbWritten == bytes->size();
    const bool closed = CloseHandle(file.release());
    if (written && closed)
        return true;
    // A truncated link would point somewhere else or nowhere. The caller
    // learns why the write failed, not how the removal went.
    const DWORD error = GetLastError();
    DeleteFileW(linkPath.c_str());
    SetLastError(error);
    return false;
}

} // namespace
