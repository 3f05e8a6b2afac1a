#include "CommandMode.h"

#include "CommandArguments.h"
#include "Commands.h"
#include "ConsoleOutput.h"
#include "ProgramStart.h"

int RunCommandLine(const std::vector<std::wstring>& arguments) {
    const ParsedArguments parsed = ParseCommandArguments(arguments);
    if (!parsed.request) {
        WriteError(parsed.usageError + L"\n\"ordnerlink /?\" zeigt alle Befehle.\n");
        return ExitWrongUsage;
    }
    const CommandRequest& request = *parsed.request;
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
        return CheckCommand(request);
    case CommandAction::List:
        return ListCommand(request);
    case CommandAction::Remove:
        return RemoveCommand(request);
    case CommandAction::Manage:
        return RunManagerWindow(request.folder);
    }
    return ExitWrongUsage;
}
