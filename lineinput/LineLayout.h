// The arithmetic of the input line's layout pass, apart from any window: the
// window code measures, asks these functions and applies their answers.
// All values are pixels unless a name says twips.
#pragma once

#include "LineStyles.h"

#include <optional>

namespace lineinput {

struct VerticalMetrics {
    int fieldHeight = 0; // FH
    int fieldTop = 0;    // FT
    // The height the control takes, when the style sets it.
    std::optional<int> controlHeight;
};

// surfaceHeight is H, singleLineHeight S, textBoxHeight the height of the
// single-line text box after the pass set it (S again).
VerticalMetrics ComputeVerticalMetrics(int controlStyle, int surfaceHeight, int singleLineHeight,
                                       int topDistance, int textBoxHeight);

// LW: LabelWidth, or with a fixed block the rest left of it.
int LabelColumnWidth(int surfaceWidth, int labelWidth, int fixedBlockWidthTwips, double twipsPerPixelX);

struct Columns {
    int buttonBlock = 0; // BB
    int fieldLeft = 0;   // FL
    int available = 0;   // AV
};
Columns ComputeColumns(int surfaceWidth, int labelColumn, int leftOffset, int buttonWidth,
                       int controlDistance, bool buttonShow);

// Top of the caption, centred on the row (not rounded).
double CaptionTop(int controlStyle, int singleLineHeight, int topDistance, int fieldHeight, int labelHeight);

// Where the layout puts the field the style shows.
struct FieldBounds {
    int left = 0, top = 0, width = 0, height = 0;
};
FieldBounds ComputeFieldBounds(int controlStyle, const Columns& columns, int surfaceWidth, int labelColumn,
                               const VerticalMetrics& metrics, int singleLineHeight);

// The frame of the inner-box style, in its own coordinates.
struct InnerBox {
    int textLeft = 1, textTop = 1, textWidth = 0, textHeight = 0;
    int coverLeft = -1, coverTop = -1, coverWidth = 0, coverHeight = 0;
    int buttonLeft = 0, buttonTop = 0, buttonWidth = 0, buttonHeight = 0;
    int lineX = 0, lineTop = 0, lineBottom = 0;
};
InnerBox ComputeInnerBox(int frameWidth, int frameHeight, int buttonWidth);

// ButtonWidth of a new instance: 384 twips in pixels, rounded.
int DefaultButtonWidth(double twipsPerPixelX);
// The width that ButtonWidth 0 stands for.
int AutomaticButtonWidth(int controlStyle, int textBoxHeight);
// Total height of a combo box whose opened list shows about comboLines items.
int DropDownHeight(int comboHeight, int itemHeight, int comboLines);

// Inputs of the position queries: the control's own left edge and width in
// its container's units, the children in pixels, and the units per pixel of
// the host form and of the control's direct container.
struct PositionInput {
    double left = 0;
    double width = 0;
    bool buttonShow = true;
    int textLeft = 0;
    int textWidth = 0;
    int buttonLeft = 0;
    double formUnitsPerPixel = 15;
    double containerUnitsPerPixel = 15;
};
float CtlLeftFor(int wdtyp, const PositionInput& in);
float CTLWidthFor(int wdtyp, const PositionInput& in);

} // namespace lineinput
