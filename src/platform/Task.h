#pragma once

#include "platform/Clock.h"

#include <coroutine>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

// Asynchronous work on the main loop, as coroutines.
//
// A function returning Task<T> starts at once and runs until its first wait;
// it continues on the Qt main loop when what it waits for is ready. The task
// runs to its end whether or not anyone keeps the Task or waits for it
// (detach() says so where that is the point). Awaiting a task from another
// task ties them together: cancelling the outer one cancels the one it waits
// for. Cancellation is cooperative: it ends a sleep early and marks the task,
// and the task's code decides what to do (co_await isTaskCancelled()).
// A suspended task is owned by what would resume it: when that is gone
// unrun (a timer of a clock that is gone, a completion dropped unresolved,
// a task awaited that was itself abandoned), the task is abandoned: its frame
// is destroyed where it waits, and so is the frame of every task waiting
// for it.
// Everything here runs on the main thread; only TaskCompletion can be
// resolved from another thread.

namespace tavlin::platform {

template <class T = void>
class Task;

namespace detail {

// The part of a task's state that does not depend on its result type.
class TaskCore {
public:
    bool isDone() const { return done_; }
    bool isCancelled() const { return cancelled_; }
    // The task will never finish: the coroutine that would have finished it
    // is gone, or nothing is left that could resolve it.
    bool isAbandoned() const { return abandoned_; }
    void cancel();
    // What ends the task's current wait early when it is cancelled.
    void setOnCancel(std::function<void()> onCancel) { onCancel_ = std::move(onCancel); }
    void clearOnCancel() { onCancel_ = nullptr; }
    // Runs `continuation` when the task has finished (at once if it has);
    // drops it unrun when the task is abandoned.
    void whenDone(std::function<void()> continuation);
    void finish();
    // Marks the task as never to finish and drops its continuations unrun:
    // a coroutine waiting for it is then destroyed with them.
    void abandon();

private:
    bool done_ = false;
    bool cancelled_ = false;
    bool abandoned_ = false;
    std::function<void()> onCancel_;
    std::vector<std::function<void()>> continuations_;
};

// A coroutine suspended at a wait, owned by whatever may resume it (a
// timer, the continuation of what it awaits): it is resumed at most once,
// and when the last owner lets go without resuming it, nothing ever can, so
// its frame is destroyed then. Main thread only.
class Suspension {
public:
    // `core` is the suspended task's, or null for a coroutine of another kind.
    Suspension(std::coroutine_handle<> handle, TaskCore* core) : handle_(handle), core_(core) {}
    ~Suspension();
    Suspension(const Suspension&) = delete;
    Suspension& operator=(const Suspension&) = delete;

    // Ends the task's cancellation hook for this wait and resumes it; later
    // calls do nothing.
    void resume();

private:
    std::coroutine_handle<> handle_;
    TaskCore* core_;
};

template <class T>
class TaskState : public TaskCore {
public:
    using Value = std::conditional_t<std::is_void_v<T>, std::monostate, T>;

    void setValue(Value value) { result_.template emplace<1>(std::move(value)); }
    void setError(std::exception_ptr error) { result_.template emplace<2>(std::move(error)); }

    // The result of a finished task; rethrows the exception it ended with.
    const Value& value() const {
        if (result_.index() == 2) std::rethrow_exception(std::get<2>(result_));
        return std::get<1>(result_);
    }

private:
    std::variant<std::monostate, Value, std::exception_ptr> result_;
};

template <class P>
concept TaskPromise = requires(P& promise) {
    { promise.core() } -> std::same_as<TaskCore&>;
};

template <class P>
TaskCore* coreOf(std::coroutine_handle<P> handle) {
    if constexpr (TaskPromise<P>) return &handle.promise().core();
    else return nullptr;
}

template <class T>
struct PromiseBase {
    std::shared_ptr<TaskState<T>> state = std::make_shared<TaskState<T>>();

    PromiseBase() = default;
    // A frame destroyed before its end (abandoned mid-wait) never finishes
    // its task; whoever waits for it is abandoned in turn.
    ~PromiseBase() {
        if (state) state->abandon();
    }
    PromiseBase(const PromiseBase&) = delete;
    PromiseBase& operator=(const PromiseBase&) = delete;

    TaskCore& core() { return *state; }
    std::suspend_never initial_suspend() noexcept { return {}; }

