#include "platform/Task.h"

#include <QCoreApplication>
#include <QMetaObject>

namespace tavlin::platform {

namespace detail {

void TaskCore::cancel() {
    if (done_ || cancelled_) return;
    cancelled_ = true;
    if (onCancel_) std::exchange(onCancel_, nullptr)();
}

void TaskCore::whenDone(std::function<void()> continuation) {
    if (done_) continuation();
    else continuations_.push_back(std::move(continuation));
}

void TaskCore::finish() {
    done_ = true;
    onCancel_ = nullptr;
    for (auto& continuation : std::exchange(continuations_, {})) continuation();
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
    // Either the timer or a cancellation resumes the task, never both.
    auto resumed = std::make_shared<bool>(false);
    auto resumeOnce = [handle, resumed, core] {
        if (std::exchange(*resumed, true)) return;
        if (core) core->clearOnCancel();
        handle.resume();
    };
    ScheduledAction timer = clock_.schedule(delay_, resumeOnce);
    if (core) {
        // Resume at the next turn of the loop rather than inside cancel(), so
        // that whoever cancels finishes what it is doing first.
        core->setOnCancel([this, timer, resumeOnce]() mutable {
            timer.cancel();
            completed_ = false;
            clock_.schedule(Clock::Duration::zero(), resumeOnce);
        });
    }
    return true;
}

}  // namespace tavlin::platform
