// Giving a file or folder exactly the attributes it is to have.
#pragma once

#include <cstdint>
#include <string>

namespace L_SHTCUT {

// Assigns attributes to path: every settable bit not named is cleared. Bits
// that only the file system sets or that no call can set (directory,
// compressed, encrypted, reparse point, sparse, ...) are left out, so that
// giving back attributes read earlier fails only where a settable bit
// cannot be set. Nothing named at all becomes "normal".
bool AssignAttributes(const std::wstring& path, std::uint32_t attributes);

// Readies a file for being replaced: a file left read-only cannot be
// deleted, and one left hidden or system cannot be overwritten by a create
// that does not name the same attributes (CreateFileW, CREATE_ALWAYS); a
// missing file or one without these attributes needs nothing. attributes are
// the file's as last asked (INVALID_FILE_ATTRIBUTES for a missing file). A
// folder of that name is refused with ERROR_DIRECTORY.
bool MakeFileReplaceable(const std::wstring& path, std::uint32_t attributes);

} // namespace L_SHTCUT
