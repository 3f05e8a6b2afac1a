// The names of a folder link's own two files, beside whatever else its
// folder holds.
#pragma once

namespace L_SHTCUT {

inline constexpr wchar_t DesktopIniName[] = L"desktop.ini";
inline constexpr wchar_t TargetLnkName[] = L"target.lnk";

} // namespace L_SHTCUT
