#include "ListView.h"

#include <commctrl.h>
#include <windowsx.h>

namespace host {

std::unique_ptr<ListView> ListView::Create(const ListViewArgs& args) {
    std::unique_ptr<ListView> list(new ListView());
    if (!list->createStandard(WC_LISTVIEWW, L"",
                              WS_TABSTOP | WS_BORDER | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS |
                                  LVS_EDITLABELS,
                              0, args.parent))
        return nullptr;
    ListView_SetExtendedListViewStyle(list->hwnd(), LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
    for (const ListViewColumn& column : args.columns) {
        LVCOLUMNW c{};
        c.mask = LVCF_TEXT | LVCF_WIDTH;
        c.cx = column.width;
        c.pszText = const_cast<wchar_t*>(column.caption.c_str());
        if (SendMessageW(list->hwnd(), LVM_INSERTCOLUMNW, static_cast<WPARAM>(list->columnCount()),
                         reinterpret_cast<LPARAM>(&c)) == -1)
            return nullptr;
    }
    return list;
}

int ListView::columnCount() const {
    const HWND header = hwnd() ? ListView_GetHeader(hwnd()) : nullptr;
    return header ? Header_GetItemCount(header) : 0;
}

int ListView::columnWidth(int column) const {
    return hwnd() && column >= 0 && column < columnCount() ? ListView_GetColumnWidth(hwnd(), column) : 0;
}

bool ListView::setColumnWidth(int column, int width) {
    return hwnd() && column >= 0 && column < columnCount() && width >= 0 &&
           ListView_SetColumnWidth(hwnd(), column, width) != FALSE;
}

bool ListView::setColumnOrder(const std::vector<int>& order) {
    return hwnd() && static_cast<int>(order.size()) == columnCount() &&
           ListView_SetColumnOrderArray(hwnd(), static_cast<int>(order.size()),
                                        const_cast<int*>(order.data())) != FALSE;
}

void ListView::setSortArrow(int column, bool ascending) {
    const HWND header = hwnd() ? ListView_GetHeader(hwnd()) : nullptr;
    if (!header)
        return;
    for (int c = 0; c < columnCount(); ++c) {
        HDITEMW item{};
        item.mask = HDI_FORMAT;
        if (!Header_GetItem(header, c, &item))
            continue; // that column keeps what it shows
        item.fmt &= ~(HDF_SORTUP | HDF_SORTDOWN);
        if (c == column)
            item.fmt |= ascending ? HDF_SORTUP : HDF_SORTDOWN;
        Header_SetItem(header, c, &item);
    }
}

void ListView::setImageList(HIMAGELIST images) {
    if (hwnd())
        ListView_SetImageList(hwnd(), images, LVSIL_SMALL);
}

bool ListView::setImage(int row, int image) {
    if (!hwnd() || row < 0 || row >= rowCount())
        return false;
    LVITEMW item{};
    item.mask = LVIF_IMAGE;
    item.iItem = row;
    item.iImage = image;
    return SendMessageW(hwnd(), LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item)) != FALSE;
}

namespace {

int CALLBACK CompareTags(LPARAM first, LPARAM second, LPARAM order) noexcept {
    const auto& less = *reinterpret_cast<const std::function<bool(std::intptr_t, std::intptr_t)>*>(order);
    try {
        return less(first, second) ? -1 : less(second, first) ? 1 : 0;
    } catch (...) {
        return 0; // nothing crosses the control's callback; the rows keep their order
    }
}

} // namespace

void ListView::sortRows(const std::function<bool(std::intptr_t, std::intptr_t)>& less) {
    if (hwnd())
        ListView_SortItems(hwnd(), CompareTags, reinterpret_cast<LPARAM>(&less));
}

int ListView::addRow(const std::vector<std::wstring>& texts, std::intptr_t tag) {
    if (!hwnd())
        return -1;
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_PARAM | LVIF_IMAGE;
    item.iItem = rowCount();
    item.iImage = I_IMAGENONE;
    item.pszText = const_cast<wchar_t*>(texts.empty() ? L"" : texts[0].c_str());
    item.lParam = static_cast<LPARAM>(tag);
    const int row =
        static_cast<int>(SendMessageW(hwnd(), LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    if (row < 0)
        return -1;
    for (std::size_t column = 1; column < texts.size(); ++column)
        setText(row, static_cast<int>(column), texts[column]);
    return row;
}

ListView::BulkChange::BulkChange(ListView& list) : list_(list.hwnd()) {
    if (list_)
        SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
}

ListView::BulkChange::~BulkChange() {
    if (!list_)
        return;
    SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
    RedrawWindow(list_, nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
}

bool ListView::removeRow(int row) {
    return hwnd() && row >= 0 && ListView_DeleteItem(hwnd(), row) != FALSE;
}

void ListView::clear() {
    if (hwnd())
        ListView_DeleteAllItems(hwnd());
}

int ListView::rowCount() const {
    return hwnd() ? ListView_GetItemCount(hwnd()) : 0;
}

std::wstring ListView::text(int row, int column) const {
    if (!hwnd() || row < 0 || row >= rowCount() || column < 0 || column >= columnCount())
        return {};
    // The control copies at most the buffer's size and answers how much it
    // copied: a text that fills the buffer may be longer.
    std::wstring value(256, L'\0');
    for (;;) {
        LVITEMW item{};
        item.iSubItem = column;
        item.pszText = value.data();
        item.cchTextMax = static_cast<int>(value.size());
        const auto cch = static_cast<std::size_t>(SendMessageW(
            hwnd(), LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item)));
        if (cch + 1 < value.size()) {
            value.resize(cch);
            return value;
        }
        value.resize(value.size() * 2);
    }
}

bool ListView::setText(int row, int column, const std::wstring& text) {
    if (!hwnd() || row < 0 || row >= rowCount() || column < 0 || column >= columnCount())
        return false;
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = const_cast<wchar_t*>(text.c_str());
    return SendMessageW(hwnd(), LVM_SETITEMTEXTW, static_cast<WPARAM>(row),
                        reinterpret_cast<LPARAM>(&item)) != FALSE;
}

std::intptr_t ListView::tag(int row) const {
    LVITEMW item{};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    if (!hwnd() || row < 0 || !SendMessageW(hwnd(), LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)))
        return 0;
    return static_cast<std::intptr_t>(item.lParam);
}

int ListView::findTag(std::intptr_t tag) const {
    if (!hwnd())
        return -1;
    LVFINDINFOW find{};
    find.flags = LVFI_PARAM;
    find.lParam = static_cast<LPARAM>(tag);
    return ListView_FindItem(hwnd(), -1, &find);
}

std::vector<int> ListView::selectedRows() const {
    std::vector<int> rows;
    if (!hwnd())
        return rows;
    for (int row = ListView_GetNextItem(hwnd(), -1, LVNI_SELECTED); row != -1;
         row = ListView_GetNextItem(hwnd(), row, LVNI_SELECTED))
        rows.push_back(row);
    return rows;
}

bool ListView::selected(int row) const {
    return hwnd() && row >= 0 && (ListView_GetItemState(hwnd(), row, LVIS_SELECTED) & LVIS_SELECTED) != 0;
}

bool ListView::setState(int row, UINT state, UINT mask) {
    if (!hwnd() || row < -1 || row >= rowCount())
        return false;
    LVITEMW item{};
    item.state = state;
    item.stateMask = mask;
    return SendMessageW(hwnd(), LVM_SETITEMSTATE, static_cast<WPARAM>(row),
                        reinterpret_cast<LPARAM>(&item)) != FALSE;
}

bool ListView::setSelected(int row, bool on) {
    return row >= 0 && setState(row, on ? LVIS_SELECTED : 0, LVIS_SELECTED);
}

void ListView::selectAll() {
    setState(-1, LVIS_SELECTED, LVIS_SELECTED); // row -1: every row
}

int ListView::focusedRow() const {
    return hwnd() ? ListView_GetNextItem(hwnd(), -1, LVNI_FOCUSED) : -1;
}

bool ListView::setFocusedRow(int row) {
    return row >= 0 && setState(row, LVIS_FOCUSED, LVIS_FOCUSED);
}

bool ListView::editName(int row) {
    if (!hwnd() || row < 0 || row >= rowCount())
        return false;
    SetFocus(hwnd()); // the list edits only while it has the focus
    return ListView_EditLabel(hwnd(), row) != nullptr;
}

void ListView::ensureVisible(int row) {
    if (hwnd() && row >= 0)
        ListView_EnsureVisible(hwnd(), row, FALSE);
}

LRESULT ListView::handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_GETDLGCODE: {
        // Enter belongs to the list, not to the form's dialog keys, so that
        // the key events see it.
        LRESULT code = callDefault(msg, wParam, lParam);
        const auto* m = reinterpret_cast<const MSG*>(lParam);
        if (m && (m->message == WM_KEYDOWN || m->message == WM_CHAR) && m->wParam == VK_RETURN)
            code |= DLGC_WANTMESSAGE;
        return code;
    }
    case WM_CONTEXTMENU:
        raiseContextMenu(lParam);
        return 0;
    case WM_NOTIFY: {
        // From the header, whose parent the list is: the list applies the
        // width first.
        const LRESULT result = callDefault(msg, wParam, lParam);
        const auto* change = reinterpret_cast<const NMHEADERW*>(lParam);
        if ((change->hdr.code == HDN_ITEMCHANGEDW || change->hdr.code == HDN_ITEMCHANGEDA) && change->pitem &&
            (change->pitem->mask & HDI_WIDTH) && onColumnWidthChange)
            onColumnWidthChange(change->iItem);
        return result;
    }
    default:
        return Control::handleMessage(msg, wParam, lParam);
    }
}

