// The sockets' holders: each releases what the scope that obtained it
// obtained, as the holders of Win32Holders.h do for handles.
#pragma once

#include <winsock2.h>
#include <ws2tcpip.h>

#include <utility>

namespace win32 {

// A socket closed by the scope that opened it.
class Socket {
public:
    explicit Socket(SOCKET s) : s_(s) {}
    ~Socket() {
        if (s_ != INVALID_SOCKET)
            closesocket(s_);
    }
    Socket(Socket&& other) noexcept : s_(std::exchange(other.s_, INVALID_SOCKET)) {}
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;
    Socket& operator=(Socket&&) = delete;
    SOCKET Get() const { return s_; }

private:
    SOCKET s_;
};

struct AddressFreer {
    void operator()(ADDRINFOW* a) const noexcept { FreeAddrInfoW(a); }
};

// The sockets of this process, ready from construction to destruction.
class WinsockSession {
public:
    WinsockSession() {
        WSADATA data{};
        error_ = WSAStartup(MAKEWORD(2, 2), &data);
    }
    ~WinsockSession() {
        if (error_ == 0)
            WSACleanup();
    }
    WinsockSession(const WinsockSession&) = delete;
    WinsockSession& operator=(const WinsockSession&) = delete;
    int Error() const { return error_; }

private:
    int error_ = 0;
};

} // namespace win32
