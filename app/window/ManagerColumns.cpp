#include "ManagerColumns.h"

#include <windows.h>

#include <array>

const std::vector<host::ListViewColumn> kManagerColumns = {
    {L"Name", 150}, {L"Quelle", 200}, {L"Zustand", 110}, {L"Ursache", 600}, {L"Art", 75}};
const std::vector<int> kShownColumnOrder = {ColumnName, ColumnKind, ColumnSource, ColumnState, ColumnCause};

std::wstring KindName(std::optional<FolderLinkKind> kind) {
    if (!kind)
        return {};
    switch (*kind) {
    case FolderLinkKind::Local:
        return L"Ordner";
    case FolderLinkKind::Share:
        return L"Freigabe";
    case FolderLinkKind::Ftp:
        return L"FTP";
    case FolderLinkKind::WebFolder:
        return L"Webordner";
    }
    return {};
}

namespace {

// Texts as Windows' Explorer orders names: letters without regard to their
// case, numbers by their value. -1, 0 or 1.
int CompareTexts(const std::wstring& first, const std::wstring& second) {
    const int order = CompareStringEx(LOCALE_NAME_USER_DEFAULT, NORM_IGNORECASE | SORT_DIGITSASNUMBERS,
                                      first.c_str(), static_cast<int>(first.size()), second.c_str(),
                                      static_cast<int>(second.size()), nullptr, nullptr, 0);
    if (order == 0) // flags this system does not know: as Windows before 7 orders them
        return CompareStringOrdinal(first.c_str(), static_cast<int>(first.size()), second.c_str(),
                                    static_cast<int>(second.size()), TRUE) -
               CSTR_EQUAL;
    return order - CSTR_EQUAL;
}

// What is not known yet first, then the worst.
int Rank(RowState state) {
    constexpr std::array<RowState, kRowStateCount> kWorstFirst = {
        RowState::Checking,     RowState::Damaged,      RowState::Unreachable,
        RowState::NotAnswering, RowState::NoFolderLink, RowState::Reachable};
    for (std::size_t i = 0; i < kWorstFirst.size(); ++i)
        if (kWorstFirst[i] == state)
            return static_cast<int>(i);
    return kRowStateCount;
}

int CompareIn(const SortedRow& first, const SortedRow& second, int column) {
    switch (column) {
    case ColumnSource:
        return CompareTexts(first.source, second.source);
    case ColumnState:
        if (const int rank = Rank(first.shown.state) - Rank(second.shown.state))
            return rank;
        return CompareTexts(first.shown.word, second.shown.word);
    case ColumnCause:
        return CompareTexts(first.shown.cause, second.shown.cause);
    case ColumnKind:
        return CompareTexts(first.kind, second.kind);
    default:
        return CompareTexts(first.name, second.name);
    }
}

} // namespace

bool SortsBefore(const SortedRow& first, const SortedRow& second, int column) {
    for (const int by : {column, static_cast<int>(ColumnName), static_cast<int>(ColumnSource)})
        if (const int order = CompareIn(first, second, by))
            return order < 0;
    return false;
}
