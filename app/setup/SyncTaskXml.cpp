#include "SyncTaskXml.h"

namespace {

// The network-connected event as an event-log query; the trigger holds the
// query as text.
constexpr wchar_t NetworkConnectedQuery[] =
    L"<QueryList><Query Id=\"0\" Path=\"Microsoft-Windows-NetworkProfile/Operational\">"
    L"<Select Path=\"Microsoft-Windows-NetworkProfile/Operational\">"
    L"*[System[Provider[@Name='Microsoft-Windows-NetworkProfile'] and EventID=10000]]"
    L"</Select></Query></QueryList>";

std::wstring Escaped(const std::wstring& text) {
    std::wstring escaped;
    for (const wchar_t ch : text) {
        switch (ch) {
        case L'&':
            escaped += L"&amp;";
            break;
        case L'<':
            escaped += L"&lt;";
            break;
        case L'>':
            escaped += L"&gt;";
            break;
        case L'"':
            escaped += L"&quot;";
            break;
        default:
            escaped += ch;
        }
    }
    return escaped;
}

// One element holding text, on a line of its own.
std::wstring Element(int depth, const wchar_t* name, const std::wstring& text) {
    return std::wstring(2 * depth, L' ') + L"<" + name + L">" + Escaped(text) + L"</" + name + L">\n";
}

// The well-known SID of the local Users group, which every user who logs on
// interactively belongs to.
constexpr wchar_t UsersGroupSid[] = L"S-1-5-32-545";

// One user's logon, or (without a user) anybody's.
std::wstring LogonTriggerUser(const std::wstring& userSid) {
    return userSid.empty() ? std::wstring() : Element(3, L"UserId", userSid);
}

// The user with his interactive token, or the Users group: each user who
// logs on runs the task as himself.
std::wstring PrincipalIdentity(const std::wstring& userSid) {
    if (userSid.empty())
        return Element(3, L"GroupId", UsersGroupSid);
    return Element(3, L"UserId", userSid) + Element(3, L"LogonType", L"InteractiveToken");
}

} // namespace

std::wstring SyncTaskXml(const SyncTaskCommand& command) {
    // No XML declaration: the text goes to the Task Scheduler as UTF-16 and
    // to a file, where /schedule /whatif writes it, as UTF-8.
    return L"<Task version=\"1.2\" xmlns=\"http://schemas.microsoft.com/windows/2004/02/mit/task\">\n"
           L"  <RegistrationInfo>\n" +
           Element(2, L"Description",
                   L"H\u00E4lt die Ordnerverkn\u00FCpfungen des Benutzers auf dem Stand der Liste: bei der "
                   L"Anmeldung und bei jeder neuen Netzwerkverbindung.") +
           L"  </RegistrationInfo>\n"
           L"  <Triggers>\n"
           L"    <LogonTrigger>\n" +
           LogonTriggerUser(command.userSid) + Element(3, L"Delay", L"PT30S") +
           L"    </LogonTrigger>\n"
           L"    <EventTrigger>\n" +
           Element(3, L"Subscription", NetworkConnectedQuery) +
           L"    </EventTrigger>\n"
           L"  </Triggers>\n"
           L"  <Principals>\n"
           L"    <Principal id=\"Author\">\n" +
           PrincipalIdentity(command.userSid) + Element(3, L"RunLevel", L"LeastPrivilege") +
           L"    </Principal>\n"
           L"  </Principals>\n"
           L"  <Settings>\n" +
           Element(2, L"MultipleInstancesPolicy", L"IgnoreNew") +
           Element(2, L"DisallowStartIfOnBatteries", L"false") +
           Element(2, L"StopIfGoingOnBatteries", L"false") + Element(2, L"WakeToRun", L"false") +
           Element(2, L"ExecutionTimeLimit", L"PT5M") +
           L"  </Settings>\n"
           L"  <Actions Context=\"Author\">\n"
           L"    <Exec>\n" +
           Element(3, L"Command", command.program) + Element(3, L"Arguments", command.arguments) +
           L"    </Exec>\n"
           L"  </Actions>\n"
           L"</Task>\n";
}
