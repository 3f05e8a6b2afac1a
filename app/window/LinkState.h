// What the manager window shows of a folder link: the picture of its row,
// its state word in the column "Zustand" (the fixed words of /check /all,
// or what is being done with it) and the cause in "Ursache".
#pragma once

#include "LinkCheck.h"
#include "RowState.h"

#include <string>

// While the source is asked.
inline constexpr wchar_t kStateChecking[] = L"wird gepr\u00FCft";

struct ShownState {
    RowState state = RowState::Checking;
    std::wstring word;
    std::wstring cause;
};

// While something is done with the folder link (word: kStateChecking,
// "wird repariert"): nothing is known of it meanwhile.
ShownState WorkingState(const std::wstring& word);
// A folder link that the shell cannot follow, and what is damaged.
ShownState DamagedState(const std::wstring& fault);
// The state a check found: its word, and the cause where the word alone
// does not say what is wrong (a damaged folder link, a source that cannot
// be reached) or what answered.
ShownState StateOf(const LinkCheck& check);
// An action that failed ("nicht repariert: <why>"): the row keeps the
// picture and word of the state it had before, the result is its cause.
// From a state that is no result yet (a check that could not start), the
// word says so.
ShownState ResultState(const ShownState& before, const std::wstring& result);
