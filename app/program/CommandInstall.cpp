// The commands /register, /unregister, /install and /uninstall: what they
// tell the user. Started from a console they print it; started from
// Explorer or Windows' settings, where nothing printed reaches anyone, they
// show it in a message box.
#include "CommandInstall.h"

#include "CommandMode.h"
#include "ConsoleOutput.h"
#include "ErrorText.h"
#include "Installation.h"
#include "InstallerPackages.h"
#include "Quoted.h"
#include "RunningProgram.h"
#include "ShellVerbs.h"

#include <windows.h>

namespace {

// The verbs' menu texts, each quoted, as a German list.
std::wstring VerbNames() {
    const std::vector<std::wstring> texts = ShellVerbTexts();
    std::wstring names;
    for (std::size_t i = 0; i < texts.size(); ++i)
        names += (i == 0 ? L"" : i + 1 == texts.size() ? L" und " : L", ") + Quoted(texts[i]);
    return names;
}

std::wstring WhereVerbsShow() {
    return L"Sie stehen im Kontextmenü des Explorers, unter Windows 11 unter " +
           Quoted(L"Weitere Optionen anzeigen") + L".";
}

int Tell(int exitCode, const std::wstring& text) {
    if (!OutputReachesUser()) {
        MessageBoxW(nullptr, text.c_str(), L"Ordnerlink",
                    MB_OK | MB_SETFOREGROUND | (exitCode == ExitDone ? MB_ICONINFORMATION : MB_ICONWARNING));
        return exitCode;
    }
    if (exitCode == ExitDone)
        WriteOutput(text + L"\n");
    else
        WriteError(text + L"\n");
    return exitCode;
}

std::wstring Cause(DWORD error) {
    return L_SHTCUT::ErrorText(error);
}

std::wstring ForWhom(const InstalledPackage& package) {
    return package.forMachine ? L"f\u00FCr alle Benutzer dieses Computers" : L"f\u00FCr Sie";
}

// Where a package's copy is removed: Windows Installer removes what it
// installed, all of it; removing parts of it here would leave its entry
// naming files that are gone.
std::wstring RemovedByWindowsInstaller(const InstalledPackage& package) {
    return L"Entfernt wird es unter Einstellungen > Apps > Installierte Apps oder mit " +
           Quoted(L"msiexec /x " + package.productCode) + L".";
}

// Started without a console (from Windows' settings, a shortcut, the Run
// dialog), the removal asks first; No is the default answer.
bool RemovalConfirmed() {
    return MessageBoxW(nullptr,
                       L"Ordnerlink entfernen? Ihre Ordnerverkn\u00FCpfungen bleiben, wie sie sind; die "
                       L"Einstellungen von Ordnerlink werden gel\u00F6scht.",
                       L"Ordnerlink", MB_YESNO | MB_DEFBUTTON2 | MB_ICONQUESTION | MB_SETFOREGROUND) == IDYES;
}

} // namespace

int RegisterCommand() {
    const std::wstring program = RunningWindowProgram();
    if (GetFileAttributesW(program.c_str()) == INVALID_FILE_ATTRIBUTES)
        return Tell(ExitRefused, L"Die Befehle sind nicht eingetragen: " + Quoted(program) +
                                     L" fehlt, und nur das Fensterprogramm kann sie ausführen.");
    if (const LSTATUS error = RegisterShellVerbs(program); error != ERROR_SUCCESS) {
        // A half-written set of verbs would start a program that is not there.
        UnregisterShellVerbs();
        return Tell(ExitRefused,
                    L"Die Befehle sind nicht eingetragen: " + Cause(static_cast<DWORD>(error)) + L".");
    }
    return Tell(ExitDone, L"Die Befehle " + VerbNames() + L" sind eingetragen und starten " +
                              Quoted(program) + L". " + WhereVerbsShow());
}

int UnregisterCommand() {
    if (!ShellVerbsRegistered())
        return Tell(ExitDone, L"Die Befehle von Ordnerlink waren nicht eingetragen; nichts wurde geändert.");
    if (const LSTATUS error = UnregisterShellVerbs(); error != ERROR_SUCCESS)
        return Tell(ExitRefused, L"Die Befehle von Ordnerlink sind nicht ganz entfernt: " +
                                     Cause(static_cast<DWORD>(error)) + L".");
    return Tell(ExitDone,
                L"Die Befehle " + VerbNames() + L" sind aus dem Kontextmenü des Explorers entfernt.");
}

int InstallCommand() {
    // One installation at a time: a second one beside a package's would be
    // a second entry among the installed apps, and its verbs for this user
    // would hide the machine's.
    if (const auto package = FindInstalledPackage())
        return Tell(ExitRefused,
                    L"Ordnerlink ist bereits " + ForWhom(*package) +
                        L" mit einem Windows-Installer-Paket installiert; nichts wurde ge\u00E4ndert. "
                        L"Eine neuere Version kommt mit einem neueren Paket.");
    const InstallOutcome outcome = Install();
    if (outcome.failed)
        return Tell(ExitRefused, L"Ordnerlink ist nicht vollständig installiert. Fehlgeschlagen: " +
                                     outcome.failed->step + L" (" + Cause(outcome.failed->error) +
                                     L"). Ein erneutes " + Quoted(L"ordnerlink /install") +
                                     L" setzt die Installation fort.");
    const std::wstring details =
        outcome.readMe.empty() ? L"" : L" Was eingerichtet ist, steht in " + Quoted(outcome.readMe) + L".";
    // Not everything was done: the exit code says so, as for any other step.
    if (const auto& path = outcome.pathUnchanged)
        return Tell(ExitRefused, L"Ordnerlink ist installiert, nicht aber im PATH. Fehlgeschlagen: " +
                                     path->step + L" (" + Cause(path->error) +
                                     L"); der PATH bleibt, wie er ist. In der Eingabeaufforderung ist " +
                                     Quoted(outcome.folder + L"\\ordnerlink.com") +
                                     L" mit seinem Pfad aufzurufen.");
    return Tell(ExitDone, L"Ordnerlink ist installiert. Sie finden es im Startmen\u00FC unter " +
                              Quoted(L"Ordnerlink") + L" und im Kontextmen\u00FC von Ordnern im Explorer." +
                              details);
}

int UninstallCommand() {
    // A package installs into the very places /install uses (the one for
    // the machine at least into the Start menu): only an installation
    // recorded as this command's own is removed beside a package's.
    const auto package = FindInstalledPackage();
    if (package && !InstallationRecorded())
        return Tell(ExitRefused,
                    L"Ordnerlink ist " + ForWhom(*package) +
                        L" mit einem Windows-Installer-Paket installiert; nichts wurde ge\u00E4ndert. " +
                        RemovedByWindowsInstaller(*package));
    if (!InstallationFound())
        return Tell(ExitDone, L"Ordnerlink war nicht installiert; nichts wurde geändert.");
    if (!OutputReachesUser() && !RemovalConfirmed())
        return ExitRefused;
    const UninstallOutcome outcome = Uninstall();
    if (!outcome.failed.empty()) {
        std::wstring text = L"Ordnerlink ist nicht ganz entfernt. Fehlgeschlagen:";
        for (const FailedStep& failed : outcome.failed)
            text += L"\n  " + failed.step + L" (" + Cause(failed.error) + L")";
        return Tell(ExitRefused, text + L"\nOrdnerverknüpfungen bleiben, wie sie sind.");
    }
    return Tell(ExitDone, L"Ordnerlink ist entfernt. Ihre Ordnerverkn\u00FCpfungen bleiben, wie sie sind.");
}
