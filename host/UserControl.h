// The base of a composite control: a surface window of its own on which the
// control places its children, hosted by a ControlSite. The host places it in
// twips; the control hears of the host's resize and paint requests, of
// changes to the host's ambient properties, and of its termination.
#pragma once

#include "Control.h"
#include "ControlSite.h"

#include <string>

namespace host {

class UserControl : public Control {
public:
    ~UserControl() override;

    ControlSite& site() const { return site_; }
    AmbientProperties ambient() const { return site_.ambientProperties(); }

    // Placement by the host, in twips of the container; a change of size is
    // a resize by the host. The first placement also shows the control.
    void placeTwips(double left, double top, double width, double height);
    double leftTwips() const;
    double topTwips() const;
    double widthTwips() const;
    double heightTwips() const;

    // The device context of the surface (the class keeps one per window).
    HDC hdc() const { return hdc_; }

    // The host ends the control: onTerminate runs once. The host calls it,
    // or it runs by itself when the surface window is destroyed while the
    // control's object lives (its form was destroyed first).
    void terminate();
    // The host's ambient property of this name changed.
    void ambientChanged(const std::wstring& propertyName) { onAmbientChanged(propertyName); }

protected:
    explicit UserControl(ControlSite& site);
    // Creates the surface hidden, with no extent, in parent.
    bool createSurface(HWND parent);

    void propertyChanged(const std::wstring& propertyName) { site_.propertyChanged(*this, propertyName); }
    // The control sets its own height; this is not a resize by the host.
    void setOwnHeight(int pixels);
    // Whether the host has placed the control yet (placeTwips); until then
    // it has no extent to lay out.
    bool placed() const { return placed_; }

    virtual void onHostResize() {}
    virtual void onHostPaint() {}
    virtual void onAmbientChanged(const std::wstring&) {}
    virtual void onTerminate() {}

    LRESULT handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    ControlSite& site_;
    HDC hdc_ = nullptr;
    bool placed_ = false;
    bool terminated_ = false;
};

} // namespace host
