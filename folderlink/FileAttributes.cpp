#include "FileAttributes.h"

#include <windows.h>

namespace L_SHTCUT {
namespace {

// The attributes SetFileAttributesW takes; every other bit is refused or ignored.
constexpr DWORD SettableAttributes =
    FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM |
    FILE_ATTRIBUTE_NOT_CONTENT_INDEXED | FILE_ATTRIBUTE_OFFLINE | FILE_ATTRIBUTE_TEMPORARY;

} // namespace

bool AssignAttributes(const std::wstring& path, std::uint32_t attributes) {
    const DWORD settable = attributes & SettableAttributes;
    return SetFileAttributesW(path.c_str(), settable ? settable : FILE_ATTRIBUTE_NORMAL) != FALSE;
}

} // namespace L_SHTCUT

namespace L_SHTCUT {

bool MakeFileReplaceable(const std::wstring& path, std::uint32_t attributes) {
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return true;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        SetLastError(ERROR_DIRECTORY);
        return false;
    }
    if (!(attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)))
        return true;
    return AssignAttributes(path, FILE_ATTRIBUTE_NORMAL);
}

} // namespace L_SHTCUT
