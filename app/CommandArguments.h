// The program's arguments as a command: which one, on what, with which
// switches. Portable: the caller splits the command line into arguments.
#pragma once

#include <optional>
#include <string>
#include <vector>

enum class CommandAction { Usage, Create, CreateFromList, Show, Check, List, Remove, Manage };

struct CommandRequest {
    CommandAction action = CommandAction::Usage;
    std::wstring source;         // Create
    std::wstring target;         // Create, Show, Check, Remove
    std::wstring listFile;       // CreateFromList
    std::wstring folder;         // List, Manage; empty for the user's network shortcuts
    bool force = false;          // Create, CreateFromList
    unsigned timeoutSeconds = 5; // Check
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
