// The current user's task in Windows' Task Scheduler that runs /sync:
// registered, replaced and removed through the Task Scheduler's interfaces
// (ITaskService), in its root folder, without administrator rights. COM is
// started for each call where the thread has none.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

// The task's name, as the Task Scheduler lists it: "Ordnerlink – Abgleich"
// for the task every user's logon starts (userSid empty), with the user's
// SID after it for one user's own. Task names belong to the machine, not to
// a user: a second user's task of the same name would meet the first one's,
// which he may neither read nor replace.
std::wstring SyncTaskName(const std::wstring& userSid);

// A call to the Task Scheduler that failed: what it was to do (German, as
// "die Aufgabenplanung von Windows erreichen") and its result.
struct TaskFailure {
    const wchar_t* step;
    HRESULT error;
};

// The running process's user as a SID string ("S-1-5-21-..."); nothing,
// with the platform's error code, when its token cannot say.
std::optional<std::wstring> CurrentUserSid(DWORD& error);

// Registers the task from its XML definition (SyncTaskXml.h), replacing one
// of the same name; replaced says whether there was one. forAllUsers: the
// definition's principal is the Users group (which needs administrator
// rights), else the running user.
std::optional<TaskFailure> RegisterSyncTask(const std::wstring& name, const std::wstring& xml,
                                            bool forAllUsers, bool& replaced);

// Removes the task; removed is false when there was none, which is no failure.
std::optional<TaskFailure> RemoveSyncTask(const std::wstring& name, bool& removed);

// Whether the running user's task is there; true also when the Task
// Scheduler cannot say, so that a removal tries and names its failure.
bool SyncTaskFound();

// The removal of the running user's task as an installation step:
// ERROR_SUCCESS when the task is gone or was never there (removed says
// which), else the Win32 code of the failure where it has one, the HRESULT
// itself otherwise.
DWORD RemoveSyncTaskIfThere(bool& removed);
