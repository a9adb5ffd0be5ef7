#pragma once

#include <chrono>
#include <functional>
#include <map>
#include <memory>

namespace tavlin::platform {

// A handle to an action scheduled on a Clock; cancel() before it runs keeps
// it from running. Dropping the handle does not cancel.
class ScheduledAction {
public:
    ScheduledAction() = default;
    explicit ScheduledAction(std::function<void()> cancel) : cancel_(std::move(cancel)) {}
    void cancel();

private:
    std::function<void()> cancel_;
};

// The monotonic time that delays and timeouts are measured on, and the place
// where their actions run. Clock::main() runs actions on the Qt main loop;
// tests put a ManualClock in its place to step time by hand.
class Clock {
public:
    using Duration = std::chrono::nanoseconds;
    using TimePoint = std::chrono::steady_clock::time_point;

    virtual ~Clock() = default;
    virtual TimePoint now() const = 0;
    // Runs `action` on the main loop once `delay` has passed (at the next turn
    // of the loop for a delay of zero or less).
    virtual ScheduledAction schedule(Duration delay, std::function<void()> action) = 0;

    static Clock& main();
};

// Qt timers on the thread that owns the application object.
class MainLoopClock final : public Clock {
public:
    TimePoint now() const override;
    ScheduledAction schedule(Duration delay, std::function<void()> action) override;
};

// Time that moves only when a test says so. Actions run in order of their
// due time (and of scheduling, for equal times) from inside advance().
class ManualClock final : public Clock {
public:
    TimePoint now() const override { return now_; }
    ScheduledAction schedule(Duration delay, std::function<void()> action) override;

    void advance(Duration by);
    void runDueActions() { advance(Duration::zero()); }
    std::size_t pendingActions() const { return pending_->size(); }

private:
    struct Key {
        TimePoint due;
        unsigned long long order;
        friend auto operator<=>(const Key&, const Key&) = default;
    };
    using Pending = std::map<Key, std::function<void()>>;

    TimePoint now_{};
    unsigned long long nextOrder_ = 0;
    std::shared_ptr<Pending> pending_ = std::make_shared<Pending>();
};

// Puts a clock in place of Clock::main() for the life of the object.
class ScopedMainClock {
public:
    explicit ScopedMainClock(Clock& clock);
    ~ScopedMainClock();
    ScopedMainClock(const ScopedMainClock&) = delete;
    ScopedMainClock& operator=(const ScopedMainClock&) = delete;

private:
    Clock* previous_;
};

}  // namespace tavlin::platform
