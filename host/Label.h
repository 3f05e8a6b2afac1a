// A caption that cannot take the focus. With autoSize it sizes itself to its
// caption whenever the caption or the font changes.
#pragma once

#include "Control.h"

#include <memory>
#include <string>

namespace host {

struct LabelArgs {
    HWND parent = nullptr;
    std::wstring caption;
    bool autoSize = false;
};

class Label : public Control {
public:
    static std::unique_ptr<Label> Create(const LabelArgs& args);

    std::wstring caption() const;
    void setCaption(const std::wstring& text);
    // 0 left, 1 right, 2 centred. Any other value is refused: false, and the
    // label keeps its alignment.
    int alignment() const { return alignment_; }
    bool setAlignment(int alignment);
    // Whether "&" underlines the next letter instead of showing itself.
    bool useMnemonic() const { return useMnemonic_; }
    void setUseMnemonic(bool on);
    void setFont(const FontDesc& desc) override;

private:
    Label() : Control(kColorButtonFace, kColorButtonText) {}
    bool handleReflected(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void updateStyle();
    void fitToCaption();

    bool autoSize_ = false;
    int alignment_ = 0;
    bool useMnemonic_ = true;
};

} // namespace host
