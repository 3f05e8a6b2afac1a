// The portable parts of reading and checking a folder link: its desktop.ini
// and the server of an FTP source.
#include "DesktopIniClass.h"
#include "FtpAddress.h"

#include <gtest/gtest.h>

TEST(DesktopIniClass, NamesTheFolderShortcutClass) {
    // Our own 92 bytes.
    EXPECT_TRUE(
        NamesFolderShortcutClass("[.ShellClassInfo]\r\nCLSID2={0AFACED1-E828-11D1-9187-B532F1E9575D}\r\n"
                                 "Flags=2\r\nConfirmFileOp=0\r\n"));
    // Another order, other sections, blanks, lower case, LF only.
    EXPECT_TRUE(NamesFolderShortcutClass("[ViewState]\nMode=\n[ .shellclassinfo ]\nIconResource=x\n"
                                         "  clsid2 = {0afaced1-e828-11d1-9187-b532f1e9575d}  \n"));
    // UTF-16 with its byte-order mark.
    const std::string ascii = "[.ShellClassInfo]\r\nCLSID2={0AFACED1-E828-11D1-9187-B532F1E9575D}\r\n";
    std::string utf16 = "\xFF\xFE";
    for (const char ch : ascii)
        utf16 += std::string{ch, '\0'};
    EXPECT_TRUE(NamesFolderShortcutClass(utf16));
    EXPECT_TRUE(NamesFolderShortcutClass("\xEF\xBB\xBF" + ascii));

    EXPECT_FALSE(NamesFolderShortcutClass(""));
    EXPECT_FALSE(NamesFolderShortcutClass("[.ShellClassInfo]\r\nIconResource=C:\\x.ico,0\r\n"));
    EXPECT_FALSE(NamesFolderShortcutClass("[Other]\r\nCLSID2={0AFACED1-E828-11D1-9187-B532F1E9575D}\r\n"));
    EXPECT_FALSE(
        NamesFolderShortcutClass("[.ShellClassInfo]\r\nCLSID2={0AFACED1-E828-11D1-9187-B532F1E9575E}\r\n"));
    EXPECT_FALSE(
        NamesFolderShortcutClass("[.ShellClassInfo]\r\nCLSID3={0AFACED1-E828-11D1-9187-B532F1E9575D}\r\n"));
    EXPECT_FALSE(
        NamesFolderShortcutClass("[.ShellClassInfo\r\nCLSID2={0AFACED1-E828-11D1-9187-B532F1E9575D}\r\n"));
}

TEST(FtpAddress, ServerAndPort) {
    const auto server = [](std::wstring_view address) { return FtpServerOf(address); };
    ASSERT_TRUE(server(L"ftp://host/dir"));
    EXPECT_EQ(server(L"ftp://host/dir")->host, L"host");
    EXPECT_EQ(server(L"ftp://host/dir")->port, 21);
    EXPECT_EQ(server(L"FTP://user:pw@127.0.0.1:2121/a/b")->host, L"127.0.0.1");
    EXPECT_EQ(server(L"FTP://user:pw@127.0.0.1:2121/a/b")->port, 2121);
    EXPECT_EQ(server(L"ftp://a@b@host")->host, L"host");
    EXPECT_EQ(server(L"ftp://[::1]:990/x")->host, L"::1");
    EXPECT_EQ(server(L"ftp://[::1]:990/x")->port, 990);
    EXPECT_EQ(server(L"ftp://[::1]")->port, 21);
    EXPECT_EQ(server(L"ftp://host:/x")->port, 21);

    EXPECT_FALSE(server(L"\\\\srv\\share"));
    EXPECT_FALSE(server(L"http://host/"));
    EXPECT_FALSE(server(L"ftp://"));
    EXPECT_FALSE(server(L"ftp:///dir"));
    EXPECT_FALSE(server(L"ftp://user@/dir"));
    EXPECT_FALSE(server(L"ftp://host:0"));
    EXPECT_FALSE(server(L"ftp://host:65536"));
    EXPECT_FALSE(server(L"ftp://host:21x"));
    EXPECT_FALSE(server(L"ftp://[::1/x"));
    EXPECT_FALSE(server(L"ftp://[::1]x"));
}
