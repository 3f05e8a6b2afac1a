// A frame: a group box with a caption that holds other controls.
#pragma once

#include "Control.h"

#include <memory>
#include <string>

namespace host {

struct FrameArgs {
    HWND parent = nullptr;
    std::wstring caption;
};

class Frame : public Control {
public:
    static std::unique_ptr<Frame> Create(const FrameArgs& args);

    std::wstring caption() const;
    void setCaption(const std::wstring& text);

private:
    Frame() : Control(kColorButtonFace, kColorButtonText) {}
    LRESULT handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
};

} // namespace host
