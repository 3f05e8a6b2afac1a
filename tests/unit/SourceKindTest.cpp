#include "SourceKind.h"

#include <gtest/gtest.h>

namespace {

// Sources as links record them (and as they are typed), with their kind.
struct KindCase {
    const wchar_t* source;
    LinkSourceKind kind;
};
const KindCase kKindCases[] = {
    {L"C:\\Daten\\Projekte", LinkSourceKind::Local},
    {L"\\\\srv\\share\\docs", LinkSourceKind::Share},
    {L"ftp://nutzer@ftp.example.org/pub", LinkSourceKind::Ftp},
    {L"FTP://ftp.example.org", LinkSourceKind::Ftp},
    {L"\\\\dav.example.org@SSL\\DavWWWRoot\\team", LinkSourceKind::WebFolder},
    {L"\\\\dav.example.org@8080\\DavWWWRoot", LinkSourceKind::WebFolder},
    {L"https://dav.example.org/team", LinkSourceKind::WebFolder},
    {L"\\\\\\kaputt", LinkSourceKind::Share},
    {L"relativ\\pfad", LinkSourceKind::Local},
};

} // namespace

TEST(SourceKind, EachRecordedFormHasItsKind) {
    for (const KindCase& c : kKindCases)
        EXPECT_EQ(SourceKindOf(c.source), c.kind) << c.source;
}
