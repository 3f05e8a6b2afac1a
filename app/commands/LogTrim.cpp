#include "LogTrim.h"

std::size_t WholeLinesStart(std::string_view tail) {
    if (const std::size_t lineEnd = tail.find('\n'); lineEnd != std::string_view::npos)
        return lineEnd + 1;
    // A UTF-8 continuation byte is 10xxxxxx.
    std::size_t at = 0;
    while (at < tail.size() && (static_cast<unsigned char>(tail[at]) & 0xC0) == 0x80)
        ++at;
    return at;
}
