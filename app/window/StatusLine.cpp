#include "StatusLine.h"

#include <array>

namespace {

// Per state, in the order they are named: the states of links as
// "4 erreichbar" (for one, and for more), the passing ones as
// "wird geprüft: 3".
struct Counted {
    RowState state;
    const wchar_t* one;
    const wchar_t* more;
    bool countFirst;
};
constexpr std::array<Counted, kRowStateCount> kCounted = {{
    {RowState::Reachable, L"erreichbar", L"erreichbar", true},
    {RowState::NotAnswering, L"antwortet nicht", L"antworten nicht", true},
    {RowState::Unreachable, L"nicht erreichbar", L"nicht erreichbar", true},
    {RowState::Damaged, L"besch\u00E4digt", L"besch\u00E4digt", true},
    {RowState::NoFolderLink, L"keine Ordnerverkn\u00FCpfung mehr", L"keine Ordnerverkn\u00FCpfung mehr",
     false},
    {RowState::Checking, L"wird gepr\u00FCft", L"wird gepr\u00FCft", false},
}};

} // namespace

std::wstring CountsText(const std::vector<RowState>& states) {
    if (states.empty())
        return L"Keine Ordnerverkn\u00FCpfungen";
    std::wstring text = std::to_wstring(states.size()) +
                        (states.size() == 1 ? L" Ordnerverkn\u00FCpfung" : L" Ordnerverkn\u00FCpfungen");
    const wchar_t* separator = L": ";
    for (const Counted& counted : kCounted) {
        std::size_t count = 0;
        for (RowState state : states)
            count += state == counted.state ? 1 : 0;
        if (count == 0)
            continue;
        const std::wstring number = std::to_wstring(count);
        const std::wstring words = count == 1 ? counted.one : counted.more;
        text += separator + (counted.countFirst ? number + L" " + words : words + L": " + number);
        separator = L", ";
    }
    return text;
}
