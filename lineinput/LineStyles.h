// The enumerated values of ControlStyle (which field the line shows) and of
// CommandStyle (what its button does). Both properties take any integer; a
// value without a name here matches none of the cases.
#pragma once

#include <cstdint>

namespace lineinput {

enum FieldStyle : std::int32_t {
    StyleTextBox = 0,  // single-line text box txt
    StyleCombo = 1,    // the current combo box, cmb0 or cmb2 by ComboStyle
    StyleMemo = 2,     // multi-line text box mem
    StyleDisplay = 3,  // read-only display anz
    StyleInnerBox = 4, // text box txi inside the frame con, with the button
    StyleOutline = 5,  // the outline shp only
};

enum ButtonAction : std::int32_t {
    ActionClear = 0,
    ActionOpenFile = 1,
    ActionSaveFile = 2,
    ActionFolder = 3,
    ActionReportOnly = 4,
    ActionCopy = 5,
    ActionOpenFiles = 6,
};

} // namespace lineinput
