// Reading and writing a small file whole.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

// The file's bytes; nothing when it cannot be opened or read, or is larger
// than cbLimit, and error then holds the platform's error code.
std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::wstring& path, std::size_t cbLimit,
                                                       unsigned long& error);

// Creates or replaces the file with exactly these bytes. False when it could
// not be created, written completely or closed; the thread's last error then
// says why, and what was written stays for the caller to deal with.
bool WriteWholeFile(const std::wstring& path, std::span<const std::uint8_t> bytes);
