#include "ConsoleOutput.h"
#include "ErrorText.h"
#include "Quoted.h"
#include "Utf16Text.h"
#include "Utf8Text.h"
#include "Win32Holders.h"

#include <windows.h>

#include <string>

namespace {

// The file that standard output is sent to instead (SendOutputToFile),
// open until the process ends; null while there is none.
win32::Handle outputFile;

bool IsUsable(HANDLE h) {
    return h != nullptr && h != INVALID_HANDLE_VALUE;
}

// A window program started from a console gets no standard handles: it
// attaches to its parent's console and writes to the console's screen.
HANDLE ParentConsole() {
    static const HANDLE console = [] {
        if (!AttachConsole(ATTACH_PARENT_PROCESS) && GetLastError() != ERROR_ACCESS_DENIED)
            return INVALID_HANDLE_VALUE;
        return CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           nullptr, OPEN_EXISTING, 0, nullptr);
    }();
    return console;
}

HANDLE StreamHandle(DWORD which) {
    if (which == STD_OUTPUT_HANDLE && outputFile)
        return outputFile.get();
    const HANDLE h = GetStdHandle(which);
    return IsUsable(h) ? h : ParentConsole();
}

std::wstring WithWindowsLineEnds(std::wstring_view text) {
    std::wstring converted;
    converted.reserve(text.size() + text.size() / 16);
    for (const wchar_t ch : text) {
        if (ch == L'\n')
            converted += L'\r';
        converted += ch;
    }
    return converted;
}

void WriteToConsole(HANDLE console, const std::wstring& text) {
    // Large writes are split: a console may refuse a single very long one.
    // A character of two code units stays in one piece: its halves written
    // apart would each show as a replacement mark.
    constexpr std::size_t cchChunk = 8192;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = Utf16Text::PieceEnd(text, at, cchChunk);
        DWORD cchWritten = 0;
        if (!WriteConsoleW(console, text.data() + at, static_cast<DWORD>(end - at), &cchWritten, nullptr))
            return; // the console went away: the exit code still tells the outcome
        at = end;
    }
}

void WriteToFile(HANDLE file, const std::wstring& text) {
    const std::string bytes = Utf8Text::Encode(text);
    for (std::size_t at = 0; at < bytes.size();) {
        DWORD cbWritten = 0;
        if (!WriteFile(file, bytes.data() + at, static_cast<DWORD>(bytes.size() - at), &cbWritten, nullptr) ||
            cbWritten == 0)
            return; // a closed pipe or a full disk: the exit code still tells the outcome
        at += cbWritten;
    }
}

void Write(DWORD which, std::wstring_view text) {
    const HANDLE h = StreamHandle(which);
    if (!IsUsable(h))
        return; // started without any console or redirection: only the exit code tells
    const std::wstring converted = WithWindowsLineEnds(text);
    DWORD mode = 0;
    if (GetConsoleMode(h, &mode))
        WriteToConsole(h, converted);
    else
        WriteToFile(h, converted);
}

} // namespace

void WriteOutput(std::wstring_view text) {
    Write(STD_OUTPUT_HANDLE, text);
}

void WriteError(std::wstring_view text) {
    Write(STD_ERROR_HANDLE, text);
}

bool SendOutputToFile(const std::wstring& path, std::wstring& why) {
    win32::Handle file(win32::NullIfInvalid(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                                        CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr)));
    constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";
    DWORD cbWritten = 0;
    if (!file || !WriteFile(file.get(), kByteOrderMark, 3, &cbWritten, nullptr) || cbWritten != 3) {
        why = L"Die Datei " + Quoted(path) + L" l\u00E4sst sich nicht schreiben: " +
              L_SHTCUT::ErrorText(GetLastError()) + L".";
        return false;
    }
    outputFile = std::move(file);
    return true;
}

bool OutputReachesUser() {
    const HANDLE h = StreamHandle(STD_OUTPUT_HANDLE);
    if (!IsUsable(h))
        return false;
    DWORD mode = 0;
    if (!GetConsoleMode(h, &mode))
        return true;
    DWORD consoleProcesses[2]{};
    return GetConsoleProcessList(consoleProcesses, 2) > 1;
}

void* ErrorStreamHandle() {
    const HANDLE h = StreamHandle(STD_ERROR_HANDLE);
    return IsUsable(h) ? h : nullptr;
}
