// The manager's status line: how many folder links it shows and how many of
// them are in which state. Portable.
#pragma once

#include "RowState.h"

#include <string>
#include <vector>

// "12 Ordnerverknüpfungen: 4 erreichbar, 4 nicht erreichbar, 4 beschädigt",
// followed by ", wird geprüft: 3" while checks run; states no row has are
// left out.
std::wstring CountsText(const std::vector<RowState>& states);
