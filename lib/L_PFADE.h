// Path and file helpers. The string procedures are portable; the file-system
// procedures (FileExists, DirExists, CreateDirChain, WriteTextFile) call the
// platform and exist only in the Windows build.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace L_PFADE {

// Comparison modes of ReplaceText.
enum Compare : int { CompareExact = 0, CompareText = 1 };

// Trims blanks; appends "\" to a non-empty result that does not end in one.
std::wstring AddBackslash(const std::wstring& path);
// Drops one trailing "\" or "/" from a text longer than one character.
std::wstring RemoveBackslash(const std::wstring& path);
// Drops every trailing "\" or "/", keeping the first character.
std::wstring RemoveTrailingSeparators(const std::wstring& path);
// A path as typed or pasted, without surrounding blanks and tabs and without
// one pair of double quotes around it (the form Explorer copies a path in).
std::wstring TrimPathInput(const std::wstring& text);
// Whether path names its place without a current folder: a drive letter,
// ":" and a separator, or "\\server\share".
bool IsFullPath(const std::wstring& path);
// Whether path is a drive root ("C:", "C:\") or a share root
// ("\\server\share", with or without trailing separators).
bool IsRootPath(const std::wstring& path);
// text when it has at most maxChars characters, else its beginning and its
// end joined by "...", maxChars characters in all (given room for more than
// the dots), one fewer at a cut that would split a surrogate pair.
std::wstring ShortenInTheMiddle(const std::wstring& text, std::size_t maxChars);
// The part after the last "\" or "/"; the whole text when there is none.
std::wstring ExtractFileName(const std::wstring& path, bool stripTrailing);
// The part before the last "\" or "/"; the whole text when there is none.
std::wstring ExtractFolder(const std::wstring& path);
// Replaces every occurrence of find in text; returns the count, or -1 when the
// loop was interrupted (text then keeps the replacements made so far).
int ReplaceText(std::wstring& text, const std::wstring& find, const std::wstring& replacement, int compare);

bool FileExists(const std::wstring& path);
bool DirExists(const std::wstring& path);
// Creates every missing level of path. When created is given, the folders
// this call made are appended to it, outermost first. After a failure the
// thread's last error is that of the first level that could not be made.
bool CreateDirChain(const std::wstring& path, std::vector<std::wstring>* created = nullptr);
// Writes text as Windows ANSI bytes, one per character, without byte-order mark.
bool WriteTextFile(const std::wstring& path, const std::wstring& text);

} // namespace L_PFADE
