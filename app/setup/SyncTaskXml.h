// The definition of the task that keeps the current user's folder links in
// step with a list, as the XML of Windows' Task Scheduler (schema 1.2, which
// Windows 7 and later read). Portable: the caller gives the user and the
// command; registering it is ScheduledTask.h's.
#pragma once

#include <string>

struct SyncTaskCommand {
    // The user it runs as and whose logon starts it, "S-1-5-21-..."; empty
    // for every user who logs on, each as himself (the Users group), as a
    // per-machine installation registers it.
    std::wstring userSid;
    std::wstring program;   // the window program's full path: no console flashes up
    std::wstring arguments; // quoted as its command line reads them
};

// The task: started 30 seconds after the user's logon and whenever a
// network connects (event 10000 of Microsoft-Windows-NetworkProfile), so
// that a connection that comes up late still gets its links; never a second
// copy while one runs, at most 5 minutes a run, on battery too, never
// waking the computer; as the user (or each user) with the rights of an
// ordinary process.
std::wstring SyncTaskXml(const SyncTaskCommand& command);
