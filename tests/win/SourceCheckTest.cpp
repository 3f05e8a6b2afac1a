#include "SourceCheck.h"
#include "FtpServerProbe.h"
#include "SocketHolders.h"
#include "TempFolder.h"
#include "Win32Holders.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace {

bool RunningUnderWine() {
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

// What a server on the loopback address does with a connection.
enum class Behaviour {
    Closed,    // nothing listens on the port: the connection is refused
    Silent,    // the connection is taken (by the system's backlog), and nothing is ever said
    Greets,    // "220 ready"
    Busy,      // "421": an FTP server that turns users away
    SpeaksWeb, // a web server's reply
    HangsUp,   // takes the connection and closes it without a word
};

// A server on the loopback address of one family, on a port of its own.
class Server {
public:
    Server(int family, Behaviour behaviour) {
        listening_ = socket(family, SOCK_STREAM, IPPROTO_TCP);
        if (listening_ == INVALID_SOCKET)
            return;
        if (family == AF_INET6) {
            DWORD v6Only = 1;
            setsockopt(listening_, IPPROTO_IPV6, IPV6_V6ONLY, reinterpret_cast<const char*>(&v6Only),
                       sizeof(v6Only));
            auto& address = *reinterpret_cast<sockaddr_in6*>(&address_);
            address.sin6_family = AF_INET6;
            address.sin6_addr = in6addr_loopback;
            cbAddress_ = sizeof(address);
        } else {
            auto& address = *reinterpret_cast<sockaddr_in*>(&address_);
            address.sin_family = AF_INET;
            address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
            cbAddress_ = sizeof(address);
        }
        if (bind(listening_, reinterpret_cast<sockaddr*>(&address_), cbAddress_) != 0 ||
            getsockname(listening_, reinterpret_cast<sockaddr*>(&address_), &cbAddress_) != 0)
            return;
        if (behaviour == Behaviour::Closed) {
            closesocket(std::exchange(listening_, INVALID_SOCKET));
            usable_ = true;
            return;
        }
        if (listen(listening_, SOMAXCONN) != 0)
            return;
        usable_ = true;
        if (behaviour == Behaviour::Greets)
            Answer("220 ready\r\n");
        else if (behaviour == Behaviour::Busy)
            Answer("421 Too many users\r\n");
        else if (behaviour == Behaviour::SpeaksWeb)
            Answer("HTTP/1.1 400 Bad Request\r\nContent-Length: 0\r\n\r\n");
        else if (behaviour == Behaviour::HangsUp)
            Answer("");
    }

    ~Server() {
        stopping_ = true;
        if (answering_.joinable())
            answering_.join();
        for (const SOCKET s : accepted_)
            closesocket(s);
        if (listening_ != INVALID_SOCKET)
            closesocket(listening_);
    }
    Server(const Server&) = delete;
    Server& operator=(const Server&) = delete;

    bool Usable() const { return usable_; }
    std::uint16_t Port() const { return ntohs(reinterpret_cast<const sockaddr_in&>(address_).sin_port); }
    std::wstring FtpAddress() const { return L"ftp://127.0.0.1:" + std::to_wstring(Port()) + L"/pub"; }

    // An address node for the probe, pointing at this server.
    ADDRINFOW Node(ADDRINFOW* next) const {
        ADDRINFOW node{};
        node.ai_family = address_.ss_family;
        node.ai_socktype = SOCK_STREAM;
        node.ai_protocol = IPPROTO_TCP;
        node.ai_addrlen = static_cast<std::size_t>(cbAddress_);
        node.ai_addr = const_cast<sockaddr*>(reinterpret_cast<const sockaddr*>(&address_));
        node.ai_next = next;
        return node;
    }

private:
    // Takes each connection and says text on it, keeping it open; with no
    // text it closes the connection at once. The listening socket is asked
    // in short turns so that the destructor can end the thread.
    void Answer(std::string text) {
        answering_ = std::thread([this, text] {
            while (!stopping_) {
                fd_set readable;
                FD_ZERO(&readable);
                FD_SET(listening_, &readable);
                timeval turn{0, 50000};
                if (select(0, &readable, nullptr, nullptr, &turn) != 1)
                    continue;
                const SOCKET connection = accept(listening_, nullptr, nullptr);
                if (connection == INVALID_SOCKET)
                    continue;
                if (text.empty()) {
                    closesocket(connection);
                    continue;
                }
                send(connection, text.data(), static_cast<int>(text.size()), 0);
                accepted_.push_back(connection);
            }
        });
    }

    SOCKET listening_ = INVALID_SOCKET;
    sockaddr_storage address_{};
    int cbAddress_ = sizeof(sockaddr_storage);
    bool usable_ = false;
    std::atomic<bool> stopping_ = false;
    std::vector<SOCKET> accepted_; // the answering thread's own until it ends
    std::thread answering_;
};

} // namespace

// Names instead of numbers in a failure's report.
void PrintTo(SourceState state, std::ostream* out) {
    constexpr const char* names[] = {"Reachable", "NotAnswering", "Unreachable"};
    *out << names[static_cast<int>(state)];
}

