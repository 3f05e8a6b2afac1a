// A list file read from disk as "/create /from", "/sync" and the manager's
// import read it: its variables taken from the process's environment.
#pragma once

#include "LinkListFile.h"

#include <optional>
#include <string>

// The list file at path; nothing when the file cannot be read, and why (a
// German sentence).
std::optional<LinkList> ReadListFile(const std::wstring& path, std::wstring& why);

// The note that the list at path is read as Windows-1252; empty when it is not.
std::wstring ListEncodingNotice(const std::wstring& path, const LinkList& list);
