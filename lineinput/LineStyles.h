// The enumerated values of ControlStyle (which field the line shows) and of
// CommandStyle (what its button does), and one descriptor per value: all
// that the layout, the focus, the text members and the button read of the
// style. Both properties take any integer; a value without a name here has
// the descriptor of no field, or of no action.
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

// The values of ComboStyle that choose a combo box; any other keeps the
// current one.
enum ComboKind : std::int32_t {
    ComboEditable = 0, // cmb0
    ComboListOnly = 2, // cmb2
};

// The children a style names; the control knows which child each is.
enum class Part { None, Txt, CurrentCombo, Mem, Anz, Txi, Con, Shp };

// How the layout pass decides the control's height (FH: field height, FT:
// field top).
enum class HeightRule {
    Unchanged,  // no field: the height stays, FH and FT are 0
    OneLine,    // one line plus TopDistance, and extraHeight more
    HostHeight, // the host's; the field fills it below TopDistance
};

// The extent of the shown field.
enum class FieldWidth {
    BesideButton,    // up to the button block
    OverButton,      // up to the right edge: the frame holds the button
    FromLabelColumn, // the width right of the label column, LeftOffset ignored
};
enum class FieldHeight { OneLine, Field, FieldLessOne };

// What a click on the button acts on.
enum class ButtonTarget { None, Text, Combo };

struct StyleDescriptor {
    Part field; // text, selection, focus and colours go to it
    Part shown; // what the layout shows as the field
    Part inner; // what InnerControl gives the host
    HeightRule height;
    int extraHeight; // pixels beyond the one line
    int fieldTopOffset;
    FieldWidth fieldWidth;
    FieldHeight fieldHeight;
    // The button and the grey cover lie inside the frame con, which the
    // cover then fills; the button is square by default.
    bool framed;
    bool hasButton; // false: the button stays hidden even with ButtonShow
    ButtonTarget buttonActsOn;
    bool fieldColours; // SwitchMSGColors colours the field
};

const StyleDescriptor& DescriptorOfStyle(std::int32_t controlStyle);

// What the button does to the text of a text style.
enum class TextAnswer { Nothing, Clear, ChooseInDialog, ReportClick, Copy };
// What it does in the combo box style.
enum class ComboAnswer { Nothing, Clear, ReportClick };
enum class Dialog { None, OpenFile, SaveFile, Folder, OpenFiles };

struct ActionDescriptor {
    TextAnswer onText;
    ComboAnswer onCombo;
    Dialog dialog; // the dialog of ChooseInDialog
};

const ActionDescriptor& DescriptorOfAction(std::int32_t commandStyle);

} // namespace lineinput
