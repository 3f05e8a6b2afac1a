#include "L_PFADE.h"
#include "TempFolder.h"

#include <gtest/gtest.h>
#include <windows.h>

using namespace L_PFADE;

namespace {

bool IsFolder(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring SystemDrive() {
    wchar_t windows[MAX_PATH]{};
    GetWindowsDirectoryW(windows, MAX_PATH);
    return std::wstring(windows, 2); // "C:"
}

} // namespace

TEST(FileExists, MatchesEntriesAndPatterns) {
    TempFolder tmp;
    ASSERT_TRUE(WriteFileBytes(tmp / L"a.txt", "x"));
    EXPECT_TRUE(FileExists(tmp / L"a.txt"));
    EXPECT_TRUE(FileExists(tmp / L"*.txt"));
    EXPECT_TRUE(FileExists(tmp / L"?.txt"));
    EXPECT_FALSE(FileExists(tmp / L"b.txt"));
    EXPECT_FALSE(FileExists(L""));
    EXPECT_FALSE(FileExists(L"."));
    EXPECT_TRUE(FileExists(tmp.Path() + L"*.*"));
}

TEST(DirExists, FoldersDrivesAndFiles) {
    TempFolder tmp;
    ASSERT_TRUE(WriteFileBytes(tmp / L"file.txt", "x"));
    EXPECT_TRUE(DirExists(tmp.Path()));
    EXPECT_TRUE(DirExists(RemoveBackslash(tmp.Path())));
    EXPECT_FALSE(DirExists(tmp / L"file.txt"));
    EXPECT_FALSE(DirExists(tmp / L"missing"));
    EXPECT_FALSE(DirExists(L""));
    const std::wstring drive = SystemDrive();
    EXPECT_TRUE(DirExists(drive));
    EXPECT_TRUE(DirExists(drive + L"\\"));
    EXPECT_FALSE(DirExists(L"\\\\no-such-server-here\\share"));
}

TEST(DirExists, EveryTrailingSeparatorIsIgnored) {
    TempFolder tmp;
    ASSERT_TRUE(CreateDirectoryW((tmp / L"ziel").c_str(), nullptr));
    for (const wchar_t* written : {L"ziel/", L"ziel\\\\", L"ziel\\/", L"ziel//"})
        EXPECT_TRUE(DirExists(tmp / written)) << std::wstring(written).size();
    EXPECT_TRUE(CreateDirChain(tmp / L"ziel/"));
}

TEST(CreateDirChain, CreatesEveryMissingLevel) {
    TempFolder tmp;
    EXPECT_TRUE(CreateDirChain(tmp / L"a\\b/c"));
    EXPECT_TRUE(IsFolder(tmp / L"a\\b\\c"));
    EXPECT_TRUE(CreateDirChain(L"  " + tmp.Path() + L"d\\e\\  "));
    EXPECT_TRUE(IsFolder(tmp / L"d\\e"));
    // Existing folders need no work and report success.
    EXPECT_TRUE(CreateDirChain(tmp / L"a\\b"));
    EXPECT_TRUE(CreateDirChain(tmp.Path()));
    EXPECT_FALSE(CreateDirChain(L""));
    EXPECT_FALSE(CreateDirChain(L"   "));
}

TEST(CreateDirChain, ListsTheFoldersItMadeAndTheFirstError) {
    TempFolder tmp;
    std::vector<std::wstring> created;
    EXPECT_TRUE(CreateDirChain(tmp / L"a\\b/c", &created));
    EXPECT_EQ(created, (std::vector<std::wstring>{tmp / L"a\\", tmp / L"a\\b/", tmp / L"a\\b/c\\"}));
    created.clear();
    EXPECT_TRUE(CreateDirChain(tmp / L"a\\b\\d", &created));
    EXPECT_EQ(created, (std::vector<std::wstring>{tmp / L"a\\b\\d\\"}));

    ASSERT_TRUE(WriteFileBytes(tmp / L"file", "x"));
    created.clear();
    SetLastError(0);
    EXPECT_FALSE(CreateDirChain(tmp / L"file\\sub\\deeper", &created));
    EXPECT_TRUE(created.empty());
    EXPECT_NE(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
}

TEST(CreateDirChain, FailsBelowAFileAndOnMissingDrives) {
    TempFolder tmp;
    ASSERT_TRUE(WriteFileBytes(tmp / L"file", "x"));
    EXPECT_FALSE(CreateDirChain(tmp / L"file\\sub"));
    EXPECT_FALSE(CreateDirChain(tmp / L"file"));
    EXPECT_FALSE(CreateDirChain(L"Q:\\ordnerlink\\x")); // no such drive in the test prefix
}

TEST(CreateDirChain, RelativePathNeverCreatesItsFirstComponent) {
    TempFolder tmp;
    wchar_t previous[MAX_PATH]{};
    GetCurrentDirectoryW(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryW(tmp.Path().c_str()));
    // "ab\" ends the root, so only ab\cd\ is attempted, which fails without ab.
    EXPECT_FALSE(CreateDirChain(L"ab\\cd"));
    EXPECT_FALSE(IsFolder(tmp / L"ab"));
    ASSERT_TRUE(CreateDirectoryW((tmp / L"ab").c_str(), nullptr));
    EXPECT_TRUE(CreateDirChain(L"ab\\cd\\ef"));
    EXPECT_TRUE(IsFolder(tmp / L"ab\\cd\\ef"));
    SetCurrentDirectoryW(previous);
}

TEST(CreateDirChain, KeepsCharactersOutsideTheAnsiCodePage) {
    TempFolder tmp;
    const std::wstring nested = tmp / L"\u0416\u0443\u0440\u043D\u0430\u043B\\\u65E5\u672C";
    EXPECT_TRUE(CreateDirChain(nested));
    EXPECT_TRUE(IsFolder(nested));
    EXPECT_TRUE(DirExists(nested));
}

TEST(WriteTextFile, WritesAnsiBytesAndReplacesTheOldFile) {
    TempFolder tmp;
    const std::wstring file = tmp / L"t.txt";
    ASSERT_TRUE(WriteFileBytes(file, std::string(100, 'z')));
    EXPECT_TRUE(WriteTextFile(file, L"Gr\u00FC\u00DFe\r\n"));
    EXPECT_EQ(ReadFileBytes(file), "Gr\xFC\xDF"
                                   "e\r\n");
    EXPECT_TRUE(WriteTextFile(file, L""));
    EXPECT_EQ(ReadFileBytes(file), "");
    // Hidden and system files are replaced as well.
    ASSERT_TRUE(SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
    EXPECT_TRUE(WriteTextFile(file, L"new"));
    EXPECT_EQ(ReadFileBytes(file), "new");
    EXPECT_FALSE(WriteTextFile(tmp / L"missing\\t.txt", L"x"));
}

TEST(WriteTextFile, ReportsFailureWhenNothingWasWritten) {
    TempFolder tmp;
    // A folder of that name cannot be replaced by a file; that it still
    // "exists" afterwards must not read as success.
    const std::wstring folder = tmp / L"desktop.ini";
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    EXPECT_FALSE(WriteTextFile(folder, L"new"));
    EXPECT_TRUE(IsFolder(folder));
}
