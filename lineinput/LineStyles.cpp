#include "LineStyles.h"

#include <array>
#include <cstddef>

namespace lineinput {
namespace {

struct StyleRow {
    FieldStyle value;
    StyleDescriptor descriptor;
};

// Whether each row stands at the index of its value, which the lookups use.
template <class Rows> constexpr bool InValueOrder(const Rows& rows) {
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (rows[i].value != static_cast<std::int32_t>(i))
            return false;
    return true;
}

// One row per ControlStyle, in the order of the values.
constexpr std::array<StyleRow, 6> kStyles{{
    {StyleTextBox,
     {.field = Part::Txt,
      .shown = Part::Txt,
      .inner = Part::Txt,
      .height = HeightRule::OneLine,
      .extraHeight = 0,
      .fieldTopOffset = 0,
      .fieldWidth = FieldWidth::BesideButton,
      .fieldHeight = FieldHeight::OneLine,
      .framed = false,
      .hasButton = true,
      .buttonActsOn = ButtonTarget::Text,
      .fieldColours = true}},
    // A combo box keeps the height its font gives it: the line is one pixel
    // higher, and the box sits one pixel above the text box's place.
    {StyleCombo,
     {.field = Part::CurrentCombo,
      .shown = Part::CurrentCombo,
      .inner = Part::CurrentCombo,
      .height = HeightRule::OneLine,
      .extraHeight = 1,
      .fieldTopOffset = -1,
      .fieldWidth = FieldWidth::BesideButton,
      .fieldHeight = FieldHeight::OneLine,
      .framed = false,
      .hasButton = true,
      .buttonActsOn = ButtonTarget::Combo,
      .fieldColours = true}},
    {StyleMemo,
     {.field = Part::Mem,
      .shown = Part::Mem,
      .inner = Part::Mem,
      .height = HeightRule::HostHeight,
      .extraHeight = 0,
      .fieldTopOffset = 0,
      .fieldWidth = FieldWidth::BesideButton,
      .fieldHeight = FieldHeight::Field,
      .framed = false,
      .hasButton = true,
      .buttonActsOn = ButtonTarget::Text,
      .fieldColours = true}},
    // A display keeps its own colours.
    {StyleDisplay,
     {.field = Part::Anz,
      .shown = Part::Anz,
      .inner = Part::Anz,
      .height = HeightRule::OneLine,
      .extraHeight = 0,
      .fieldTopOffset = 0,
      .fieldWidth = FieldWidth::BesideButton,
      .fieldHeight = FieldHeight::OneLine,
      .framed = false,
      .hasButton = true,
      .buttonActsOn = ButtonTarget::Text,
      .fieldColours = false}},
    {StyleInnerBox,
     {.field = Part::Txi,
      .shown = Part::Con,
      .inner = Part::Con,
      .height = HeightRule::OneLine,
      .extraHeight = 0,
      .fieldTopOffset = 0,
      .fieldWidth = FieldWidth::OverButton,
      .fieldHeight = FieldHeight::OneLine,
      .framed = true,
      .hasButton = true,
      .buttonActsOn = ButtonTarget::Text,
      .fieldColours = true}},
    // An outline without text: nothing for the host, the button or colours.
    {StyleOutline,
     {.field = Part::Shp,
      .shown = Part::Shp,
      .inner = Part::None,
      .height = HeightRule::HostHeight,
      .extraHeight = 0,
      .fieldTopOffset = 0,
      .fieldWidth = FieldWidth::FromLabelColumn,
      .fieldHeight = FieldHeight::FieldLessOne,
      .framed = false,
      .hasButton = false,
      .buttonActsOn = ButtonTarget::None,
      .fieldColours = false}},
}};

static_assert(InValueOrder(kStyles));

// Any other value: no field, and a button that acts on nothing.
constexpr StyleDescriptor kNoField{.field = Part::None,
                                   .shown = Part::None,
                                   .inner = Part::None,
                                   .height = HeightRule::Unchanged,
                                   .extraHeight = 0,
                                   .fieldTopOffset = 0,
                                   .fieldWidth = FieldWidth::BesideButton,
                                   .fieldHeight = FieldHeight::OneLine,
                                   .framed = false,
                                   .hasButton = true,
                                   .buttonActsOn = ButtonTarget::None,
                                   .fieldColours = true};

struct ActionRow {
    ButtonAction value;
    ActionDescriptor descriptor;
};

// One row per CommandStyle, in the order of the values. The dialog actions
// fill the text from a dialog; in the combo box style every action but
// clearing only reports the click.
constexpr std::array<ActionRow, 7> kActions{{
    {ActionClear, {TextAnswer::Clear, ComboAnswer::Clear, Dialog::None}},
    {ActionOpenFile, {TextAnswer::ChooseInDialog, ComboAnswer::ReportClick, Dialog::OpenFile}},
    {ActionSaveFile, {TextAnswer::ChooseInDialog, ComboAnswer::ReportClick, Dialog::SaveFile}},
    {ActionFolder, {TextAnswer::ChooseInDialog, ComboAnswer::ReportClick, Dialog::Folder}},
    {ActionReportOnly, {TextAnswer::ReportClick, ComboAnswer::ReportClick, Dialog::None}},
    {ActionCopy, {TextAnswer::Copy, ComboAnswer::ReportClick, Dialog::None}},
    {ActionOpenFiles, {TextAnswer::ChooseInDialog, ComboAnswer::ReportClick, Dialog::OpenFiles}},
}};

static_assert(InValueOrder(kActions));

// Any other value: the click's events only.
constexpr ActionDescriptor kNoAction{TextAnswer::Nothing, ComboAnswer::Nothing, Dialog::None};

} // namespace

const StyleDescriptor& DescriptorOfStyle(std::int32_t controlStyle) {
    if (controlStyle < 0 || static_cast<std::size_t>(controlStyle) >= kStyles.size())
        return kNoField;
    return kStyles[static_cast<std::size_t>(controlStyle)].descriptor;
}

const ActionDescriptor& DescriptorOfAction(std::int32_t commandStyle) {
    if (commandStyle < 0 || static_cast<std::size_t>(commandStyle) >= kActions.size())
        return kNoAction;
    return kActions[static_cast<std::size_t>(commandStyle)].descriptor;
}

} // namespace lineinput
