// The kind of a folder link's source as the user names it: a folder on a
// drive of this computer, a network share, an FTP server or a web folder.
// The manager shows it, and the lists of folder links name it. Portable.
#pragma once

#include <optional>
#include <string_view>

enum class FolderLinkKind { Local, Share, Ftp, WebFolder };

// The kind of the source a folder link records (or of a source as typed);
// nothing for a text that names no source, such as the empty source of a
// damaged folder link.
std::optional<FolderLinkKind> SourceKindOf(std::wstring_view source);
