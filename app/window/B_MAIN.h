// The program's only window, "Entfernten Ordner Lokal einbinden": two input
// lines for the source and the local target inside a frame, and the buttons
// "Erstellen" and "Schließen".
#pragma once

#include "CommandButton.h"
#include "Form.h"
#include "Frame.h"
#include "VxLineIn.h"

#include <memory>
#include <string>

// What "ordnerlink /new" puts into the window's lines; an empty text leaves
// its line as the stored form data has it.
struct MainWindowPrefill {
    std::wstring source;
    std::wstring target;
};

class B_MAIN {
public:
    // Creates the window with its controls, the input lines restored from the
    // form data stored with the program and then given the prefilled texts;
    // null when the window could not be made.
    static std::unique_ptr<B_MAIN> Create(const MainWindowPrefill& prefill);

    void Show();
    // Runs until the window is unloaded; returns the program's exit code.
    int Run();

private:
    B_MAIN() = default;
    bool CreateControls();
    void Prefill(const MainWindowPrefill& prefill);

    void cmdOK_Click();
    void cmdAB_Click();
    void Form_QueryUnload(bool& cancel);
    void Form_Unload();
    // The system menu's "Ordnerverknüpfungen verwalten…".
    void Form_Manage();

    std::unique_ptr<host::Form> form;
    std::unique_ptr<host::Frame> Frame1;
    std::unique_ptr<VxLineIn> txtUrl;
    std::unique_ptr<VxLineIn> txtPat;
    std::unique_ptr<host::CommandButton> cmdOK;
    std::unique_ptr<host::CommandButton> cmdAB;
};
