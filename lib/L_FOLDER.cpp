// The portable half of L_FOLDER: name casing.
#include "L_FOLDER.h"

#include "LetterCase.h"

#include <string_view>

namespace L_FOLDER {
namespace {

bool IsWordSeparator(wchar_t ch) {
    static constexpr std::wstring_view separators = L"_- /{([+:&\u00A7=;<>|~#\\\"\r\n";
    return separators.find(ch) != std::wstring_view::npos;
}

} // namespace

std::wstring ProperCaseName(const std::wstring& name, bool lowerFirst) {
    if (name.size() >= 2 && name.front() == L'{' && name.back() == L'}')
        return name;
    std::wstring result = lowerFirst ? LetterCase::ToLower(name) : name;
    // A "." does not start a word, so an extension keeps its case.
    bool startOfWord = true;
    for (wchar_t& ch : result) {
        if (startOfWord)
            ch = LetterCase::Upper(ch);
        startOfWord = IsWordSeparator(ch);
    }
    return result;
}

} // namespace L_FOLDER