void ListView::raiseContextMenu(LPARAM at) {
    if (!onContextMenu)
        return;
    POINT pt{GET_X_LPARAM(at), GET_Y_LPARAM(at)};
    if (pt.x == -1 && pt.y == -1) {
        // From the keyboard: below the focused row, or the list's corner.
        RECT r{};
        const int row = focusedRow();
        if (row >= 0 && ListView_GetItemRect(hwnd(), row, &r, LVIR_LABEL))
            pt = POINT{r.left, r.bottom};
        else
            pt = POINT{0, 0};
        ClientToScreen(hwnd(), &pt);
    }
    onContextMenu(pt.x, pt.y);
}

bool ListView::handleReflected(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (msg != WM_NOTIFY)
        return Control::handleReflected(msg, wParam, lParam, result);
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    result = 0;
    switch (header->code) {
    case NM_DBLCLK:
        if (reinterpret_cast<const NMITEMACTIVATE*>(lParam)->iItem >= 0 && onDblClick)
            onDblClick();
        return true;
    case LVN_ENDLABELEDITW: {
        const auto* edit = reinterpret_cast<const NMLVDISPINFOW*>(lParam);
        if (edit->item.pszText && onNameEdited) // null: the editing was cancelled
            onNameEdited(edit->item.iItem, edit->item.pszText);
        result = FALSE;
        return true;
    }
    case LVN_COLUMNCLICK:
        if (onColumnClick)
            onColumnClick(reinterpret_cast<const NMLISTVIEW*>(lParam)->iSubItem);
        return true;
    case LVN_ITEMCHANGED: {
        const auto* change = reinterpret_cast<const NMLISTVIEW*>(lParam);
        if ((change->uChanged & LVIF_STATE) && ((change->uOldState ^ change->uNewState) & LVIS_SELECTED) &&
            onSelectionChange)
            onSelectionChange();
        return true;
    }
    default:
        return false;
    }
}

} // namespace host