    struct FinalAwaiter {
        bool await_ready() noexcept { return false; }
        template <class P>
        void await_suspend(std::coroutine_handle<P> handle) noexcept {
            // The frame goes first, so that whoever continues may drop the
            // last reference to everything the coroutine held.
            auto finished = std::move(handle.promise().state);
            handle.destroy();
            finished->finish();
        }
        void await_resume() noexcept {}
    };
    FinalAwaiter final_suspend() noexcept { return {}; }
    void unhandled_exception() { state->setError(std::current_exception()); }
};

template <class T>
struct Promise : PromiseBase<T> {
    Task<T> get_return_object();
    template <class U>
    void return_value(U&& value) {
        this->state->setValue(std::forward<U>(value));
    }
};

template <>
struct Promise<void> : PromiseBase<void> {
    Task<void> get_return_object();
    void return_void() { state->setValue({}); }
};

}  // namespace detail

namespace detail {
struct TaskAccess;
}

template <class T>
class [[nodiscard]] Task {
public:
    using promise_type = detail::Promise<T>;
    using Value = typename detail::TaskState<T>::Value;

    Task() = default;  // no task; isValid() is false

    bool isValid() const { return state_ != nullptr; }
    bool isDone() const { return state_ && state_->isDone(); }
    bool isCancelled() const { return state_ && state_->isCancelled(); }
    void cancel() const {
        if (state_) state_->cancel();
    }
    void whenDone(std::function<void()> continuation) const { state_->whenDone(std::move(continuation)); }
    // The result of a finished task; rethrows the exception it ended with.
    const Value& result() const { return state_->value(); }

    struct Awaiter {
        std::shared_ptr<detail::TaskState<T>> state;

        bool await_ready() const noexcept { return state->isDone(); }
        template <class P>
        void await_suspend(std::coroutine_handle<P> handle) {
            detail::TaskCore* parent = detail::coreOf(handle);
            // Owned by the awaited task's continuation: a task that is
            // abandoned takes its waiter with it.
            const auto waiting = std::make_shared<detail::Suspension>(handle, parent);
            if (parent) {
                parent->setOnCancel([child = std::weak_ptr(state)] {
                    if (const auto awaited = child.lock()) awaited->cancel();
                });
                if (parent->isCancelled()) state->cancel();
            }
            state->whenDone([waiting] { waiting->resume(); });
        }
        decltype(auto) await_resume() const {
            if constexpr (std::is_void_v<T>) state->value();
            else return T(state->value());
        }
    };
    Awaiter operator co_await() const noexcept { return Awaiter{state_}; }

private:
    template <class>
    friend struct detail::Promise;
    template <class>
    friend class TaskCompletion;
    friend struct detail::TaskAccess;
    explicit Task(std::shared_ptr<detail::TaskState<T>> state) : state_(std::move(state)) {}

    std::shared_ptr<detail::TaskState<T>> state_;
};

namespace detail {
// A task's state held weakly, and a task again from it.
struct TaskAccess {
    template <class T>
    static std::weak_ptr<TaskState<T>> weak(const Task<T>& task) {
        return task.state_;
    }
    template <class T>
    static Task<T> task(std::shared_ptr<TaskState<T>> state) {
        return Task<T>(std::move(state));
    }
};

template <class T>
Task<T> Promise<T>::get_return_object() {
    return Task<T>(this->state);
}
inline Task<void> Promise<void>::get_return_object() { return Task<void>(state); }
}  // namespace detail

// Lets a task run on without anyone waiting for it.
template <class T>
void detach(Task<T>&&) {}

// Runs `action` on the main loop at its next turn; callable from any thread.
void postToMainLoop(std::function<void()> action);

namespace detail {
// Shared by every copy of one TaskCompletion. When the last copy goes
// without having finished the task, nothing can finish it any more: the task
// is abandoned (on the main loop, when that happens on another thread).
class CompletionSource {
public:
    explicit CompletionSource(std::shared_ptr<TaskCore> state) : state_(std::move(state)) {}
    ~CompletionSource();
    CompletionSource(const CompletionSource&) = delete;
    CompletionSource& operator=(const CompletionSource&) = delete;

    const std::shared_ptr<TaskCore>& state() const { return state_; }

private:
    std::shared_ptr<TaskCore> state_;
};
}  // namespace detail

// A task finished by hand: the bridge from callbacks (a D-Bus reply, a
// network answer, a worker thread) to tasks. A task whose completions are
// all gone unfinished is abandoned, and so is whoever waits for it. So a
// coroutine hands its completion to what will finish it and keeps only the
// task: a copy kept in its own frame across the wait would keep both alive
// for ever once the others are gone.
template <class T = void>
class TaskCompletion {
public:
    using Value = typename detail::TaskState<T>::Value;

    TaskCompletion() = default;

    Task<T> task() const { return Task<T>(state_); }
    bool isDone() const { return state_->isDone(); }

