#include "ReportLog.h"

#include "Commands.h"
#include "ErrorText.h"
#include "L_PFADE.h"
#include "LogTrim.h"
#include "Utf8Text.h"
#include "Win32Holders.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
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

// The computer's and the user's name, so that logs gathered in one place can
// be told apart; "?" for a name that cannot be found out, which leaves the
// rest of the line as useful as before.
std::wstring ComputerAndUser() {
    wchar_t computer[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD cchComputer = static_cast<DWORD>(std::size(computer));
    wchar_t user[257] = {}; // UNLEN + 1
    DWORD cchUser = static_cast<DWORD>(std::size(user));
    const std::wstring computerName = GetComputerNameW(computer, &cchComputer) ? computer : L"?";
    const std::wstring userName = GetUserNameW(user, &cchUser) ? user : L"?";
    return computerName + L"  " + userName;
}

// Opens the log for this run alone: another run writing at the same moment
// holds it only for its own write and the shortening, so a sharing
// violation is waited out for a bounded time. Readers may keep it open.
win32::Handle OpenLog(const std::wstring& path) {
    constexpr DWORD msWait = 10'000;
    constexpr DWORD msStep = 50;
    for (DWORD msWaited = 0;; msWaited += msStep) {
        win32::Handle file(
            win32::NullIfInvalid(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                                             nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr)));
        if (file || GetLastError() != ERROR_SHARING_VIOLATION || msWaited >= msWait)
            return file;
        Sleep(msStep);
    }
}

bool WriteAll(HANDLE file, const std::string& bytes) {
    DWORD cbWritten = 0;
    return WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &cbWritten, nullptr) &&
           cbWritten == bytes.size();
}

// Appends bytes; a log that would grow past its limit is started anew with
// its last half, from a line's start, and bytes after it.
bool AppendOrShorten(HANDLE file, const std::string& bytes) {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size))
        return false;
    const auto cbOld = static_cast<std::uint64_t>(size.QuadPart);
    if (cbOld + bytes.size() <= kLogLimitBytes)
        return SetFilePointerEx(file, {}, nullptr, FILE_END) && WriteAll(file, bytes);

    // The byte before the kept half as well: a line break there keeps the
    // line that starts the half.
    const std::uint64_t cbTail = std::min<std::uint64_t>(cbOld, kLogLimitBytes / 2 + 1);
    std::string tail(static_cast<std::size_t>(cbTail), '\0');
    LARGE_INTEGER from{};
    from.QuadPart = static_cast<LONGLONG>(cbOld - cbTail);
    DWORD cbRead = 0;
    if (!SetFilePointerEx(file, from, nullptr, FILE_BEGIN) ||
        !ReadFile(file, tail.data(), static_cast<DWORD>(tail.size()), &cbRead, nullptr) ||
        cbRead != tail.size())
        return false;
    const std::string kept = tail.substr(WholeLinesStart(tail)) + bytes;
    return SetFilePointerEx(file, {}, nullptr, FILE_BEGIN) && WriteAll(file, kept) && SetEndOfFile(file);
}

} // namespace

bool AppendToLog(const std::wstring& path, const std::vector<std::wstring>& lines, std::wstring& why) {
    const std::wstring stamp = Timestamp() + L"  " + ComputerAndUser() + L"  ";
    std::string bytes;
    for (const std::wstring& line : lines)
        bytes += Utf8Text::Encode(stamp + line) + "\r\n";

    // A log in a folder of its own (%LOCALAPPDATA%\Ordnerlink) needs that
    // folder on the first run. Should it not be made, opening the file
    // fails and reports the cause.
    const std::wstring full = TargetFromCommandLine(path);
    const std::size_t lastSeparator = full.find_last_of(L"\\/");
    if (lastSeparator != std::wstring::npos && lastSeparator > 0)
        L_PFADE::CreateDirChain(full.substr(0, lastSeparator + 1));
    const win32::Handle file = OpenLog(full);
    if (!file || !AppendOrShorten(file.get(), bytes)) {
        why = L"Die Protokolldatei " + Quoted(path) + L" l\u00E4sst sich nicht schreiben: " +
              L_SHTCUT::ErrorText(GetLastError()) + L".";
        return false;
    }
    return true;
}
