#include "SourceKind.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

struct KindCase {
    const wchar_t* source;
    std::optional<FolderLinkKind> kind;
};

// A source as a folder link records it, or as typed; the web folder both as
// its address and as the share it is recorded as.
const KindCase kKinds[] = {
    {L"C:\\Daten\\Fotos", FolderLinkKind::Local},
    {L"\\\\nas\\fotos", FolderLinkKind::Share},
    {L"//nas/fotos/2024", FolderLinkKind::Share},
    {L"ftp://user@ftp.example.org/pub", FolderLinkKind::Ftp},
    {L"FTP://ftp.example.org", FolderLinkKind::Ftp},
    {L"\\\\dav.example.org@8080\\DavWWWRoot", FolderLinkKind::WebFolder},
    {L"https://dav.example.org/team", FolderLinkKind::WebFolder},
    {L"\\\\dav.example.org@SSL\\DavWWWRoot\\team", FolderLinkKind::WebFolder},
    {L"\\\\host\\DavWWWRoot", FolderLinkKind::WebFolder},
    {L"", std::nullopt},
    {L"Daten\\Fotos", std::nullopt},
};

} // namespace

TEST(SourceKind, EachSourceHasTheKindTheUserNamesIt) {
    for (const KindCase& c : kKinds)
        EXPECT_EQ(SourceKindOf(c.source), c.kind) << testing::PrintToString(std::wstring(c.source));
}
