#include "platform/Task.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>

namespace tavlin::platform {

namespace detail {

void TaskCore::cancel() {
    if (done_ || cancelled_) return;
    cancelled_ = true;
    if (onCancel_) std::exchange(onCancel_, nullptr)();
}

void TaskCore::whenDone(std::function<void()> continuation) {
    if (done_) continuation();
    else if (!abandoned_) continuations_.push_back(std::move(continuation));
}

void TaskCore::finish() {
    done_ = true;
    onCancel_ = nullptr;
    for (auto& continuation : std::exchange(continuations_, {})) continuation();
}

void TaskCore::abandon() {
    if (done_ || abandoned_) return;
    abandoned_ = true;
    // Dropped only once the state says so: each may destroy a waiting frame,
    // which may let go of this state too.
    const auto onCancel = std::exchange(onCancel_, nullptr);
    const auto continuations = std::exchange(continuations_, {});
}

Suspension::~Suspension() {
    if (handle_) handle_.destroy();
}

void Suspension::resume() {
    const std::coroutine_handle<> handle = std::exchange(handle_, nullptr);
    if (!handle) return;
    if (core_) core_->clearOnCancel();
    handle.resume();
}

CompletionSource::~CompletionSource() {
    const QCoreApplication* application = QCoreApplication::instance();
    if (application && QThread::currentThread() != application->thread()) {
        // The waiters live on the main thread: they are let go there.
        postToMainLoop([state = state_] { state->abandon(); });
        return;
    }
    state_->abandon();
}

}  // namespace detail

void postToMainLoop(std::function<void()> action) {
    QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(action), Qt::QueuedConnection);
}

bool SleepAwaiter::start(detail::TaskCore* core, std::coroutine_handle<> handle) {
    if (core && core->isCancelled()) {
        completed_ = false;
        return false;
    }
    // The timer owns the sleeper, and then the turn that a cancellation
    // resumes it at: either resumes it, never both. A clock that drops the
    // timer unrun (it is gone, the loop has ended) destroys the frame.
    const auto waiting = std::make_shared<detail::Suspension>(handle, core);
    ScheduledAction timer = clock_.schedule(delay_, [waiting] { waiting->resume(); });
    if (core) {
        // Resume at the next turn of the loop rather than inside cancel(), so
        // that whoever cancels finishes what it is doing first. Held weakly:
        // the task's own state must not keep its frame.
        core->setOnCancel([this, timer, sleeper = std::weak_ptr(waiting)]() mutable {
            const std::shared_ptr<detail::Suspension> waiting = sleeper.lock();
            if (!waiting) return;
            timer.cancel();
            completed_ = false;
            clock_.schedule(Clock::Duration::zero(), [waiting] { waiting->resume(); });
        });
    }
    return true;
}

}  // namespace tavlin::platform
