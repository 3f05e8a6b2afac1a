// The portable half of L_COMDLG: string helpers and filter building.
#include "L_COMDLG.h"

#include "L_PFADE.h"
#include "LetterCase.h"

#include <algorithm>
#include <iterator>
#include <string_view>

namespace L_COMDLG {
namespace {

std::size_t FindFrom(const std::wstring& text, const std::wstring& find, std::size_t from, int compare) {
    if (compare != CompareText)
        return text.find(find, from);
    if (from > text.size())
        return std::wstring::npos;
    const auto hit =
        std::search(text.begin() + static_cast<std::ptrdiff_t>(from), text.end(), find.begin(), find.end(),
                    [](wchar_t a, wchar_t b) { return LetterCase::Lower(a) == LetterCase::Lower(b); });
    return hit == text.end() ? std::wstring::npos : static_cast<std::size_t>(hit - text.begin());
}

std::wstring TrimChars(const std::wstring& text, const wchar_t* chars, std::size_t count) {
    const std::wstring_view set(chars, count);
    const auto first = text.find_first_not_of(set);
    if (first == std::wstring::npos)
        return {};
    const auto last = text.find_last_not_of(set);
    return text.substr(first, last - first + 1);
}

std::wstring TrimBlanks(const std::wstring& text) {
    return TrimChars(text, L" ", 1);
}

} // namespace

std::int32_t ReplaceFirst(std::wstring& text, const std::wstring& find, const std::wstring& replacement,
                          int compare) {
    if (find.empty())
        return 0;
    const auto pos = FindFrom(text, find, 0, compare);
    if (pos == std::wstring::npos)
        return 0;
    text.replace(pos, find.size(), replacement);
    return 1;
}

std::wstring FormatText(const std::wstring& templ, const std::vector<std::wstring>& arguments) {
    static const std::wstring placeholder = L"%s";
    std::wstring result = templ;
    std::size_t pos = 0;
    for (const std::wstring& argument : arguments) {
        pos = FindFrom(result, placeholder, pos, CompareText);
        if (pos == std::wstring::npos)
            break;
        result.replace(pos, placeholder.size(), argument);
        // An argument that itself holds "%s" is text, not a placeholder.
        pos += argument.size();
    }
    return result;
}

std::int32_t SplitText(const std::wstring& text, const std::wstring& delimiter,
                       std::vector<std::wstring>& parts, int compare, bool trimParts, bool skipEmpty) {
    parts.clear();
    if (delimiter.empty())
        return 0;
    // Delimiters are looked for in the text alone: the end of the text ends
    // its last part, but never forms a delimiter together with what follows.
    std::size_t start = 0;
    for (;;) {
        const std::size_t hit = FindFrom(text, delimiter, start, compare);
        std::wstring part = text.substr(start, (hit == std::wstring::npos ? text.size() : hit) - start);
        if (trimParts)
            part = TrimBlanks(part);
        if (!(skipEmpty && part.empty()))
            parts.push_back(std::move(part));
        if (hit == std::wstring::npos)
            return static_cast<std::int32_t>(parts.size());
        start = hit + delimiter.size();
    }
}

std::wstring FirstExtension(const std::wstring& extensions) {
    return TrimBlanks(extensions.substr(0, extensions.find(L';')));
}

std::int32_t SplitFileTypes(const std::wstring& fileTypes, const std::wstring& extensions,
                            std::vector<std::wstring>& names, std::vector<std::wstring>& patterns) {
    names.clear();
    patterns.clear();
    if (fileTypes.empty())
        return 0;
    const std::int32_t nameCount = SplitText(fileTypes, L"|", names, CompareExact, true, false);
    const std::int32_t patternCount = SplitText(extensions, L"|", patterns, CompareExact, true, false);
    if (nameCount == patternCount)
        return nameCount;
    // Lists that do not match: only the first name with the first extension.
    names.resize(1);
    patterns.resize(1);
    return 1;
}

std::wstring FilterEntry(const std::wstring& filter, const std::wstring& description,
                         const std::wstring& pattern) {
    // The dialog reads the filter as NUL-ended texts taken two at a time: a
    // NUL inside a part would end it early and shift every later pair, so it
    // is left out.
    std::wstring result = filter;
    for (const std::wstring* part : {&description, &pattern}) {
        std::copy_if(part->begin(), part->end(), std::back_inserter(result),
                     [](wchar_t ch) { return ch != L'\0'; });
        result += L'\0';
    }
    return result;
}

std::wstring TrimBuffer(const std::wstring& text) {
    static constexpr wchar_t blankTabNul[] = {L' ', L'\t', L'\0'};
    return TrimChars(text, blankTabNul, std::size(blankTabNul));
}

std::int32_t SplitNulList(const std::wstring& text, std::vector<std::wstring>& parts) {
    parts.clear();
    std::size_t start = 0;
    while (start < text.size()) {
        auto end = text.find(L'\0', start);
        if (end == std::wstring::npos)
            end = text.size();
        std::wstring part = text.substr(start, end - start);
        if (!part.empty() && part.front() != L';')
            parts.push_back(std::move(part));
        start = end + 1;
    }
    return static_cast<std::int32_t>(parts.size());
}

std::int32_t ParseMultiSelect(const std::wstring& answer, std::vector<std::wstring>& files) {
    const std::int32_t count = SplitNulList(answer, files);
    // One choice comes back as a single full path.
    if (count <= 1)
        return count;
    const std::wstring folder = L_PFADE::AddBackslash(files.front());
    for (std::size_t i = 1; i < files.size(); ++i)
        files[i - 1] = folder + files[i];
    files.pop_back();
    return count - 1;
}

DialogFilter BuildFilter(const std::wstring& fileTypes, const std::wstring& extensions) {
    std::vector<std::wstring> names;
    std::vector<std::wstring> patterns;
    DialogFilter result;
    result.typeCount = SplitFileTypes(fileTypes, extensions, names, patterns);
    result.filter = FilterEntry(result.filter, L"Alle Dateien (*.*)", L"*.*");
    for (std::size_t i = 0; i < names.size(); ++i)
        result.filter =
            FilterEntry(result.filter, names[i] + L" (*." + patterns[i] + L")", L"*." + patterns[i]);
    result.filterIndex = result.typeCount == 0 ? 1 : 2;
    return result;
}

void DropDotName(std::wstring& name) {
    if (name == L"." || name == L"..")
        name.clear();
}

} // namespace L_COMDLG
