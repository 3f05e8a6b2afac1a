#include "L_PFADE.h"

#include "LetterCase.h"
#include "Utf16Text.h"

#include <algorithm>
#include <stdexcept>
#include <string_view>

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

bool IsDriveLetter(wchar_t c) {
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z');
}

// The length of "\\server\share" at the start of path; 0 when path does
// not start with a share.
std::size_t ShareRootLength(const std::wstring& path) {
    if (path.size() < 2 || !IsSeparator(path[0]) || !IsSeparator(path[1]))
        return 0;
    const std::size_t serverEnd = path.find_first_of(L"\\/", 2);
    if (serverEnd == std::wstring::npos || serverEnd == 2)
        return 0;
    // "\\?\" and "\\.\" open the platform's own namespaces, not a server.
    if (serverEnd == 3 && (path[2] == L'?' || path[2] == L'.'))
        return 0;
    const std::size_t shareEnd = path.find_first_of(L"\\/", serverEnd + 1);
    const std::size_t end = shareEnd == std::wstring::npos ? path.size() : shareEnd;
    return end > serverEnd + 1 ? end : 0;
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

std::wstring RemoveTrailingSeparators(const std::wstring& path) {
    std::size_t end = path.size();
    while (end > 1 && IsSeparator(path[end - 1]))
        --end;
    return path.substr(0, end);
}

std::wstring TrimPathInput(const std::wstring& text) {
    const auto trim = [](const std::wstring& s) {
        const auto first = s.find_first_not_of(L" \t");
        if (first == std::wstring::npos)
            return std::wstring();
        return s.substr(first, s.find_last_not_of(L" \t") - first + 1);
    };
    std::wstring trimmed = trim(text);
    if (trimmed.size() >= 2 && trimmed.front() == L'"' && trimmed.back() == L'"')
        trimmed = trim(trimmed.substr(1, trimmed.size() - 2));
    return trimmed;
}

bool IsFullPath(const std::wstring& path) {
    if (path.size() >= 3 && IsDriveLetter(path[0]) && path[1] == L':' && IsSeparator(path[2]))
        return true;
    return ShareRootLength(path) > 0;
}

bool IsRootPath(const std::wstring& path) {
    const std::wstring s = RemoveTrailingSeparators(path);
    if (s.size() == 2 && IsDriveLetter(s[0]) && s[1] == L':')
        return true;
    const std::size_t share = ShareRootLength(s);
    return share > 0 && share == s.size();
}

std::wstring ShortenInTheMiddle(const std::wstring& text, std::size_t maxChars) {
    constexpr std::wstring_view dots = L"...";
    if (text.size() <= maxChars || maxChars <= dots.size())
        return text;
    const std::size_t kept = maxChars - dots.size();
    const std::size_t tail = kept / 2;
    // A character of two code units at either cut is left out whole, so the
    // result may hold one code unit fewer than maxChars at either cut.
    const std::size_t headEnd = Utf16Text::BoundaryAtOrBefore(text, kept - tail);
    const std::size_t tailBegin = Utf16Text::BoundaryAtOrAfter(text, text.size() - tail);
    return text.substr(0, headEnd) + std::wstring(dots) + text.substr(tailBegin);
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
