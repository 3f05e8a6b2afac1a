#include "CommandArguments.h"

#include <gtest/gtest.h>

namespace {

ParsedArguments Parse(std::vector<std::wstring> arguments) {
    return ParseCommandArguments(arguments);
}

CommandRequest Accepted(std::vector<std::wstring> arguments) {
    const ParsedArguments parsed = Parse(std::move(arguments));
    EXPECT_TRUE(parsed.request.has_value());
    EXPECT_TRUE(parsed.usageError.empty());
    return parsed.request.value_or(CommandRequest{});
}

// The German reason of a refused call; fails the test when it was accepted.
std::wstring Refused(std::vector<std::wstring> arguments) {
    const ParsedArguments parsed = Parse(std::move(arguments));
    EXPECT_FALSE(parsed.request.has_value());
    EXPECT_FALSE(parsed.usageError.empty());
    return parsed.usageError;
}

} // namespace

TEST(CommandArguments, EachCommandWithItsPaths) {
    const std::wstring cyrillicShare =
        L"\\\\\u0441\u0435\u0440\u0432\u0435\u0440\\\u043E\u0431\u0449\u0438\u0439";
    const std::wstring longTarget = L"C:\\Links\\" + std::wstring(300, L'x') + L"\\Docs mit Leerzeichen";

    CommandRequest create = Accepted({L"/create", cyrillicShare, longTarget});
    EXPECT_EQ(create.action, CommandAction::Create);
    EXPECT_EQ(create.source, cyrillicShare);
    EXPECT_EQ(create.target, longTarget);
    EXPECT_FALSE(create.force);

    create = Accepted({L"/CREATE", L"ftp://host/dir", L"C:\\x", L"/Force"});
    EXPECT_EQ(create.action, CommandAction::Create);
    EXPECT_TRUE(create.force);

    const CommandRequest fromList = Accepted({L"/force", L"/create", L"/from", L"C:\\links.txt"});
    EXPECT_EQ(fromList.action, CommandAction::CreateFromList);
    EXPECT_EQ(fromList.listFile, L"C:\\links.txt");
    EXPECT_TRUE(fromList.force);

    const CommandRequest show = Accepted({L"/show", L"C:\\Links\\Docs\\"});
    EXPECT_EQ(show.action, CommandAction::Show);
    EXPECT_EQ(show.target, L"C:\\Links\\Docs\\");

    CommandRequest check = Accepted({L"/check", L"C:\\x"});
    EXPECT_EQ(check.action, CommandAction::Check);
    EXPECT_EQ(check.timeoutSeconds, 5u);
    check = Accepted({L"/check", L"/TIMEOUT:12", L"C:\\x"});
    EXPECT_EQ(check.timeoutSeconds, 12u);

    EXPECT_EQ(Accepted({L"/list"}).folder, L"");
    EXPECT_EQ(Accepted({L"/list", L"D:\\Ordner"}).folder, L"D:\\Ordner");
    EXPECT_EQ(Accepted({L"/remove", L"C:\\x"}).action, CommandAction::Remove);
    EXPECT_EQ(Accepted({L"/Manage"}).action, CommandAction::Manage);
    EXPECT_EQ(Accepted({L"/manage"}).folder, L"");
    EXPECT_EQ(Accepted({L"/manage", L"D:\\Ordner"}).folder, L"D:\\Ordner");
    EXPECT_NE(Refused({L"/manage", L"D:\\a", L"D:\\b"}).find(L"/manage erwartet h\u00F6chstens einen ORDNER"),
              std::wstring::npos);

    // A path written with forward slashes is a path, not a switch.
    EXPECT_EQ(Accepted({L"/show", L"//srv/share"}).target, L"//srv/share");
}

