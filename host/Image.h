// An image: shows a picture at its top left corner and takes the picture's
// size; 0 × 0 pixels without a picture.
#pragma once

#include "Control.h"
#include "Picture.h"

#include <memory>

namespace host {

struct ImageArgs {
    HWND parent = nullptr;
};

class Image : public Control {
public:
    static std::unique_ptr<Image> Create(const ImageArgs& args);

    const Picture& picture() const { return picture_; }
    void setPicture(const Picture& picture);

private:
    Image() : Control(kColorButtonFace, kColorButtonText) {}
    LRESULT handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

    Picture picture_;
};

} // namespace host
