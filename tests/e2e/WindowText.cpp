// Prints what the visible top-level windows of the Wine session show, one
// window a line: its title, then the texts of its child windows, separated by
// tabs, in UTF-8; a line break inside a text is printed as the unit
// separator (0x1F), so that each window stays on one line. The whole-program
// tests read message boxes through it.
// With "--close TITLE" it sends the window of that title the Close command
// of its system menu instead, with "--system-menu TITLE" opens that menu as
// Alt+Space does; with "--rows TITLE" it prints the rows of the
// list view in that window, one a line: "*" for a selected row or "-", then
// the texts of its columns and the index of its picture (-1 for none),
// separated by tabs; with "--layout TITLE" the
// geometry of that window and of every visible window within it (below);
// with "--focus TITLE" the class of the window that has the keyboard focus in
// that window's thread, and whether that window is the active one; with
// "--clipboard" the clipboard's text, as it is, in UTF-8.
#include <windows.h>

#include <commctrl.h>
#include <fcntl.h>
#include <io.h>

#include "Win32Holders.h"

#include <cstdio>
#include <optional>
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

// Memory in another process, freed with the scope.
class RemoteMemory {
public:
    RemoteMemory(HANDLE process, SIZE_T cb)
        : process_(process), at_(VirtualAllocEx(process, nullptr, cb, MEM_COMMIT, PAGE_READWRITE)) {}
    ~RemoteMemory() {
        if (at_)
            VirtualFreeEx(process_, at_, 0, MEM_RELEASE);
    }
    RemoteMemory(const RemoteMemory&) = delete;
    RemoteMemory& operator=(const RemoteMemory&) = delete;
    char* get() const { return static_cast<char*>(at_); }

private:
    HANDLE process_;
    void* at_;
};

// A message to a window of another process, answered within seconds or
// not at all: a window that does not answer makes the tool end with nothing
// read (exit code 3) instead of waiting with it, so that a test names a hung
// window as such.
std::optional<LRESULT> Ask(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 5000, &result))
        return std::nullopt;
    return static_cast<LRESULT>(result);
}

constexpr int kNotAnswering = 3;

// The text of one cell. The list view writes it into a buffer that must lie
// in its own process: the item and the buffer are placed there, the text
// read back.
std::wstring CellText(HWND list, HANDLE process, const RemoteMemory& memory, int row, int column) {
    constexpr int kCchText = 1024;
    LVITEMW item{};
    item.iSubItem = column;
    item.cchTextMax = kCchText;
    item.pszText = reinterpret_cast<wchar_t*>(memory.get() + sizeof(LVITEMW));
    wchar_t text[kCchText]{};
    if (!WriteProcessMemory(process, memory.get(), &item, sizeof item, nullptr) ||
        !Ask(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(memory.get())) ||
        !ReadProcessMemory(process, item.pszText, text, sizeof text, nullptr))
        return L"?";
    text[kCchText - 1] = L'\0';
    return text;
}

// The index of a row's picture in the list's image list; nothing when the
// list cannot be asked.
std::optional<int> ImageIndex(HWND list, HANDLE process, const RemoteMemory& memory, int row) {
    LVITEMW item{};
    item.mask = LVIF_IMAGE;
    item.iItem = row;
    if (!WriteProcessMemory(process, memory.get(), &item, sizeof item, nullptr) ||
        !Ask(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(memory.get())) ||
        !ReadProcessMemory(process, memory.get(), &item, sizeof item, nullptr))
        return std::nullopt;
    return item.iImage;
}

int PrintRows(const wchar_t* title) {
    const HWND window = FindWindowW(nullptr, title);
    const HWND list = window ? FindWindowExW(window, nullptr, WC_LISTVIEWW, nullptr) : nullptr;
    DWORD processId = 0;
    if (!list || !GetWindowThreadProcessId(list, &processId))
        return 1;
    const win32::Handle process(
        OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId));
    if (!process)
        return 1;
    const RemoteMemory memory(process.get(), sizeof(LVITEMW) + 1024 * sizeof(wchar_t));
    if (!memory.get())
        return 1;
    const auto rows = Ask(list, LVM_GETITEMCOUNT);
    const auto header = Ask(list, LVM_GETHEADER);
    const auto columns = header ? Ask(reinterpret_cast<HWND>(*header), HDM_GETITEMCOUNT) : std::nullopt;
    if (!rows || !columns)
        return kNotAnswering;
    std::string printed;
    for (int row = 0; row < static_cast<int>(*rows); ++row) {
        const auto state = Ask(list, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_SELECTED);
        if (!state)
            return kNotAnswering;
        std::wstring line = *state ? L"*" : L"-";
        for (int column = 0; column < static_cast<int>(*columns); ++column)
            line += L"\t" + CellText(list, process.get(), memory, row, column);
        const auto image = ImageIndex(list, process.get(), memory, row);
        if (!image)
            return kNotAnswering;
        line += L"\t" + std::to_wstring(*image);
        printed += Utf8(line) + "\n";
    }
    std::fputs(printed.c_str(), stdout);
    return 0;
}

