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
    {L"/create", CommandAction::Create}, {L"/show", CommandAction::Show},
    {L"/check", CommandAction::Check},   {L"/list", CommandAction::List},
    {L"/remove", CommandAction::Remove}, {L"/manage", CommandAction::Manage},
};

} // namespace

ParsedArguments ParseCommandArguments(const std::vector<std::wstring>& arguments) {
    std::optional<CommandAction> action;
    std::wstring actionName;
    std::optional<std::wstring> listFile;
    bool force = false;
    std::optional<unsigned> timeout;
    std::wstring timeoutName;
    std::vector<std::wstring> paths;

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
        } else if (name.starts_with(L"/timeout:")) {
            if (timeout)
                return Refused(L"Der Schalter /timeout steht doppelt.");
            timeout = ParseSeconds(argument.substr(9));
            if (!timeout)
                return Refused(Quoted(argument) + L": erwartet wird eine ganze Zahl von Sekunden von 1 bis " +
                               std::to_wstring(MaxTimeoutSeconds) + L", etwa /timeout:10.");
            timeoutName = argument;
        } else {
            return Refused(L"Unbekannter Schalter " + Quoted(argument) + L".");
        }
    }

    if (!action)
        return Refused(L"Kein Befehl angegeben: /create, /show, /check, /list oder /remove.");
    if (force && action != CommandAction::Create)
        return Refused(L"Der Schalter /force gilt nur für /create.");
    if (listFile && action != CommandAction::Create)
        return Refused(L"Der Schalter /from gilt nur für /create.");
    if (timeout && action != CommandAction::Check)
        return Refused(L"Der Schalter " + Quoted(timeoutName) + L" gilt nur für /check.");

    CommandRequest request;
    request.action = *action;
    request.force = force;
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
    case CommandAction::Show:
    case CommandAction::Check:
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
           L"  ordnerlink /show ZIEL\n"
           L"      Zeigt, worauf die Ordnerverknüpfung ZIEL zeigt, oder warum ZIEL keine ist.\n"
           L"  ordnerlink /check ZIEL [/timeout:SEKUNDEN]\n"
           L"      Wie /show, und prüft, ob die Quelle antwortet (höchstens 5 Sekunden lang\n"
           L"      oder so lange wie angegeben).\n"
           L"  ordnerlink /list [ORDNER]\n"
           L"      Zeigt jede Ordnerverknüpfung direkt in ORDNER mit ihrer Quelle; ohne ORDNER\n"
           L"      die Netzwerkverknüpfungen des Benutzers.\n"
           L"  ordnerlink /manage [ORDNER]\n"
           L"      Öffnet das Fenster „Ordnerverknüpfungen verwalten“ für ORDNER; ohne ORDNER\n"
           L"      für die Netzwerkverknüpfungen des Benutzers.\n"
           L"  ordnerlink /remove ZIEL\n"
           L"      Macht die Ordnerverknüpfung ZIEL wieder zu einem gewöhnlichen Ordner; seine\n"
           L"      übrigen Einträge bleiben.\n"
           L"  ordnerlink /?\n"
           L"      Zeigt diese Hilfe.\n"
           L"\n"
           L"Rückgabewert: 0 erledigt, 1 abgelehnt oder fehlgeschlagen, 2 falscher Aufruf.\n";
}