TEST(CommandArguments, HelpWinsOverEverythingElse) {
    EXPECT_EQ(Accepted({L"/?"}).action, CommandAction::Usage);
    EXPECT_EQ(Accepted({L"/create", L"/?"}).action, CommandAction::Usage);
    EXPECT_NE(UsageText().find(L"/create /from LISTE"), std::wstring::npos);
    // Every encoding that the list is read in is named.
    for (const wchar_t* encoding : {L"UTF-8", L"UTF-16 mit Byte-Order-Mark", L"Windows-1252"})
        EXPECT_NE(UsageText().find(encoding), std::wstring::npos) << encoding;
    // Every command and switch has its line, and the list's variables are named.
    const wchar_t* const kForms[] = {L"ordnerlink /create QUELLE ZIEL [/force]",
                                     L"ordnerlink /show ZIEL",
                                     L"ordnerlink /check ZIEL",
                                     L"ordnerlink /check /all [ORDNER] [/timeout:SEKUNDEN]",
                                     L"ordnerlink /list [ORDNER]",
                                     L"ordnerlink /manage [ORDNER]",
                                     L"ordnerlink /remove ZIEL",
                                     L"ordnerlink /new [ZIEL] [/source:QUELLE]",
                                     L"ordnerlink /register",
                                     L"ordnerlink /unregister",
                                     L"ordnerlink /install",
                                     L"ordnerlink /uninstall",
                                     L"ordnerlink /repair ZIEL [/force] [/whatif]",
                                     L"ordnerlink /repair /all [ORDNER] [/whatif]",
                                     L"ordnerlink /sync LISTE [ORDNER] [/prune] [/whatif] [/log:DATEI]",
                                     L"ordnerlink /sync [/policy] [/whatif]",
                                     L"ordnerlink /schedule [LISTE] [/whatif]",
                                     L"ordnerlink /unschedule [/allusers]",
                                     L"%USERNAME%",
                                     L"%% steht"};
    for (const wchar_t* form : kForms)
        EXPECT_NE(UsageText().find(form), std::wstring::npos) << form;
}

TEST(CommandArguments, WrongCallsAreRefusedWithTheirReason) {
    EXPECT_NE(Refused({L"C:\\x"}).find(L"Kein Befehl"), std::wstring::npos);
    EXPECT_NE(Refused({L"/delete", L"C:\\x"}).find(L"Unbekannter Schalter \u201E/delete\u201C"),
              std::wstring::npos);
    EXPECT_NE(Refused({L"/"}).find(L"Unbekannter Schalter"), std::wstring::npos);
    EXPECT_NE(Refused({L"/show", L"C:\\a", L"/list"}).find(L"Nur ein Befehl"), std::wstring::npos);
    EXPECT_NE(Refused({L"/create", L"C:\\a"}).find(L"QUELLE und ZIEL"), std::wstring::npos);
    EXPECT_NE(Refused({L"/create", L"a", L"b", L"c"}).find(L"QUELLE und ZIEL"), std::wstring::npos);
    EXPECT_NE(Refused({L"/create", L"/from"}).find(L"Listendatei"), std::wstring::npos);
    EXPECT_NE(Refused({L"/create", L"/from", L"/force"}).find(L"Listendatei"), std::wstring::npos);
    EXPECT_NE(Refused({L"/create", L"/from", L"l.txt", L"C:\\x"}).find(L"keine weiteren Pfade"),
              std::wstring::npos);
    EXPECT_NE(Refused({L"/create", L"/from", L"a", L"/from", L"b"}).find(L"doppelt"), std::wstring::npos);
    EXPECT_NE(Refused({L"/create", L"a", L"b", L"/force", L"/force"}).find(L"doppelt"), std::wstring::npos);
    EXPECT_NE(Refused({L"/show", L"C:\\a", L"/force"}).find(L"nur für /create und /repair"),
              std::wstring::npos);
    EXPECT_NE(Refused({L"/list", L"/from", L"a"}).find(L"nur für /create"), std::wstring::npos);
    EXPECT_NE(Refused({L"/show", L"C:\\a", L"/timeout:5"}).find(L"nur für /check"), std::wstring::npos);
    EXPECT_NE(Refused({L"/show"}).find(L"genau einen"), std::wstring::npos);
    EXPECT_NE(Refused({L"/remove", L"a", L"b"}).find(L"genau einen"), std::wstring::npos);
    EXPECT_NE(Refused({L"/list", L"a", L"b"}).find(L"höchstens einen"), std::wstring::npos);
    EXPECT_NE(Refused({L"/show", L" "}).find(L"leer"), std::wstring::npos);
    for (const wchar_t* timeout : {L"/timeout:", L"/timeout:0", L"/timeout:3601", L"/timeout:-1",
                                   L"/timeout:1.5", L"/timeout:99999999999", L"/timeout"})
        EXPECT_FALSE(Parse({L"/check", L"C:\\x", timeout}).request.has_value()) << timeout;
    EXPECT_EQ(Accepted({L"/check", L"C:\\x", L"/timeout:3600"}).timeoutSeconds, 3600u);
}

