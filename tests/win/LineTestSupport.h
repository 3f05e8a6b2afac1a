// What the input line tests share around the control: a new line placed in a
// form as a host places it, the form's property notifications and the line's
// events recorded in order.
#pragma once

#include "Form.h"
#include "MessagePump.h"
#include "VxLineIn.h"

#include <initializer_list>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

// Where a line goes in its form, in pixels.
struct LinePlace {
    int left = 10;
    int top = 10;
    int width = 400;
    int height = 60;
};

// Places line in pixels of the screen, converted to twips as a host does.
void PlaceInPixels(VxLineIn& line, const LinePlace& place);

// A new instance in form with its defaults, in style (0 keeps the default
// style), placed at place. Null when the control could not be made.
std::unique_ptr<VxLineIn> NewPlacedLine(host::Form& form, const LinePlace& place = {}, int style = 0);

// Appends the name of every property a control of form reports as changed.
void RecordPropertyChanges(host::Form& form, std::vector<std::wstring>& into);

// Events in the order raised; a failed comparison prints them by name.
using EventList = std::vector<VxEvent::Number>;

namespace VxEvent {
// The event's name and number, as "Change(6)".
void PrintTo(Number event, std::ostream* os);
} // namespace VxEvent

// Appends each event line raises, of all events or of those given.
void RecordEvents(VxLineIn& line, EventList& into);
void RecordEvents(VxLineIn& line, std::initializer_list<VxEvent::Number> events, EventList& into);
