#include "L_PFADE.h"

#include "LetterCase.h"

#include <algorithm>
#include <stdexcept>

namespace L_PFADE {
namespace {

bool IsSeparator(wchar_t c) {
    return c == L'\\' || c == L'/';
}

// The C library's towlower folds only ASCII in the "C" locale, so "Ä" and
// "ä" would differ; the fixed case pairs fold them on every machine.
bool SameChar(wchar_t a, wchar_t b, int compare) {
    if (compare == CompareText)
        return LetterCase::Lower(a) == LetterCase::Lower(b);
    return a == b;
}

std::size_t Find(const std::wstring& text, const std::wstring& find, std::size_t from, int compare) {
    if (compare != CompareText)
        return text.find(find, from);
    if (from > text.size())
        return std::wstring::npos;
    auto hit = std::search(text.begin() + static_cast<std::ptrdiff_t>(from), text.end(), find.begin(),
                           find.end(), [compare](wchar_t a, wchar_t b) { return SameChar(a, b, compare); });
    return hit == text.end() ? std::wstring::npos : static_cast<std::size_t>(hit - text.begin());
}

} // namespace

std::wstring AddBackslash(const std::wstring& path) {
    const auto first = path.find_first_not_of(L' ');
    if (first == std::wstring::npos)
        return {};
    const auto last = path.find_last_not_of(L' ');
    std::wstring trimmed = path.substr(first, last - first + 1);
    if (trimmed.back() != L'\\')
        trimmed += L'\\';
    return trimmed;
}

std::wstring RemoveBackslash(const std::wstring& path) {
    if (path.size() > 1 && IsSeparator(path.back()))
        return path.substr(0, path.size() - 1);
    return path;
}

std::wstring ExtractFileName(const std::wstring& path, bool stripTrailing) {
    const std::wstring text = stripTrailing ? RemoveBackslash(path) : path;
    const auto sep = text.find_last_of(L"\\/");
    return sep == std::wstring::npos ? text : text.substr(sep + 1);
}

std::wstring ExtractFolder(const std::wstring& path) {
    const auto sep = path.find_last_of(L"\\/");
    return sep == std::wstring::npos ? path : path.substr(0, sep);
}

int ReplaceText(std::wstring& text, const std::wstring& find, const std::wstring& replacement, int compare) {
    if (find.empty())
        return 0;
    int count = 0;
    try {
        std::size_t pos = 0;
        while ((pos = Find(text, find, pos, compare)) != std::wstring::npos) {
            text.replace(pos, find.size(), replacement);
            ++count;
            pos += replacement.size(); // never search inside the inserted replacement
        }
    } catch (const std::exception&) {
        return -1;
    }
    return count;
}

} // namespace L_PFADE
