#include "ShellLinkSave.h"

#include "ShellLinkCheck.h"
#include "ShellLinkFile.h"
#include "ShellLinkLoad.h"
#include "WholeFile.h"
#include "Win32Holders.h"

#include <windows.h>

#include <objbase.h>
#include <shlobj.h>

namespace {

using ShellLinkFile::Source;
using ShellLinkFile::SourceKind;

// The longest path the wide file functions take, in characters.
constexpr DWORD cchLongestPath = 32768;

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
    if (WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), cchText, ansi.bytes.data(), cbNeeded,
                            nullptr, &usedDefault) != cbNeeded) {
        ansi.bytes.assign(text.size(), '?');
        usedDefault = TRUE;
    }
    ansi.exact = !usedDefault;
    return ansi;
}

std::uint64_t ValueOf(const FILETIME& t) {
    return static_cast<std::uint64_t>(t.dwHighDateTime) << 32 | t.dwLowDateTime;
}

// The item's times are the file system's UTC times in DOS form; a time DOS
// cannot hold (before 1980) is left empty.
ShellLinkFile::DosDateTime DosOf(const FILETIME& t) {
    WORD date = 0;
    WORD time = 0;
    if (!FileTimeToDosDateTime(&t, &date, &time))
        return {};
    return {date, time};
}

std::optional<WIN32_FIND_DATAW> FindEntry(const std::wstring& path) {
    WIN32_FIND_DATAW entry{};
    const win32::FindHandle search(win32::NullIfInvalid(FindFirstFileW(path.c_str(), &entry)));
    if (!search)
        return std::nullopt;
    return entry;
}

// The file system's number for the entry; 0 when it cannot be had.
std::uint64_t FileReferenceOf(const std::wstring& path) {
    const win32::Handle file(win32::NullIfInvalid(CreateFileW(
        path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr)));
    if (!file)
        return 0;
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(file.get(), &info))
        return 0;
    return static_cast<std::uint64_t>(info.nFileIndexHigh) << 32 | info.nFileIndexLow;
}

// What the platform knows of a local source: its drive's type, serial number
// and label, and of each folder along the path that exists its short name,
// attributes, times and file reference. Nothing is asked about a network
// path, so an unreachable server never holds the format's route up.
ShellLinkFile::LocalFacts DescribeLocal(const Source& source) {
    ShellLinkFile::LocalFacts facts;
    const std::wstring root = source.path.substr(0, 3);
    facts.volume.driveType = GetDriveTypeW(root.c_str());
    wchar_t label[MAX_PATH + 1]{};
    DWORD serialNumber = 0;
    if (GetVolumeInformationW(root.c_str(), label, MAX_PATH + 1, &serialNumber, nullptr, nullptr, nullptr,
                              0)) {
        facts.volume.serialNumber = serialNumber;
        facts.volume.label = label;
    }

    std::wstring path = root;
    std::optional<WIN32_FIND_DATAW> last;
    for (const std::wstring& name : ShellLinkFile::FolderNamesOf(source)) {
        path += (path.back() == L'\\' ? L"" : L"\\") + name;
        last = FindEntry(path);
        if (!last)
            break; // neither this folder nor any below it exists yet
        ShellLinkFile::FolderFacts folder;
        folder.shortName = last->cAlternateFileName;
        folder.attributes = last->dwFileAttributes;
        folder.created = DosOf(last->ftCreationTime);
        folder.accessed = DosOf(last->ftLastAccessTime);
        folder.modified = DosOf(last->ftLastWriteTime);
        folder.fileReference = FileReferenceOf(path);
        facts.folders.push_back(folder);
    }
    if (last && facts.folders.size() == ShellLinkFile::FolderNamesOf(source).size()) {
        facts.fileAttributes = last->dwFileAttributes;
        facts.creationTime = ValueOf(last->ftCreationTime);
        facts.accessTime = ValueOf(last->ftLastAccessTime);
        facts.writeTime = ValueOf(last->ftLastWriteTime);
    }
    return facts;
}

