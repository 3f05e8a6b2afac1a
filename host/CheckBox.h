// A check box with three states: 0 unchecked, 1 checked, 2 greyed. Click is
// raised when the user clicks it and when value changes in code.
#pragma once

#include "Control.h"

#include <memory>
#include <string>

namespace host {

struct CheckBoxArgs {
    HWND parent = nullptr;
    std::wstring caption;
};

class CheckBox : public Control {
public:
    static std::unique_ptr<CheckBox> Create(const CheckBoxArgs& args);

    std::wstring caption() const;
    void setCaption(const std::wstring& text);
    int value() const;
    // Only 0, 1 and 2 are states; false for any other value.
    bool setValue(int state);

private:
    CheckBox() : Control(kColorButtonFace, kColorButtonText) {}
    bool handleReflected(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
};

} // namespace host
