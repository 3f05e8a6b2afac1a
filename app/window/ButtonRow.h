// The widths of a row of buttons that share the room of a window's width.
// Portable: the window measures its captions and applies the answer.
#pragma once

#include <cstddef>
#include <vector>

// designed[i] is button i's width as designed, least[i] what its caption
// needs. Each button is as wide as designed, or as its caption needs where
// that is more, while the row fits into room; in less room each gives up the
// same share of what it has beyond its caption's need, and none goes below
// that need, even where the row then outgrows the room.
std::vector<int> FitButtonWidths(const std::vector<int>& designed, const std::vector<int>& least, int room);

// One line of buttons: the buttons first .. first + widths.size() - 1.
struct ButtonLine {
    std::size_t first = 0;
    std::vector<int> widths;
};

// The buttons in as many lines as their captions need, in their order: a
// line takes the next buttons as long as their captions' needs and the gaps
// between them fit into room, and the buttons of each line share its room as
// FitButtonWidths shares it. One line where the whole row fits; a button
// whose caption alone needs more than room stands on a line of its own.
std::vector<ButtonLine> FitButtonLines(const std::vector<int>& designed, const std::vector<int>& least,
                                       int room, int gap);
