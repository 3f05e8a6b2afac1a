// The columns of the manager's list: what each shows, its width at the first
// start, where it stands, and the order its rows sort in.
#pragma once

#include "LinkState.h"
#include "ListView.h"
#include "SourceKind.h"

#include <optional>
#include <string>
#include <vector>

// By index, as the list holds them and their widths are stored: a column
// added later comes last here, wherever it is shown.
enum ManagerColumn { ColumnName, ColumnSource, ColumnState, ColumnCause, ColumnKind, ColumnCount };

// Captions and widths at 96 dots per inch, by index: together as wide as
// the list at the window's first size, so that nothing is cut then.
extern const std::vector<host::ListViewColumn> kManagerColumns;
// The indexes from left to right as the list shows them. The last one takes
// the width the others leave.
extern const std::vector<int> kShownColumnOrder;

// "Ordner", "Freigabe", "FTP", "Webordner"; empty for no source.
std::wstring KindName(std::optional<FolderLinkKind> kind);

// What a row is sorted by.
struct SortedRow {
    const std::wstring& name;
    const std::wstring& source;
    const std::wstring& kind; // its KindName
    const ShownState& shown;
};
// Whether first comes before second in column's ascending order. The state
// sorts rows still being checked first, then by what is wrong, worst first; every column then by name and
// source, so that the order is the same whenever it is made.
bool SortsBefore(const SortedRow& first, const SortedRow& second, int column);
