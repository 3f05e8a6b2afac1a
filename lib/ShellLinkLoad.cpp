#include "ShellLinkLoad.h"

#include "Win32Holders.h"

#include <windows.h>

#include <vector>

namespace {

constexpr LONGLONG MaxLinkFileBytes = 1 << 20;

std::wstring FromAnsiCodePage(std::string_view bytes) {
    if (bytes.empty())
        return {};
    const int cbBytes = static_cast<int>(bytes.size());
    const int cchNeeded = MultiByteToWideChar(CP_ACP, 0, bytes.data(), cbBytes, nullptr, 0);
    if (cchNeeded <= 0)
        return {};
    std::wstring text(static_cast<std::size_t>(cchNeeded), L'\0');
    if (MultiByteToWideChar(CP_ACP, 0, bytes.data(), cbBytes, text.data(), cchNeeded) != cchNeeded)
        return {};
    return text;
}

std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::wstring& path) {
    const HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return std::nullopt;
    const win32::Handle file(h);
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart > MaxLinkFileBytes)
        return std::nullopt;
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size.QuadPart));
    DWORD cbRead = 0;
    if (!bytes.empty() &&
        (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &cbRead, nullptr) ||
         cbRead != bytes.size()))
        return std::nullopt;
    return bytes;
}

} // namespace

std::optional<ShellLinkFile::LinkRecords> ReadShellLink(const std::wstring& linkPath) {
    const auto bytes = ReadWholeFile(linkPath);
    if (!bytes)
        return std::nullopt;
    return ShellLinkFile::ReadLinkRecords(*bytes, FromAnsiCodePage);
}
