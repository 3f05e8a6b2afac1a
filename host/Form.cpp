#include "Form.h"

#include "Screen.h"
#include "Twips.h"
#include "UserControl.h"

#include <algorithm>
#include <map>

namespace host {
namespace {
constexpr DWORD kFormStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr DWORD kResizableFormStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
constexpr DWORD kFormExStyle = WS_EX_CONTROLPARENT;
// Sent to the form to run the work other threads posted to it.
constexpr UINT kRunPostedWork = WM_APP + 0x3F0;
} // namespace

std::unique_ptr<Form> Form::Create(const FormArgs& args) {
    std::unique_ptr<Form> form(new Form());
    const DWORD style = args.resizable ? kResizableFormStyle : kFormStyle;
    if (!form->createOwn(L"OrdnerlinkForm", 0, style, kFormExStyle, nullptr))
        return nullptr;
    form->postTarget_ = std::make_shared<PostTarget>(form->hwnd(), kRunPostedWork);
    form->setCaption(args.caption);
    RECT r{0, 0, TwipsToPixels(args.clientWidthTwips, TwipsPerPixelX()),
           TwipsToPixels(args.clientHeightTwips, TwipsPerPixelY())};
    AdjustWindowRectEx(&r, style, FALSE, kFormExStyle);
    const int w = r.right - r.left;
    const int h = r.bottom - r.top;
    RECT work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    SetWindowPos(form->hwnd(), nullptr, work.left + (work.right - work.left - w) / 2,
                 work.top + (work.bottom - work.top - h) / 2, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
    return form;
}

Form::~Form() {
    if (postTarget_)
        postTarget_->close();
}

std::wstring Form::caption() const {
    if (!hwnd())
        return {};
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd())) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(hwnd(), text.data(), static_cast<int>(text.size()))));
    return text;
}

void Form::setCaption(const std::wstring& text) {
    if (hwnd())
        SetWindowTextW(hwnd(), text.c_str());
}

int Form::clientWidth() const {
    RECT r{};
    return hwnd() && GetClientRect(hwnd(), &r) ? r.right : 0;
}

int Form::clientHeight() const {
    RECT r{};
    return hwnd() && GetClientRect(hwnd(), &r) ? r.bottom : 0;
}

void Form::show() {
    if (!hwnd())
        return;
    ShowWindow(hwnd(), SW_SHOW);
    UpdateWindow(hwnd());
}

