#include "WholeFile.h"

#include "SameName.h"
#include "Win32Holders.h"

#include <windows.h>

#include <algorithm>

std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::wstring& path, std::size_t cbLimit,
                                                       unsigned long& error) {
    const win32::Handle file(win32::NullIfInvalid(
        CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)));
    if (!file) {
        error = GetLastError();
        return std::nullopt;
    }
    const HANDLE h = file.get();
    LARGE_INTEGER cbSize{};
    if (!GetFileSizeEx(h, &cbSize)) {
        error = GetLastError();
        return std::nullopt;
    }
    if (cbSize.QuadPart < 0 || static_cast<unsigned long long>(cbSize.QuadPart) > cbLimit) {
        error = ERROR_FILE_TOO_LARGE;
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(cbSize.QuadPart));
    DWORD cbRead = 0;
    if (!bytes.empty() && !ReadFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &cbRead, nullptr)) {
        error = GetLastError();
        return std::nullopt;
    }
    if (cbRead != bytes.size()) {
        error = ERROR_HANDLE_EOF; // the file shrank while it was read
        return std::nullopt;
    }
    return bytes;
}

std::wstring TemporaryNameBeside(const std::wstring& path) {
    return path + L"." + std::to_wstring(GetCurrentProcessId()) + L".neu";
}

bool MoveOverFile(const std::wstring& from, const std::wstring& to) {
    constexpr int kTries = 10;
    constexpr DWORD kPauseMilliseconds = 50;
    for (int attempt = 1;; ++attempt) {
        if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING))
            return true;
        const DWORD error = GetLastError();
        if (attempt == kTries || (error != ERROR_SHARING_VIOLATION && error != ERROR_ACCESS_DENIED))
            return false;
        Sleep(kPauseMilliseconds);
        SetLastError(error);
    }
}

bool IsTemporaryNameBeside(std::wstring_view name, std::wstring_view fileName) {
    constexpr std::wstring_view kEnd = L".neu";
    if (name.size() <= fileName.size() + 1 + kEnd.size() ||
        !SameName(name.substr(0, fileName.size()), fileName) || name[fileName.size()] != L'.' ||
        !name.ends_with(kEnd))
        return false;
    const std::wstring_view digits =
        name.substr(fileName.size() + 1, name.size() - fileName.size() - 1 - kEnd.size());
    return std::all_of(digits.begin(), digits.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; });
}

namespace {

bool WriteNewFile(const std::wstring& path, std::span<const std::uint8_t> bytes) {
    win32::Handle file(win32::NullIfInvalid(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr)));
    if (!file)
        return false;
    DWORD cbWritten = 0;
    const bool written = bytes.empty() || (WriteFile(file.get(), bytes.data(),
                                                     static_cast<DWORD>(bytes.size()), &cbWritten, nullptr) &&
                                           cbWritten == bytes.size());
    const DWORD writeError = GetLastError();
    const bool closed = CloseHandle(file.release()) != FALSE;
    if (!written)
        SetLastError(writeError);
    return written && closed;
}

} // namespace

bool WriteWholeFile(const std::wstring& path, std::span<const std::uint8_t> bytes) {
    const std::wstring newFile = TemporaryNameBeside(path);
    if (WriteNewFile(newFile, bytes) && MoveOverFile(newFile, path))
        return true;
    const DWORD error = GetLastError();
    DeleteFileW(newFile.c_str());
    SetLastError(error);
    return false;
}
