// Which kind of source a folder link points at, from its source as read from
// the link: a local path, a share, an FTP address, or a web folder (an http
// or https address, recorded as a share of Windows' web-folder redirector:
// "\\host@SSL\DavWWWRoot\path"). What /list and /check /all name in their
// data formats, and what the manager can tell its rows by. Portable.
#pragma once

#include <string_view>

enum class LinkSourceKind { Local, Share, Ftp, WebFolder };

// The kind of source, a link's source as recorded or as typed. A text that
// names no valid source still gets a kind: one starting with two
// separators is a share, any other a local path.
LinkSourceKind SourceKindOf(std::wstring_view source);
