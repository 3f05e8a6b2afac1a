#include "PostTarget.h"

namespace host {

unsigned PostTarget::generation() const {
    const std::lock_guard lock(mutex_);
    return generation_;
}

bool PostTarget::post(unsigned generation, std::function<void()> work) noexcept {
    try {
        const std::lock_guard lock(mutex_);
        if (!window_ || generation != generation_)
            return false;
        pending_.push_back({generation, std::move(work)});
        // One wake-up for a batch: the window runs everything that waits.
        if (pending_.size() == 1 && !PostMessageW(window_, message_, 0, 0)) {
            pending_.clear();
            return false;
        }
        return true;
    } catch (...) {
        return false; // no memory for the work: it is dropped
    }
}

unsigned PostTarget::newGeneration() {
    const std::lock_guard lock(mutex_);
    pending_.clear();
    return ++generation_;
}

void PostTarget::runPending() {
    std::vector<Work> work;
    {
        const std::lock_guard lock(mutex_);
        work.swap(pending_);
    }
    // A step may start a new generation or close the window: what the
    // batch holds of an older one is dropped then.
    for (Work& step : work)
        if (step.generation == generation())
            step.run();
}

void PostTarget::close() {
    const std::lock_guard lock(mutex_);
    window_ = nullptr;
    ++generation_; // what a running batch still holds is dropped as well
    pending_.clear();
}

} // namespace host
