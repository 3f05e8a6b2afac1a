#include "SourceCheck.h"

#include "FtpAddress.h"
#include "L_PFADE.h"

#include <windows.h>
#include <winsock2.h>
#include <ws2tcpip.h>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

std::wstring Quoted(const std::wstring& text) {
    return L"\u201E" + text + L"\u201C";
}

std::wstring PathFailure(DWORD error) {
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return L"Der Pfad existiert nicht.";
    case ERROR_BAD_NETPATH:
        return L"Der Server ist nicht erreichbar.";
    case ERROR_BAD_NET_NAME:
        return L"Der Server kennt diese Freigabe nicht.";
    case ERROR_ACCESS_DENIED:
        return L"Der Zugriff auf den Pfad wird verweigert.";
    case ERROR_NOT_READY:
        return L"Das Laufwerk ist nicht bereit.";
    default:
        return L"Der Pfad ist nicht erreichbar (Fehler " + std::to_wstring(error) + L").";
    }
}

SourceAnswer CheckPath(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    const DWORD error = GetLastError();
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return {false, PathFailure(error)};
    return {true, attributes & FILE_ATTRIBUTE_DIRECTORY ? L"Der Ordner ist erreichbar."
                                                        : L"Die Datei ist erreichbar."};
}

// A socket closed by the scope that opened it.
class Socket {
public:
    explicit Socket(SOCKET s) : s_(s) {}
    ~Socket() {
        if (s_ != INVALID_SOCKET)
            closesocket(s_);
    }
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;
    SOCKET Get() const { return s_; }

private:
    SOCKET s_;
};

struct AddressFreer {
    void operator()(ADDRINFOW* a) const noexcept { FreeAddrInfoW(a); }
};

class WinsockSession {
public:
    WinsockSession() {
        WSADATA data{};
        started_ = WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }
    ~WinsockSession() {
        if (started_)
            WSACleanup();
    }
    WinsockSession(const WinsockSession&) = delete;
    WinsockSession& operator=(const WinsockSession&) = delete;
    bool Started() const { return started_; }

private:
    bool started_ = false;
};

std::wstring ConnectFailure(const std::wstring& server, int error) {
    switch (error) {
    case WSAECONNREFUSED:
        return L"Der FTP-Server " + server + L" lehnt die Verbindung ab.";
    case WSAENETUNREACH:
    case WSAEHOSTUNREACH:
        return L"Der FTP-Server " + server + L" ist nicht erreichbar.";
    case WSAETIMEDOUT:
        return L"Der FTP-Server " + server + L" antwortet nicht.";
    default:
        return L"Keine Verbindung zum FTP-Server " + server + L" (Fehler " + std::to_wstring(error) + L").";
    }
}

enum class Connection { Accepted, Failed, TimedOut };

// One connection attempt without blocking: the socket's connect is started
// and waited for until the deadline at most.
Connection TryConnect(const ADDRINFOW& address, Clock::time_point deadline, int& error) {
    const Socket s(socket(address.ai_family, address.ai_socktype, address.ai_protocol));
    const SOCKET raw = s.Get();
    if (raw == INVALID_SOCKET) {
        error = WSAGetLastError();
        return Connection::Failed;
    }
    u_long nonBlocking = 1;
    if (ioctlsocket(raw, FIONBIO, &nonBlocking) != 0) {
        error = WSAGetLastError();
        return Connection::Failed;
    }
    if (connect(raw, address.ai_addr, static_cast<int>(address.ai_addrlen)) == 0)
        return Connection::Accepted;
    if (WSAGetLastError() != WSAEWOULDBLOCK) {
        error = WSAGetLastError();
        return Connection::Failed;
    }
    const auto remaining = std::chrono::duration_cast<std::chrono::microseconds>(deadline - Clock::now());
    if (remaining.count() <= 0)
        return Connection::TimedOut;
    timeval wait{static_cast<long>(remaining.count() / 1000000),
                 static_cast<long>(remaining.count() % 1000000)};
    fd_set writable;
    fd_set failed;
    FD_ZERO(&writable);
    FD_ZERO(&failed);
    FD_SET(raw, &writable);
    FD_SET(raw, &failed);
    const int ready = select(0, nullptr, &writable, &failed, &wait);
    if (ready == 0)
        return Connection::TimedOut;
    if (ready == SOCKET_ERROR) {
        error = WSAGetLastError();
        return Connection::Failed;
    }
    int socketError = 0;
    int cbSocketError = sizeof(socketError);
    if (getsockopt(raw, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&socketError), &cbSocketError) != 0)
        socketError = WSAGetLastError();
    if (FD_ISSET(raw, &writable) && socketError == 0)
        return Connection::Accepted;
    error = socketError != 0 ? socketError : WSAECONNREFUSED;
    return Connection::Failed;
}

