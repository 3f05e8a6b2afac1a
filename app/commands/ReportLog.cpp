#include "ReportLog.h"

#include "Commands.h"
#include "ErrorText.h"
#include "L_PFADE.h"
#include "Win32Holders.h"

#include <windows.h>

#include <cstdio>

namespace {

std::wstring Timestamp() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    wchar_t text[32] = {};
    std::swprintf(text, std::size(text), L"%04u-%02u-%02u %02u:%02u:%02u", now.wYear, now.wMonth, now.wDay,
                  now.wHour, now.wMinute, now.wSecond);
    return text;
}

std::string Utf8(const std::wstring& text) {
    if (text.empty())
        return {};
    const int cbNeeded = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr,
                                             0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(cbNeeded > 0 ? cbNeeded : 0), '\0');
    if (cbNeeded > 0)
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), cbNeeded,
                            nullptr, nullptr);
    return bytes;
}

} // namespace

bool AppendToLog(const std::wstring& path, const std::vector<std::wstring>& lines, std::wstring& why) {
    const std::wstring stamp = Timestamp();
    std::string bytes;
    for (const std::wstring& line : lines)
        bytes += Utf8(stamp + L"  " + line) + "\r\n";

    // A log in a folder of its own (%LOCALAPPDATA%\Ordnerlink) needs that
    // folder on the first run. Should it not be made, opening the file
    // fails and reports the cause.
    const std::wstring full = TargetFromCommandLine(path);
    const std::size_t lastSeparator = full.find_last_of(L"\\/");
    if (lastSeparator != std::wstring::npos && lastSeparator > 0)
        L_PFADE::CreateDirChain(full.substr(0, lastSeparator + 1));
    const win32::Handle file(
        win32::NullIfInvalid(CreateFileW(full.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                         nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr)));
    DWORD cbWritten = 0;
    if (!file ||
        !WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &cbWritten, nullptr) ||
        cbWritten != bytes.size()) {
        why = L"Die Protokolldatei " + Quoted(path) + L" lässt sich nicht schreiben: " +
              L_SHTCUT::ErrorText(GetLastError()) + L".";
        return false;
    }
    return true;
}
