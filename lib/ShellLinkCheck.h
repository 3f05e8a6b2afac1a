// The rule for keeping a link file that the platform's own shell wrote: it
// must name the source for the shell that reads it back and, read with our
// reader, where Windows looks first for that kind of source, in the form
// Windows writes for a folder. Portable.
#pragma once

#include "ShellLinkFile.h"
#include "ShellLinkRead.h"

#include <optional>
#include <string>

namespace ShellLinkFile {

// What a fresh shell link object reads back from the file.
struct ShellReadBack {
    std::optional<std::wstring> rawPath;        // its path, unexpanded (SLGP_RAWPATH)
    std::optional<std::wstring> itemIdListPath; // the file-system path of its ID list
    std::optional<std::wstring> itemUrl;        // the address of its ID list's item
};

// True when the file may be kept for source, comparing as Windows compares
// paths (SameTarget):
//  - a local path or a share: the raw path and the ID list's path are the
//    source;
//  - an address: the item's address is the source;
// and records name the source where Windows looks first: the ID list for a
// local path; the network block together with the environment-variable
// block, or else the ID list, for a share; the URL item for an address;
// and the records are those Windows writes for a folder: for a local path
// a drive item with only folder items after it, and for a local path or a
// share the directory attribute in the header.
bool KeepsShellLinkFile(const Source& source, const ShellReadBack& shell, const LinkRecords& records);

} // namespace ShellLinkFile
