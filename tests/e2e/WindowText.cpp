// Prints what the visible top-level windows of the Wine session show, one
// window a line: its title, then the texts of its child windows, separated by
// tabs, in UTF-8; a line break inside a text is printed as the unit
// separator (0x1F), so that each window stays on one line. The whole-program
// tests read message boxes through it.
// With "--close TITLE" it sends the window of that title the Close command
// of its system menu instead, with "--system-menu TITLE" opens that menu as
// Alt+Space does; with "--rows TITLE" it prints the rows of the
// list view in that window, one a line: "*" for a selected row or "-", then
// the texts of its columns, separated by tabs.
#include <windows.h>

#include <commctrl.h>

#include "Win32Holders.h"

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
        !SendMessageTimeoutW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                             reinterpret_cast<LPARAM>(memory.get()), SMTO_ABORTIFHUNG, 2000, nullptr) ||
        !ReadProcessMemory(process, item.pszText, text, sizeof text, nullptr))
        return L"?";
    text[kCchText - 1] = L'\0';
    return text;
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
    const auto rows = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    const auto columns = static_cast<int>(SendMessageW(
        reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0)), HDM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < rows; ++row) {
        std::wstring line =
            SendMessageW(list, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_SELECTED) ? L"*" : L"-";
        for (int column = 0; column < columns; ++column)
            line += L"\t" + CellText(list, process.get(), memory, row, column);
        std::printf("%s\n", Utf8(line).c_str());
    }
    return 0;
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
    EnumWindows(PrintWindow, 0);
    return 0;
}
