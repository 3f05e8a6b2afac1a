#include "ButtonRow.h"

#include <gtest/gtest.h>

namespace {

struct RowCase {
    const char* name;
    std::vector<int> designed;
    std::vector<int> least;
    int room;
    std::vector<int> widths;
};
const RowCase kRowCases[] = {
    {"room for all: as designed", {90, 170, 90}, {51, 146, 63}, 400, {90, 170, 90}},
    {"exactly the room", {90, 170, 90}, {51, 146, 63}, 350, {90, 170, 90}},
    {"a caption wider than designed widens its button", {90, 100}, {51, 130}, 400, {90, 130}},
    // The captions' needs add up to 260, the designed widths to 90 more.
    {"room for the captions only", {90, 170, 90}, {51, 146, 63}, 260, {51, 146, 63}},
    // Half of those 90 fit: each keeps half of its own surplus, rounded down.
    {"half the surplus", {90, 170, 90}, {51, 146, 63}, 305, {70, 158, 76}},
    {"less than the captions need", {90, 170, 90}, {51, 146, 63}, 100, {51, 146, 63}},
};

TEST(ButtonRow, FitsTheRoomDownToTheCaptions) {
    for (const RowCase& c : kRowCases) {
        const std::vector<int> widths = FitButtonWidths(c.designed, c.least, c.room);
        EXPECT_EQ(widths, c.widths) << c.name;
    }
}

struct LinesCase {
    const char* name;
    int room;
    std::vector<std::vector<int>> lines; // each line's widths
};
// Three buttons designed 90, 170 and 90 wide, whose captions need 51, 146
// and 63 pixels, with gaps of 6 pixels.
const LinesCase kLinesCases[] = {
    {"the whole row fits: one line as designed", 362, {{90, 170, 90}}},
    {"the captions fit in one line: narrower buttons", 272, {{51, 146, 63}}},
    {"a pixel less: the last button wraps and the first two widen", 271, {{90, 170}, {90}}},
    {"room for one caption at a time: a line each", 150, {{90}, {150}, {90}}},
    {"a caption wider than the room still stands, on its own line", 100, {{90}, {146}, {90}}},
};

TEST(ButtonRow, WrapsIntoLinesWhenTheCaptionsDoNotFit) {
    for (const LinesCase& c : kLinesCases) {
        const std::vector<ButtonLine> lines = FitButtonLines({90, 170, 90}, {51, 146, 63}, c.room, 6);
        std::vector<std::vector<int>> widths;
        std::size_t next = 0;
        for (const ButtonLine& line : lines) {
            EXPECT_EQ(line.first, next) << c.name;
            next += line.widths.size();
            widths.push_back(line.widths);
        }
        EXPECT_EQ(widths, c.lines) << c.name;
    }
}

} // namespace
