#include "platform/Clock.h"

#include <QCoreApplication>
#include <QPointer>
#include <QThread>
#include <QTimer>

#include <limits>
#include <memory>

namespace tavlin::platform {

namespace {

Clock* installedMainClock = nullptr;

}  // namespace

void ScheduledAction::cancel() {
    if (cancel_) std::exchange(cancel_, nullptr)();
}

Clock& Clock::main() {
    static MainLoopClock mainLoopClock;
    return installedMainClock ? *installedMainClock : mainLoopClock;
}

Clock::TimePoint MainLoopClock::now() const { return std::chrono::steady_clock::now(); }

ScheduledAction MainLoopClock::schedule(Duration delay, std::function<void()> action) {
    Q_ASSERT(QCoreApplication::instance());
    Q_ASSERT(QThread::currentThread() == QCoreApplication::instance()->thread());
    // Round up: a timer must never fire before the delay has passed.
    const auto milliseconds = std::chrono::ceil<std::chrono::milliseconds>(std::max(delay, Duration::zero()));
    // A QTimer counts in int milliseconds (about 24.8 days); a longer
    // delay would wrap round, so it is waited in steps.
    constexpr std::chrono::milliseconds longestStep{std::numeric_limits<int>::max()};
    if (milliseconds > longestStep) {
        auto step = std::make_shared<ScheduledAction>();
        *step = schedule(longestStep, [this, step, rest = delay - longestStep, action = std::move(action)]() mutable {
            *step = schedule(rest, std::move(action));
        });
        return ScheduledAction([step] { step->cancel(); });
    }
    auto* timer = new QTimer(QCoreApplication::instance());
    timer->setSingleShot(true);
    timer->setTimerType(Qt::PreciseTimer);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, action = std::move(action)] {
        timer->deleteLater();
        action();
    });
    timer->start(milliseconds);
    return ScheduledAction([guard = QPointer<QTimer>(timer)] {
        if (guard) {
            guard->stop();
            guard->deleteLater();
        }
    });
}

ScheduledAction ManualClock::schedule(Duration delay, std::function<void()> action) {
    const Key key{now_ + std::max(delay, Duration::zero()), nextOrder_++};
    pending_->emplace(key, std::move(action));
    return ScheduledAction([weak = std::weak_ptr<Pending>(pending_), key] {
        if (auto pending = weak.lock()) pending->erase(key);
    });
}

void ManualClock::advance(Duration by) {
    const TimePoint target = now_ + std::max(by, Duration::zero());
    while (!pending_->empty() && pending_->begin()->first.due <= target) {
        auto next = pending_->extract(pending_->begin());
        now_ = std::max(now_, next.key().due);
        next.mapped()();
    }
    now_ = target;
}

ScopedMainClock::ScopedMainClock(Clock& clock) : previous_(installedMainClock) { installedMainClock = &clock; }

ScopedMainClock::~ScopedMainClock() { installedMainClock = previous_; }

}  // namespace tavlin::platform
