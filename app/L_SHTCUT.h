// Creation of a folder link: a folder that the shell opens as the location a
// shell link inside it points to.
#pragma once

#include <string>

namespace L_SHTCUT {

// Turns the folder Target into a folder link to Source (a local path, a
// network share or an FTP address, stored exactly as given). Every step runs
// even when an earlier one failed; true only when none failed. A Target that
// is blank or names an existing file is left alone and gives false.
bool CreateFolderLink(const std::wstring& Source, const std::wstring& Target);

// Whether the folder Target exists and holds anything besides the
// desktop.ini and target.lnk of a folder link: entries that Explorer no
// longer shows once the folder is a folder link.
bool HoldsOtherEntries(const std::wstring& Target);

} // namespace L_SHTCUT
