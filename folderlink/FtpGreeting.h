// What an FTP server says first, judged from the bytes received so far.
// Portable.
#pragma once

#include <string_view>

enum class FtpGreeting {
    Incomplete, // no verdict yet: more bytes are needed
    Ready,      // "220": the server is ready for a user
    NotReady,   // a reply of the form "421 ...": an FTP server that turns the user away
    NotFtp,     // anything else: the listener speaks another protocol
};

// received is everything the server has sent since the connection was made.
// A preliminary "1xx" reply (in a multi-line form too) is passed over; the
// reply after it decides.
FtpGreeting JudgeFtpGreeting(std::string_view received);
