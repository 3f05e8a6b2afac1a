#include "TempFolder.h"

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

namespace {

// Attributes such as System and Hidden on a folder do not stop its removal,
// but read-only files do; clear them all first.
void ClearAttributes(const fs::path& root) {
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(root, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec))
        SetFileAttributesW(it->path().c_str(), FILE_ATTRIBUTE_NORMAL);
    SetFileAttributesW(root.c_str(), FILE_ATTRIBUTE_NORMAL);
}

} // namespace

TempFolder::TempFolder() {
    wchar_t temp[MAX_PATH + 1]{};
    GetTempPathW(MAX_PATH + 1, temp);
    static unsigned counter = 0;
    for (;;) {
        path_ = std::wstring(temp) + L"ordnerlink-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                std::to_wstring(++counter) + L"\\";
        if (CreateDirectoryW(path_.c_str(), nullptr))
            break;
    }
}

TempFolder::~TempFolder() {
    ClearAttributes(path_);
    std::error_code ec;
    fs::remove_all(path_, ec);
}

std::string ReadFileBytes(const std::wstring& path) {
    std::ifstream in(fs::path(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool WriteFileBytes(const std::wstring& path, const std::string& bytes) {
    std::ofstream out(fs::path(path), std::ios::binary);
    out << bytes;
    return static_cast<bool>(out);
}

std::string UnixPathOf(const std::wstring& windowsPath) {
    // Wine's own converter, exported by kernel32 for exactly this purpose.
    using GetUnixFileName = char*(CDECL*)(const wchar_t*);
    auto convert = reinterpret_cast<GetUnixFileName>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (!convert)
        return {};
    char* unixPath = convert(windowsPath.c_str());
    if (!unixPath)
        return {};
    std::string result(unixPath);
    HeapFree(GetProcessHeap(), 0, unixPath);
    return result;
}
