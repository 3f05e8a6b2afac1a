// A list view in report view: columns with a caption and a width, rows of
// texts (one per column) each carrying a tag of the host's and a picture of
// the host's image list, multiple selection, rows sorted by the host's
// order. DblClick is raised for a double click on a row, onContextMenu
// for the context menu (right click, Shift+F10, the menu key), with the
// point in screen coordinates where the menu belongs; onSelectionChange
// when a row's selection changes; onColumnClick for a click on a column's
// header. Enter reaches the key events instead of the form's dialog keys.
#pragma once

#include "Control.h"

#include <commctrl.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace host {

struct ListViewColumn {
    std::wstring caption;
    int width = 100; // pixels
};

struct ListViewArgs {
    HWND parent = nullptr;
    std::vector<ListViewColumn> columns;
};

class ListView : public Control {
public:
    static std::unique_ptr<ListView> Create(const ListViewArgs& args);

    int columnCount() const;
    int columnWidth(int column) const;
    bool setColumnWidth(int column, int width);
    // The columns as shown from left to right, by their index.
    bool setColumnOrder(const std::vector<int>& order);
    // The arrow in a column's header: up for ascending order; column -1
    // takes it away.
    void setSortArrow(int column, bool ascending);

    // The small pictures of the rows; the host keeps the image list and
    // destroys it after the list view went or took another.
    void setImageList(HIMAGELIST images);
    bool setImage(int row, int image);
    // Orders the rows by their tags; selection and focus stay with their rows.
    void sortRows(const std::function<bool(std::intptr_t, std::intptr_t)>& less);

    // Appends a row with texts for its first columns; its index, -1 when it
    // could not be added.
    int addRow(const std::vector<std::wstring>& texts, std::intptr_t tag);
    bool removeRow(int row);
    void clear();
    int rowCount() const;
    std::wstring text(int row, int column) const;
    bool setText(int row, int column, const std::wstring& text);
    std::intptr_t tag(int row) const;
    // The row carrying tag, -1 when none does.
    int findTag(std::intptr_t tag) const;

    std::vector<int> selectedRows() const;
    bool selected(int row) const;
    bool setSelected(int row, bool on);
    void selectAll();
    // The row with the focus rectangle, -1 when none has it.
    int focusedRow() const;
    bool setFocusedRow(int row);
    void ensureVisible(int row);

    // While one lives, the list does not redraw; it is drawn once, whole,
    // when it goes. Many rows added or changed at once take a fraction of
    // the time so (each would otherwise lay out and redraw the list).
    class BulkChange {
    public:
        explicit BulkChange(ListView& list);
        ~BulkChange();
        BulkChange(const BulkChange&) = delete;
        BulkChange& operator=(const BulkChange&) = delete;

    private:
        HWND list_;
    };

    std::function<void(int x, int y)> onContextMenu;
    std::function<void()> onSelectionChange;
    std::function<void(int column)> onColumnClick;
    // A column's width changed, by the user or by code.
    std::function<void(int column)> onColumnWidthChange;
    // A row's name (its first column) was edited to text; the list keeps the
    // name it had: the host renames what the row stands for and sets the
    // text itself.
    std::function<void(int row, const std::wstring& text)> onNameEdited;
    // Starts the editing of a row's name; false when it cannot start.
    bool editName(int row);

private:
    ListView() : Control(kColorWindow, kColorWindowText) {}
    LRESULT handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    bool handleReflected(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    bool setState(int row, UINT state, UINT mask);
    void raiseContextMenu(LPARAM at);
};

} // namespace host
