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

} // namespace L_SHTCUT
