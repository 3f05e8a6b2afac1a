// Hands work from other threads to the thread of a window. Worker threads
// keep the target shared and post what the window is to do with their
// results; the window runs it on its own thread. Each posting names the
// generation it belongs to: a new generation (the window shows something
// else now) drops what older ones post, and a closed target (the window is
// gone) takes nothing more, so that a late result never reaches a window
// that no longer waits for it.
#pragma once

#include <windows.h>

#include <functional>
#include <mutex>
#include <vector>

namespace host {

class PostTarget {
public:
    // message: what the window is sent to run the waiting work (runPending).
    PostTarget(HWND window, UINT message) : window_(window), message_(message) {}
    PostTarget(const PostTarget&) = delete;
    PostTarget& operator=(const PostTarget&) = delete;

    // Any thread.
    unsigned generation() const;
    // Queues work for the window's thread; false when the target is closed
    // or generation is no longer the current one. Never throws: a worker's
    // last call must not take it down.
    bool post(unsigned generation, std::function<void()> work) noexcept;

    // The window's thread: a new generation, dropping what waits.
    unsigned newGeneration();
    // The window's thread: runs what waits, in the order it was posted.
    void runPending();
    // The window's thread, when the window goes: nothing more is taken.
    void close();

private:
    mutable std::mutex mutex_;
    HWND window_;
    UINT message_;
    unsigned generation_ = 1;
    struct Work {
        unsigned generation;
        std::function<void()> run;
    };
    std::vector<Work> pending_;
};

} // namespace host
