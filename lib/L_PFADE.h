// Path and file helpers. The string procedures are portable; the file-system
// procedures (FileExists, DirExists, CreateDirChain, WriteTextFile) call the
// platform and exist only in the Windows build.
#pragma once

#include <string>

namespace L_PFADE {

// Comparison modes of ReplaceText.
enum Compare : int { CompareExact = 0, CompareText = 1 };

// Trims blanks; appends "\" to a non-empty result that does not end in one.
std::wstring AddBackslash(const std::wstring& path);
// Drops one trailing "\" or "/" from a text longer than one character.
std::wstring RemoveBackslash(const std::wstring& path);
// The part after the last "\" or "/"; the whole text when there is none.
std::wstring ExtractFileName(const std::wstring& path, bool stripTrailing);
// The part before the last "\" or "/"; the whole text when there is none.
std::wstring ExtractFolder(const std::wstring& path);
// Replaces every occurrence of find in text; returns the count, or -1 when the
// loop was interrupted (text then keeps the replacements made so far).
int ReplaceText(std::wstring& text, const std::wstring& find, const std::wstring& replacement, int compare);

bool FileExists(const std::wstring& path);
bool DirExists(const std::wstring& path);
bool CreateDirChain(const std::wstring& path);
// Writes text as Windows ANSI bytes, one per character, without byte-order mark.
bool WriteTextFile(const std::wstring& path, const std::wstring& text);

} // namespace L_PFADE
