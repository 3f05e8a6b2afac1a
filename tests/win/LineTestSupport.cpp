#include "LineTestSupport.h"

#include "Screen.h"

#include <iterator>

void PlaceInPixels(VxLineIn& line, const LinePlace& place) {
    const double tpp = host::TwipsPerPixelX();
    line.placeTwips(place.left * tpp, place.top * tpp, place.width * tpp, place.height * tpp);
}

std::unique_ptr<VxLineIn> NewPlacedLine(host::Form& form, const LinePlace& place, int style) {
    auto line = VxLineIn::Create({form.hwnd(), &form});
    if (!line)
        return nullptr;
    line->InitProperties();
    if (style != 0)
        line->SetControlStyle(style);
    PlaceInPixels(*line, place);
    return line;
}

void RecordPropertyChanges(host::Form& form, std::vector<std::wstring>& into) {
    form.onPropertyChanged = [&into](host::UserControl&, const std::wstring& name) { into.push_back(name); };
}

void VxEvent::PrintTo(Number event, std::ostream* os) {
    static const char* const kNames[] = {
        "",
        "AfterButtonClicked",
        "BeforeButtonClicked",
        "AfterButtonClickedFinished",
        "ButtonClicked",
        "Click",
        "Change",
        "DblClick",
        "GotFocusText",
        "GotFocusCombo",
        "KeyDown",
        "KeyUp",
        "KeyPress",
        "LostFocusText",
        "LostFocusCombo",
        "MouseDown",
        "MouseMove",
        "MouseUp",
        "KeyPressBeforeCheck",
        "Resize",
        "AfterRedraw",
        "BeforeRedraw",
        "Paint",
        "CheckBoxChanged",
        "LabelClick",
        "LabelDblClick",
        "LabelPopMenu",
        "ButtonRightClick",
        "LabelMouseDown",
        "LabelMouseUp",
        "ComboKeyPress",
        "RequestMainForm",
    };
    static_assert(std::size(kNames) == Count + 1);
    const int n = static_cast<int>(event);
    *os << (n >= 1 && n <= Count ? kNames[n] : "Event") << '(' << n << ')';
}

void RecordEvents(VxLineIn& line, EventList& into) {
    for (int n = 1; n <= VxEvent::Count; ++n)
        line.BindEvent(n, [&into](int number, VxLineInEventArgs&) {
            into.push_back(static_cast<VxEvent::Number>(number));
        });
}

void RecordEvents(VxLineIn& line, std::initializer_list<VxEvent::Number> events, EventList& into) {
    for (const VxEvent::Number e : events)
        line.BindEvent(e, [&into](int number, VxLineInEventArgs&) {
            into.push_back(static_cast<VxEvent::Number>(number));
        });
}
