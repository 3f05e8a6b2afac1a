#include "FtpGreeting.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct GreetingCase {
    const char* name;
    std::string received;
    FtpGreeting verdict;
};

const GreetingCase GreetingCases[] = {
    {"nothing yet", "", FtpGreeting::Incomplete},
    {"half a line", "220 Serv", FtpGreeting::Incomplete},
    {"ready", "220 ready\r\n", FtpGreeting::Ready},
    {"ready, bare line end", "220 ready\n", FtpGreeting::Ready},
    {"ready without text", "220\r\n", FtpGreeting::Ready},
    {"first line of a multi-line greeting", "220-Willkommen\r\n", FtpGreeting::Ready},
    {"service not available", "421 Too many users\r\n", FtpGreeting::NotReady},
    {"refused outright", "530 Not allowed\r\n", FtpGreeting::NotReady},
    {"preliminary, then ready", "120 Ready in 1 minute\r\n220 ready\r\n", FtpGreeting::Ready},
    {"preliminary, still waiting", "120 Ready in 1 minute\r\n", FtpGreeting::Incomplete},
    {"multi-line preliminary, then ready",
     "120-Bitte warten\r\nnoch etwas\r\n220 nicht das Ende\r\n120 gleich\r\n220 ok\r\n", FtpGreeting::Ready},
    {"multi-line preliminary, unfinished", "120-Bitte warten\r\n220 nicht das Ende\r\n",
     FtpGreeting::Incomplete},
    {"a web server", "HTTP/1.1 400 Bad Request\r\n", FtpGreeting::NotFtp},
    {"an SSH server", "SSH-2.0-OpenSSH_9.2\r\n", FtpGreeting::NotFtp},
    {"another reply code", "200 OK\r\n", FtpGreeting::NotFtp},
    {"a number too long", "2200 x\r\n", FtpGreeting::NotFtp},
    {"an empty line", "\r\n220 ready\r\n", FtpGreeting::NotFtp},
    {"endless text without a line end", std::string(20000, 'x'), FtpGreeting::NotFtp},
};

} // namespace

TEST(FtpGreeting, JudgesWhatTheServerSaidFirst) {
    for (const GreetingCase& c : GreetingCases)
        EXPECT_EQ(JudgeFtpGreeting(c.received), c.verdict) << c.name;
}
