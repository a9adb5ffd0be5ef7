#include "store/Debouncer.h"

namespace tavlin::store {

namespace {

// Holds nothing of the debouncer, which may be gone when the wait ends.
platform::Task<> runAfter(platform::Clock::Duration delay, std::function<void()> action) {
    const bool slept = co_await platform::sleep(delay);  // false when cancelled
    if (slept) action();
}

}  // namespace

void Debouncer::schedule(std::function<void()> action) {
    task_.cancel();
    task_ = runAfter(delay_, std::move(action));
}

}  // namespace tavlin::store
