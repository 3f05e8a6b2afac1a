#include "ErrorText.h"

#include "Win32Holders.h"

#include <windows.h>

namespace L_SHTCUT {
namespace {

struct KnownCause {
    DWORD error;
    const wchar_t* text;
};

constexpr KnownCause KnownCauses[] = {
    {ERROR_ACCESS_DENIED, L"Zugriff verweigert"},
    {ERROR_FILE_NOT_FOUND, L"Datei nicht gefunden"},
    {ERROR_PATH_NOT_FOUND, L"Pfad nicht gefunden"},
    {ERROR_DISK_FULL, L"Der Datenträger ist voll"},
    {ERROR_HANDLE_DISK_FULL, L"Der Datenträger ist voll"},
    {ERROR_SHARING_VIOLATION, L"Die Datei wird von einem anderen Programm verwendet"},
    {ERROR_LOCK_VIOLATION, L"Die Datei wird von einem anderen Programm verwendet"},
    {ERROR_BAD_NET_NAME, L"Der Netzwerkname wurde nicht gefunden"},
    {ERROR_BAD_NETPATH, L"Der Netzwerkpfad wurde nicht gefunden"},
    {ERROR_BAD_PATHNAME, L"Ungültiger Pfad"},
    {ERROR_INVALID_NAME, L"Der Name ist nicht zulässig"},
    {ERROR_FILENAME_EXCED_RANGE, L"Der Name ist zu lang"},
    {ERROR_INVALID_DRIVE, L"Das Laufwerk gibt es nicht"},
    {ERROR_NOT_READY, L"Das Laufwerk ist nicht bereit"},
    {ERROR_WRITE_PROTECT, L"Der Datenträger ist schreibgeschützt"},
    {ERROR_ALREADY_EXISTS, L"Der Name ist schon vergeben"},
    {ERROR_FILE_EXISTS, L"Der Name ist schon vergeben"},
    {ERROR_DIRECTORY, L"Kein Ordner"},
    {ERROR_DIR_NOT_EMPTY, L"Der Ordner ist nicht leer"},
    {ERROR_NETWORK_ACCESS_DENIED, L"Zugriff im Netzwerk verweigert"},
    {ERROR_NETNAME_DELETED, L"Die Netzwerkverbindung ist unterbrochen"},
    {ERROR_FILE_TOO_LARGE, L"Die Datei ist zu groß"},
    {ERROR_NOT_ENOUGH_MEMORY, L"Nicht genügend Speicher"},
    {ERROR_OUTOFMEMORY, L"Nicht genügend Speicher"},
    // A registry value stored as another type than the one asked for.
    {ERROR_UNSUPPORTED_TYPE, L"Der Wert hat einen anderen Typ als erwartet"},
    // The network's causes that a check of a source meets.
    {ERROR_LOGON_FAILURE, L"Die Anmeldung am Server ist fehlgeschlagen"},
    // Windows: a share that is no folder (a printer). Wine, which has no
    // client for shares, gives it for every share it cannot reach.
    {ERROR_BAD_DEV_TYPE, L"Unter diesem Netzwerkpfad ist keine Ordnerfreigabe erreichbar"},
    {ERROR_UNEXP_NET_ERR, L"Unerwarteter Fehler im Netzwerk"},
    {ERROR_NO_NETWORK, L"Kein Netzwerk vorhanden"},
    {ERROR_NETWORK_UNREACHABLE, L"Das Netzwerk ist nicht erreichbar"},
    {ERROR_HOST_UNREACHABLE, L"Der Rechner ist nicht erreichbar"},
    {ERROR_SEM_TIMEOUT, L"Zeitüberschreitung im Netzwerk"},
    {WSAENETUNREACH, L"Das Netzwerk ist nicht erreichbar"},
    {WSAEHOSTUNREACH, L"Der Rechner ist nicht erreichbar"},
    {WSAENETDOWN, L"Das Netzwerk ist ausgefallen"},
    {WSAECONNRESET, L"Der Server hat die Verbindung getrennt"},
    {WSAECONNABORTED, L"Die Verbindung wurde abgebrochen"},
    // The system's own limit for a connection, which may end before a long
    // timeout of ours.
    {WSAETIMEDOUT, L"Das System hat den Verbindungsaufbau aufgegeben"},
    {WSAEACCES, L"Zugriff verweigert"},
    {WSAEADDRNOTAVAIL, L"Die Adresse ist ungültig"},
    {WSAEAFNOSUPPORT, L"Diese Art von Adresse (IPv4 oder IPv6) ist auf diesem Rechner abgeschaltet"},
    {WSAENOBUFS, L"Nicht genügend Speicher"},
    {WSAHOST_NOT_FOUND, L"Der Name ist unbekannt"},
    {WSANO_DATA, L"Der Name ist unbekannt"},
    {WSATRY_AGAIN, L"Der Namensdienst ist derzeit nicht erreichbar"},
    {WSASYSNOTREADY, L"Das Netzwerk steht nicht zur Verfügung"},
};

// The system's own text in German, where it has German messages.
std::wstring SystemGermanText(DWORD error) {
    PWSTR raw = nullptr;
    const DWORD cch = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        error, MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), reinterpret_cast<PWSTR>(&raw), 0, nullptr);
    const win32::LocalMemory<wchar_t> text(raw);
    if (cch == 0 || !raw)
        return {};
    std::wstring message(raw, cch);
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' ||
                                message.back() == L' ' || message.back() == L'.'))
        message.pop_back();
    return message;
}

} // namespace

std::wstring ErrorText(std::uint32_t error) {
    for (const KnownCause& cause : KnownCauses)
        if (cause.error == error)
            return cause.text;
    if (std::wstring system = SystemGermanText(error); !system.empty())
        return system;
    return L"unbekannter Fehler (Code " + std::to_wstring(error) + L")";
}

} // namespace L_SHTCUT