SourceAnswer CheckFtpServer(const FtpServer& server, Clock::time_point deadline) {
    const std::wstring name = Quoted(server.host + L":" + std::to_wstring(server.port));
    const WinsockSession winsock;
    if (!winsock.Started())
        return {false, L"Das Netzwerk steht nicht zur Verfügung."};
    ADDRINFOW hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_protocol = IPPROTO_TCP;
    ADDRINFOW* found = nullptr;
    if (GetAddrInfoW(server.host.c_str(), std::to_wstring(server.port).c_str(), &hints, &found) != 0 ||
        !found)
        return {false, L"Der Servername " + Quoted(server.host) + L" ist unbekannt."};
    const std::unique_ptr<ADDRINFOW, AddressFreer> addresses(found);

    int error = WSAEHOSTUNREACH;
    for (const ADDRINFOW* address = found; address; address = address->ai_next) {
        switch (TryConnect(*address, deadline, error)) {
        case Connection::Accepted:
            return {true, L"Der FTP-Server " + name + L" nimmt Verbindungen an."};
        case Connection::TimedOut:
            return {false, ConnectFailure(name, WSAETIMEDOUT)};
        case Connection::Failed:
            break;
        }
    }
    return {false, ConnectFailure(name, error)};
}

// What the worker thread hands back; shared, so that an abandoned worker
// still has somewhere to put its late answer.
struct Outcome {
    std::mutex mutex;
    std::condition_variable done;
    std::optional<SourceAnswer> answer;
};

} // namespace

SourceAnswer CheckSource(const std::wstring& source, unsigned timeoutSeconds) {
    const auto deadline = Clock::now() + std::chrono::seconds(timeoutSeconds);
    std::function<SourceAnswer()> check;
    if (const auto server = FtpServerOf(source))
        check = [server = *server, deadline] { return CheckFtpServer(server, deadline); };
    else if (L_PFADE::IsFullPath(source))
        check = [source] { return CheckPath(source); };
    else
        return {false, L"Nur lokale Pfade, Netzwerkfreigaben und FTP-Adressen lassen sich prüfen."};

    // A path on a server that does not answer can hold the file system call
    // for much longer than any timeout, and a server name can hold its
    // lookup: both run on a worker that is left behind when time is up.
    const auto outcome = std::make_shared<Outcome>();
    try {
        std::thread([outcome, check] {
            SourceAnswer answer = check();
            const std::lock_guard lock(outcome->mutex);
            outcome->answer = std::move(answer);
            outcome->done.notify_all();
        }).detach();
    } catch (const std::system_error&) {
        return {false, L"Die Prüfung ließ sich nicht starten."};
    }
    std::unique_lock lock(outcome->mutex);
    if (!outcome->done.wait_until(lock, deadline, [&outcome] { return outcome->answer.has_value(); }))
        return {false, L"Die Quelle antwortet nicht innerhalb von " + std::to_wstring(timeoutSeconds) +
                           (timeoutSeconds == 1 ? L" Sekunde." : L" Sekunden.")};
    return *outcome->answer;
}
