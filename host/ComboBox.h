// A combo box: editable (a text field with a drop-down list) or list-only
// (a drop-down list). Click is raised when the selection changes, by the user
// or in code; Change when the text of the editable kind changes, also in code.
#pragma once

#include "Control.h"

#include <memory>
#include <string>

namespace host {

struct ComboBoxArgs {
    HWND parent = nullptr;
    bool listOnly = false;
};

class ComboBox : public Control {
public:
    static std::unique_ptr<ComboBox> Create(const ComboBoxArgs& args);

    bool listOnly() const { return listOnly_; }
    std::wstring text() const;
    // A list-only combo box refuses a text that is not one of its items:
    // false, and nothing changes. Otherwise the matching item is selected.
    bool setText(const std::wstring& text);
    bool locked() const { return locked_; }
    void setLocked(bool on);

    // index -1 appends; false when the item could not be added.
    bool addItem(const std::wstring& item, int index = -1);
    bool removeItem(int index);
    void clear();
    std::wstring list(int index) const;
    int listCount() const;
    int listIndex() const;
    bool setListIndex(int index);
    // Position of the item added last, -1 when none.
    int newIndex() const { return newIndex_; }
    int topIndex() const;
    bool setTopIndex(int index);
    std::int32_t itemData(int index) const;
    bool setItemData(int index, std::int32_t data);
    // Height of one list item in pixels; 0 when the platform gives none.
    int itemHeight() const;
    // Moves and sizes the window in one call; totalHeight includes the opened
    // list. The platform keeps the closed height its font gives the combo box,
    // and keeps the list's height when a later size change asks for no more
    // than that closed height.
    bool moveWithListHeight(int left, int top, int width, int totalHeight);

    int selStart() const;
    void setSelStart(int start);
    int selLength() const;
    void setSelLength(int length);
    std::wstring selText() const;
    void setSelText(const std::wstring& text);

    std::function<void()> onChange;

private:
    ComboBox() : Control(kColorWindow, kColorWindowText) {}
    LRESULT handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    bool handleReflected(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    HWND editWindow() const;
    static LRESULT CALLBACK EditProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR) noexcept;

    bool listOnly_ = false;
    bool locked_ = false;
    int newIndex_ = -1;
    bool settingText_ = false;
};

} // namespace host
