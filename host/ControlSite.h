// What a composite control needs from the form that hosts it: the form's
// ambient properties, somewhere to report that a property changed, and the
// form's window (the owner of dialogs the control opens).
#pragma once

#include "Color.h"
#include "FontDesc.h"

#include <string>
#include <windows.h>

namespace host {

class UserControl;

struct AmbientProperties {
    Color backColor = kColorButtonFace;
    Color foreColor = kColorButtonText;
    FontDesc font;
};

class ControlSite {
public:
    virtual ~ControlSite() = default;

    virtual AmbientProperties ambientProperties() const = 0;
    // A property of control changed: the form marks its stored state as changed.
    virtual void propertyChanged(UserControl& control, const std::wstring& propertyName) = 0;
    virtual HWND formWindow() const = 0;
    // A control registers itself while it lives, to hear of ambient changes.
    virtual void attach(UserControl& control) = 0;
    virtual void detach(UserControl& control) = 0;
};

} // namespace host
