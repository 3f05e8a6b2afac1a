// The platform half of L_FOLDER: the shell's folder browser, wide-character
// calls throughout so that a path keeps every character.
#include "L_FOLDER.h"

#include "L_PFADE.h"
#include "LetterCase.h"
#include "Win32Holders.h"

#include <shlobj.h>

namespace L_FOLDER {
namespace {

// lpData is the initial selection of this browser, owned by BrowseForFolder
// for as long as the browser is open.
int CALLBACK BrowseCallback(HWND browser, UINT message, LPARAM lParam, LPARAM lpData) noexcept {
    switch (message) {
    case BFFM_INITIALIZED: {
        const auto* initialSelection = reinterpret_cast<const std::wstring*>(lpData);
        // wParam TRUE: lParam is a path, not an item list. A path that does
        // not exist leaves the browser's default selection. Wine's browser
        // answers FALSE when its walk down the tree missed the path, which
        // happens with the first browser of a process; the second walk runs
        // on the expanded tree and finds it.
        const auto path = reinterpret_cast<LPARAM>(initialSelection->c_str());
        if (!SendMessageW(browser, BFFM_SETSELECTIONW, TRUE, path))
            SendMessageW(browser, BFFM_SETSELECTIONW, TRUE, path);
        break;
    }
    case BFFM_SELCHANGED: {
        wchar_t path[MAX_PATH]{};
        // Items without a file-system path (Control Panel, ...) leave the
        // status line as it was.
        if (SHGetPathFromIDListW(reinterpret_cast<PCIDLIST_ABSOLUTE>(lParam), path))
            SendMessageW(browser, BFFM_SETSTATUSTEXTW, 0, reinterpret_cast<LPARAM>(path));
        break;
    }
    default:
        break;
    }
    return 0;
}

std::wstring TrimBlanks(const std::wstring& text) {
    const auto first = text.find_first_not_of(L' ');
    if (first == std::wstring::npos)
        return {};
    return text.substr(first, text.find_last_not_of(L' ') - first + 1);
}

} // namespace

std::wstring BrowseForFolder(HWND owner, const std::wstring& title, std::wstring& initialPath,
                             std::int32_t statusText, bool namesAsIs, bool newStyle) {
    const std::wstring trimmedTitle = TrimBlanks(title);
    initialPath = L_PFADE::RemoveBackslash(initialPath);
    const std::wstring initialSelection = initialPath;

    BROWSEINFOW info{};
    info.hwndOwner = owner;
    info.pidlRoot = nullptr; // start at the desktop
    info.pszDisplayName = nullptr;
    info.lpszTitle = trimmedTitle.c_str();
    info.ulFlags =
        BIF_RETURNONLYFSDIRS | (statusText != 0 ? BIF_STATUSTEXT : 0u) | (newStyle ? BIF_NEWDIALOGSTYLE : 0u);
    info.lpfn = BrowseCallback;
    info.lParam = reinterpret_cast<LPARAM>(&initialSelection);

    const win32::TaskMemory<ITEMIDLIST> chosen(SHBrowseForFolderW(&info));
    if (!chosen)
        return {}; // cancelled

    wchar_t buffer[MAX_PATH]{};
    if (!SHGetPathFromIDListW(chosen.get(), buffer))
        return {}; // a choice without a file-system path
    std::wstring path = L_PFADE::AddBackslash(buffer);
    if (!namesAsIs)
        path = LetterCase::ToUpper(path);
    return path;
}

} // namespace L_FOLDER
