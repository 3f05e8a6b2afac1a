// Folder browser. ProperCaseName is portable; BrowseForFolder shows the
// platform's browser and exists only in the Windows build.
#pragma once

#include <cstdint>
#include <string>

#ifdef _WIN32
#include <windows.h>
#endif

namespace L_FOLDER {

// Recases a name: lower case first when lowerFirst, then the first character
// and every character after a separator (blank, "_", "-", "\", ...) in upper
// case. A name enclosed in braces, such as a class id, comes back unchanged.
std::wstring ProperCaseName(const std::wstring& name, bool lowerFirst);

#ifdef _WIN32
// Shows the folder browser at initialPath and returns the chosen folder ending
// in "\", or the empty string after Cancel or for a choice without a
// file-system path. One trailing separator is removed from initialPath and the
// shortened text written back. statusText != 0 shows the selected path in the
// browser's status line; namesAsIs false returns the path in upper case;
// newStyle selects the resizable browser.
//
// The calling thread must have initialised COM as a single-threaded apartment
// (OleInitialize or CoInitializeEx with COINIT_APARTMENTTHREADED); that is the
// business of the thread's owner, so it is not done here. The new-style
// browser fails on a thread in the multithreaded apartment.
std::wstring BrowseForFolder(HWND owner, const std::wstring& title, std::wstring& initialPath,
                             std::int32_t statusText, bool namesAsIs, bool newStyle);
#endif

} // namespace L_FOLDER
