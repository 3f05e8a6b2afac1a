// What the manager window shows of a folder link in its column "Zustand".
#pragma once

#include "LinkCheck.h"

#include <string>

// While the source is asked.
inline constexpr wchar_t kStateChecking[] = L"wird gepr\u00FCft";

// "beschädigt: <what>" for a folder link that the shell cannot follow.
std::wstring DamagedStateText(const std::wstring& fault);

// The column's text for a check: its state word, followed by the cause where
// the word alone does not say what is wrong (a damaged folder link, a source
// that cannot be reached).
std::wstring StateText(const LinkCheck& check);