void PrintTo(FtpVerdict verdict, std::ostream* out) {
    constexpr const char* names[] = {"Ready",        "NotReady",      "NotFtp",
                                     "NoConnection", "UnknownServer", "Stopped"};
    *out << names[static_cast<int>(verdict)];
}

namespace {

struct SourceRow {
    const char* name;
    std::wstring source;
    SourceState state;
    std::wstring message;
};

// The time a check gives sources that never answer. Only the silent servers
// below wait it out; every other source is checked under kNoTimeLimit, so
// that no answer the test expects depends on how fast a loaded machine (or a
// Wine prefix still starting its services, where a file system call has been
// seen to take more than ten seconds) gives it.
constexpr unsigned kTimeoutSeconds = 10;
const std::wstring Timeout = L"Die Quelle antwortet nicht innerhalb von 10 Sekunden.";
// Long beyond any answer; the call returns as soon as the last one is in.
constexpr unsigned kNoTimeLimit = 120;

std::wstring ServerName(const Server& server) {
    return L"\u201E127.0.0.1:" + std::to_wstring(server.Port()) + L"\u201C";
}

} // namespace

// Sources of every kind checked together, in one call: each gets its own
// answer, reported once, as it comes.
TEST(SourceCheck, EverySourceGetsItsOwnAnswer) {
    const win32::WinsockSession winsock;
    ASSERT_EQ(winsock.Error(), 0);
    const Server greeting(AF_INET, Behaviour::Greets);
    const Server busy(AF_INET, Behaviour::Busy);
    const Server web(AF_INET, Behaviour::SpeaksWeb);
    const Server hangsUp(AF_INET, Behaviour::HangsUp);
    const Server closed(AF_INET, Behaviour::Closed);
    for (const Server* server : {&greeting, &busy, &web, &hangsUp, &closed})
        ASSERT_TRUE(server->Usable());
    const TempFolder temp;
    ASSERT_TRUE(WriteFileBytes(temp / L"Datei", "x"));
    std::vector<SourceRow> rows = {
        {"greets", greeting.FtpAddress(), SourceState::Reachable,
         L"Der FTP-Server " + ServerName(greeting) + L" ist erreichbar."},
        {"busy", busy.FtpAddress(), SourceState::Unreachable,
         L"Der FTP-Server " + ServerName(busy) + L" steht derzeit nicht zur Verf\u00FCgung."},
        {"web server", web.FtpAddress(), SourceState::Unreachable,
         L"Der Server " + ServerName(web) + L" antwortet nicht als FTP-Server."},
        {"hangs up", hangsUp.FtpAddress(), SourceState::Unreachable,
         L"Der Server " + ServerName(hangsUp) + L" antwortet nicht als FTP-Server."},
        {"closed port", closed.FtpAddress(), SourceState::Unreachable,
         L"Der FTP-Server " + ServerName(closed) + L" lehnt die Verbindung ab."},
        {"folder", temp.Path(), SourceState::Reachable, L"Der Ordner ist erreichbar."},
        {"file", temp / L"Datei", SourceState::Reachable, L"Die Datei ist erreichbar."},
        {"missing", temp / L"fehlt\\tiefer", SourceState::Unreachable, L"Der Pfad existiert nicht."},
        {"forbidden name", temp / L"a<b", SourceState::Unreachable,
         L"Auf den Pfad l\u00E4sst sich nicht zugreifen: Der Name ist nicht zul\u00E4ssig."},
        {"relative path", L"Ordner", SourceState::Unreachable,
         L"Nur lokale Pfade, Netzwerkfreigaben und FTP-Adressen lassen sich pr\u00FCfen."},
        {"web address", L"http://example.org/x", SourceState::Unreachable,
         L"Nur lokale Pfade, Netzwerkfreigaben und FTP-Adressen lassen sich pr\u00FCfen."},
    };
    // Wine has no client for shares and fails every one at once with
    // ERROR_BAD_DEV_TYPE; Windows asks the network, which takes its time.
    if (RunningUnderWine())
        rows.push_back({"share under Wine", L"\\\\192.0.2.1\\freigabe", SourceState::Unreachable,
                        L"Auf den Pfad l\u00E4sst sich nicht zugreifen: Unter diesem Netzwerkpfad ist keine "
                        L"Ordnerfreigabe "
                        L"erreichbar."});
    // An IPv6 address is named in brackets, as in the address itself.
    const Server greetingOnIpv6(AF_INET6, Behaviour::Greets);
    if (greetingOnIpv6.Usable()) {
        const std::wstring port = std::to_wstring(greetingOnIpv6.Port());
        rows.push_back({"IPv6", L"ftp://[::1]:" + port + L"/", SourceState::Reachable,
                        L"Der FTP-Server \u201E[::1]:" + port + L"\u201C ist erreichbar."});
    }

    std::vector<std::wstring> sources;
    for (const SourceRow& row : rows)
        sources.push_back(row.source);
    std::vector<int> reportCount(rows.size(), 0);
    std::vector<SourceAnswer> reported(rows.size());
    const std::vector<SourceAnswer> answers =
        CheckSources(sources, kNoTimeLimit, [&](std::size_t index, const SourceAnswer& answer) {
            ++reportCount[index];
            reported[index] = answer;
        });
    ASSERT_EQ(answers.size(), rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(answers[i].state, rows[i].state)
            << rows[i].name << ": " << testing::PrintToString(rows[i].source);
        EXPECT_EQ(answers[i].message, rows[i].message) << rows[i].name;
        EXPECT_EQ(reportCount[i], 1) << rows[i].name;
        EXPECT_EQ(reported[i].message, answers[i].message) << rows[i].name;
    }
}

