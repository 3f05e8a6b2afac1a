// Reading and writing a small file whole.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Larger than any desktop.ini or shell link: a larger file is not read into
// memory.
inline constexpr std::size_t cbLargestSmallFile = 1 << 20;

// The file's bytes; nothing when it cannot be opened or read, or is larger
// than cbLimit, and error then holds the platform's error code.
std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::wstring& path, std::size_t cbLimit,
                                                       unsigned long& error);

// Creates or replaces the file with exactly these bytes. The bytes go into a
// new file beside it that is then moved over it: a hard link to the earlier
// file keeps the earlier bytes instead of being written through, and a
// failure leaves the earlier file whole and no new file behind. False when
// the new file could not be written completely or not moved into place (a
// read-only or open file is not replaced); the thread's last error then says
// why.
bool WriteWholeFile(const std::wstring& path, std::span<const std::uint8_t> bytes);

// Moves the file from over the file to (MoveFileExW with
// MOVEFILE_REPLACE_EXISTING). A reader that has the file open for a moment
// (a check of this program, Explorer, a virus scanner) makes the move fail
// with a sharing violation or, under Wine, with access denied: it is tried
// again for up to half a second before it fails with that error.
bool MoveOverFile(const std::wstring& from, const std::wstring& to);

// A name in the same folder as path for a file that is to replace it, so that
// the move stays on one volume; unique to this process.
std::wstring TemporaryNameBeside(const std::wstring& path);

// Whether name (a name alone, no folder) is TemporaryNameBeside of a file
// named fileName in the same folder: what a run ended before its move left.
bool IsTemporaryNameBeside(std::wstring_view name, std::wstring_view fileName);