    // Main thread only; later calls after the first are ignored.
    void resolve(Value value = {}) const {
        if (state_->isDone() || state_->isAbandoned()) return;
        state_->setValue(std::move(value));
        state_->finish();
    }
    void fail(std::exception_ptr error) const {
        if (state_->isDone() || state_->isAbandoned()) return;
        state_->setError(std::move(error));
        state_->finish();
    }
    // From any thread: the task finishes on the main loop.
    void resolveFromAnyThread(Value value = {}) const {
        postToMainLoop([self = *this, value = std::move(value)]() mutable { self.resolve(std::move(value)); });
    }
    // What cancelling the task should do (stop the work, then resolve or
    // fail). The action is handed the completion rather than holding one, so
    // that it does not keep its own task from being abandoned.
    void onCancel(std::function<void(const TaskCompletion&)> action) const {
        state_->setOnCancel([source = std::weak_ptr(source_), action = std::move(action)] {
            if (auto held = source.lock()) action(TaskCompletion(std::move(held)));
        });
    }

private:
    explicit TaskCompletion(std::shared_ptr<detail::CompletionSource> source)
        : state_(std::static_pointer_cast<detail::TaskState<T>>(source->state())), source_(std::move(source)) {}

    std::shared_ptr<detail::TaskState<T>> state_ = std::make_shared<detail::TaskState<T>>();
    std::shared_ptr<detail::CompletionSource> source_ = std::make_shared<detail::CompletionSource>(state_);
};

// co_await sleep(…) waits on the clock and answers true, or false when the
// task was cancelled before or during the wait (the wait then ends at once).
class [[nodiscard]] SleepAwaiter {
public:
    SleepAwaiter(Clock::Duration delay, Clock& clock) : delay_(delay), clock_(clock) {}

    bool await_ready() const noexcept { return false; }
    template <class P>
    bool await_suspend(std::coroutine_handle<P> handle) {
        return start(detail::coreOf(handle), handle);
    }
    bool await_resume() const noexcept { return completed_; }

private:
    bool start(detail::TaskCore* core, std::coroutine_handle<> handle);

    Clock::Duration delay_;
    Clock& clock_;
    bool completed_ = true;
};

inline SleepAwaiter sleep(Clock::Duration delay, Clock& clock = Clock::main()) { return {delay, clock}; }

// co_await isTaskCancelled() answers whether the running task was cancelled.
struct [[nodiscard]] CancellationCheck {
    bool cancelled = false;
    bool await_ready() const noexcept { return false; }
    template <class P>
    bool await_suspend(std::coroutine_handle<P> handle) noexcept {
        const detail::TaskCore* core = detail::coreOf(handle);
        cancelled = core && core->isCancelled();
        return false;  // never suspends
    }
    bool await_resume() const noexcept { return cancelled; }
};
inline CancellationCheck isTaskCancelled() { return {}; }

// The task's result, or nothing when `limit` passes first; the task is then
// cancelled. Cancelling the returned task cancels the inner one and answers
// nothing at once. An exception of the inner task passes through.
template <class T>
using TimeoutResult = std::conditional_t<std::is_void_v<T>, bool, std::optional<T>>;

template <class T>
Task<TimeoutResult<T>> withTimeout(Task<T> task, Clock::Duration limit, Clock& clock = Clock::main()) {
    using Race = TaskCompletion<TimeoutResult<T>>;
    Race race;
    auto timer = std::make_shared<ScheduledAction>();
    // Everything here holds the task weakly: a task that never ends after
    // its time ran out must not keep itself alive, and one that is abandoned
    // must be free to go.
    const std::weak_ptr<detail::TaskState<T>> inner = detail::TaskAccess::weak(task);
    const auto cancelInner = [inner] {
        if (const auto state = inner.lock()) state->cancel();
    };
    race.onCancel([timer, cancelInner](const Race& cancelled) {
        timer->cancel();
        cancelInner();
        cancelled.resolve(TimeoutResult<T>{});
    });
    *timer = clock.schedule(limit, [race, cancelInner] {
        cancelInner();
        race.resolve(TimeoutResult<T>{});
    });
    task.whenDone([race, timer, inner] {
        timer->cancel();
        const Task<T> task = detail::TaskAccess::task(inner.lock());  // alive: it is finishing
        try {
            if constexpr (std::is_void_v<T>) {
                task.result();
                race.resolve(true);
            } else {
                race.resolve(TimeoutResult<T>(task.result()));
            }
        } catch (...) {
            race.fail(std::current_exception());
        }
    });
    return race.task();
}

}  // namespace tavlin::platform
