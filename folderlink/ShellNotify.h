// Telling the shell that a folder changed, so that an open Explorer window
// shows a made, repaired or removed folder link without being refreshed.
#pragma once

#include <string>

namespace L_SHTCUT {

enum class FolderChange {
    Created, // the folder was made
    Changed, // its entries or attributes changed
    Deleted, // the folder is gone
};

// folder: a full path, with or without a trailing separator.
void NotifyShell(FolderChange change, const std::wstring& folder);

} // namespace L_SHTCUT
