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

} // namespace
