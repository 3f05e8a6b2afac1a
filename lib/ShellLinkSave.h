// Writes a shell link file that points at a source the way Windows follows it.
#pragma once

#include "ShellLinkFile.h"

#include <string>

// How the link file came to be written.
enum class ShellLinkRoute {
    NotWritten, // the source cannot be recorded so that Windows follows it, or writing failed
    Shell,      // by the platform's shell link object, read back as the source
    Format,     // from the documented format, as Windows' shell writes it
};

// Replaces the file linkPath with a link to source. The platform's shell
// link object writes the file for the source's recorded form, which is kept
// only when it reads back as the source and records it as Windows' own
// shell does for that kind; otherwise the file is written from the format.
// Either way the link is written beside linkPath and then moved over it:
// a hard link to an earlier file keeps that file's bytes, and a failure
// leaves an earlier file whole and nothing new behind. After NotWritten the
// thread's last error says why (ERROR_BAD_PATHNAME for a source no link can
// record).
ShellLinkRoute SaveShellLink(const std::wstring& linkPath, const ShellLinkFile::Source& source);
