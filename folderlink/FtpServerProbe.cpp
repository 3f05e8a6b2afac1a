#include "FtpServerProbe.h"

#include "FtpGreeting.h"
#include "SocketHolders.h"
#include "Win32Holders.h"

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {

// One address being tried: connected, then listened to until its greeting
// is judged. Each has an event of its own: a shared one would be reset by
// asking one socket while another's news is already recorded, and that news
// would never wake the wait.
struct Attempt {
    win32::Socket socket;
    win32::Handle network;
    bool open = true;
    std::string received;
    FtpProbeResult outcome; // once it is no longer open
};

void Close(Attempt& attempt, FtpVerdict verdict, int error) {
    attempt.open = false;
    attempt.outcome = {verdict, error};
}

// How much an attempt's failure tells the user, for choosing the one to
// report: an answer from the server itself says more than a refused
// connection, which says more than no route to it.
int Weight(const FtpProbeResult& outcome) {
    switch (outcome.verdict) {
    case FtpVerdict::NotReady:
        return 3;
    case FtpVerdict::NotFtp:
        return 2;
    default:
        return outcome.error == WSAECONNREFUSED ? 1 : 0;
    }
}

// Starts a connection to address without blocking; its progress is signalled
// through the attempt's event.
Attempt Start(const ADDRINFOW& address) {
    Attempt attempt{win32::Socket(socket(address.ai_family, address.ai_socktype, address.ai_protocol)),
                    win32::Handle(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
                    true,
                    {},
                    {}};
    const SOCKET s = attempt.socket.Get();
    if (s == INVALID_SOCKET) {
        // An address family the machine does not run (IPv6 switched off).
        Close(attempt, FtpVerdict::NoConnection, WSAGetLastError());
        return attempt;
    }
    if (!attempt.network) {
        Close(attempt, FtpVerdict::NoConnection, static_cast<int>(GetLastError()));
        return attempt;
    }
    if (WSAEventSelect(s, attempt.network.get(), FD_CONNECT | FD_READ | FD_CLOSE) != 0) {
        Close(attempt, FtpVerdict::NoConnection, WSAGetLastError());
        return attempt;
    }
    // WSAEventSelect made the socket non-blocking: a connection under way
    // reports WSAEWOULDBLOCK and signals FD_CONNECT when it is made or fails.
    if (connect(s, address.ai_addr, static_cast<int>(address.ai_addrlen)) != 0 &&
        WSAGetLastError() != WSAEWOULDBLOCK)
        Close(attempt, FtpVerdict::NoConnection, WSAGetLastError());
    return attempt;
}

// Reads what has arrived, until a verdict or until nothing more is there;
// nothing when reading failed (the attempt is closed with the error). ended
// is set when the server has closed its side.
std::optional<FtpGreeting> Read(Attempt& attempt, bool& ended) {
    char buffer[1024];
    for (;;) {
        // Judged after every piece, so that a listener that talks without
        // end is cut off at the greeting's limit rather than read forever.
        const FtpGreeting verdict = JudgeFtpGreeting(attempt.received);
        if (verdict != FtpGreeting::Incomplete)
            return verdict;
        const int cb = recv(attempt.socket.Get(), buffer, sizeof(buffer), 0);
        if (cb > 0) {
            attempt.received.append(buffer, static_cast<std::size_t>(cb));
            continue;
        }
        if (cb == 0)
            ended = true;
        else if (WSAGetLastError() != WSAEWOULDBLOCK) {
            Close(attempt, FtpVerdict::NoConnection, WSAGetLastError());
            return std::nullopt;
        }
        return verdict;
    }
}

// Takes in what happened on one attempt since it was last asked; true when
// the server greeted as an FTP server.
bool Update(Attempt& attempt) {
    WSANETWORKEVENTS events{};
    if (WSAEnumNetworkEvents(attempt.socket.Get(), attempt.network.get(), &events) != 0) {
        Close(attempt, FtpVerdict::NoConnection, WSAGetLastError());
        return false;
    }
    if ((events.lNetworkEvents & FD_CONNECT) && events.iErrorCode[FD_CONNECT_BIT] != 0) {
        Close(attempt, FtpVerdict::NoConnection, events.iErrorCode[FD_CONNECT_BIT]);
        return false;
    }
    if (!(events.lNetworkEvents & (FD_READ | FD_CLOSE)))
        return false;
    bool ended = (events.lNetworkEvents & FD_CLOSE) != 0;
    const auto verdict = Read(attempt, ended);
    if (!verdict)
        return false;
    switch (*verdict) {
    case FtpGreeting::Ready:
        return true;
    case FtpGreeting::NotReady:
        Close(attempt, FtpVerdict::NotReady, 0);
        break;
    case FtpGreeting::NotFtp:
        Close(attempt, FtpVerdict::NotFtp, 0);
        break;
    case FtpGreeting::Incomplete:
        // Closed before a whole greeting: a reset is a failed connection,
        // an orderly close a listener that is no FTP server.
        if ((events.lNetworkEvents & FD_CLOSE) && events.iErrorCode[FD_CLOSE_BIT] != 0)
            Close(attempt, FtpVerdict::NoConnection, events.iErrorCode[FD_CLOSE_BIT]);
        else if (ended)
            Close(attempt, FtpVerdict::NotFtp, 0);
        break;
    }
    return false;
}

} // namespace

FtpProbeResult ProbeFtpAddresses(const ADDRINFOW* addresses, HANDLE stop) {
    // A wait takes at most 64 handles: the stop event and one per address.
    // Beyond 63 addresses (no name has that many) the rest are not tried.
    constexpr std::size_t maxAttempts = MAXIMUM_WAIT_OBJECTS - 1;
    std::vector<Attempt> attempts;
    for (const ADDRINFOW* address = addresses; address && attempts.size() < maxAttempts;
         address = address->ai_next)
        attempts.push_back(Start(*address));

    for (;;) {
        // The stop event comes first: when it is set, the caller has decided
        // already, whatever else has happened meanwhile.
        std::vector<HANDLE> waitFor{stop};
        std::vector<Attempt*> waiting;
        for (Attempt& attempt : attempts) {
            if (attempt.open) {
                waitFor.push_back(attempt.network.get());
                waiting.push_back(&attempt);
            }
        }
        if (waiting.empty())
            break;
        const DWORD woken =
            WaitForMultipleObjects(static_cast<DWORD>(waitFor.size()), waitFor.data(), FALSE, INFINITE);
        if (woken == WAIT_OBJECT_0)
            return {FtpVerdict::Stopped, 0};
        if (woken >= WAIT_OBJECT_0 + waitFor.size())
            return {FtpVerdict::NoConnection, static_cast<int>(GetLastError())};
        Attempt& attempt = *waiting[woken - WAIT_OBJECT_0 - 1];
        if (Update(attempt)) {
            // Polite to the server; it closes the connection either way, so
            // a failed send changes nothing.
            send(attempt.socket.Get(), "QUIT\r\n", 6, 0);
            return {FtpVerdict::Ready, 0};
        }
    }

    // Every address failed: the most telling failure, the first address's
    // among equals, so that the same network gives the same message.
    FtpProbeResult reported{FtpVerdict::NoConnection, WSAHOST_NOT_FOUND};
    int reportedWeight = -1;
    for (const Attempt& attempt : attempts) {
        if (Weight(attempt.outcome) > reportedWeight) {
            reported = attempt.outcome;
            reportedWeight = Weight(attempt.outcome);
        }
    }
    return reported;
}

FtpProbeResult ProbeFtpServer(const FtpServer& server, HANDLE stop) {
    const win32::WinsockSession winsock;
    if (winsock.Error() != 0)
        return {FtpVerdict::NoConnection, winsock.Error()};
    ADDRINFOW hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_protocol = IPPROTO_TCP;
    ADDRINFOW* found = nullptr;
    if (const int error =
            GetAddrInfoW(server.host.c_str(), std::to_wstring(server.port).c_str(), &hints, &found);
        error != 0 || !found)
        return {FtpVerdict::UnknownServer, error != 0 ? error : WSAHOST_NOT_FOUND};
    const std::unique_ptr<ADDRINFOW, win32::AddressFreer> addresses(found);
    // A lookup that outlasted the caller's time connects to nothing.
    if (WaitForSingleObject(stop, 0) == WAIT_OBJECT_0)
        return {FtpVerdict::Stopped, 0};
    return ProbeFtpAddresses(found, stop);
}
