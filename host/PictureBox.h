// A picture box: a plain surface in its back colour that can hold other
// controls and keeps the lines drawn on it, repainting them with every paint.
#pragma once

#include "Control.h"

#include <memory>
#include <vector>

namespace host {

struct PictureBoxArgs {
    HWND parent = nullptr;
    bool border = true;
    // Holds controls that Tab should reach (a frame around a field and its
    // button): dialog navigation then goes into it.
    bool holdsTabStops = false;
};

class PictureBox : public Control {
public:
    static std::unique_ptr<PictureBox> Create(const PictureBoxArgs& args);

    // The sunken three-dimensional border, two pixels wide.
    bool border() const;
    void setBorder(bool on);
    // Adds a line from (x1, y1) to (x2, y2) to the drawing; like the platform's
    // line drawing it leaves out the end point.
    void drawLine(int x1, int y1, int x2, int y2, Color color);
    // Removes every line of the drawing.
    void clearDrawing();

    struct Line {
        int x1, y1, x2, y2;
        Color color;
    };
    const std::vector<Line>& lines() const { return lines_; }

private:
    PictureBox() : Control(kColorButtonFace, kColorButtonText) {}
    LRESULT handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

    std::vector<Line> lines_;
};

} // namespace host
