// The clipboard of the platform, as far as the controls use it.
#pragma once

#include <string>
#include <windows.h>

namespace host {

// Empties the clipboard, then puts text on it as plain Unicode text.
// The clipboard is emptied first, so a copy that fails half-way leaves it
// empty; false when any step failed.
bool PutClipboardText(HWND owner, const std::wstring& text);

} // namespace host
