// How a log that has grown too long is shortened: started anew with its last
// half, from a line's start. Portable.
#pragma once

#include <cstddef>
#include <string_view>

// A log longer than this is started anew when it is next written.
inline constexpr std::size_t kLogLimitBytes = 1024 * 1024;

// Where the whole lines of tail begin (tail being the end of a UTF-8 log,
// cut anywhere): just after its first line break; without one, at its first
// character's first byte, so that no character is kept in part.
std::size_t WholeLinesStart(std::string_view tail);
