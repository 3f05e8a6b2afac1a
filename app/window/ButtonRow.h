// The widths of a row of buttons that share the room of a window's width.
// Portable: the window measures its captions and applies the answer.
#pragma once

#include <vector>

// designed[i] is button i's width as designed, least[i] what its caption
// needs. Each button is as wide as designed, or as its caption needs where
// that is more, while the row fits into room; in less room each gives up the
// same share of what it has beyond its caption's need, and none goes below
// that need, even where the row then outgrows the room.
std::vector<int> FitButtonWidths(const std::vector<int>& designed, const std::vector<int>& least, int room);
