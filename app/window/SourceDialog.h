// The small window "Quelle ändern" of the manager: the input line for the
// source with its folder button, as the main window has it, prefilled with
// the folder link's source. "Ändern" runs the same create check and
// questions as the main window's "Erstellen", then makes the folder link
// again with the new source; failures are named in message boxes as there.
#pragma once

#include <windows.h>

#include <string>

// Shows the window modal to owner until it is closed; true when the folder
// link at folder was made anew.
bool ChangeSource(HWND owner, const std::wstring& folder, const std::wstring& source);
