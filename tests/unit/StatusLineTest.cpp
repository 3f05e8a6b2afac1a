#include "StatusLine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct CountsCase {
    const char* name;
    std::vector<RowState> states;
    const wchar_t* text;
};

using S = RowState;
const CountsCase kCounts[] = {
    {"empty folder", {}, L"Keine Ordnerverkn\u00FCpfungen"},
    {"one", {S::Reachable}, L"1 Ordnerverkn\u00FCpfung: 1 erreichbar"},
    {"settled, in the states' order",
     {S::Damaged, S::Reachable, S::Unreachable, S::Reachable},
     L"4 Ordnerverkn\u00FCpfungen: 2 erreichbar, 1 nicht erreichbar, 1 besch\u00E4digt"},
    {"checks running",
     {S::Checking, S::NotAnswering, S::Checking, S::NoFolderLink, S::NotAnswering},
     L"5 Ordnerverkn\u00FCpfungen: 2 antworten nicht, keine Ordnerverkn\u00FCpfung mehr: 1, "
     L"wird gepr\u00FCft: 2"},
    {"one not answering", {S::NotAnswering}, L"1 Ordnerverkn\u00FCpfung: 1 antwortet nicht"},
};

} // namespace

TEST(StatusLine, CountsEachStateShown) {
    for (const CountsCase& c : kCounts)
        EXPECT_EQ(CountsText(c.states), c.text) << c.name;
}
