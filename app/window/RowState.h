// The state a row of the manager shows by its picture, which the status line
// counts and the column "Zustand" sorts by. Portable.
#pragma once

// The order is the pictures' in the state image list.
enum class RowState { Checking, Reachable, NotAnswering, Unreachable, Damaged, NoFolderLink };
inline constexpr int kRowStateCount = 6;
