// Whether the source of a folder link answers: a local or network path that
// exists, or an FTP server that accepts a connection.
#pragma once

#include <string>

struct SourceAnswer {
    bool answers = false;
    std::wstring message; // what was found, in German
};

// Returns after at most timeoutSeconds (and a moment), whatever the network
// does: the check runs on a worker thread that is abandoned when it takes
// longer. A source of another kind (an http:// address, a relative path) is
// not checked and does not answer.
SourceAnswer CheckSource(const std::wstring& source, unsigned timeoutSeconds);
