// The windows' side of making a folder link: what the create check found is
// put to the user in message boxes, in the order the main window has always
// used, and the folder link is made when nothing stands against it.
#pragma once

#include "L_SHTCUT.h"

#include <windows.h>

#include <cstddef>

// A refusal is shown (the caller puts the cursor into check.missing's line);
// every question must be answered Yes and every notice OK. True when nothing
// stands against making the folder link.
bool ConfirmCreate(HWND owner, const L_SHTCUT::CreateCheck& check);

// Shows why making the folder link failed, under failureTitle with the
// folder shortened to maxShownPathChars.
void ShowCreateFailure(HWND owner, const L_SHTCUT::CreateCheck& check, const L_SHTCUT::CreateResult& result,
                       const wchar_t* failureTitle, std::size_t maxShownPathChars);

// ConfirmCreate, then the folder link is made and a failure shown. True
// when the folder link was made.
bool CreateAsChecked(HWND owner, const L_SHTCUT::CreateCheck& check, const wchar_t* failureTitle,
                     std::size_t maxShownPathChars);