// "C:\Links\Docs\" quoted on a command line reaches the program as
// C:\Links\Docs" with the following arguments joined to it: the splitting
// rules read \" as a quotation mark. No path holds one, so the call is
// refused instead of creating a link somewhere else.
TEST(CommandArguments, AQuotationMarkInsideAnArgumentIsRefused) {
    const std::vector<std::wstring> calls[] = {
        {L"/create", L"\\\\srv\\share\" C:\\Links\\Docs"},
        {L"/create", L"/from", L"C:\\Listen\\\" /force"}, // the argument that /from takes
        {L"/show", L"C:\\Links\\Docs\""},
    };
    for (const std::vector<std::wstring>& call : calls) {
        const std::wstring reason = Refused(call);
        EXPECT_NE(reason.find(L"Anführungszeichen"), std::wstring::npos) << call.back();
    }
}

TEST(CommandArguments, TheWindowAndInstallationCommands) {
    const CommandRequest plain = Accepted({L"/new"});
    EXPECT_EQ(plain.action, CommandAction::New);
    EXPECT_EQ(plain.target, L"");
    EXPECT_EQ(plain.source, L"");

    const CommandRequest both = Accepted({L"/source:\\\\srv\\share", L"/NEW", L"C:\\Meine Daten\\"});
    EXPECT_EQ(both.target, L"C:\\Meine Daten\\");
    EXPECT_EQ(both.source, L"\\\\srv\\share");

    // The verb on a drive root's background appends a backslash to "C:\".
    EXPECT_EQ(Accepted({L"/new", L"C:\\\\"}).target, L"C:\\");
    EXPECT_EQ(Accepted({L"/new", L"C:\\Links\\\\"}).target, L"C:\\Links\\");
    EXPECT_EQ(Accepted({L"/new", L"\\\\"}).target, L"\\\\");

    for (const auto& [name, action] : {std::pair{L"/register", CommandAction::Register},
                                       {L"/Unregister", CommandAction::Unregister},
                                       {L"/install", CommandAction::Install},
                                       {L"/UNINSTALL", CommandAction::Uninstall}}) {
        EXPECT_EQ(Accepted({name}).action, action) << name;
        EXPECT_NE(Refused({name, L"C:\\x"}).find(L"keinen Pfad"), std::wstring::npos) << name;
    }

    EXPECT_NE(Refused({L"/new", L"C:\\a", L"C:\\b"}).find(L"höchstens ein ZIEL"), std::wstring::npos);
    EXPECT_NE(Refused({L"/new", L"/source:"}).find(L"fehlt die QUELLE"), std::wstring::npos);
    EXPECT_NE(Refused({L"/new", L"/source:a", L"/source:b"}).find(L"doppelt"), std::wstring::npos);
    EXPECT_NE(Refused({L"/show", L"C:\\a", L"/source:b"}).find(L"nur für /new"), std::wstring::npos);
    for (const wchar_t* command : {L"/new", L"/register", L"/unregister", L"/install", L"/uninstall"})
        EXPECT_NE(UsageText().find(std::wstring(L"ordnerlink ") + command), std::wstring::npos) << command;
}

