#include "LinkState.h"

#include <cwctype>

ShownState WorkingState(const std::wstring& word) {
    return {RowState::Checking, word, {}};
}

ShownState DamagedState(const std::wstring& fault) {
    // What is damaged, said after the state word elsewhere, is a sentence of its own here.
    std::wstring cause = fault;
    if (!cause.empty()) {
        cause[0] = static_cast<wchar_t>(std::towupper(cause[0]));
        if (cause.back() != L'.')
            cause += L'.';
    }
    return {RowState::Damaged, kWordDamaged, cause};
}

ShownState StateOf(const LinkCheck& check) {
    switch (check.condition) {
    case LinkCondition::NoFolderLink:
        return {RowState::NoFolderLink, check.word, check.cause};
    case LinkCondition::Damaged:
        return DamagedState(check.cause);
    case LinkCondition::Reachable:
        return {RowState::Reachable, check.word, check.cause};
    case LinkCondition::NotAnswering:
        return {RowState::NotAnswering, check.word, check.cause};
    case LinkCondition::Unreachable:
        return {RowState::Unreachable, check.word, check.cause};
    }
    return {RowState::Unreachable, check.word, check.cause};
}

ShownState ResultState(const ShownState& before, const std::wstring& result) {
    if (before.state == RowState::Checking)
        return {RowState::Checking, result.substr(0, result.find(L':')), result};
    return {before.state, before.word, result};
}
