#include "LineLayout.h"

#include "Twips.h"

namespace lineinput {

VerticalMetrics ComputeVerticalMetrics(int controlStyle, int surfaceHeight, int singleLineHeight,
                                       int topDistance, int textBoxHeight) {
    VerticalMetrics m;
    switch (controlStyle) {
    case StyleMemo:
    case StyleOutline:
        // The host decides the height; the field fills it.
        m.fieldHeight = surfaceHeight - topDistance;
        m.fieldTop = host::RoundHalfEven(topDistance / 2.0);
        break;
    case StyleTextBox:
    case StyleCombo:
    case StyleDisplay:
    case StyleInnerBox:
        m.fieldHeight = singleLineHeight + topDistance;
        m.fieldTop = (m.fieldHeight - textBoxHeight) / 2; // truncates toward zero
        m.controlHeight = m.fieldHeight + (controlStyle == StyleCombo ? 1 : 0);
        break;
    default:
        break;
    }
    return m;
}

int LabelColumnWidth(int surfaceWidth, int labelWidth, int fixedBlockWidthTwips, double twipsPerPixelX) {
    if (fixedBlockWidthTwips < 1)
        return labelWidth;
    return host::RoundHalfEven((surfaceWidth - 1) - fixedBlockWidthTwips / twipsPerPixelX);
}

Columns ComputeColumns(int surfaceWidth, int labelColumn, int leftOffset, int buttonWidth,
                       int controlDistance, bool buttonShow) {
    Columns c;
    c.buttonBlock = buttonShow ? buttonWidth + controlDistance : 0;
    c.fieldLeft = leftOffset + labelColumn;
    c.available = surfaceWidth - c.fieldLeft;
    return c;
}

double CaptionTop(int controlStyle, int singleLineHeight, int topDistance, int fieldHeight, int labelHeight) {
    if (controlStyle == StyleMemo || controlStyle == StyleOutline)
        return (singleLineHeight + topDistance - labelHeight) / 2.0;
    return (fieldHeight - labelHeight) / 2.0;
}

InnerBox ComputeInnerBox(int frameWidth, int frameHeight, int buttonWidth) {
    InnerBox b;
    // The text box leaves room for the button even when it is hidden.
    b.textWidth = frameWidth - buttonWidth - 6;
    b.textHeight = frameHeight;
    b.coverWidth = b.textWidth + 2;
    b.coverHeight = b.textHeight + 2;
    b.buttonTop = 0;
    b.buttonHeight = frameHeight - 4;
    b.buttonWidth = buttonWidth;
    b.buttonLeft = frameWidth - buttonWidth - 4;
    b.lineX = b.buttonLeft - 1;
    b.lineTop = b.buttonTop;
    b.lineBottom = b.buttonTop + b.buttonHeight;
    return b;
}

int DefaultButtonWidth(double twipsPerPixelX) {
    return host::RoundHalfEven(384.0 / twipsPerPixelX);
}

int AutomaticButtonWidth(int controlStyle, int textBoxHeight) {
    // In the frame the button is as wide as it is high.
    return controlStyle == StyleInnerBox ? textBoxHeight - 4 : 32;
}

int DropDownHeight(int comboHeight, int itemHeight, int comboLines) {
    return host::RoundHalfEven(comboHeight * 1.5 + static_cast<double>(itemHeight) * comboLines);
}

float CtlLeftFor(int wdtyp, const PositionInput& in) {
    const double scale = in.formUnitsPerPixel;
    switch (wdtyp) {
    case 0:
        return static_cast<float>(in.left + in.textLeft * scale);
    case 1:
        return static_cast<float>(in.buttonShow ? in.left + in.buttonLeft * scale : in.left + in.width);
    case 10:
        return static_cast<float>(in.left + in.textLeft * in.containerUnitsPerPixel);
    case 99:
        return static_cast<float>(in.textLeft);
    default:
        return 0.0f;
    }
}

float CTLWidthFor(int wdtyp, const PositionInput& in) {
    const double scale = in.formUnitsPerPixel;
    switch (wdtyp) {
    case 0:
        return static_cast<float>(in.left + in.width - CtlLeftFor(0, in));
    case 1:
        return static_cast<float>(in.textWidth * scale);
    case 2:
        return static_cast<float>(in.textLeft * scale);
    case 3:
        return static_cast<float>((in.textLeft + in.textWidth) * scale);
    case 4:
        return static_cast<float>(in.width);
    case 99:
        return static_cast<float>(in.textWidth);
    default:
        return 0.0f;
    }
}

} // namespace lineinput
