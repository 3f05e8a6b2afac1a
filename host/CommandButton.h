// A push button that shows a caption and a picture; with useMaskColor the
// pixels of the mask colour are left transparent. Drawn by the button itself.
#pragma once

#include "Control.h"
#include "Picture.h"

#include <memory>
#include <string>

namespace host {

struct CommandButtonArgs {
    HWND parent = nullptr;
    std::wstring caption;
};

class CommandButton : public Control {
public:
    static std::unique_ptr<CommandButton> Create(const CommandButtonArgs& args);

    std::wstring caption() const;
    void setCaption(const std::wstring& text);
    // The width in pixels the caption takes drawn in the button's font; 0
    // when there is none or it cannot be measured.
    int captionWidth() const;
    const Picture& picture() const { return picture_; }
    void setPicture(const Picture& picture);
    Color maskColor() const { return maskColor_; }
    void setMaskColor(Color c);
    bool useMaskColor() const { return useMaskColor_; }
    void setUseMaskColor(bool on);
    // Presses the button from code: raises Click, as a user's click does.
    void click();

private:
    CommandButton() : Control(kColorButtonFace, kColorButtonText) {}
    bool handleReflected(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void draw(const DRAWITEMSTRUCT& item);

    Picture picture_;
    Color maskColor_ = 0xC0C0C0;
    bool useMaskColor_ = false;
};

} // namespace host
