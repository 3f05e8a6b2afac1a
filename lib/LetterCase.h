// Upper and lower case of single characters and of texts, the same on every
// machine: no locale is consulted. Covers ASCII, Latin-1, Latin Extended-A,
// basic Greek and Cyrillic; any other character keeps its case.
#pragma once

#include <string>

namespace LetterCase {

wchar_t Upper(wchar_t ch);
wchar_t Lower(wchar_t ch);
std::wstring ToUpper(std::wstring text);
std::wstring ToLower(std::wstring text);

} // namespace LetterCase
