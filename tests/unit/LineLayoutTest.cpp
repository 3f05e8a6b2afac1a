#include "LineLayout.h"

#include <gtest/gtest.h>

#include <vector>

using namespace lineinput;

TEST(LineLayout, SingleLineStylesTakeOneLinePlusTopDistance) {
    const VerticalMetrics textBox = ComputeVerticalMetrics(StyleTextBox, 50, 19, 2, 19);
    EXPECT_EQ(textBox.fieldHeight, 21);
    EXPECT_EQ(textBox.fieldTop, 1);
    EXPECT_EQ(textBox.controlHeight, 21);
    // The combo box style is one pixel higher.
    EXPECT_EQ(ComputeVerticalMetrics(StyleCombo, 50, 19, 2, 19).controlHeight, 22);
    EXPECT_EQ(ComputeVerticalMetrics(StyleDisplay, 50, 19, 2, 19).controlHeight, 21);
    EXPECT_EQ(ComputeVerticalMetrics(StyleInnerBox, 50, 19, 2, 19).controlHeight, 21);
}

TEST(LineLayout, FieldTopIsHalvedInSingleLineStylesAndRoundedInTheOthers) {
    // (22 - 19) / 2 truncates to 1.
    EXPECT_EQ(ComputeVerticalMetrics(StyleTextBox, 50, 19, 3, 19).fieldTop, 1);
    // 3 / 2 = 1.5 rounds to the even 2; 5 / 2 = 2.5 rounds to 2; 2 / 2 = 1.
    EXPECT_EQ(ComputeVerticalMetrics(StyleMemo, 50, 19, 3, 19).fieldTop, 2);
    EXPECT_EQ(ComputeVerticalMetrics(StyleMemo, 50, 19, 5, 19).fieldTop, 2);
    EXPECT_EQ(ComputeVerticalMetrics(StyleOutline, 50, 19, 2, 19).fieldTop, 1);
    const VerticalMetrics memo = ComputeVerticalMetrics(StyleMemo, 50, 19, 3, 19);
    EXPECT_EQ(memo.fieldHeight, 47);
    EXPECT_FALSE(memo.controlHeight.has_value());
}

TEST(LineLayout, UnknownStyleHasNoFieldAndKeepsTheHeight) {
    const VerticalMetrics none = ComputeVerticalMetrics(7, 50, 19, 2, 19);
    EXPECT_EQ(none.fieldHeight, 0);
    EXPECT_EQ(none.fieldTop, 0);
    EXPECT_FALSE(none.controlHeight.has_value());
}

TEST(LineLayout, LabelColumnFollowsLabelWidthOrTheFixedBlock) {
    EXPECT_EQ(LabelColumnWidth(400, 125, 0, 15.0), 125);
    EXPECT_EQ(LabelColumnWidth(400, 125, -5, 15.0), 125);
    // 399 - 1500 / 15 = 299; field and button share the 101 pixels left.
    EXPECT_EQ(LabelColumnWidth(400, 125, 1500, 15.0), 299);
    const Columns c = ComputeColumns(400, 299, 0, 26, 4, true);
    EXPECT_EQ(c.available, 101);
    // 399 - 1000 / 12 = 315.67 rounds to 316.
    EXPECT_EQ(LabelColumnWidth(400, 125, 1000, 12.0), 316);
}

TEST(LineLayout, ColumnsLeaveRoomForTheButtonOnlyWhenItIsShown) {
    const Columns shown = ComputeColumns(449, 100, 3, 26, 4, true);
    EXPECT_EQ(shown.buttonBlock, 30);
    EXPECT_EQ(shown.fieldLeft, 103);
    EXPECT_EQ(shown.available, 346);
    EXPECT_EQ(ComputeColumns(449, 100, 3, 26, 4, false).buttonBlock, 0);
}

TEST(LineLayout, CaptionIsCentredOnTheRow) {
    EXPECT_DOUBLE_EQ(CaptionTop(StyleTextBox, 19, 2, 21, 13), 4.0);
    EXPECT_DOUBLE_EQ(CaptionTop(StyleTextBox, 19, 2, 22, 13), 4.5);
    // The multi-line styles centre on the first line.
    EXPECT_DOUBLE_EQ(CaptionTop(StyleMemo, 19, 2, 80, 13), 4.0);
}

