// Why a folder is no working folder link, in words: what the window and the
// command mode both tell the user of a damaged one.
#pragma once

#include "L_SHTCUT.h"

#include <string>

// What keeps a folder from being a working folder link, as a German phrase
// without a closing full stop ("seine target.lnk ist beschädigt"); empty
// for a working one.
std::wstring FolderLinkFault(const L_SHTCUT::FolderLinkReading& reading);
