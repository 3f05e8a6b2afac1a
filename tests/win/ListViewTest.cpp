// The list view in a real form, driven by its own messages: columns and rows
// read back, selection by code and by keys, the key events (Enter through
// the form's dialog keys), double click and the context menu from the mouse
// and from the keyboard.
#include "ListView.h"
#include "Form.h"
#include "MessagePump.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const std::vector<host::ListViewColumn> kColumns = {{L"Name", 120}, {L"Quelle", 200}, {L"Zustand", 150}};

struct Row {
    std::vector<std::wstring> texts;
    std::intptr_t tag;
};
const std::vector<Row> kRows = {
    {{L"Archiv", L"\\\\srv\\archiv", L"erreichbar"}, 11},
    {{L"B\u00FCro", L"C:\\Daten\\B\u00FCro", L"wird gepr\u00FCft"}, 22},
    {{L"Fotos"}, 33},
};

// What the handlers saw, one entry per event, in order.
using EventList = std::vector<std::wstring>;

class ListViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = host::Form::Create({L"ListView test", 9000, 6000});
        ASSERT_NE(form, nullptr);
        list = host::ListView::Create({form->hwnd(), kColumns});
        ASSERT_NE(list, nullptr);
        list->move(10, 10, 500, 300);
        list->setVisible(true);
        form->show();
        for (const Row& row : kRows)
            ASSERT_GE(list->addRow(row.texts, row.tag), 0);
        list->onKeyDown = [this](std::int16_t& key, std::int16_t& shift) {
            events.push_back(L"KeyDown " + std::to_wstring(key) + L"/" + std::to_wstring(shift));
        };
        list->onDblClick = [this] { events.push_back(L"DblClick"); };
        list->onContextMenu = [this](int x, int y) {
            events.push_back(L"ContextMenu " + std::to_wstring(x) + L"," + std::to_wstring(y));
        };
        list->onSelectionChange = [this] { events.push_back(L"SelectionChange"); };
        PumpMessages();
    }

    RECT RowRect(int row) {
        RECT r{};
        ListView_GetItemRect(list->hwnd(), row, &r, LVIR_LABEL);
        return r;
    }

    std::wstring ScreenPoint(int x, int y) {
        POINT pt{x, y};
        ClientToScreen(list->hwnd(), &pt);
        return std::to_wstring(pt.x) + L"," + std::to_wstring(pt.y);
    }

    std::unique_ptr<host::Form> form;
    std::unique_ptr<host::ListView> list;
    EventList events;
};

TEST_F(ListViewTest, ColumnsAndRowsReadBack) {
    ASSERT_EQ(list->columnCount(), 3);
    for (int c = 0; c < 3; ++c)
        EXPECT_EQ(list->columnWidth(c), kColumns[static_cast<size_t>(c)].width);
    EXPECT_TRUE(list->setColumnWidth(1, 260));
    EXPECT_EQ(list->columnWidth(1), 260);
    EXPECT_FALSE(list->setColumnWidth(3, 10));

    ASSERT_EQ(list->rowCount(), 3);
    for (int r = 0; r < 3; ++r) {
        const Row& row = kRows[static_cast<size_t>(r)];
        for (int c = 0; c < 3; ++c)
            EXPECT_EQ(list->text(r, c), static_cast<size_t>(c) < row.texts.size() ? row.texts[c] : L"");
        EXPECT_EQ(list->tag(r), row.tag);
        EXPECT_EQ(list->findTag(row.tag), r);
    }
    EXPECT_EQ(list->findTag(44), -1);

    // A text longer than the first buffer comes back whole.
    const std::wstring longText(700, L'\u00E4');
    EXPECT_TRUE(list->setText(2, 2, longText));
    EXPECT_EQ(list->text(2, 2), longText);
    EXPECT_FALSE(list->setText(3, 0, L"no such row"));

    EXPECT_TRUE(list->removeRow(0));
    EXPECT_EQ(list->findTag(22), 0);
    list->clear();
    EXPECT_EQ(list->rowCount(), 0);
}

