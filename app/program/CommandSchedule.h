// The commands /schedule and /unschedule: the current user's task in
// Windows' Task Scheduler that runs /sync by itself, or with /allusers the
// one that runs /sync /policy for every user who logs on. Each prints what it did
// or why not and returns the exit code.
#pragma once

#include "CommandArguments.h"

int ScheduleCommand(const CommandRequest& request);
int UnscheduleCommand(const CommandRequest& request);
