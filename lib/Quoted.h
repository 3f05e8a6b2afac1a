// A name, path or word quoted the German way, as every text of the program
// quotes: „text“.
#pragma once

#include <string>
#include <string_view>

inline std::wstring Quoted(std::wstring_view text) {
    return L"\u201E" + std::wstring(text) + L"\u201C";
}
