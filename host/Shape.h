// A rectangle outline one pixel wide in the fore colour, on the back colour.
#pragma once

#include "Control.h"

#include <memory>

namespace host {

struct ShapeArgs {
    HWND parent = nullptr;
};

class Shape : public Control {
public:
    static std::unique_ptr<Shape> Create(const ShapeArgs& args);

private:
    Shape() : Control(kColorButtonFace, kColorWindowText) {}
    LRESULT handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
};

} // namespace host