// A new shell link object; empty when COM or the shell cannot give one.
win32::ComPtr<IShellLinkW> NewShellLink() {
    win32::ComPtr<IShellLinkW> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.put())))
        return {};
    return link;
}

// What a fresh shell link object reads from the file; nothing when it cannot
// load it. A value it cannot give stays empty.
std::optional<ShellLinkFile::ShellReadBack> ReadBackThroughShell(const std::wstring& linkPath) {
    win32::ComPtr<IShellLinkW> link = NewShellLink();
    win32::ComPtr<IPersistFile> file;
    if (!link.get() || FAILED(link->QueryInterface(IID_IPersistFile, file.put())) ||
        FAILED(file->Load(linkPath.c_str(), STGM_READ)))
        return std::nullopt;
    ShellLinkFile::ShellReadBack readBack;
    std::wstring buffer(cchLongestPath, L'\0');
    if (link->GetPath(buffer.data(), static_cast<int>(buffer.size()), nullptr, SLGP_RAWPATH) == S_OK)
        readBack.rawPath = buffer.c_str();
    PIDLIST_ABSOLUTE rawItem = nullptr;
    if (link->GetIDList(&rawItem) != S_OK || !rawItem)
        return readBack;
    const win32::TaskMemory<ITEMIDLIST_ABSOLUTE> item(rawItem);
    if (SHGetPathFromIDListEx(item.get(), buffer.data(), cchLongestPath, GPFIDL_DEFAULT))
        readBack.itemIdListPath = buffer.c_str();
    PWSTR rawUrl = nullptr;
    if (SUCCEEDED(SHGetNameFromIDList(item.get(), SIGDN_URL, &rawUrl)) && rawUrl) {
        const win32::TaskMemory<wchar_t> url(rawUrl);
        readBack.itemUrl = url.get();
    }
    return readBack;
}

// The shell's own link to the source's recorded form, kept only when it
// holds the source as Windows follows it; otherwise nothing of it is left
// behind.
bool SaveThroughShell(const std::wstring& linkPath, const Source& source) {
    win32::ComPtr<IShellLinkW> link = NewShellLink();
    win32::ComPtr<IPersistFile> file;
    // SetPath gives S_FALSE for a target that does not exist and stores it all the same.
    if (!link.get() || FAILED(link->SetPath(source.path.c_str())) ||
        FAILED(link->QueryInterface(IID_IPersistFile, file.put())))
        return false;
    if (SUCCEEDED(file->Save(linkPath.c_str(), TRUE))) {
        const auto readBack = ReadBackThroughShell(linkPath);
        const auto records = ReadShellLink(linkPath);
        if (readBack && records && ShellLinkFile::KeepsShellLinkFile(source, *readBack, *records))
            return true;
    }
    DeleteFileW(linkPath.c_str());
    return false;
}

bool WriteFromFormat(const std::wstring& linkPath, const Source& source) {
    const ShellLinkFile::LocalFacts facts =
        source.kind == SourceKind::LocalDrive ? DescribeLocal(source) : ShellLinkFile::LocalFacts{};
    const auto bytes = ShellLinkFile::Serialize(source, facts, ToAnsiCodePage);
    if (!bytes) {
        SetLastError(ERROR_BAD_PATHNAME);
        return false;
    }
    return WriteWholeFile(linkPath, *bytes);
}

} // namespace

ShellLinkRoute SaveShellLink(const std::wstring& linkPath, const Source& source) {
    // The shell writes its file in place; it is written under a name of its
    // own beside linkPath and moved over it once it is kept.
    const std::wstring shellsFile = TemporaryNameBeside(linkPath);
    if (SaveThroughShell(shellsFile, source)) {
        if (MoveOverFile(shellsFile, linkPath))
            return ShellLinkRoute::Shell;
        const DWORD error = GetLastError();
        DeleteFileW(shellsFile.c_str());
        SetLastError(error);
        return ShellLinkRoute::NotWritten;
    }
    if (WriteFromFormat(linkPath, source))
        return ShellLinkRoute::Format;
    return ShellLinkRoute::NotWritten;
}