TEST_F(ListViewTest, ABulkChangeDrawsTheListOnceWhenItEnds) {
    ValidateRect(list->hwnd(), nullptr);
    {
        const host::ListView::BulkChange bulk(*list);
        for (std::intptr_t tag = 100; tag < 200; ++tag)
            ASSERT_GE(list->addRow({L"Zeile", L"Quelle", L"wird gepr\u00FCft"}, tag), 0);
        EXPECT_FALSE(GetUpdateRect(list->hwnd(), nullptr, FALSE)) << "drawn meanwhile";
    }
    EXPECT_EQ(list->rowCount(), 103);
    EXPECT_EQ(list->findTag(199), 102);
    EXPECT_TRUE(IsWindowVisible(list->hwnd()));
    EXPECT_TRUE(GetUpdateRect(list->hwnd(), nullptr, FALSE)) << "not drawn afterwards";
}

TEST_F(ListViewTest, SelectionByCodeAndByKeys) {
    list->selectAll();
    EXPECT_EQ(list->selectedRows(), (std::vector<int>{0, 1, 2}));
    list->setSelected(1, false);
    EXPECT_EQ(list->selectedRows(), (std::vector<int>{0, 2}));
    EXPECT_FALSE(list->selected(1));
    EXPECT_EQ(events,
              (EventList{L"SelectionChange", L"SelectionChange", L"SelectionChange", L"SelectionChange"}));

    // The arrow keys move the focus and select the row they reach alone.
    events.clear();
    list->setFocus();
    list->setFocusedRow(0);
    SendMessageW(list->hwnd(), WM_KEYDOWN, VK_DOWN, 0);
    PumpMessages();
    EXPECT_EQ(list->focusedRow(), 1);
    EXPECT_EQ(list->selectedRows(), (std::vector<int>{1}));
    EXPECT_EQ(events.front(), L"KeyDown " + std::to_wstring(VK_DOWN) + L"/0");
}

TEST_F(ListViewTest, KeysReachTheKeyEventsEnterThroughTheDialogKeys) {
    list->setFocus();
    for (WPARAM key : {VK_DELETE, VK_F5})
        SendMessageW(list->hwnd(), WM_KEYDOWN, key, 0);
    // The form's message loop hands keys to IsDialogMessage first, which
    // would turn Enter into the default button's command.
    MSG enter{list->hwnd(), WM_KEYDOWN, VK_RETURN, 0, 0, {}};
    EXPECT_TRUE(IsDialogMessageW(form->hwnd(), &enter));
    PumpMessages();
    const EventList expected = {L"KeyDown 46/0", L"KeyDown 116/0", L"KeyDown 13/0"};
    EXPECT_EQ(events, expected);
}

TEST_F(ListViewTest, DoubleClickOnARowOnly) {
    const RECT row = RowRect(1);
    SendMessageW(list->hwnd(), WM_LBUTTONDBLCLK, MK_LBUTTON,
                 MAKELPARAM(row.left + 5, (row.top + row.bottom) / 2));
    SendMessageW(list->hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(row.left + 5, (row.top + row.bottom) / 2));
    // Below the last row nothing is double-clicked.
    SendMessageW(list->hwnd(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(row.left + 5, 280));
    SendMessageW(list->hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(row.left + 5, 280));
    PumpMessages();
    EXPECT_EQ(std::count(events.begin(), events.end(), L"DblClick"), 1);
}

TEST_F(ListViewTest, ContextMenuFromTheMouseAndTheKeyboard) {
    list->setFocusedRow(2);
    const RECT focused = RowRect(2);
    // The keyboard's menu (Shift+F10, the menu key) comes without a point:
    // the menu goes below the focused row.
    SendMessageW(list->hwnd(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list->hwnd()), MAKELPARAM(-1, -1));
    SendMessageW(list->hwnd(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list->hwnd()), MAKELPARAM(300, 200));
    // A right click on a row selects it and opens the menu where it was
    // clicked; the button is already up when the list looks for a drag.
    const RECT row = RowRect(0);
    const int x = row.left + 5, y = (row.top + row.bottom) / 2;
    PostMessageW(list->hwnd(), WM_RBUTTONUP, 0, MAKELPARAM(x, y));
    SendMessageW(list->hwnd(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(x, y));
    PumpMessages();
    std::erase(events, L"SelectionChange");
    ASSERT_GE(events.size(), 2u);
    EXPECT_EQ(events[0], L"ContextMenu " + ScreenPoint(focused.left, focused.bottom));
    EXPECT_EQ(events[1], L"ContextMenu 300,200");
    EXPECT_EQ(events.size(), 3u);
    EXPECT_EQ(list->selectedRows(), (std::vector<int>{0}));
}

} // namespace
