// Whether an FTP server greets: its name is looked up, every address it has
// is connected to at once, and the first that greets as an FTP server wins.
// The probe owns no timeout: it ends when it has a verdict or when the caller
// sets the stop event, whichever comes first (a name lookup, which cannot be
// stopped, runs to its own end first).
#pragma once

#include "FtpAddress.h"

#include <winsock2.h>
#include <ws2tcpip.h>

enum class FtpVerdict {
    Ready,         // an address greeted with "220"
    NotReady,      // an FTP server that turns users away ("421")
    NotFtp,        // a listener that says something else, or closes without a word
    NoConnection,  // no address took the connection, or the sockets failed; error says why
    UnknownServer, // the name lookup failed; error says why
    Stopped,       // the caller's stop event was set first
};

struct FtpProbeResult {
    FtpVerdict verdict = FtpVerdict::NoConnection;
    int error = 0; // the Winsock or system error, where the verdict has one
};

FtpProbeResult ProbeFtpServer(const FtpServer& server, HANDLE stop);

// The probe's second half, for addresses already known; Winsock must be
// started. addresses may hold addresses of both families.
FtpProbeResult ProbeFtpAddresses(const ADDRINFOW* addresses, HANDLE stop);
