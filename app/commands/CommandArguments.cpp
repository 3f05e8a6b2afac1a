#include "CommandArguments.h"
#include "Quoted.h"

#include <algorithm>

namespace {

std::wstring AsciiLower(std::wstring text) {
    for (wchar_t& ch : text)
        if (ch >= L'A' && ch <= L'Z')
            ch = static_cast<wchar_t>(ch - L'A' + L'a');
    return text;
}

bool IsSwitch(const std::wstring& argument) {
    return argument.size() >= 1 && argument[0] == L'/' && (argument.size() == 1 || argument[1] != L'/');
}

bool IsBlank(const std::wstring& text) {
    return std::all_of(text.begin(), text.end(), [](wchar_t ch) { return ch == L' ' || ch == L'\t'; });
}

// Whole seconds from 1 to MaxTimeoutSeconds, digits only.
std::optional<unsigned> ParseSeconds(const std::wstring& text) {
    if (text.empty() || text.size() > 4 ||
        !std::all_of(text.begin(), text.end(), [](wchar_t ch) { return ch >= L'0' && ch <= L'9'; }))
        return std::nullopt;
    const unsigned seconds = static_cast<unsigned>(std::stoul(text));
    if (seconds < 1 || seconds > MaxTimeoutSeconds)
        return std::nullopt;
    return seconds;
}

ParsedArguments Refused(std::wstring why) {
    return {std::nullopt, std::move(why)};
}

struct CommandSwitch {
    const wchar_t* name;
    CommandAction action;
};
constexpr CommandSwitch CommandSwitches[] = {
    {L"/create", CommandAction::Create},
    {L"/show", CommandAction::Show},
    {L"/check", CommandAction::Check},
    {L"/list", CommandAction::List},
    {L"/remove", CommandAction::Remove},
    {L"/repair", CommandAction::Repair},
    {L"/sync", CommandAction::Sync},
    {L"/new", CommandAction::New},
    {L"/register", CommandAction::Register},
    {L"/unregister", CommandAction::Unregister},
    {L"/install", CommandAction::Install},
    {L"/uninstall", CommandAction::Uninstall},
    {L"/manage", CommandAction::Manage},
    {L"/schedule", CommandAction::Schedule},
    {L"/unschedule", CommandAction::Unschedule},
};

// The switches that only turn something on, and the commands they belong to.
struct FlagSwitch {
    const wchar_t* name;
    bool CommandRequest::*flag;
    CommandAction actions[3]; // the commands it belongs to (one repeated for fewer)
    const wchar_t* belongsTo;
};
constexpr FlagSwitch FlagSwitches[] = {
    {L"/all",
     &CommandRequest::all,
     {CommandAction::Check, CommandAction::Repair, CommandAction::Repair},
     L"/check und /repair"},
    {L"/prune",
     &CommandRequest::prune,
     {CommandAction::Sync, CommandAction::Sync, CommandAction::Sync},
     L"/sync"},
    {L"/policy",
     &CommandRequest::policy,
     {CommandAction::Sync, CommandAction::Sync, CommandAction::Sync},
     L"/sync"},
    {L"/allusers",
     &CommandRequest::allUsers,
     {CommandAction::Schedule, CommandAction::Unschedule, CommandAction::Unschedule},
     L"/schedule und /unschedule"},
    {L"/whatif",
     &CommandRequest::whatIf,
     {CommandAction::Repair, CommandAction::Sync, CommandAction::Schedule},
     L"/repair, /sync und /schedule"},
};

// The window's target as given, with repeated backslashes at its end read as
// one: Explorer's verb on a folder's background appends one to the folder,
// which for a drive root already ends with one.
std::wstring WithOneTrailingBackslash(std::wstring target) {
    while (target.size() > 3 && target.ends_with(L"\\\\"))
        target.pop_back();
    return target;
}

} // namespace