// The field each style shows, on a surface 449 pixels wide with a label
// column of 100, LeftOffset 3, a button block of 30, one line of 19 and
// TopDistance 2 (a multi-line field of a surface 50 high: 48 high at top 1).
struct FieldBoundsCase {
    FieldStyle style;
    FieldBounds expected;
};
const FieldBoundsCase kFieldBounds[] = {
    {StyleTextBox, {103, 1, 316, 19}},
    {StyleCombo, {103, 0, 316, 19}}, // one pixel above the text box's place
    {StyleMemo, {103, 1, 316, 48}},  // as high as the field
    {StyleDisplay, {103, 1, 316, 19}},
    {StyleInnerBox, {103, 1, 346, 19}}, // the frame holds the button too
    {StyleOutline, {103, 1, 349, 47}},  // right of the label column, whatever LeftOffset
};

TEST(LineLayout, EachStyleShowsItsFieldWhereItsDescriptorSays) {
    const Columns columns = ComputeColumns(449, 100, 3, 26, 4, true);
    for (const FieldBoundsCase& c : kFieldBounds) {
        SCOPED_TRACE(c.style);
        const VerticalMetrics metrics = ComputeVerticalMetrics(c.style, 50, 19, 2, 19);
        const FieldBounds b = ComputeFieldBounds(c.style, columns, 449, 100, metrics, 19);
        EXPECT_EQ((std::vector{b.left, b.top, b.width, b.height}),
                  (std::vector{c.expected.left, c.expected.top, c.expected.width, c.expected.height}));
    }
}

TEST(LineLayout, InnerBoxLeavesRoomForTheButtonAndDrawsTheSeparatorLeftOfIt) {
    const InnerBox b = ComputeInnerBox(200, 19, 26);
    EXPECT_EQ(b.textWidth, 200 - 26 - 6);
    EXPECT_EQ(b.textHeight, 19);
    EXPECT_EQ(b.coverWidth, b.textWidth + 2);
    EXPECT_EQ(b.coverHeight, 21);
    EXPECT_EQ(b.buttonLeft, 170);
    EXPECT_EQ(b.buttonHeight, 15);
    EXPECT_EQ(b.lineX, 169);
    EXPECT_EQ(b.lineTop, 0);
    EXPECT_EQ(b.lineBottom, 15);
}

TEST(LineLayout, ButtonWidths) {
    EXPECT_EQ(DefaultButtonWidth(15.0), 26); // 25.6
    EXPECT_EQ(DefaultButtonWidth(12.0), 32);
    EXPECT_EQ(AutomaticButtonWidth(StyleTextBox, 19), 32);
    EXPECT_EQ(AutomaticButtonWidth(StyleInnerBox, 19), 15);
}

TEST(LineLayout, DropDownHeightShowsTheRequestedLines) {
    EXPECT_EQ(DropDownHeight(21, 13, 8), 136); // 31.5 + 104 = 135.5 rounds to 136
    EXPECT_EQ(DropDownHeight(20, 13, 8), 134);
}

TEST(LineLayout, PositionQueriesForEveryKind) {
    PositionInput in;
    in.left = 180;
    in.width = 6735;
    in.buttonShow = true;
    in.textLeft = 100;
    in.textWidth = 319;
    in.buttonLeft = 423;
    in.formUnitsPerPixel = 15;
    in.containerUnitsPerPixel = 15;
    EXPECT_FLOAT_EQ(CtlLeftFor(0, in), 1680);
    EXPECT_FLOAT_EQ(CTLWidthFor(0, in), 180 + 6735 - 1680);
    EXPECT_FLOAT_EQ(CtlLeftFor(1, in), 180 + 423 * 15);
    EXPECT_FLOAT_EQ(CTLWidthFor(1, in), 319 * 15);
    EXPECT_FLOAT_EQ(CtlLeftFor(2, in), 0);
    EXPECT_FLOAT_EQ(CTLWidthFor(2, in), 1500);
    EXPECT_FLOAT_EQ(CTLWidthFor(3, in), 419 * 15);
    EXPECT_FLOAT_EQ(CTLWidthFor(4, in), 6735);
    EXPECT_FLOAT_EQ(CtlLeftFor(10, in), 1680);
    EXPECT_FLOAT_EQ(CTLWidthFor(10, in), 0);
    EXPECT_FLOAT_EQ(CtlLeftFor(99, in), 100);
    EXPECT_FLOAT_EQ(CTLWidthFor(99, in), 319);
    EXPECT_FLOAT_EQ(CtlLeftFor(5, in), 0);
    EXPECT_FLOAT_EQ(CTLWidthFor(5, in), 0);
    in.buttonShow = false;
    EXPECT_FLOAT_EQ(CtlLeftFor(1, in), 180 + 6735);
}
