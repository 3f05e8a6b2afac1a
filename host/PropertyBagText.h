// The text store of a form's property bags: one block per control, one typed
// entry per line, in write order:
//
//   Begin txtUrl
//     int16 buttonwidth = 26
//     string caption = "Pfad/UNC/FTP :"
//     font labelfont = "MS Sans Serif", 8.25, 400, 0, 0, 0, 0
//   End
//
// Types: int16, int32, bool (-1 or 0), string (quoted, with \\ \" \n \r \t
// and \uXXXX escapes), color (&H followed by eight hex digits), font (name,
// size in points, weight, italic, underline, strikethrough, charset) and
// picture (the bitmap file's bytes in hex). Reading never fails as a whole:
// a malformed line is skipped and its key reads its default.
#pragma once

#include "PropertyBag.h"

#include <string>
#include <utility>
#include <vector>

namespace host {

struct StoredBag {
    std::wstring name;
    PropertyBag bag;
};

std::vector<StoredBag> ParsePropertyBags(const std::wstring& text);
std::wstring FormatPropertyBags(const std::vector<StoredBag>& bags);

// The bag stored under name (compared exactly), or an empty bag.
PropertyBag FindStoredBag(const std::vector<StoredBag>& bags, const std::wstring& name);

} // namespace host