TEST(CommandArguments, RepairOfOneLinkOrOfAFolder) {
    const CommandRequest one = Accepted({L"/repair", L"C:\\Links\\Docs"});
    EXPECT_EQ(one.action, CommandAction::Repair);
    EXPECT_EQ(one.target, L"C:\\Links\\Docs");
    EXPECT_FALSE(one.all);
    EXPECT_FALSE(one.whatIf);
    EXPECT_FALSE(one.force);
    EXPECT_TRUE(Accepted({L"/repair", L"C:\\Links\\Docs", L"/Force"}).force);

    const CommandRequest all = Accepted({L"/Repair", L"/ALL", L"D:\\Links", L"/WhatIf"});
    EXPECT_TRUE(all.all);
    EXPECT_TRUE(all.whatIf);
    EXPECT_EQ(all.folder, L"D:\\Links");
    EXPECT_EQ(all.target, L"");
    EXPECT_EQ(Accepted({L"/repair", L"/all"}).folder, L"");

    EXPECT_NE(Refused({L"/repair"}).find(L"genau einen ZIEL-Ordner (oder /all)"), std::wstring::npos);
    EXPECT_NE(Refused({L"/repair", L"/all", L"a", L"b"}).find(L"höchstens einen ORDNER"), std::wstring::npos);
    const CommandRequest checkAll = Accepted({L"/check", L"/all", L"/timeout:2"});
    EXPECT_EQ(checkAll.action, CommandAction::Check);
    EXPECT_TRUE(checkAll.all);
    EXPECT_EQ(checkAll.folder, L"");
    EXPECT_EQ(checkAll.timeoutSeconds, 2u);
    EXPECT_EQ(Accepted({L"/check", L"/all", L"D:\\Links"}).folder, L"D:\\Links");
    EXPECT_NE(Refused({L"/repair", L"/all", L"/all"}).find(L"doppelt"), std::wstring::npos);
    // A folder that holds the user's entries is made a link again only one at a time.
    EXPECT_NE(Refused({L"/repair", L"/all", L"/force"}).find(L"/repair /all repariert nie mit /force"),
              std::wstring::npos);
    EXPECT_NE(Refused({L"/sync", L"l.txt", L"/force"}).find(L"/force gilt nur für /create und /repair ZIEL"),
              std::wstring::npos);
    EXPECT_NE(Refused({L"/list", L"/all"}).find(L"/all gilt nur für /check und /repair"), std::wstring::npos);
    EXPECT_NE(Refused({L"/remove", L"C:\\x", L"/whatif"}).find(L"/whatif gilt nur für /repair"),
              std::wstring::npos);
}

TEST(CommandArguments, SyncOfAFolderWithAList) {
    const CommandRequest plain = Accepted({L"/sync", L"\\\\srv\\it\\links.txt"});
    EXPECT_EQ(plain.action, CommandAction::Sync);
    EXPECT_EQ(plain.listFile, L"\\\\srv\\it\\links.txt");
    EXPECT_EQ(plain.folder, L"");
    EXPECT_FALSE(plain.prune);
    EXPECT_FALSE(plain.whatIf);
    EXPECT_EQ(plain.logFile, L"");

    const CommandRequest full =
        Accepted({L"/SYNC", L"l.txt", L"D:\\Links", L"/Prune", L"/whatif", L"/LOG:C:\\Users\\a b\\sync.log"});
    EXPECT_EQ(full.folder, L"D:\\Links");
    EXPECT_TRUE(full.prune);
    EXPECT_TRUE(full.whatIf);
    EXPECT_EQ(full.logFile, L"C:\\Users\\a b\\sync.log");

    EXPECT_TRUE(Accepted({L"/sync"}).listFile.empty());
    EXPECT_TRUE(Accepted({L"/sync", L"/policy", L"/whatif"}).policy);
    EXPECT_NE(Refused({L"/sync", L"/policy", L"l.txt"}).find(L"erwartet keinen Pfad"), std::wstring::npos);
    EXPECT_NE(Refused({L"/sync", L"/prune"}).find(L"nur mit einer LISTE"), std::wstring::npos);
    EXPECT_NE(Refused({L"/sync", L"/log:x"}).find(L"nur mit einer LISTE"), std::wstring::npos);
    EXPECT_NE(Refused({L"/sync", L"a", L"b", L"c"}).find(L"höchstens einen ORDNER"), std::wstring::npos);
    EXPECT_NE(Refused({L"/sync", L"a", L"/log:"}).find(L"fehlt die Protokolldatei"), std::wstring::npos);
    EXPECT_NE(Refused({L"/sync", L"a", L"/log:x", L"/log:y"}).find(L"doppelt"), std::wstring::npos);
    EXPECT_NE(Refused({L"/repair", L"/all", L"/prune"}).find(L"/prune gilt nur für /sync"),
              std::wstring::npos);
    EXPECT_NE(Refused({L"/list", L"/log:x"}).find(L"/log gilt nur für /sync"), std::wstring::npos);
    EXPECT_NE(Refused({L"/sync", L"a", L"/all"}).find(L"/all gilt nur für /check und /repair"),
              std::wstring::npos);
    EXPECT_NE(Refused({L"/list", L"/whatif"}).find(L"/whatif gilt nur für /repair, /sync und /schedule"),
              std::wstring::npos);
}

