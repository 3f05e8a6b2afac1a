#include "PathVariable.h"

#include <gtest/gtest.h>

#include <cwctype>

namespace {

// Entries compared as the installation compares them: without regard to case
// and to a closing backslash (variables are expanded by the platform there).
bool SameIgnoringCase(std::wstring entry, std::wstring folder) {
    for (std::wstring* text : {&entry, &folder}) {
        if (text->ends_with(L'\\'))
            text->pop_back();
        for (wchar_t& ch : *text)
            ch = static_cast<wchar_t>(std::towlower(ch));
    }
    return entry == folder;
}

constexpr wchar_t kFolder[] = L"C:\\Users\\Jo\\AppData\\Local\\Programs\\Ordnerlink";

struct PathCase {
    const wchar_t* before;
    const wchar_t* withFolder;
    const wchar_t* withoutFolder;
};
const PathCase kPathCases[] = {
    {L"", kFolder, L""},
    {L"C:\\Tools", L"C:\\Tools;C:\\Users\\Jo\\AppData\\Local\\Programs\\Ordnerlink", L"C:\\Tools"},
    {L"C:\\Tools;", L"C:\\Tools;C:\\Users\\Jo\\AppData\\Local\\Programs\\Ordnerlink", L"C:\\Tools;"},
    {L"%USERPROFILE%\\bin;c:\\users\\jo\\appdata\\local\\programs\\ordnerlink\\;D:\\x",
     L"%USERPROFILE%\\bin;c:\\users\\jo\\appdata\\local\\programs\\ordnerlink\\;D:\\x",
     L"%USERPROFILE%\\bin;D:\\x"},
    {L"C:\\Users\\Jo\\AppData\\Local\\Programs\\Ordnerlink;C:\\Tools;;C:"
     L"\\Users\\Jo\\AppData\\Local\\Programs\\Ordnerlink",
     L"C:\\Users\\Jo\\AppData\\Local\\Programs\\Ordnerlink;C:\\Tools;;C:"
     L"\\Users\\Jo\\AppData\\Local\\Programs\\Ordnerlink",
     L"C:\\Tools"},
};

} // namespace

TEST(PathVariable, TheFolderIsAddedOnceAndTakenOutWhereverItStands) {
    for (const PathCase& c : kPathCases) {
        EXPECT_EQ(PathWith(c.before, kFolder, SameIgnoringCase), c.withFolder) << c.before;
        EXPECT_EQ(PathWithout(c.before, kFolder, SameIgnoringCase), c.withoutFolder) << c.before;
    }
}
