#include "UserControl.h"

#include "Screen.h"
#include "Twips.h"
#include "Win32Holders.h"

namespace host {

UserControl::UserControl(ControlSite& site) : Control(kColorButtonFace, kColorButtonText), site_(site) {}

UserControl::~UserControl() {
    site_.detach(*this);
}

bool UserControl::createSurface(HWND parent) {
    // One device context per window (CS_OWNDC), so hdc stays valid.
    if (!createOwn(L"OrdnerlinkUserControl", CS_OWNDC, WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                   WS_EX_CONTROLPARENT, parent))
        return false;
    hdc_ = GetDC(hwnd());
    site_.attach(*this);
    return true;
}

void UserControl::placeTwips(double left, double top, double width, double height) {
    if (!hwnd())
        return;
    const double tx = TwipsPerPixelX();
    const double ty = TwipsPerPixelY();
    const int w = TwipsToPixels(width, tx);
    const int h = TwipsToPixels(height, ty);
    if (w < 0 || h < 0)
        return;
    const bool resized = w != this->width() || h != this->height();
    MoveWindow(hwnd(), TwipsToPixels(left, tx), TwipsToPixels(top, ty), w, h, TRUE);
    const bool first = !placed_;
    placed_ = true;
    if (first)
        ShowWindow(hwnd(), SW_SHOWNA);
    if (resized || first)
        onHostResize();
}

double UserControl::leftTwips() const {
    return PixelsToTwips(left(), TwipsPerPixelX());
}
double UserControl::topTwips() const {
    return PixelsToTwips(top(), TwipsPerPixelY());
}
double UserControl::widthTwips() const {
    return PixelsToTwips(width(), TwipsPerPixelX());
}
double UserControl::heightTwips() const {
    return PixelsToTwips(height(), TwipsPerPixelY());
}

void UserControl::terminate() {
    if (terminated_)
        return;
    terminated_ = true;
    onTerminate();
}

void UserControl::setOwnHeight(int pixels) {
    setHeight(pixels);
}

LRESULT UserControl::handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_ERASEBKGND:
        return eraseBackground(reinterpret_cast<HDC>(wParam));
    case WM_PAINT: {
        {
            // The surface itself has nothing to draw: the paint only ends
            // the request, before the host hears of it.
            const win32::PaintDc paint(hwnd());
        }
        onHostPaint();
        return 0;
    }
    case WM_NEXTDLGCTL:
        // A multi-line text box asks its parent to move the focus on Tab, as
        // in a dialog box; the form that holds this control does it.
        if (HWND form = GetAncestor(hwnd(), GA_ROOT); form && form != hwnd())
            return SendMessageW(form, msg, wParam, lParam);
        return 0;
    case WM_CLOSE:
        // A multi-line text box posts this on Escape to close its dialog; the
        // control's surface ends only with its host.
        return 0;
    case WM_DESTROY:
        // The host ends the control with its window (the form closes): the
        // terminate notification, while the control's object still lives.
        terminate();
        return Control::handleMessage(msg, wParam, lParam);
    default:
        return Control::handleMessage(msg, wParam, lParam);
    }
}

} // namespace host
