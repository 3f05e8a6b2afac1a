#include "CommandMode.h"

#include "B_MAIN.h"
#include "CommandArguments.h"
#include "CommandInstall.h"
#include "CommandSchedule.h"
#include "Commands.h"
#include "ConsoleOutput.h"
#include "ErrorText.h"
#include "ProgramStart.h"
#include "RunningProgram.h"

namespace {

// The manager window opens in the window program: the console companion
// hands it over, so that the command prompt does not wait for the window.
int ManageCommand(const CommandRequest& request) {
    if (!IsConsoleProgram())
        return RunManagerWindow(request.folder);
    DWORD error = ERROR_SUCCESS;
    const std::wstring folder = request.folder.empty() ? L"" : L" " + QuotedArgument(request.folder);
    if (StartWindowProgram(L"/manage" + folder, error))
        return ExitDone;
    WriteError(L"ordnerlink.exe l\u00E4sst sich nicht starten: " + L_SHTCUT::ErrorText(error) + L".\n");
    return ExitRefused;
}

} // namespace

int RunCommandLine(const std::vector<std::wstring>& arguments) {
    const ParsedArguments parsed = ParseCommandArguments(arguments);
    if (!parsed.request) {
        WriteError(parsed.usageError + L"\n\"ordnerlink /?\" zeigt alle Befehle.\n");
        return ExitWrongUsage;
    }
    const CommandRequest& request = *parsed.request;
    if (std::wstring why; !request.outFile.empty() && !SendOutputToFile(request.outFile, why)) {
        WriteError(why + L"\n");
        return ExitRefused;
    }
    switch (request.action) {
    case CommandAction::Usage:
        WriteOutput(UsageText());
        return ExitDone;
    case CommandAction::Create:
        return CreateCommand(request);
    case CommandAction::CreateFromList:
        return CreateFromListCommand(request);
    case CommandAction::Show:
        return ShowCommand(request);
    case CommandAction::Check:
        // A check may leave workers behind on calls that cannot be cut short.
        return EndProcessNow(CheckCommand(request));
    case CommandAction::List:
        return ListCommand(request);
    case CommandAction::Remove:
        return RemoveCommand(request);
    case CommandAction::New:
        return RunWindow({request.source, request.target});
    case CommandAction::Register:
        return RegisterCommand();
    case CommandAction::Unregister:
        return UnregisterCommand();
    case CommandAction::Install:
        return InstallCommand();
    case CommandAction::Uninstall:
        return UninstallCommand();
    case CommandAction::Repair:
        return RepairCommand(request);
    case CommandAction::Sync:
        return SyncCommand(request);
    case CommandAction::Schedule:
        return ScheduleCommand(request);
    case CommandAction::Unschedule:
        return UnscheduleCommand(request);
    case CommandAction::Manage:
        return ManageCommand(request);
    }
    return ExitWrongUsage;
}
