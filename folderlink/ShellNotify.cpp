#include "ShellNotify.h"

#include "L_PFADE.h"

#include <windows.h>

#include <shlobj.h>

namespace L_SHTCUT {

void NotifyShell(FolderChange change, const std::wstring& folder) {
    const LONG event = change == FolderChange::Created   ? SHCNE_MKDIR
                       : change == FolderChange::Deleted ? SHCNE_RMDIR
                                                         : SHCNE_UPDATEDIR;
    // The shell names a folder without its trailing separator, a drive's
    // root with it. SHChangeNotify reports nothing back: a shell that is not
    // listening simply has nothing to refresh.
    const std::wstring path =
        L_PFADE::IsRootPath(folder) ? folder : L_PFADE::RemoveTrailingSeparators(folder);
    SHChangeNotify(event, SHCNF_PATHW, path.c_str(), nullptr);
}

} // namespace L_SHTCUT
