// Lets the window messages that are already queued run now, in the middle of
// an event, without waiting for the program's message loop.
#pragma once

namespace host {

// Dispatches every message queued for this thread. A quit request found on
// the way is posted again and ends the processing, so that the program's own
// message loop still sees it.
void ProcessPendingMessages();

} // namespace host