ParsedArguments ParseCommandArguments(const std::vector<std::wstring>& arguments) {
    std::optional<CommandAction> action;
    std::wstring actionName;
    std::optional<std::wstring> listFile;
    bool force = false;
    std::optional<unsigned> timeout;
    std::wstring timeoutName;
    std::optional<std::wstring> newSource;
    std::vector<std::wstring> paths;
    CommandRequest flags;
    std::optional<std::wstring> logFile;
    std::optional<OutputFormat> format;
    std::optional<std::wstring> outFile;

    // No path holds a quotation mark; one inside an argument is what the
    // splitting rules make of a "\" right before a closing quote, and the
    // arguments after it are then joined to this one. Every argument is
    // looked at, also the one that a switch such as /from takes.
    for (const std::wstring& argument : arguments)
        if (argument.find(L'"') != std::wstring::npos)
            return Refused(L"Das Argument " + Quoted(argument) +
                           L" enthält ein Anführungszeichen: ein \\ direkt vor einem schließenden "
                           L"Anführungszeichen hebt dieses auf. Lassen Sie den abschließenden \\ weg.");

    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::wstring& argument = arguments[i];
        if (!IsSwitch(argument)) {
            if (IsBlank(argument))
                return Refused(L"Ein Argument ist leer.");
            paths.push_back(argument);
            continue;
        }
        const std::wstring name = AsciiLower(argument);
        if (name == L"/?")
            return {CommandRequest{}, {}};
        if (const auto found = std::find_if(std::begin(CommandSwitches), std::end(CommandSwitches),
                                            [&name](const CommandSwitch& s) { return name == s.name; });
            found != std::end(CommandSwitches)) {
            if (action)
                return Refused(L"Nur ein Befehl je Aufruf, nicht " + Quoted(actionName) + L" und " +
                               Quoted(argument) + L".");
            action = found->action;
            actionName = argument;
        } else if (name == L"/force") {
            if (force)
                return Refused(L"Der Schalter " + Quoted(argument) + L" steht doppelt.");
            force = true;
        } else if (name == L"/from") {
            if (listFile)
                return Refused(L"Der Schalter " + Quoted(argument) + L" steht doppelt.");
            if (i + 1 >= arguments.size() || IsSwitch(arguments[i + 1]))
                return Refused(L"Nach /from fehlt die Listendatei.");
            listFile = arguments[++i];
            if (IsBlank(*listFile))
                return Refused(L"Nach /from fehlt die Listendatei.");
        } else if (const auto flag = std::find_if(std::begin(FlagSwitches), std::end(FlagSwitches),
                                                  [&name](const FlagSwitch& s) { return name == s.name; });
                   flag != std::end(FlagSwitches)) {
            if (flags.*flag->flag)
                return Refused(L"Der Schalter " + Quoted(argument) + L" steht doppelt.");
            flags.*flag->flag = true;
        } else if (name.starts_with(L"/log:")) {
            if (logFile)
                return Refused(L"Der Schalter /log steht doppelt.");
            logFile = argument.substr(5);
            if (IsBlank(*logFile))
                return Refused(
                    L"Nach /log: fehlt die Protokolldatei, etwa /log:%LOCALAPPDATA%\\Ordnerlink\\sync.log.");
        } else if (name.starts_with(L"/format:")) {
            if (format)
                return Refused(L"Der Schalter /format steht doppelt.");
            if (name == L"/format:csv")
                format = OutputFormat::Csv;
            else if (name == L"/format:json")
                format = OutputFormat::Json;
            else
                return Refused(Quoted(argument) + L": erwartet wird /format:csv oder /format:json.");
        } else if (name.starts_with(L"/out:")) {
            if (outFile)
                return Refused(L"Der Schalter /out steht doppelt.");
            outFile = argument.substr(5);
            if (IsBlank(*outFile))
                return Refused(L"Nach /out: fehlt die Datei, etwa /out:C:\\Berichte\\links.csv.");
        } else if (name.starts_with(L"/timeout:")) {
            if (timeout)
                return Refused(L"Der Schalter /timeout steht doppelt.");
            timeout = ParseSeconds(argument.substr(9));
            if (!timeout)
                return Refused(Quoted(argument) + L": erwartet wird eine ganze Zahl von Sekunden von 1 bis " +
                               std::to_wstring(MaxTimeoutSeconds) + L", etwa /timeout:10.");
            timeoutName = argument;
        } else if (name.starts_with(L"/source:")) {
            if (newSource)
                return Refused(L"Der Schalter /source steht doppelt.");
            newSource = argument.substr(8);
            if (IsBlank(*newSource))
                return Refused(L"Nach /source: fehlt die QUELLE.");
        } else {
            return Refused(L"Unbekannter Schalter " + Quoted(argument) + L".");
        }
    }

    if (!action)
        return Refused(
            L"Kein Befehl angegeben: /create, /show, /check, /list, /remove, /repair, /sync, /schedule, "
            L"/unschedule, /manage, /new, /register, /unregister, /install oder /uninstall.");
    if (force && action != CommandAction::Create && action != CommandAction::Repair)
        return Refused(L"Der Schalter /force gilt nur für /create und /repair ZIEL.");
    if (force && flags.all)
        return Refused(L"/repair /all repariert nie mit /force: eine Ordnerverknüpfung, deren Ordner "
                       L"andere Einträge enthält, wird nur einzeln mit /repair ZIEL /force repariert.");
    if (listFile && action != CommandAction::Create)
        return Refused(L"Der Schalter /from gilt nur für /create.");
    if (timeout && action != CommandAction::Check)
        return Refused(L"Der Schalter " + Quoted(timeoutName) + L" gilt nur für /check.");
    if (newSource && action != CommandAction::New)
        return Refused(L"Der Schalter /source: gilt nur für /new.");
    for (const FlagSwitch& flag : FlagSwitches)
        if (flags.*flag.flag &&
            std::find(std::begin(flag.actions), std::end(flag.actions), *action) == std::end(flag.actions))
            return Refused(L"Der Schalter " + std::wstring(flag.name) + L" gilt nur für " + flag.belongsTo +
                           L".");
    if (logFile && action != CommandAction::Sync)
        return Refused(L"Der Schalter /log gilt nur für /sync.");
    if ((format || outFile) && action != CommandAction::List && action != CommandAction::Sync &&
        !(action == CommandAction::Check && flags.all))
        return Refused(L"Die Schalter /format: und /out: gelten nur für /list, /check /all und /sync.");

    CommandRequest request;
    request.action = *action;
    request.force = force;
    request.all = flags.all;
    request.whatIf = flags.whatIf;
    request.prune = flags.prune;
    request.allUsers = flags.allUsers;
    request.policy = flags.policy;
    request.format = format.value_or(OutputFormat::Text);
    request.outFile = outFile.value_or(L"");
    request.logFile = logFile.value_or(L"");
    switch (*action) {
    case CommandAction::Create:
        if (listFile) {
            if (!paths.empty())
                return Refused(L"/create /from LISTE erwartet keine weiteren Pfade, aber " +
                               Quoted(paths[0]) + L" steht dabei.");
            request.action = CommandAction::CreateFromList;
            request.listFile = *listFile;
        } else {
            if (paths.size() > 2)
                return Refused(L"/create erwartet QUELLE und ZIEL, aber es stehen " +
                               std::to_wstring(paths.size()) +
                               L" Pfade da. Ein Pfad mit Leerzeichen gehört in Anführungszeichen, etwa "
                               L"\"C:\\Links\\Meine Daten\".");
            if (paths.size() != 2)
                return Refused(L"/create erwartet QUELLE und ZIEL (oder /from LISTE).");
            request.source = paths[0];
            request.target = paths[1];
        }
        break;
    case CommandAction::Check:
        request.timeoutSeconds = timeout.value_or(request.timeoutSeconds);
        if (request.all) {
            if (paths.size() > 1)
                return Refused(L"/check /all erwartet höchstens einen ORDNER.");
            if (!paths.empty())
                request.folder = paths[0];
            break;
        }
        [[fallthrough]];
    case CommandAction::Show:
    case CommandAction::Remove:
        if (paths.size() != 1)
            return Refused(actionName + L" erwartet genau einen ZIEL-Ordner.");
        request.target = paths[0];
        request.timeoutSeconds = timeout.value_or(request.timeoutSeconds);
        break;
    case CommandAction::List:
        if (paths.size() > 1)
            return Refused(L"/list erwartet höchstens einen ORDNER.");
        if (!paths.empty())
            request.folder = paths[0];
        break;
    case CommandAction::New:
        if (paths.size() > 1)
            return Refused(L"/new erwartet höchstens ein ZIEL. Ein Pfad mit Leerzeichen gehört in "
                           L"Anführungszeichen, etwa \"C:\\Links\\Meine Daten\".");
        if (!paths.empty())
            request.target = WithOneTrailingBackslash(paths[0]);
        request.source = newSource.value_or(L"");
        break;
    case CommandAction::Register:
    case CommandAction::Unregister:
    case CommandAction::Unschedule:
    case CommandAction::Install:
    case CommandAction::Uninstall:
        if (!paths.empty())
            return Refused(actionName + L" erwartet keinen Pfad, aber " + Quoted(paths[0]) +
                           L" steht dabei.");
        break;
    case CommandAction::Repair:
        if (request.all) {
            if (paths.size() > 1)
                return Refused(L"/repair /all erwartet höchstens einen ORDNER.");
            if (!paths.empty())
                request.folder = paths[0];
        } else {
            if (paths.size() != 1)
                return Refused(actionName + L" erwartet genau einen ZIEL-Ordner (oder /all).");
            request.target = paths[0];
        }
        break;
    case CommandAction::Sync:
        // Without a list, the policy names the list, the folder, the
        // pruning and the log.
        if (paths.empty()) {
            if (request.prune || logFile)
                return Refused(
                    L"Ohne LISTE nimmt /sync Ordner, /prune und Protokolldatei aus der Richtlinie; "
                    L"/prune und /log: gelten nur mit einer LISTE.");
            break;
        }
        if (request.policy)
            return Refused(
                L"/sync /policy nimmt die LISTE aus der Richtlinie und erwartet keinen Pfad, aber " +
                Quoted(paths[0]) + L" steht dabei.");
        if (paths.size() > 2)
            return Refused(L"/sync erwartet eine LISTE und höchstens einen ORDNER.");
        request.listFile = paths[0];
        if (paths.size() == 2)
            request.folder = paths[1];
        break;
    case CommandAction::Schedule:
        if (paths.size() > 1)
            return Refused(L"/schedule erwartet höchstens eine LISTE.");
        // Every user's task runs what the policy names: a list given here
        // would name one list for all and a report in one user's folder.
        if (request.allUsers && !paths.empty())
            return Refused(L"/schedule /allusers plant /sync /policy ein und erwartet keine LISTE; die Liste "
                           L"für alle Benutzer nennt die Richtlinie \u201ESyncList\u201C.");
        if (!paths.empty())
            request.listFile = paths[0];
        break;
    case CommandAction::Manage:
        if (paths.size() > 1)
            return Refused(L"/manage erwartet höchstens einen ORDNER.");
        if (!paths.empty())
            request.folder = paths[0];
        break;
    case CommandAction::CreateFromList:
    case CommandAction::Usage:
        break;
    }
    return {request, {}};
}

