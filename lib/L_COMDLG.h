// File dialogs. The string helpers and the filter building are portable; the
// wrappers around the platform's open and save dialogs and the drivers that
// the input line calls exist only in the Windows build.
//
// Lists are 0-based vectors here: element 0 is the first name, type or file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

namespace L_COMDLG {

// Comparison modes of ReplaceFirst and SplitText.
enum Compare : int { CompareExact = 0, CompareText = 1 };

// Replaces the first occurrence of find in text; 1 if one was replaced, else 0.
std::int32_t ReplaceFirst(std::wstring& text, const std::wstring& find, const std::wstring& replacement,
                          int compare);
// Fills the "%s" placeholders (any letter case) of a template with the
// arguments in order, each in the next placeholder after the previous one.
std::wstring FormatText(const std::wstring& templ, const std::vector<std::wstring>& arguments);
// Splits text at every delimiter into parts (trimmed of blanks when trimParts,
// empty ones left out when skipEmpty); returns the number of parts. The text
// after the last delimiter always forms a part.
std::int32_t SplitText(const std::wstring& text, const std::wstring& delimiter,
                       std::vector<std::wstring>& parts, int compare, bool trimParts, bool skipEmpty);
// The extension text before its first ";", trimmed.
std::wstring FirstExtension(const std::wstring& extensions);
// Splits the "|" lists of type names and extension texts into two parallel
// lists; lists of different length are cut to their first element each.
// Returns the number of types.
std::int32_t SplitFileTypes(const std::wstring& fileTypes, const std::wstring& extensions,
                            std::vector<std::wstring>& names, std::vector<std::wstring>& patterns);
// filter followed by description, NUL, pattern, NUL; a NUL inside the
// description or the pattern is left out, so that the pair stays one pair.
std::wstring FilterEntry(const std::wstring& filter, const std::wstring& description,
                         const std::wstring& pattern);
// Removes leading and trailing blanks, tabs and NULs.
std::wstring TrimBuffer(const std::wstring& text);
// Cuts text at its NULs; parts that are empty or begin with ";" are left out.
// Returns the number of parts kept.
std::int32_t SplitNulList(const std::wstring& text, std::vector<std::wstring>& parts);
// Turns the multi-select answer (one full path, or a folder followed by names,
// separated by NULs) into full paths; returns their number.
std::int32_t ParseMultiSelect(const std::wstring& answer, std::vector<std::wstring>& files);

// The filter pairs for a dialog: "Alle Dateien (*.*)" first, then one pair per
// configured type; filterIndex (1-based) preselects the first configured type,
// or the pair for all files when there is none.
struct DialogFilter {
    std::wstring filter;
    std::int32_t typeCount = 0;
    std::int32_t filterIndex = 1;
};
DialogFilter BuildFilter(const std::wstring& fileTypes, const std::wstring& extensions);
// A start name or folder of exactly "." or ".." becomes empty.
void DropDotName(std::wstring& name);

#ifdef _WIN32
// The record between the drivers and the wrappers.
struct FileDialogRequest {
    HWND Owner = nullptr;
    std::wstring FileName;        // out: the choice; for several files the raw NUL-separated answer
    std::wstring Filter;          // filter pairs, each part ending in NUL
    std::int32_t FilterIndex = 1; // 1-based; the save dialog writes the final choice back
    std::wstring InitialDir;      // empty: the platform's default folder
    std::wstring InitialFile;
    std::wstring DefaultExt; // used by the save dialog only
    std::wstring Title;
};

// Wrappers: each returns nonzero when the user confirmed.
std::int32_t DlgOpenFile(FileDialogRequest& request);
std::int32_t DlgOpenFiles(FileDialogRequest& request);
std::int32_t DlgSaveFile(FileDialogRequest& request);

// Drivers. An empty caption is filled with the default title and written
// back; initialDir gets backslashes for slashes, and "." or ".." as initialDir
// or fileName become empty (written back). Cancelling returns "" or 0.
std::wstring ShowOpenDialog(HWND owner, const std::wstring& fileTypes, const std::wstring& extensions,
                            std::wstring& caption, std::wstring& initialDir, std::wstring& fileName,
                            std::int32_t filterIndex);
std::wstring ShowSaveDialog(HWND owner, const std::wstring& fileTypes, const std::wstring& extensions,
                            std::wstring& caption, std::wstring& initialDir, std::wstring& fileName);
std::int32_t ShowOpenFilesDialog(HWND owner, std::vector<std::wstring>& files, const std::wstring& fileTypes,
                                 const std::wstring& extensions, std::wstring& caption,
                                 std::wstring& initialDir);
#endif

} // namespace L_COMDLG
