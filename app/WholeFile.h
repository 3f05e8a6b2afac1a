// Reading a small file whole.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The file's bytes; nothing when it cannot be opened or read, or is larger
// than cbLimit, and error then holds the platform's error code.
std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::wstring& path, std::size_t cbLimit,
                                                       unsigned long& error);
