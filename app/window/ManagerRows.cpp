#include "ManagerWindow.h"

#include "Clipboard.h"
#include "ManagerColumns.h"
#include "Quoted.h"
#include "SourceKind.h"
#include "StatusLine.h"

#include <algorithm>

// What the rows show, their order and the status line.

namespace {

// The least width of the last column, which takes what the others leave.
constexpr int kLeastLastColumn = 120;

std::wstring NameOf(const std::wstring& path) {
    return path.substr(path.find_last_of(L'\\') + 1);
}

} // namespace

void ManagerWindow::AddRow(const FoundLink& link, std::vector<std::intptr_t>& toCheck) {
    const std::intptr_t tag = nextTag_++;
    Row& row = rows_[tag];
    row.path = link.path;
    row.name = NameOf(link.path);
    row.source = link.source;
    row.kind = KindName(SourceKindOf(link.source));
    row.managed = ManagedByPolicy(row.name);
    std::vector<std::wstring> texts(ColumnCount);
    texts[ColumnName] = row.name;
    texts[ColumnSource] = row.source;
    texts[ColumnKind] = ShownKind(row);
    lstLinks->addRow(texts, tag);
    ShowFound(tag, link, toCheck);
}

void ManagerWindow::SetSource(std::intptr_t tag, const std::wstring& source) {
    const auto found = rows_.find(tag);
    if (found == rows_.end())
        return;
    Row& row = found->second;
    row.source = source;
    row.kind = KindName(SourceKindOf(source));
    const int shown = lstLinks->findTag(tag);
    lstLinks->setText(shown, ColumnSource, source);
    lstLinks->setText(shown, ColumnKind, ShownKind(row));
    RowsChanged();
}

void ManagerWindow::SetState(std::intptr_t tag, const ShownState& state) {
    const auto found = rows_.find(tag);
    if (found == rows_.end())
        return;
    Row& row = found->second;
    row.shown = state;
    if (state.state != RowState::Checking)
        row.settled = state;
    const int shown = lstLinks->findTag(tag);
    lstLinks->setImage(shown, static_cast<int>(state.state));
    lstLinks->setText(shown, ColumnState, state.word);
    lstLinks->setText(shown, ColumnCause, state.cause);
    RowsChanged();
}

void ManagerWindow::SetResult(std::intptr_t tag, const std::wstring& result) {
    const auto found = rows_.find(tag);
    if (found != rows_.end())
        SetState(tag, ResultState(found->second.settled, result));
}

void ManagerWindow::RowsChanged() {
    if (refreshPosted_)
        return;
    // After whatever else waits: many states that come in together are
    // sorted and counted once.
    const auto target = form->postTarget();
    refreshPosted_ = target->post(target->generation(), [this] {
        refreshPosted_ = false;
        SortRows();
        ShowCounts();
        ShowSelectedCause();
    });
    if (!refreshPosted_) { // the window goes: nothing to show any more
        SortRows();
        ShowCounts();
    }
}

void ManagerWindow::SortRows() {
    if (sortColumn_ < 0)
        return;
    lstLinks->sortRows([this](std::intptr_t first, std::intptr_t second) {
        const Row& a = rows_[first];
        const Row& b = rows_[second];
        const SortedRow rowA{a.name, a.source, a.kind, a.shown};
        const SortedRow rowB{b.name, b.source, b.kind, b.shown};
        return sortDescending_ ? SortsBefore(rowB, rowA, sortColumn_) : SortsBefore(rowA, rowB, sortColumn_);
    });
}

void ManagerWindow::ShowCounts() {
    std::vector<RowState> states;
    for (const auto& [tag, row] : rows_)
        states.push_back(row.shown.state);
    lblCounts->setCaption(CountsText(states));
    lblEmpty->setVisible(rows_.empty() && !listing_ && !listAgain_);
}

void ManagerWindow::ShowSelectedCause() {
    // The row with the focus among the selected ones, else the first selected.
    const int focused = lstLinks->focusedRow();
    const std::vector<int> selected = lstLinks->selectedRows();
    const int shown = lstLinks->selected(focused) ? focused : selected.empty() ? -1 : selected.front();
    const auto found = shown < 0 ? rows_.end() : rows_.find(lstLinks->tag(shown));
    if (found == rows_.end() || (found->second.shown.cause.empty() && !found->second.managed)) {
        lblCause->setCaption(policy_.problem);
        return;
    }
    const Row& row = found->second;
    const std::wstring& cause = row.shown.cause;
    lblCause->setCaption(
        Quoted(row.name) + L": " +
        (row.managed ? cause + (cause.empty() ? L"" : L" ") + L_SHTCUT::kManagedByPolicy : cause));
}

void ManagerWindow::List_ColumnClick(int column) {
    // Again on the same column: the other way round.
    sortDescending_ = column == sortColumn_ && !sortDescending_;
    sortColumn_ = column;
    lstLinks->setSortArrow(sortColumn_, !sortDescending_);
    SortRows();
}

void ManagerWindow::FillLastColumn() {
    if (fillingColumn_ || !lstLinks)
        return;
    RECT client{};
    if (!GetClientRect(lstLinks->hwnd(), &client))
        return;
    const int last = kShownColumnOrder.back();
    int others = 0;
    for (int c = 0; c < lstLinks->columnCount(); ++c)
        others += c == last ? 0 : lstLinks->columnWidth(c);
    fillingColumn_ = true;
    lstLinks->setColumnWidth(last, std::max<int>(Scaled(kLeastLastColumn), client.right - others));
    fillingColumn_ = false;
}

void ManagerWindow::ShareWidthAmongColumns() {
    RECT client{};
    if (!GetClientRect(lstLinks->hwnd(), &client))
        return;
    int designed = 0;
    for (const host::ListViewColumn& column : kManagerColumns)
        designed += Scaled(column.width);
    const int available = std::min<int>(client.right, designed);
    for (std::size_t c = 0; c < kManagerColumns.size(); ++c)
        lstLinks->setColumnWidth(static_cast<int>(c),
                                 MulDiv(Scaled(kManagerColumns[c].width), available, designed));
}

void ManagerWindow::CopySelected() {
    // One line per row as the list shows them, the columns a user pastes
    // into a table: name, source, state, cause.
    std::wstring text;
    for (int shown : lstLinks->selectedRows()) {
        const auto found = rows_.find(lstLinks->tag(shown));
        if (found == rows_.end())
            continue;
        const Row& row = found->second;
        text += row.name + L"\t" + row.source + L"\t" + row.shown.word + L"\t" + row.shown.cause + L"\r\n";
    }
    if (!text.empty() && !host::PutClipboardText(form->hwnd(), text))
        host::ShowMessageBox(form->hwnd(), L"Die Zwischenablage l\u00E4sst sich nicht beschreiben.",
                             L"Nicht kopiert", MB_OK | MB_ICONWARNING);
}
