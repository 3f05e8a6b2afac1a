// The folders of a PATH value ("C:\a;C:\b"): one added at its end unless it
// is there already, or taken out wherever it stands, every other entry kept
// as written. Portable: the caller says when two entries name the same
// folder (expanding variables, ignoring case and a closing backslash).
#pragma once

#include <functional>
#include <string>

using SameFolder = std::function<bool(const std::wstring& entry, const std::wstring& folder)>;

// list with folder at its end; list itself when an entry names it already.
std::wstring PathWith(const std::wstring& list, const std::wstring& folder, const SameFolder& same);

// list without any entry naming folder, and without the empty entries that
// leaves behind.
std::wstring PathWithout(const std::wstring& list, const std::wstring& folder, const SameFolder& same);
