// Work off the window's thread, on the process's thread pool: each piece is
// marked as one that may run long (a check waits up to its timeout, a
// watcher as long as it follows its folder), so that the pool adds threads
// rather than queue it behind others. Nothing thrown leaves the work.
#pragma once

#include <windows.h>

#include <memory>
#include <new>

namespace worker_detail {

template <class Work> void CALLBACK Run(PTP_CALLBACK_INSTANCE, void* context) noexcept {
    const std::unique_ptr<Work> work(static_cast<Work*>(context));
    try {
        (*work)();
    } catch (...) {
        // Nothing crosses the pool's callback; what the work would have
        // posted is not posted.
    }
}

} // namespace worker_detail

// false when the work could not be handed to the pool (it is not run then).
template <class Work> bool RunOnWorker(Work work) {
    std::unique_ptr<Work> job(new (std::nothrow) Work(std::move(work)));
    if (!job)
        return false;
    TP_CALLBACK_ENVIRON environment;
    InitializeThreadpoolEnvironment(&environment);
    SetThreadpoolCallbackRunsLong(&environment);
    const bool submitted = TrySubmitThreadpoolCallback(&worker_detail::Run<Work>, job.get(), &environment);
    DestroyThreadpoolEnvironment(&environment);
    if (!submitted)
        return false;
    job.release(); // the callback owns it now
    return true;
}