void Form::setIcon(int resourceId) {
    if (!hwnd())
        return;
    // Shared icons belong to the system's cache: nothing to destroy later.
    const auto load = [resourceId](int cxMetric, int cyMetric) {
        return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resourceId),
                                             IMAGE_ICON, GetSystemMetrics(cxMetric),
                                             GetSystemMetrics(cyMetric), LR_SHARED));
    };
    if (HICON big = load(SM_CXICON, SM_CYICON))
        SendMessageW(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
    if (HICON small = load(SM_CXSMICON, SM_CYSMICON))
        SendMessageW(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
}

void Form::setTabOrder(std::initializer_list<Control*> controls) {
    // The focus moves through siblings in their z-order, so each control is
    // put right after the previous one of the same parent.
    std::map<HWND, HWND> lastOfParent;
    for (Control* c : controls) {
        if (!c || !c->hwnd())
            continue;
        HWND parent = GetParent(c->hwnd());
        auto found = lastOfParent.find(parent);
        HWND after = found == lastOfParent.end() ? HWND_TOP : found->second;
        SetWindowPos(c->hwnd(), after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        lastOfParent[parent] = c->hwnd();
    }
}

int Form::runMessageLoop() {
    MSG msg{};
    BOOL got;
    while ((got = GetMessageW(&msg, nullptr, 0, 0)) != 0) {
        if (got == -1)
            return -1;
        if (hwnd() && IsDialogMessageW(hwnd(), &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

void Form::keepFocus() {
    const HWND focus = GetFocus();
    if (focus && IsChild(hwnd(), focus))
        lastFocus_ = focus;
}

void Form::unload() {
    bool cancel = false;
    if (onQueryUnload)
        onQueryUnload(cancel);
    if (!cancel && hwnd())
        DestroyWindow(hwnd());
}

bool Form::addSystemMenuItem(unsigned id, const std::wstring& text) {
    const HMENU menu = hwnd() ? GetSystemMenu(hwnd(), FALSE) : nullptr;
    if (!menu)
        return false;
    // The form's own commands stand apart from the system's.
    if (systemMenuItems_.empty() && !AppendMenuW(menu, MF_SEPARATOR, 0, nullptr))
        return false;
    if (!AppendMenuW(menu, MF_STRING, id, text.c_str()))
        return false;
    systemMenuItems_.push_back(id);
    return true;
}

void Form::setMinimumSize(int width, int height) {
    minimumSize_ = SIZE{width, height};
}

void Form::setBackColor(Color c) {
    Control::setBackColor(c);
    notifyAmbient(L"BackColor");
}

void Form::setForeColor(Color c) {
    Control::setForeColor(c);
    notifyAmbient(L"ForeColor");
}

void Form::setFont(const FontDesc& desc) {
    Control::setFont(desc);
    notifyAmbient(L"Font");
}

AmbientProperties Form::ambientProperties() const {
    return AmbientProperties{backColor(), foreColor(), font()};
}

void Form::propertyChanged(UserControl& control, const std::wstring& propertyName) {
    propertiesChanged_ = true;
    if (onPropertyChanged)
        onPropertyChanged(control, propertyName);
}

void Form::attach(UserControl& control) {
    if (std::find(hosted_.begin(), hosted_.end(), &control) == hosted_.end())
        hosted_.push_back(&control);
}

void Form::detach(UserControl& control) {
    std::erase(hosted_, &control);
}

void Form::notifyAmbient(const std::wstring& name) {
    // A control may end while it hears of the change; tell those still hosted.
    const std::vector<UserControl*> snapshot = hosted_;
    for (UserControl* control : snapshot)
        if (std::find(hosted_.begin(), hosted_.end(), control) != hosted_.end())
            control->ambientChanged(name);
}

LRESULT Form::handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_ERASEBKGND:
        return eraseBackground(reinterpret_cast<HDC>(wParam));
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            const HWND focus = GetFocus();
            if (focus && IsChild(hwnd(), focus))
                lastFocus_ = focus;
        } else {
            restoreFocus();
        }
        return 0;
    case WM_NEXTDLGCTL:
        moveFocus(wParam, lParam);
        return 0;
    case WM_CLOSE:
        unload();
        return 0;
    case WM_DESTROY:
        if (postTarget_) // not yet made while the window is being created
            postTarget_->close();
        if (onUnload)
            onUnload();
        return 0;
    case kRunPostedWork:
        if (postTarget_)
            postTarget_->runPending();
        return 0;
    case WM_SIZE:
        if (onResize && wParam != SIZE_MINIMIZED)
            onResize();
        return Control::handleMessage(msg, wParam, lParam);
    case WM_GETMINMAXINFO: {
        Control::handleMessage(msg, wParam, lParam);
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        info->ptMinTrackSize.x = std::max(info->ptMinTrackSize.x, minimumSize_.cx);
        info->ptMinTrackSize.y = std::max(info->ptMinTrackSize.y, minimumSize_.cy);
        return 0;
    }
    case WM_SYSCOMMAND:
        // The low four bits are the system's own.
        if (std::find(systemMenuItems_.begin(), systemMenuItems_.end(), wParam & 0xFFF0) !=
            systemMenuItems_.end()) {
            if (onSystemMenuItem)
                onSystemMenuItem(static_cast<unsigned>(wParam & 0xFFF0));
            return 0;
        }
        return Control::handleMessage(msg, wParam, lParam);
    case WM_DPICHANGED: {
        const auto* suggested = reinterpret_cast<const RECT*>(lParam);
        SetWindowPos(hwnd(), nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
        if (onDpiChanged)
            onDpiChanged(HIWORD(wParam));
        return 0;
    }
    default:
        return Control::handleMessage(msg, wParam, lParam);
    }
}

void Form::moveFocus(WPARAM wParam, LPARAM lParam) {
    HWND next = LOWORD(lParam) ? reinterpret_cast<HWND>(wParam)
                               : GetNextDlgTabItem(hwnd(), GetFocus(), wParam != 0 ? TRUE : FALSE);
    if (!next || !IsChild(hwnd(), next))
        return;
    // A text box reached this way shows its whole text selected, as with Tab.
    if (SendMessageW(next, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL)
        SendMessageW(next, EM_SETSEL, 0, -1);
    SetFocus(next);
}

void Form::restoreFocus() {
    HWND target = lastFocus_;
    if (!target || !IsChild(hwnd(), target) || !IsWindowVisible(target) || !IsWindowEnabled(target))
        target = GetNextDlgTabItem(hwnd(), nullptr, FALSE);
    if (target)
        SetFocus(target);
}

int ShowMessageBox(HWND owner, const std::wstring& text, const std::wstring& title, UINT flags) {
    return MessageBoxW(owner, text.c_str(), title.c_str(), flags);
}

} // namespace host
