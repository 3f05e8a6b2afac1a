#include "LiteralArguments.h"

#include <gtest/gtest.h>

namespace {

// Command lines as Explorer starts a verb's command with the folder put in,
// and the arguments the program reads from them.
struct LiteralCase {
    const wchar_t* commandLine;
    std::vector<std::wstring> arguments;
};
const LiteralCase kLiteralCases[] = {
    {L"\"C:\\Program Files\\o.exe\" /new \"C:\\\"", {L"/new", L"C:\\"}},
    {L"\"C:\\P\\o.exe\" /new \"C:\\\\\"", {L"/new", L"C:\\\\"}},
    {L"\"C:\\P\\o.exe\" /new \"C:\\Meine Daten\\\"", {L"/new", L"C:\\Meine Daten\\"}},
    {L"\"C:\\P\\o.exe\" /manage \"C:\\Meine Daten\"", {L"/manage", L"C:\\Meine Daten"}},
    {L"C:\\P\\o.exe /new \"\\\\srv\\share\\a b\" /source:\"D:\\x y\\\"",
     {L"/new", L"\\\\srv\\share\\a b", L"/source:D:\\x y\\"}},
    {L"o.exe\t/NEW   C:\\a\\  ", {L"/NEW", L"C:\\a\\"}},
    {L"o.exe /new \"\"", {L"/new", L""}},
    {L"\"C:\\P\\o.exe\"", {}},
};

} // namespace

TEST(LiteralArguments, AFolderArrivesAsExplorerWroteIt) {
    for (const LiteralCase& c : kLiteralCases)
        EXPECT_EQ(SplitArgumentsLiterally(c.commandLine), c.arguments) << c.commandLine;
}

TEST(LiteralArguments, OnlyTheCommandsTakingAFolderFromExplorerAreReadSo) {
    EXPECT_TRUE(ReadsArgumentsLiterally({L"/new", L"C:\" /source:x"}));
    EXPECT_TRUE(ReadsArgumentsLiterally({L"/Manage", L"C:\""}));
    EXPECT_FALSE(ReadsArgumentsLiterally({L"/show", L"C:\""}));
    EXPECT_FALSE(ReadsArgumentsLiterally({L"/create", L"C:\\new", L"/newer"}));
}
