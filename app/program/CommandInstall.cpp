// The commands /register, /unregister, /install and /uninstall: what they
// tell the user. Started from a console they print it; started from
// Explorer or Windows' settings, where nothing printed reaches anyone, they
// show it in a message box.
#include "CommandInstall.h"

#include "CommandMode.h"
#include "ConsoleOutput.h"
#include "ErrorText.h"
#include "Installation.h"
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
    const InstallOutcome outcome = Install();
    if (outcome.failed)
        return Tell(ExitRefused, L"Ordnerlink ist nicht vollständig installiert. Fehlgeschlagen: " +
                                     outcome.failed->step + L" (" + Cause(outcome.failed->error) +
                                     L"). Ein erneutes " + Quoted(L"ordnerlink /install") +
                                     L" setzt die Installation fort.");
    const std::wstring installed = L"Ordnerlink ist für Sie installiert, in " + Quoted(outcome.folder) +
                                   L": mit einem Eintrag im Startmenü, den Befehlen " + VerbNames() +
                                   L" im Kontextmenü des Explorers (unter Windows 11 unter " +
                                   Quoted(L"Weitere Optionen anzeigen") + L")";
    const std::wstring apps = L"unter den installierten Apps, wo Windows es auch wieder entfernen kann.";
    // Not everything was done: the exit code says so, as for any other step.
    if (const auto& path = outcome.pathUnchanged)
        return Tell(ExitRefused, installed + L" und " + apps + L" Nicht aber im PATH. Fehlgeschlagen: " +
                                     path->step + L" (" + Cause(path->error) +
                                     L"); der PATH bleibt, wie er ist. In der Eingabeaufforderung ist " +
                                     Quoted(outcome.folder + L"\\ordnerlink.com") +
                                     L" mit seinem Pfad aufzurufen.");
    return Tell(ExitDone, installed + L", im PATH (für danach geöffnete Eingabeaufforderungen) und " + apps);
}

int UninstallCommand() {
    const UninstallOutcome outcome = Uninstall();
    if (!outcome.found)
        return Tell(ExitDone, L"Ordnerlink war nicht installiert; nichts wurde geändert.");
    if (!outcome.failed.empty()) {
        std::wstring text = L"Ordnerlink ist nicht ganz entfernt. Fehlgeschlagen:";
        for (const FailedStep& failed : outcome.failed)
            text += L"\n  " + failed.step + L" (" + Cause(failed.error) + L")";
        return Tell(ExitRefused, text + L"\nOrdnerverknüpfungen bleiben, wie sie sind.");
    }
    std::wstring text =
        L"Ordnerlink ist entfernt: die Programme, der Eintrag im Startmenü, die Befehle im "
        L"Kontextmenü des Explorers, der Eintrag im PATH und unter den installierten Apps und "
        L"die Einstellungen. Ordnerverknüpfungen bleiben, wie sie sind.";
    if (!outcome.deletedAtNextLogon.empty())
        text += L" Das laufende Programm liegt bis zur nächsten Anmeldung noch in " +
                Quoted(outcome.deletedAtNextLogon) + L".";
    return Tell(ExitDone, text);
}