TEST(CommandArguments, ScheduleWithOrWithoutAList) {
    EXPECT_EQ(Accepted({L"/schedule"}).listFile, L"");
    const CommandRequest shown = Accepted({L"/Schedule", L"\\\\srv\\it\\links.txt", L"/whatif"});
    EXPECT_EQ(shown.action, CommandAction::Schedule);
    EXPECT_EQ(shown.listFile, L"\\\\srv\\it\\links.txt");
    EXPECT_TRUE(shown.whatIf);
    EXPECT_EQ(Accepted({L"/unschedule"}).action, CommandAction::Unschedule);
    EXPECT_NE(Refused({L"/schedule", L"a", L"b"}).find(L"höchstens eine LISTE"), std::wstring::npos);
    EXPECT_NE(Refused({L"/unschedule", L"a"}).find(L"erwartet keinen Pfad"), std::wstring::npos);
    EXPECT_NE(Refused({L"/schedule", L"a", L"/prune"}).find(L"/prune gilt nur für /sync"),
              std::wstring::npos);
    EXPECT_TRUE(Accepted({L"/schedule", L"/allusers"}).allUsers);
    EXPECT_TRUE(Accepted({L"/unschedule", L"/AllUsers"}).allUsers);
    EXPECT_NE(Refused({L"/schedule", L"/allusers", L"a"}).find(L"SyncList"), std::wstring::npos);
    EXPECT_NE(Refused({L"/create", L"a", L"b", L"/allusers"}).find(L"/allusers gilt nur f\u00FCr /schedule"),
              std::wstring::npos);
    EXPECT_NE(Refused({L"/create", L"a", L"b", L"/policy"}).find(L"/policy gilt nur f\u00FCr /sync"),
              std::wstring::npos);
}

TEST(CommandArguments, ResultsAsDataForListCheckAllAndSync) {
    const CommandRequest listed = Accepted({L"/list", L"/FORMAT:JSON", L"/out:C:\\Berichte\\Links.json"});
    EXPECT_EQ(listed.format, OutputFormat::Json);
    EXPECT_EQ(listed.outFile, L"C:\\Berichte\\Links.json");
    EXPECT_EQ(Accepted({L"/check", L"/all", L"/format:csv"}).format, OutputFormat::Csv);
    EXPECT_EQ(Accepted({L"/sync", L"l.txt", L"/out:x.txt"}).format, OutputFormat::Text);
    EXPECT_NE(Refused({L"/list", L"/format:xml"}).find(L"/format:csv oder /format:json"), std::wstring::npos);
    EXPECT_NE(Refused({L"/check", L"C:\\x", L"/format:csv"}).find(L"nur für /list, /check /all und /sync"),
              std::wstring::npos);
    EXPECT_NE(Refused({L"/list", L"/out:"}).find(L"fehlt die Datei"), std::wstring::npos);
}
