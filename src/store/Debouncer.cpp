#include "store/Debouncer.h"

namespace tavlin::store {

namespace {

// Holds nothing of the debouncer, which may be gone when the wait ends.
platform::Task<> runAfter(platform::Clock::Duration delay, std::function<void()> action) {
    // Not inside the `if`: g++ 12 miscompiles a co_await in a condition
    // whose await_suspend answers a bool, and the task crashes at its wait.
    const bool slept = co_await platform::sleep(delay);  // false when cancelled
    if (slept) action();
}

}  // namespace

void Debouncer::schedule(std::function<void()> action) {
    task_.cancel();
    task_ = runAfter(delay_, std::move(action));
}

}  // namespace tavlin::store
