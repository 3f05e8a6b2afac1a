#include "LinkState.h"

std::wstring DamagedStateText(const std::wstring& fault) {
    return std::wstring(kWordDamaged) + L": " + fault;
}

std::wstring StateText(const LinkCheck& check) {
    switch (check.condition) {
    case LinkCondition::Damaged:
        return DamagedStateText(check.cause);
    case LinkCondition::Unreachable:
        return check.word + L": " + check.cause;
    case LinkCondition::NoFolderLink:
    case LinkCondition::Reachable:
    case LinkCondition::NotAnswering:
        break;
    }
    return check.word;
}
