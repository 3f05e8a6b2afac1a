#include "LineLayout.h"

#include "Twips.h"

namespace lineinput {

VerticalMetrics ComputeVerticalMetrics(int controlStyle, int surfaceHeight, int singleLineHeight,
                                       int topDistance, int textBoxHeight) {
    const StyleDescriptor& style = DescriptorOfStyle(controlStyle);
    VerticalMetrics m;
    switch (style.height) {
    case HeightRule::HostHeight:
        m.fieldHeight = surfaceHeight - topDistance;
        m.fieldTop = host::RoundHalfEven(topDistance / 2.0);
        break;
    case HeightRule::OneLine:
        m.fieldHeight = singleLineHeight + topDistance;
        m.fieldTop = (m.fieldHeight - textBoxHeight) / 2; // truncates toward zero
        m.controlHeight = m.fieldHeight + style.extraHeight;
        break;
    case HeightRule::Unchanged:
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
    // A field as high as the host makes it: centred on its first line.
    if (DescriptorOfStyle(controlStyle).height == HeightRule::HostHeight)
        return (singleLineHeight + topDistance - labelHeight) / 2.0;
    return (fieldHeight - labelHeight) / 2.0;
}

FieldBounds ComputeFieldBounds(int controlStyle, const Columns& columns, int surfaceWidth, int labelColumn,
                               const VerticalMetrics& metrics, int singleLineHeight) {
    const StyleDescriptor& style = DescriptorOfStyle(controlStyle);
    FieldBounds b;
    b.left = columns.fieldLeft;
    b.top = metrics.fieldTop + style.fieldTopOffset;
    switch (style.fieldWidth) {
    case FieldWidth::BesideButton:
        b.width = columns.available - columns.buttonBlock;
        break;
    case FieldWidth::OverButton:
        b.width = columns.available;
        break;
    case FieldWidth::FromLabelColumn:
        b.width = surfaceWidth - labelColumn;
        break;
    }
    switch (style.fieldHeight) {
    case FieldHeight::OneLine:
        b.height = singleLineHeight;
        break;
    case FieldHeight::Field:
        b.height = metrics.fieldHeight;
        break;
    case FieldHeight::FieldLessOne:
        b.height = metrics.fieldHeight - 1;
        break;
    }
    return b;
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
    return DescriptorOfStyle(controlStyle).framed ? textBoxHeight - 4 : 32;
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