// The height of a list view's first row, which the list's font gives; 0 for
// a list without rows or one that cannot be read. The list writes the row's
// rectangle into memory of its own process, from where it is read back.
int RowHeight(HWND list) {
    DWORD processId = 0;
    if (Ask(list, LVM_GETITEMCOUNT).value_or(0) == 0 || !GetWindowThreadProcessId(list, &processId))
        return 0;
    const win32::Handle process(
        OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId));
    const RemoteMemory memory(process.get(), sizeof(RECT));
    RECT row{LVIR_BOUNDS, 0, 0, 0};
    if (!process || !memory.get() ||
        !WriteProcessMemory(process.get(), memory.get(), &row, sizeof row, nullptr) ||
        !Ask(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(memory.get())) ||
        !ReadProcessMemory(process.get(), memory.get(), &row, sizeof row, nullptr))
        return 0;
    return row.bottom - row.top;
}

BOOL CALLBACK PrintChildBounds(HWND child, LPARAM parentClient) {
    if (!IsWindowVisible(child))
        return TRUE;
    const POINT& origin = *reinterpret_cast<const POINT*>(parentClient);
    RECT r{};
    wchar_t className[64]{};
    if (!GetWindowRect(child, &r) || !GetClassNameW(child, className, 64))
        return TRUE;
    std::wstring line = L"child\t" + std::wstring(className) + L"\t" + TextOf(child);
    for (const LONG v : {r.left - origin.x, r.top - origin.y, r.right - origin.x, r.bottom - origin.y})
        line += L"\t" + std::to_wstring(v);
    if (std::wstring(className) == WC_LISTVIEWW)
        line += L"\t" + std::to_wstring(RowHeight(child));
    std::printf("%s\n", Utf8(line).c_str());
    return TRUE;
}

// The resolution the window is drawn for ("dpi": the screen's own unless the
// system stretches the window), its rectangle on the screen ("window", left
// top right bottom), the work area of its monitor ("work", the same), its
// client area ("client", its origin on the screen, width, height) and one
// line for each visible window within it: "child", its class, its text, its
// rectangle relative to the client area, and for a list view the height of
// its first row. All in the screen's own pixels: the tool reads as a
// per-monitor aware program, so that a window the system stretches is
// measured as the user sees it.
int PrintLayout(const wchar_t* title) {
    // The first form is unknown before Windows 10 1703 and under Wine 8.
    if (!SetThreadDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2))
        SetThreadDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE);
    const HWND window = FindWindowW(nullptr, title);
    RECT bounds{}, client{};
    POINT origin{};
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!window || !GetWindowRect(window, &bounds) || !GetClientRect(window, &client) ||
        !ClientToScreen(window, &origin) ||
        !GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor))
        return 1;
    const RECT& work = monitor.rcWork;
    std::printf("dpi\t%u\n", GetDpiForWindow(window));
    std::printf("window\t%ld\t%ld\t%ld\t%ld\n", bounds.left, bounds.top, bounds.right, bounds.bottom);
    std::printf("work\t%ld\t%ld\t%ld\t%ld\n", work.left, work.top, work.right, work.bottom);
    std::printf("client\t%ld\t%ld\t%ld\t%ld\n", origin.x, origin.y, client.right, client.bottom);
    EnumChildWindows(window, PrintChildBounds, reinterpret_cast<LPARAM>(&origin));
    return 0;
}

// Where the keys typed into the window of that title go: "focus", the class
// of the window with the keyboard focus in its thread (empty for none), and
// "active" 1 when it is its thread's active window.
int PrintFocus(const wchar_t* title) {
    const HWND window = FindWindowW(nullptr, title);
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!window || !GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info))
        return 1;
    wchar_t kind[64]{};
    if (info.hwndFocus)
        GetClassNameW(info.hwndFocus, kind, 64);
    std::printf("focus\t%s\nactive\t%d\n", Utf8(kind).c_str(), info.hwndActive == window ? 1 : 0);
    return 0;
}

// The clipboard's Unicode text; exit code 1 when it holds none.
int PrintClipboard() {
    if (!OpenClipboard(nullptr))
        return 1;
    const HANDLE data = GetClipboardData(CF_UNICODETEXT);
    const auto* text = data ? static_cast<const wchar_t*>(GlobalLock(data)) : nullptr;
    const std::string printed = text ? Utf8(text) : std::string();
    if (text)
        GlobalUnlock(data);
    CloseClipboard();
    _setmode(_fileno(stdout), _O_BINARY); // its line ends as they are
    std::fwrite(printed.data(), 1, printed.size(), stdout);
    return text ? 0 : 1;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc == 3 && std::wstring(argv[1]) == L"--close") {
        const HWND window = FindWindowW(nullptr, argv[2]);
        return window && PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0) ? 0 : 1;
    }
    if (argc == 3 && std::wstring(argv[1]) == L"--system-menu") {
        const HWND window = FindWindowW(nullptr, argv[2]);
        return window && PostMessageW(window, WM_SYSCOMMAND, SC_KEYMENU, L' ') ? 0 : 1;
    }
    if (argc == 3 && std::wstring(argv[1]) == L"--rows")
        return PrintRows(argv[2]);
    if (argc == 3 && std::wstring(argv[1]) == L"--layout")
        return PrintLayout(argv[2]);
    if (argc == 3 && std::wstring(argv[1]) == L"--focus")
        return PrintFocus(argv[2]);
    if (argc == 2 && std::wstring(argv[1]) == L"--clipboard")
        return PrintClipboard();
    EnumWindows(PrintWindow, 0);
    return 0;
}
