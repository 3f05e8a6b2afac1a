// A top-level form: caption, fixed single border without maximise box (or,
// made resizable, a sizing border with both boxes), client area given in
// twips, centred on the screen. It hosts composite
// controls as their ControlSite: its back colour, fore colour and font are
// their ambient properties, and it collects their property-changed reports.
#pragma once

#include "Control.h"
#include "ControlSite.h"
#include "PostTarget.h"

#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

namespace host {

struct FormArgs {
    std::wstring caption;
    double clientWidthTwips = 4800;
    double clientHeightTwips = 3600;
    bool resizable = false;
};

class Form : public Control, public ControlSite {
public:
    static std::unique_ptr<Form> Create(const FormArgs& args);
    ~Form() override;

    std::wstring caption() const;
    void setCaption(const std::wstring& text);
    int clientWidth() const;
    int clientHeight() const;
    void show();
    // Gives the window the icon resource id of the running program, in the
    // sizes the system asks for in the caption and in the task switcher.
    void setIcon(int resourceId);
    // Sets the tab order: the controls take the focus in the order given.
    void setTabOrder(std::initializer_list<Control*> controls);
    // Runs the message loop (with dialog keys: Tab moves the focus) until the
    // program quits; returns the exit code.
    int runMessageLoop();
    // Keeps the child that has the focus now as the one to get it back when
    // the form is next activated (after a message box, say).
    void keepFocus();
    // Asks the form to close, as the close box does.
    void unload();
    // Appends a command to the window's system menu; id is a multiple of 16
    // below 0xF000, as the system's own commands leave those free.
    bool addSystemMenuItem(unsigned id, const std::wstring& text);
    // The smallest size the user can give a resizable form, in pixels of the
    // whole window.
    void setMinimumSize(int width, int height);
    // Where other threads post work for this form's thread; closed when the
    // form's window goes.
    const std::shared_ptr<PostTarget>& postTarget() const { return postTarget_; }

    // The ambient properties: setting one tells every hosted control.
    void setBackColor(Color c) override;
    void setForeColor(Color c) override;
    void setFont(const FontDesc& desc) override;

    bool propertiesChanged() const { return propertiesChanged_; }
    void clearPropertiesChanged() { propertiesChanged_ = false; }

    // A hosted control reported a changed property.
    std::function<void(UserControl& control, const std::wstring& propertyName)> onPropertyChanged;
    // Asked before the form closes; setting cancel keeps it open.
    std::function<void(bool& cancel)> onQueryUnload;
    // The form's window is going away.
    std::function<void()> onUnload;
    // The client area changed its size.
    std::function<void()> onResize;
    // A command added with addSystemMenuItem was chosen.
    std::function<void(unsigned id)> onSystemMenuItem;
    // The window moved to a screen of another resolution (dots per inch)
    // and has taken the size the system suggests for it.
    std::function<void(unsigned dpi)> onDpiChanged;

    AmbientProperties ambientProperties() const override;
    void propertyChanged(UserControl& control, const std::wstring& propertyName) override;
    HWND formWindow() const override { return hwnd(); }
    void attach(UserControl& control) override;
    void detach(UserControl& control) override;

private:
    Form() : Control(kColorButtonFace, kColorButtonText) {}
    LRESULT handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void notifyAmbient(const std::wstring& name);
    // As a dialog box does: the control that had the focus when the form was
    // deactivated gets it back, at first the first control in the tab order.
    void restoreFocus();
    // WM_NEXTDLGCTL, as a dialog box answers it: the focus goes to the next
    // or previous control in the tab order, or to the window given.
    void moveFocus(WPARAM wParam, LPARAM lParam);

    std::vector<UserControl*> hosted_;
    bool propertiesChanged_ = false;
    HWND lastFocus_ = nullptr;
    std::vector<unsigned> systemMenuItems_;
    SIZE minimumSize_{};
    std::shared_ptr<PostTarget> postTarget_;
};

// Shows a message box owned by owner and returns the button pressed (IDOK...).
int ShowMessageBox(HWND owner, const std::wstring& text, const std::wstring& title, UINT flags);

} // namespace host
