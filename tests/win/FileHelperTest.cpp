#include "L_PFADE.h"
#include "TempFolder.h"
#include "Win32Holders.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <thread>
#include <vector>

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

bool RunningUnderWine() {
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

std::wstring Widened(const std::string& utf8) {
    std::wstring wide(utf8.size(), L'\0');
    wide.resize(static_cast<std::size_t>(MultiByteToWideChar(
        CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), static_cast<int>(wide.size()))));
    return wide;
}

bool WaitFor(const std::function<bool()>& state) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!state()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

// Starts a Linux program, which Wine runs for a file that is no Windows
// program; it gives no process to wait for, so callers wait for its effect.
bool StartLinuxProgram(std::wstring commandLine) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return false;
    const win32::Handle ownProcess(process.hProcess);
    const win32::Handle ownThread(process.hThread);
    return true;
}

// The prefix's dosdevices folder, where Wine looks up drive letters (one
// symbolic link each) and shares ("unc\\server\\share"), as a Linux path
// ending in "/"; empty when it cannot be found.
std::string UnixDosDevicesFolder() {
    const std::string driveC = UnixPathOf(L"C:\\");
    return driveC.ends_with("/c:/") ? driveC.substr(0, driveC.size() - 3) : std::string();
}

// A free drive letter that Wine maps to folder, as its configuration does.
// Root() is "X:", or empty when no drive could be mapped; the mapping ends
// with the object.
class MappedDrive {
public:
    explicit MappedDrive(const std::wstring& folder) {
        const std::string dosDevices = UnixDosDevicesFolder();
        if (dosDevices.empty())
            return;
        for (wchar_t letter = L'm'; letter <= L'y'; ++letter) {
            const std::wstring root{static_cast<wchar_t>(letter - L'a' + L'A'), L':'};
            if (GetFileAttributesW((root + L"\\").c_str()) != INVALID_FILE_ATTRIBUTES)
                continue;
            link_ = Widened(dosDevices) + letter + L":";
            if (StartLinuxProgram(L"Z:\\bin\\ln -s \"" + Widened(UnixPathOf(folder)) + L"\" \"" + link_ +
                                  L"\"") &&
                WaitFor([&] { return IsFolder(root + L"\\"); }))
                root_ = root;
            return;
        }
    }
    ~MappedDrive() {
        if (!link_.empty() && StartLinuxProgram(L"Z:\\bin\\rm -f \"" + link_ + L"\"") && !root_.empty())
            WaitFor([&] { return GetFileAttributesW((root_ + L"\\").c_str()) == INVALID_FILE_ATTRIBUTES; });
    }
    MappedDrive(const MappedDrive&) = delete;
    MappedDrive& operator=(const MappedDrive&) = delete;

    const std::wstring& Root() const { return root_; }

private:
    std::wstring link_;
    std::wstring root_;
};

// An empty share "\\\\server\\leer" that Wine serves from a folder of its
// prefix, on a server of this process's own; the share and the folders made
// for it go with the object. Root() is empty when it could not be made.
class WineShare {
public:
    WineShare() {
        const std::string dosDevices = UnixDosDevicesFolder();
        if (dosDevices.empty())
            return;
        // Wine shows the Linux root as drive Z:.
        std::wstring folder = L"Z:" + Widened(dosDevices);
        std::replace(folder.begin(), folder.end(), L'/', L'\\');
        const std::wstring server = L"ordnerlink-" + std::to_wstring(GetCurrentProcessId());
        for (const std::wstring& level : {std::wstring(L"unc"), server, std::wstring(L"leer")}) {
            folder += level + L"\\";
            if (CreateDirectoryW(folder.c_str(), nullptr))
                made_.push_back(folder);
            else if (GetLastError() != ERROR_ALREADY_EXISTS)
                return;
        }
        folder_ = folder;
        root_ = L"\\\\" + server + L"\\leer";
    }
    ~WineShare() {
        ClearFolder(folder_);
        for (auto level = made_.rbegin(); level != made_.rend(); ++level)
            RemoveDirectoryW(level->c_str());
    }
    WineShare(const WineShare&) = delete;
    WineShare& operator=(const WineShare&) = delete;

    const std::wstring& Root() const { return root_; }
    // The share's folder in the prefix, ending in "\\".
    const std::wstring& Folder() const { return folder_; }

private:
    static void ClearFolder(const std::wstring& folder) {
        WIN32_FIND_DATAW data{};
        const win32::FindHandle search(win32::NullIfInvalid(FindFirstFileW((folder + L"*").c_str(), &data)));
        if (!search)
            return;
        do {
            const std::wstring name = data.cFileName;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                if (name != L"." && name != L"..")
                    RemoveDirectoryW((folder + name).c_str());
            } else {
                DeleteFileW((folder + name).c_str());
            }
        } while (FindNextFileW(search.get(), &data));
    }

    std::vector<std::wstring> made_;
    std::wstring folder_;
    std::wstring root_;
};

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

// A drive or share root counts as a folder only while it holds an entry:
// the root of an empty medium, or an empty share, does not, although the
// platform gives it the folder attribute. "." and "..", which a share on a
// folder lists, are not entries it holds. Wine deviation: Wine's search for
// a share root itself finds the share, Windows' finds nothing.
TEST(DirExists, ARootCountsOnlyWhileItHoldsAnEntry) {
    if (!RunningUnderWine())
        GTEST_SKIP() << "the empty drive and share are made here in Wine's prefix";
    TempFolder tmp;
    const std::wstring driveFolder = tmp / L"Laufwerk\\";
    ASSERT_TRUE(CreateDirectoryW(driveFolder.c_str(), nullptr));
    const MappedDrive drive(driveFolder);
    ASSERT_FALSE(drive.Root().empty()) << "no drive letter could be mapped";
    const WineShare share;
    ASSERT_FALSE(share.Root().empty()) << "no share could be made";

    struct Root {
        std::wstring path;   // as typed, with and without separators
        std::wstring folder; // where an entry is put into it
    };
    const Root roots[] = {
        {drive.Root(), driveFolder},
        {drive.Root() + L"\\", driveFolder},
        {drive.Root() + L"/", driveFolder},
        {share.Root(), share.Folder()},
        {share.Root() + L"\\", share.Folder()},
    };
    for (const Root& root : roots) {
        ASSERT_TRUE(IsFolder(RemoveTrailingSeparators(root.path) + L"\\"))
            << testing::PrintToString(root.path);
        EXPECT_FALSE(DirExists(root.path)) << testing::PrintToString(root.path) << " while empty";
    }
    EXPECT_FALSE(DirExists(share.Root() + L"\\Unterordner"));
    ASSERT_TRUE(CreateDirectoryW((share.Folder() + L"Unterordner").c_str(), nullptr));
    ASSERT_TRUE(WriteFileBytes(driveFolder + L"eintrag.txt", "x"));
    for (const Root& root : roots)
        EXPECT_TRUE(DirExists(root.path)) << testing::PrintToString(root.path) << " holding an entry";
    EXPECT_TRUE(DirExists(share.Root() + L"\\Unterordner"));
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
