// The program's arguments as a command: which one, on what, with which
// switches. Portable: the caller splits the command line into arguments.
#pragma once

#include "DataFormat.h"

#include <optional>
#include <string>
#include <vector>

enum class CommandAction {
    Usage,
    Create,
    CreateFromList,
    Show,
    Check,
    List,
    Remove,
    Repair,
    Sync,
    Schedule,
    Unschedule,
    New,
    Register,
    Unregister,
    Install,
    Uninstall,
    Manage,
};

struct CommandRequest {
    CommandAction action = CommandAction::Usage;
    std::wstring source;   // Create; New (may be empty)
    std::wstring target;   // Create, Show, Check, Remove, Repair; New (may be empty)
    std::wstring listFile; // CreateFromList, Sync (empty: the policy's); Schedule (may be empty)
    std::wstring
        folder; // List, Check and Repair with all, Sync, Manage; empty for the user's network shortcuts
    bool force = false;          // Create, CreateFromList; Repair of one target
    unsigned timeoutSeconds = 5; // Check
    bool all = false;            // Check, Repair: every folder link in folder rather than target
    bool whatIf = false;   // Repair, Sync: report what would change, change nothing; Schedule: show the task
    bool prune = false;    // Sync: remove every unlisted folder link in folder
    bool allUsers = false; // Schedule, Unschedule: the task for every user rather than the current one
    std::wstring logFile;  // Sync: the report is appended there as well; empty for none
    bool policy = false;   // Sync without list: no policy set is nothing to do, not a wrong call
    OutputFormat format = OutputFormat::Text; // List, Check with all, Sync: the results as data
    std::wstring outFile;                     // List, Check with all, Sync: results there, not to the output
};

// The request, or why the arguments are no valid call (a German sentence).
struct ParsedArguments {
    std::optional<CommandRequest> request;
    std::wstring usageError;
};

inline constexpr unsigned MaxTimeoutSeconds = 3600;

// arguments: the arguments after the program's name, at least one. Switches
// start with "/" and are compared without regard to case; "//server/share"
// is a path, not a switch.
ParsedArguments ParseCommandArguments(const std::vector<std::wstring>& arguments);

// The usage text printed for "/?" and after a wrong call, in German.
std::wstring UsageText();
