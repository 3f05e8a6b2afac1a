// 200 folder links made in one process by CreateFolderLink and 200 by the
// bare calls that do the same work by the same route: the folder, its System
// attribute, desktop.ini and its attributes, target.lnk written by
// SaveShellLink (whichever route it takes) and its attribute. The two take
// turns link by link, so that both meet the same load of a shared machine.
// Each round works in two folders of its own under the root given (default
// C:\linkbench), which are left for the caller to remove. Prints the median
// time per link.
#include "L_SHTCUT.h"
#include "ShellLinkSave.h"

#include <ole2.h>
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kLinks = 200;
constexpr int kRounds = 5;
const ShellLinkFile::Source kSource{ShellLinkFile::SourceKind::NetworkShare, L"\\\\srv\\share\\docs"};

bool BareFolderLink(const std::wstring& folder) {
    if (!CreateDirectoryW(folder.c_str(), nullptr) ||
        !SetFileAttributesW(folder.c_str(), FILE_ATTRIBUTE_SYSTEM))
        return false;
    const std::wstring ini = folder + L"\\desktop.ini";
    const HANDLE file =
        CreateFileW(ini.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    const std::wstring text = L_SHTCUT::DesktopIniText();
    const std::string bytes(text.begin(), text.end()); // ASCII only
    DWORD cbWritten = 0;
    const bool written = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &cbWritten, nullptr);
    CloseHandle(file);
    const std::wstring link = folder + L"\\target.lnk";
    return written && SetFileAttributesW(ini.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM) &&
           SaveShellLink(link, kSource) != ShellLinkRoute::NotWritten &&
           SetFileAttributesW(link.c_str(), FILE_ATTRIBUTE_HIDDEN);
}

bool ProgramFolderLink(const std::wstring& folder) {
    return L_SHTCUT::CreateFolderLink(kSource, folder).complete;
}

using MakeLink = bool (*)(const std::wstring&);

// Milliseconds that make took for one link in folder.
double MillisecondsFor(MakeLink make, const std::wstring& folder, bool& allMade) {
    const auto start = std::chrono::steady_clock::now();
    allMade = make(folder) && allMade;
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring root = argc > 1 ? argv[1] : L"C:\\linkbench";
    if (FAILED(OleInitialize(nullptr)))
        return 1;
    CreateDirectoryW(root.c_str(), nullptr);
    std::vector<double> program, bare;
    bool allMade = true;
    for (int r = 0; r < kRounds; ++r) {
        const std::wstring programRound = root + L"\\program " + std::to_wstring(r);
        const std::wstring bareRound = root + L"\\bare " + std::to_wstring(r);
        CreateDirectoryW(programRound.c_str(), nullptr);
        CreateDirectoryW(bareRound.c_str(), nullptr);
        double programTotal = 0;
        double bareTotal = 0;
        for (int i = 0; i < kLinks; ++i) {
            // Each goes first every other link.
            const std::wstring name = L"\\Link " + std::to_wstring(i);
            if (i % 2)
                bareTotal += MillisecondsFor(BareFolderLink, bareRound + name, allMade);
            programTotal += MillisecondsFor(ProgramFolderLink, programRound + name, allMade);
            if (!(i % 2))
                bareTotal += MillisecondsFor(BareFolderLink, bareRound + name, allMade);
        }
        program.push_back(programTotal / kLinks);
        bare.push_back(bareTotal / kLinks);
    }
    OleUninitialize();
    std::printf("folder link: program %.3f ms, bare %.3f ms per link (%d links, median of %d rounds)%s\n",
                Median(program), Median(bare), kLinks, kRounds, allMade ? "" : " SOME NOT MADE");
    return allMade ? 0 : 1;
}
