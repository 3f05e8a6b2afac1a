// The platform half of L_COMDLG: the common open and save dialogs in their
// wide-character form, so that a path keeps every character.
#include "L_COMDLG.h"

#include "L_PFADE.h"

#include <commdlg.h>
// commdlg.h maps ReplaceText to its find-and-replace dialog; ours is L_PFADE's.
#undef ReplaceText

#include <algorithm>

namespace L_COMDLG {
namespace {

constexpr std::size_t cchOpenFile = 512;
constexpr std::size_t cchOpenFiles = 8192;
constexpr std::size_t cchSaveFile = 256;

constexpr DWORD kOpenFlags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
constexpr DWORD kOpenFilesFlags = kOpenFlags | OFN_ALLOWMULTISELECT;
constexpr DWORD kSaveFlags = OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY;

const wchar_t* const kOpenTitle = L"Datei \u00F6ffnen :";
const wchar_t* const kSaveTitle = L"Datei speichern :";
const wchar_t* const kOpenFilesTitle = L"Dateien w\u00E4hlen :";

const wchar_t* OrNull(const std::wstring& text) {
    return text.empty() ? nullptr : text.c_str();
}

// cchFile characters for the answer plus the terminator; the initial file at
// the start, cut to fit. The rest is NUL: the dialog reads the initial name up
// to the first NUL, so any other fill would become part of the name it shows.
std::wstring FileBuffer(const std::wstring& initialFile, std::size_t cchFile) {
    std::wstring buffer(cchFile + 1, L'\0');
    std::copy_n(initialFile.begin(), std::min(initialFile.size(), cchFile), buffer.begin());
    return buffer;
}

// Size of the record without the fields added after the Windows 2000 places
// bar; every field this module sets lies within it.
OPENFILENAMEW Record(const FileDialogRequest& request, std::wstring& buffer, DWORD flags) {
    OPENFILENAMEW record{};
    record.lStructSize = OPENFILENAME_SIZE_VERSION_400W;
    record.hwndOwner = request.Owner;
    record.lpstrFilter = OrNull(request.Filter);
    record.nFilterIndex = static_cast<DWORD>(std::max<std::int32_t>(request.FilterIndex, 0));
    record.lpstrFile = buffer.data();
    record.nMaxFile = static_cast<DWORD>(buffer.size());
    record.lpstrInitialDir = OrNull(request.InitialDir);
    record.lpstrTitle = OrNull(request.Title);
    record.Flags = flags;
    return record;
}

// The answer of a single-file dialog ends at its first NUL; after Cancel or a
// failure the buffer may hold anything (a too-small buffer receives a size),
// so the request then keeps its cleaned initial name.
void StoreAnswer(FileDialogRequest& request, BOOL confirmed, const std::wstring& buffer, bool wholeBuffer,
                 std::size_t cchFile) {
    if (!confirmed) {
        request.FileName = TrimBuffer(request.InitialFile.substr(0, cchFile));
        return;
    }
    request.FileName = TrimBuffer(wholeBuffer ? buffer : std::wstring(buffer.c_str()));
}

// Steps shared by the three drivers: default title (written back), filter,
// start folder with backslashes (written back), owner and default extension.
FileDialogRequest PrepareRequest(HWND owner, const std::wstring& fileTypes, const std::wstring& extensions,
                                 std::wstring& caption, const wchar_t* defaultTitle, std::wstring& initialDir,
                                 DialogFilter& filter) {
    if (caption.empty())
        caption = FormatText(defaultTitle, {});
    filter = BuildFilter(fileTypes, extensions);
    L_PFADE::ReplaceText(initialDir, L"/", L"\\", L_PFADE::CompareExact);

    FileDialogRequest request;
    request.Owner = owner;
    request.Filter = filter.filter;
    request.FilterIndex = filter.filterIndex;
    request.Title = caption;
    request.InitialDir = initialDir;
    request.DefaultExt = FirstExtension(extensions);
    return request;
}

} // namespace

std::int32_t DlgOpenFile(FileDialogRequest& request) {
    std::wstring buffer = FileBuffer(request.InitialFile, cchOpenFile);
    OPENFILENAMEW record = Record(request, buffer, kOpenFlags);
    const BOOL confirmed = GetOpenFileNameW(&record);
    StoreAnswer(request, confirmed, buffer, false, cchOpenFile);
    return confirmed ? 1 : 0;
}

std::int32_t DlgOpenFiles(FileDialogRequest& request) {
    std::wstring buffer = FileBuffer(request.InitialFile, cchOpenFiles);
    OPENFILENAMEW record = Record(request, buffer, kOpenFilesFlags);
    const BOOL confirmed = GetOpenFileNameW(&record);
    // Several names come back as folder NUL name NUL name ...: keep them all.
    StoreAnswer(request, confirmed, buffer, true, cchOpenFiles);
    return confirmed ? 1 : 0;
}

std::int32_t DlgSaveFile(FileDialogRequest& request) {
    std::wstring buffer = FileBuffer(request.InitialFile, cchSaveFile);
    OPENFILENAMEW record = Record(request, buffer, kSaveFlags);
    record.lpstrDefExt = OrNull(request.DefaultExt);
    const BOOL confirmed = GetSaveFileNameW(&record);
    StoreAnswer(request, confirmed, buffer, false, cchSaveFile);
    if (confirmed)
        request.FilterIndex = static_cast<std::int32_t>(record.nFilterIndex);
    return confirmed ? 1 : 0;
}

std::wstring ShowOpenDialog(HWND owner, const std::wstring& fileTypes, const std::wstring& extensions,
                            std::wstring& caption, std::wstring& initialDir, std::wstring& fileName,
                            std::int32_t filterIndex) {
    DropDotName(fileName);
    DropDotName(initialDir);
    DialogFilter filter;
    FileDialogRequest request =
        PrepareRequest(owner, fileTypes, extensions, caption, kOpenTitle, initialDir, filter);
    if (filterIndex >= 1 && filterIndex <= filter.typeCount + 1)
        request.FilterIndex = filterIndex;
    request.InitialFile = fileName;
    return DlgOpenFile(request) ? request.FileName : std::wstring();
}

std::wstring ShowSaveDialog(HWND owner, const std::wstring& fileTypes, const std::wstring& extensions,
                            std::wstring& caption, std::wstring& initialDir, std::wstring& fileName) {
    DropDotName(fileName);
    DropDotName(initialDir);
    DialogFilter filter;
    FileDialogRequest request =
        PrepareRequest(owner, fileTypes, extensions, caption, kSaveTitle, initialDir, filter);
    request.InitialFile = fileName;
    return DlgSaveFile(request) ? request.FileName : std::wstring();
}

std::int32_t ShowOpenFilesDialog(HWND owner, std::vector<std::wstring>& files, const std::wstring& fileTypes,
                                 const std::wstring& extensions, std::wstring& caption,
                                 std::wstring& initialDir) {
    files.clear();
    DialogFilter filter;
    FileDialogRequest request =
        PrepareRequest(owner, fileTypes, extensions, caption, kOpenFilesTitle, initialDir, filter);
    if (!DlgOpenFiles(request))
        return 0;
    return ParseMultiSelect(request.FileName, files);
}

} // namespace L_COMDLG
