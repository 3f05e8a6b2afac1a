// Prints what the visible top-level windows of the Wine session show, one
// window a line: its title, then the texts of its child windows, separated by
// tabs, in UTF-8; a line break inside a text is printed as the unit
// separator (0x1F), so that each window stays on one line. The whole-program
// tests read message boxes through it.
// With "--close TITLE" it sends the window of that title the Close command
// of its system menu instead.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

std::string Utf8(const std::wstring& text) {
    const int cb = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                       nullptr, nullptr);
    std::string out(cb > 0 ? static_cast<std::size_t>(cb) : 0, '\0');
    if (cb > 0)
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), cb, nullptr,
                            nullptr);
    return out;
}

std::wstring TextOf(HWND window) {
    wchar_t text[1024]{};
    // WM_GETTEXT reaches windows of other processes; GetWindowTextW would not
    // read their controls.
    SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000,
                        nullptr);
    std::wstring oneLine = text;
    for (wchar_t& c : oneLine)
        if (c == L'\n')
            c = L'\x1F';
    std::erase(oneLine, L'\r');
    return oneLine;
}

BOOL CALLBACK AddChildText(HWND child, LPARAM line) {
    if (IsWindowVisible(child))
        *reinterpret_cast<std::wstring*>(line) += L"\t" + TextOf(child);
    return TRUE;
}

BOOL CALLBACK PrintWindow(HWND window, LPARAM) {
    if (!IsWindowVisible(window))
        return TRUE;
    std::wstring line = TextOf(window);
    if (line.empty())
        return TRUE;
    EnumChildWindows(window, AddChildText, reinterpret_cast<LPARAM>(&line));
    std::printf("%s\n", Utf8(line).c_str());
    return TRUE;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc == 3 && std::wstring(argv[1]) == L"--close") {
        const HWND window = FindWindowW(nullptr, argv[2]);
        return window && PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0) ? 0 : 1;
    }
    EnumWindows(PrintWindow, 0);
    return 0;
}
