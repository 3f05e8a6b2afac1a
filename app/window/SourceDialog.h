// The small window "Quelle ändern" of the manager: the input line for the
// source with its folder button, as the main window has it, prefilled with
// the folder link's source. "Ändern" runs the same create check and
// questions as the main window's "Erstellen"; the caller makes the folder
// link with the new source, which may ask a network server: off its
// window's thread.
#pragma once

#include "L_SHTCUT.h"

#include <windows.h>

#include <optional>
#include <string>

// Shows the window modal to owner until it is closed; the check of the new
// source for the folder link at folder, confirmed by the user, or nothing
// when the window was closed without one.
std::optional<L_SHTCUT::CreateCheck> AskForNewSource(HWND owner, const std::wstring& folder,
                                                     const std::wstring& source);

// The title of a message that the source was not changed.
extern const wchar_t kTitleSourceNotChanged[];
