// Whether two names are one name to Windows: compared code unit by code
// unit without regard to case, as the file system and the registry compare
// names (CompareStringOrdinal with bIgnoreCase).
#pragma once

#include <string_view>

bool SameName(std::wstring_view a, std::wstring_view b);
