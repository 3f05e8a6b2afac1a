#include "FtpGreeting.h"

namespace {

// A greeting longer than this without a verdict is no FTP server's: theirs
// are a few lines of text.
constexpr std::size_t cbMaxGreeting = 16384;

bool IsDigit(char ch) {
    return ch >= '0' && ch <= '9';
}

// A reply line starts with three digits and a blank ("220 text") or, on the
// first line of a multi-line reply, a hyphen ("220-text"). "220" alone is
// taken as well: some servers send no text.
bool IsReplyLine(std::string_view line) {
    return line.size() >= 3 && IsDigit(line[0]) && IsDigit(line[1]) && IsDigit(line[2]) &&
           (line.size() == 3 || line[3] == ' ' || line[3] == '-');
}

} // namespace

FtpGreeting JudgeFtpGreeting(std::string_view received) {
    // The code of a preliminary multi-line reply ("120-Service ready in nnn
    // minutes") whose last line, the code and a blank, is still to come.
    std::string_view open;
    for (std::size_t at = 0;;) {
        const std::size_t lineEnd = received.find('\n', at);
        if (lineEnd == std::string_view::npos)
            return received.size() > cbMaxGreeting ? FtpGreeting::NotFtp : FtpGreeting::Incomplete;
        std::string_view line = received.substr(at, lineEnd - at);
        at = lineEnd + 1;
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        if (!open.empty()) {
            if (line.size() >= 4 && line.starts_with(open) && line[3] == ' ')
                open = {};
            continue;
        }
        if (!IsReplyLine(line))
            return FtpGreeting::NotFtp;
        switch (line[0]) {
        case '2':
            // A multi-line "220-" greeting is taken at its first line: the
            // code of a multi-line reply is that of its first line (the last
            // one only repeats it), and waiting for a long banner to end
            // could spend the whole timeout on a server that has already
            // said that it is ready.
            return line.starts_with("220") ? FtpGreeting::Ready : FtpGreeting::NotFtp;
        case '4':
        case '5':
            return FtpGreeting::NotReady;
        case '1':
            if (line.size() > 3 && line[3] == '-')
                open = line.substr(0, 3);
            break;
        default:
            return FtpGreeting::NotFtp;
        }
    }
}
