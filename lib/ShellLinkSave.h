// Writes a shell link file that points at a source the way Windows follows it.
#pragma once

#include <string>

// How the link file came to be written.
enum class ShellLinkRoute {
    NotWritten, // the source cannot be recorded so that Windows follows it, or writing failed
    Shell,      // by the platform's shell link object, read back as the source
    Format,     // from the documented format, as Windows' shell writes it
};

// Creates or replaces the file linkPath with a link to source. The kind of
// the source (local path, network share, address) and its recorded form are
// decided once; then the platform's shell link object writes the file for
// the source as passed, which is kept only when it reads back as the source
// and records it where Windows looks first for that kind; otherwise the file
// is written from the format, in the recorded form. A partly written file
// is removed. An earlier file at linkPath is left alone when the source
// cannot be recorded at all. After NotWritten the thread's last error says
// why (ERROR_BAD_PATHNAME for a source no link can record).
ShellLinkRoute SaveShellLink(const std::wstring& linkPath, const std::wstring& source);
