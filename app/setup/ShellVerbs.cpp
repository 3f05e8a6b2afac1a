#include "ShellVerbs.h"

#include "UserRegistry.h"

#include <shlobj.h>

namespace {

constexpr wchar_t kClasses[] = L"Software\\Classes\\";

// One verb: the shell key of the class it belongs to, its own key's name,
// its menu text and the arguments Explorer starts the program with. Explorer
// puts the folder in for %V (a background) and %1 (a folder); a drive root
// arrives as "C:\", which the program reads literally for /new and /manage.
struct ShellVerb {
    const wchar_t* shellKey;
    const wchar_t* name;
    const wchar_t* text;
    const wchar_t* arguments;
};
constexpr ShellVerb kShellVerbs[] = {
    {L"Directory\\Background\\shell", L"Ordnerlink.Erstellen", L"Ordnerverkn\u00FCpfung hier erstellen\u2026",
     L"/new \"%V\\\""},
    {L"Directory\\shell", L"Ordnerlink.Einbinden", L"Als Ordnerverkn\u00FCpfung einbinden\u2026",
     L"/new \"%1\""},
    {L"Directory\\shell", L"Ordnerlink.Verwalten", L"Ordnerverkn\u00FCpfungen hier verwalten\u2026",
     L"/manage \"%1\""},
};

// The keys above the verbs, deepest first, which /register may have made.
constexpr const wchar_t* kParentKeys[] = {L"Directory\\Background\\shell", L"Directory\\Background",
                                          L"Directory\\shell", L"Directory"};

std::wstring VerbKey(const ShellVerb& verb) {
    return kClasses + std::wstring(verb.shellKey) + L"\\" + verb.name;
}

// Explorer reads its menus' verbs once; this tells it they changed.
void TellExplorer() {
    SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
}

} // namespace

LSTATUS RegisterShellVerbs(const std::wstring& program) {
    for (const ShellVerb& verb : kShellVerbs) {
        const std::wstring key = VerbKey(verb);
        for (const LSTATUS written : {UserRegistry::SetString(key, nullptr, verb.text),
                                      UserRegistry::SetString(key, L"Icon", program + L",0"),
                                      UserRegistry::SetString(key + L"\\command", nullptr,
                                                              L"\"" + program + L"\" " + verb.arguments)})
            if (written != ERROR_SUCCESS)
                return written;
    }
    TellExplorer();
    return ERROR_SUCCESS;
}

LSTATUS UnregisterShellVerbs() {
    LSTATUS first = ERROR_SUCCESS;
    for (const ShellVerb& verb : kShellVerbs)
        if (const LSTATUS deleted = UserRegistry::DeleteTree(VerbKey(verb));
            deleted != ERROR_SUCCESS && first == ERROR_SUCCESS)
            first = deleted;
    for (const wchar_t* parent : kParentKeys)
        UserRegistry::DeleteIfEmpty(kClasses + std::wstring(parent));
    TellExplorer();
    return first;
}

bool ShellVerbsRegistered() {
    for (const ShellVerb& verb : kShellVerbs)
        if (UserRegistry::Exists(VerbKey(verb)))
            return true;
    return false;
}

std::vector<std::wstring> ShellVerbTexts() {
    std::vector<std::wstring> texts;
    for (const ShellVerb& verb : kShellVerbs)
        texts.emplace_back(verb.text);
    return texts;
}
