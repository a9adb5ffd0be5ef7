#pragma once

#include "platform/Clock.h"
#include "platform/Task.h"

#include <functional>

namespace tavlin::store {

// Turns a burst of triggers into one action, run `delay` after the last of
// them on Clock::main(). Main thread only.
class Debouncer {
public:
    explicit Debouncer(platform::Clock::Duration delay) : delay_(delay) {}
    // A pending action dies with its debouncer: it would reach an owner that
    // is gone.
    ~Debouncer() { task_.cancel(); }
    Debouncer(const Debouncer&) = delete;
    Debouncer& operator=(const Debouncer&) = delete;

    // Drops the pending action, if any, and waits `delay` anew for this one.
    void schedule(std::function<void()> action);

private:
    const platform::Clock::Duration delay_;
    platform::Task<> task_;
};

}  // namespace tavlin::store
