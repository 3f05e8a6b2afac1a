#include "ShellLinkLoad.h"

#include "WholeFile.h"

#include <windows.h>

#include <vector>

namespace {

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

} // namespace

std::optional<ShellLinkFile::LinkRecords> ReadShellLink(const std::wstring& linkPath) {
    unsigned long error = 0;
    const auto bytes = ReadWholeFile(linkPath, cbLargestSmallFile, error);
    if (!bytes)
        return std::nullopt;
    return ShellLinkFile::ReadLinkRecords(*bytes, FromAnsiCodePage);
}