std::wstring UsageText() {
    return L"Ordnerlink macht Ordner zu Ordnerverknüpfungen auf einen lokalen Pfad, eine\n"
           L"Netzwerkfreigabe oder eine FTP-Adresse, zeigt, prüft und entfernt sie.\n"
           L"Ohne Argumente öffnet sich das Fenster.\n"
           L"\n"
           L"  ordnerlink /create QUELLE ZIEL [/force]\n"
           L"      Macht den Ordner ZIEL zu einer Ordnerverknüpfung auf QUELLE. Enthält ZIEL\n"
           L"      andere Einträge oder zeigt es schon auf eine andere Quelle, wird das ohne\n"
           L"      /force abgelehnt.\n"
           L"  ordnerlink /create /from LISTE [/force]\n"
           L"      Eine Ordnerverknüpfung je Zeile der Textdatei LISTE: QUELLE, ein Tabulator,\n"
           L"      ZIEL. Leere Zeilen und Zeilen, die mit # beginnen, zählen nicht. Gelesen\n"
           L"      werden UTF-8, UTF-16 mit Byte-Order-Mark und, wenn die Datei kein gültiges\n"
           L"      UTF-8 ist, Windows-1252 (ANSI, wie der Windows-Editor früher speicherte).\n"
           L"      QUELLE und ZIEL dürfen Umgebungsvariablen wie %USERNAME% enthalten; eine\n"
           L"      Zeile mit einer nicht gesetzten Variablen wird abgelehnt. %% steht für ein %.\n"
           L"  ordnerlink /show ZIEL\n"
           L"      Zeigt, worauf die Ordnerverknüpfung ZIEL zeigt, oder warum ZIEL keine ist.\n"
           L"  ordnerlink /check ZIEL [/timeout:SEKUNDEN]\n"
           L"      Wie /show, und prüft, ob die Quelle antwortet (höchstens 5 Sekunden lang\n"
           L"      oder so lange wie angegeben).\n"
           L"  ordnerlink /check /all [ORDNER] [/timeout:SEKUNDEN]\n"
           L"                  [/format:csv|json] [/out:DATEI]\n"
           L"      Prüft jede Ordnerverknüpfung direkt in ORDNER (ohne ORDNER die\n"
           L"      Netzwerkverknüpfungen) gleichzeitig: eine Zeile je Verknüpfung mit Zustand\n"
           L"      (erreichbar, antwortet nicht, nicht erreichbar, beschädigt), Quelle, Ordner\n"
           L"      und Ursache, durch Tabulatoren getrennt. Rückgabewert 0 nur, wenn jede\n"
           L"      antwortet.\n"
           L"  ordnerlink /list [ORDNER] [/format:csv|json] [/out:DATEI]\n"
           L"      Zeigt jede Ordnerverknüpfung direkt in ORDNER mit ihrer Quelle; ohne ORDNER\n"
           L"      die Netzwerkverknüpfungen des Benutzers.\n"
           L"  ordnerlink /manage [ORDNER]\n"
           L"      Öffnet das Fenster „Ordnerverknüpfungen verwalten“ für ORDNER; ohne ORDNER\n"
           L"      für die Netzwerkverknüpfungen des Benutzers.\n"
           L"  ordnerlink /remove ZIEL\n"
           L"      Macht die Ordnerverknüpfung ZIEL wieder zu einem gewöhnlichen Ordner; seine\n"
           L"      übrigen Einträge bleiben.\n"
           L"  ordnerlink /new [ZIEL] [/source:QUELLE]\n"
           L"      Öffnet das Fenster mit ZIEL (und QUELLE) schon eingetragen.\n"
           L"  ordnerlink /register\n"
           L"      Trägt die Befehle von Ordnerlink für den angemeldeten Benutzer in die\n"
           L"      Kontextmenüs des Explorers ein: Ordnerverknüpfung hier erstellen…, Als\n"
           L"      Ordnerverknüpfung einbinden… und Ordnerverknüpfungen hier verwalten….\n"
           L"  ordnerlink /unregister\n"
           L"      Nimmt diese Befehle wieder aus den Kontextmenüs.\n"
           L"  ordnerlink /install\n"
           L"      Installiert Ordnerlink für den angemeldeten Benutzer (ohne\n"
           L"      Administratorrechte) nach %LOCALAPPDATA%\\Programs\\Ordnerlink, mit\n"
           L"      Startmenü-Eintrag, Explorer-Befehlen, PATH und Eintrag in der Liste der\n"
           L"      installierten Apps. Erneut aufgerufen, bringt es die Installation auf den\n"
           L"      neuen Stand. Ein PATH, der sich nicht lesen lässt, bleibt, wie er ist\n"
           L"      (Rückgabewert 1).\n"
           L"  ordnerlink /uninstall\n"
           L"      Entfernt die Installation wieder ganz; Ordnerverknüpfungen bleiben.\n"
           L"  ordnerlink /repair ZIEL [/force] [/whatif]\n"
           L"  ordnerlink /repair /all [ORDNER] [/whatif]\n"
           L"      Setzt wieder instand, was Windows braucht, um der Ordnerverknüpfung ZIEL\n"
           L"      (oder jeder in ORDNER, ohne ORDNER in den Netzwerkverknüpfungen) zu folgen:\n"
           L"      das Attribut des Ordners, desktop.ini und target.lnk. Die Quelle bleibt.\n"
           L"      Ein Ordner, der kein Systemordner mehr ist und andere Einträge enthält,\n"
           L"      wird abgelehnt: als Ordnerverknüpfung verdeckte er sie. Nur /force macht\n"
           L"      ZIEL trotzdem wieder dazu. /whatif zeigt nur, was geändert würde.\n"
           L"  ordnerlink /sync LISTE [ORDNER] [/prune] [/whatif] [/log:DATEI]\n"
           L"                  [/format:csv|json] [/out:DATEI]\n"
           L"      Bringt die Ordnerverknüpfungen in ORDNER (ohne ORDNER die\n"
           L"      Netzwerkverknüpfungen) auf den Stand der LISTE (Zeilen wie bei /from; ein\n"
           L"      ZIEL ohne Laufwerk liegt in ORDNER): fehlende werden erstellt, beschädigte\n"
           L"      repariert, solche mit anderer Quelle umgestellt, und die ein früheres /sync\n"
           L"      erstellt hat und die LISTE nicht mehr nennt, entfernt. /prune entfernt jede\n"
           L"      Ordnerverknüpfung in ORDNER, die die LISTE nicht nennt. /log:DATEI hängt\n"
           L"      den Bericht mit Datum, Uhrzeit, Computer und Benutzer an DATEI an (über\n"
           L"      1 MiB beginnt DATEI neu mit ihrer zweiten Hälfte). /whatif zeigt nur, was\n"
           L"      geschähe: Rückgabewert 0, wenn ORDNER schon der LISTE entspricht, sonst 1.\n"
           L"      Eine Zeile mit Kennwort in der Adresse wird immer abgelehnt. Ist ORDNER\n"
           L"      nicht erreichbar, ändert sich nichts. Ein zweiter Lauf für denselben\n"
           L"      ORDNER wartet bis zu 60 Sekunden, bis der erste fertig ist, und endet sonst\n"
           L"      mit Rückgabewert 1.\n"
           L"  ordnerlink /sync [/policy] [/whatif]\n"
           L"      Ohne LISTE gilt die Richtlinie unter Software\\Policies\\Ordnerlink (die des\n"
           L"      Computers vor der des Benutzers, Wert für Wert): SyncList ist die LISTE,\n"
           L"      SyncFolder der ORDNER, Prune (1) steht für /prune und LogFile für /log:\n"
           L"      (ohne LogFile %LOCALAPPDATA%\\Ordnerlink\\sync.log). Ist keine Richtlinie\n"
           L"      gesetzt, ist das ein falscher Aufruf (Rückgabewert 2); mit /policy endet\n"
           L"      der Lauf dann still mit Rückgabewert 0, wie es eine geplante Aufgabe braucht.\n"
           L"  /format:csv, /format:json, /out:DATEI\n"
           L"      Bei /list, /check /all und /sync: das Ergebnis als Daten für andere\n"
           L"      Programme, CSV mit Kopfzeile oder ein JSON-Array, mit festen englischen\n"
           L"      Schlüsseln (folder, name, source, kind; state, cause; line, action).\n"
           L"      /out:DATEI schreibt das Ergebnis als UTF-8 mit Byte-Order-Mark in DATEI.\n"
           L"  ordnerlink /schedule [LISTE] [/whatif]\n"
           L"      Plant /sync LISTE (ohne LISTE /sync /policy) für den angemeldeten\n"
           L"      Benutzer in der Aufgabenplanung von Windows ein, ohne Administratorrechte:\n"
           L"      die Aufgabe „Ordnerlink – Abgleich (SID des Benutzers)“ läuft 30 Sekunden\n"
           L"      nach seiner Anmeldung und bei jeder neuen Netzwerkverbindung, ohne Fenster,\n"
           L"      nie zweimal zugleich, höchstens 5 Minuten lang, auch im Akkubetrieb; mit\n"
           L"      LISTE hängt sie den Bericht an %LOCALAPPDATA%\\Ordnerlink\\sync.log an.\n"
           L"      Erneut aufgerufen, ersetzt es die Aufgabe; /uninstall entfernt sie mit.\n"
           L"      /whatif zeigt nur die Aufgabe, als XML der Aufgabenplanung.\n"
           L"  ordnerlink /schedule /allusers [/whatif]\n"
           L"      Plant /sync /policy für jeden Benutzer ein, der sich anmeldet (Aufgabe\n"
           L"      „Ordnerlink – Abgleich“; braucht Administratorrechte).\n"
           L"  ordnerlink /unschedule [/allusers]\n"
           L"      Entfernt die Aufgabe des Benutzers (mit /allusers die für jeden Benutzer)\n"
           L"      wieder.\n"
           L"  ordnerlink /?\n"
           L"      Zeigt diese Hilfe.\n"
           L"\n"
           L"Rückgabewert: 0 erledigt, 1 abgelehnt oder fehlgeschlagen, 2 falscher Aufruf.\n";
}
