#include "LineTestSupport.h"

#include "Screen.h"

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

void RecordEvents(VxLineIn& line, std::vector<int>& into) {
    for (int n = 1; n <= VxEvent::Count; ++n)
        line.BindEvent(n, [&into](int number, VxLineInEventArgs&) { into.push_back(number); });
}

void RecordEvents(VxLineIn& line, std::initializer_list<int> numbers, std::vector<int>& into) {
    for (const int n : numbers)
        line.BindEvent(n, [&into](int number, VxLineInEventArgs&) { into.push_back(number); });
}
