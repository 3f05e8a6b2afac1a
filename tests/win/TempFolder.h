// A fresh folder under the temporary folder of the Wine prefix, removed with
// everything in it when the test ends.
#pragma once

#include <string>

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder's path, ending in "\".
    const std::wstring& Path() const { return path_; }
    std::wstring operator/(const std::wstring& name) const { return path_ + name; }

private:
    std::wstring path_;
};

// Reads a whole file as bytes; empty when it cannot be read.
std::string ReadFileBytes(const std::wstring& path);
// Creates a file with the given content; true on success.
bool WriteFileBytes(const std::wstring& path, const std::string& bytes);
// The host side (Linux) path of a Windows path in the prefix, for tools that
// look at the files from outside.
std::string UnixPathOf(const std::wstring& windowsPath);