// Twenty FTP listeners that take the connection and never greet all come
// back as not answering once the one timeout is up: a connection alone is
// no answer, and the caller's deadline gives every one of them the same
// wording. A server that answers is reported before them, as it comes.
TEST(SourceCheck, SilentSourcesShareOneTimeout) {
    const win32::WinsockSession winsock;
    ASSERT_EQ(winsock.Error(), 0);
    std::vector<std::unique_ptr<Server>> silent;
    for (int i = 0; i < 20; ++i)
        silent.push_back(std::make_unique<Server>(AF_INET, Behaviour::Silent));
    const Server greeting(AF_INET, Behaviour::Greets);
    ASSERT_TRUE(greeting.Usable());

    std::vector<std::wstring> sources = {greeting.FtpAddress()};
    for (const auto& server : silent)
        sources.push_back(server->FtpAddress());
    std::vector<std::size_t> reportOrder;
    const std::vector<SourceAnswer> answers =
        CheckSources(sources, kTimeoutSeconds,
                     [&](std::size_t index, const SourceAnswer&) { reportOrder.push_back(index); });
    ASSERT_EQ(answers.size(), sources.size());
    EXPECT_EQ(answers[0].state, SourceState::Reachable);
    for (std::size_t i = 1; i < answers.size(); ++i) {
        EXPECT_EQ(answers[i].state, SourceState::NotAnswering) << i;
        EXPECT_EQ(answers[i].message, Timeout) << i;
    }
    ASSERT_EQ(reportOrder.size(), sources.size());
    EXPECT_EQ(reportOrder.front(), 0u);
    EXPECT_EQ(CheckSource(greeting.FtpAddress(), kNoTimeLimit).state, SourceState::Reachable);
}

namespace {

struct AddressPairRow {
    const char* name;
    Behaviour ipv6; // tried first, as a name's IPv6 address usually is
    Behaviour ipv4;
    FtpVerdict verdict;
};

const AddressPairRow AddressPairs[] = {
    {"silent IPv6, greeting IPv4", Behaviour::Silent, Behaviour::Greets, FtpVerdict::Ready},
    {"greeting IPv6, silent IPv4", Behaviour::Greets, Behaviour::Silent, FtpVerdict::Ready},
    {"refused IPv6, web server on IPv4", Behaviour::Closed, Behaviour::SpeaksWeb, FtpVerdict::NotFtp},
    {"refused on both", Behaviour::Closed, Behaviour::Closed, FtpVerdict::NoConnection},
};

} // namespace

// Checks that end at once, many rounds over: a check's thread that ends
// before its start has returned must not take the process down.
TEST(SourceCheck, ChecksThatEndAtOnceNeverCrash) {
    const TempFolder temp;
    const std::vector<std::wstring> sources(50, temp.Path());
    for (int round = 0; round < 40; ++round)
        for (const SourceAnswer& answer : CheckSources(sources, kNoTimeLimit))
            ASSERT_EQ(answer.state, SourceState::Reachable) << round;
}

// The addresses of one name are tried at the same time: an address that
// takes the connection and never speaks must not hold up the one that
// greets. The stop event stands for the caller's deadline; it is far off, and
// only a probe stuck on the first address would meet it.
TEST(FtpServerProbe, EveryAddressAtOnceTheMostTellingWins) {
    const win32::WinsockSession winsock;
    ASSERT_EQ(winsock.Error(), 0);
    if (!Server(AF_INET6, Behaviour::Silent).Usable())
        GTEST_SKIP() << "this machine has no IPv6 loopback address";
    for (const AddressPairRow& row : AddressPairs) {
        const Server first(AF_INET6, row.ipv6);
        const Server second(AF_INET, row.ipv4);
        ADDRINFOW secondNode = second.Node(nullptr);
        ADDRINFOW firstNode = first.Node(&secondNode);
        const win32::Handle stop(CreateWaitableTimerW(nullptr, TRUE, nullptr));
        LARGE_INTEGER dueIn{};
        dueIn.QuadPart = -10LL * 10'000'000; // ten seconds, relative
        ASSERT_TRUE(SetWaitableTimer(stop.get(), &dueIn, 0, nullptr, nullptr, FALSE));
        const FtpProbeResult result = ProbeFtpAddresses(&firstNode, stop.get());
        EXPECT_EQ(result.verdict, row.verdict) << row.name;
        if (row.verdict == FtpVerdict::NoConnection) {
            EXPECT_EQ(result.error, WSAECONNREFUSED) << row.name;
        }
    }
}
