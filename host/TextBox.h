// A single- or multi-line text box. Change is raised for every change of the
// text: typed, pasted, or set in code (exactly once per setText that changes
// it, for both kinds alike; setting the text it already holds raises none).
// A single-line text box is never lower than its font and border need, so
// setting its height to 1 pixel gives that minimum height.
#pragma once

#include "Control.h"

#include <memory>
#include <string>

namespace host {

struct TextBoxArgs {
    HWND parent = nullptr;
    bool multiLine = false;
    bool border = true;
};

class TextBox : public Control {
public:
    static std::unique_ptr<TextBox> Create(const TextBoxArgs& args);

    std::wstring text() const;
    void setText(const std::wstring& text);
    bool locked() const;
    void setLocked(bool on);
    // 0 means no limit.
    int maxLength() const { return maxLength_; }
    void setMaxLength(int n);
    // The empty string shows the text; otherwise its first character hides it.
    std::wstring passwordChar() const { return passwordChar_; }
    void setPasswordChar(const std::wstring& ch);

    int selStart() const;
    void setSelStart(int start);
    int selLength() const;
    void setSelLength(int length);
    std::wstring selText() const;
    void setSelText(const std::wstring& text);

    std::function<void()> onChange;

private:
    TextBox() : Control(kColorWindow, kColorWindowText) {}
    LRESULT handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    bool handleReflected(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    // Height of one line of the font, with margins and border.
    int minimumHeight();

    bool multiLine_ = false;
    bool settingText_ = false;
    int maxLength_ = 0;
    std::wstring passwordChar_;
};

} // namespace host
