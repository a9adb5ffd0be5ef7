#include "store/ContinuousObservation.h"

#include "platform/Clock.h"
#include "store/ObservationTracking.h"

#include <QCoreApplication>
#include <QPointer>
#include <QThread>

namespace tavlin::store::ContinuousObservation {

void observe(std::function<void()> apply) {
    Q_ASSERT(QThread::currentThread() == QCoreApplication::instance()->thread());
    ObservationTracking::track(apply, [apply] {
        // The next turn, so that a burst of changes has settled.
        platform::Clock::main().schedule(platform::Clock::Duration::zero(), [apply] { observe(apply); });
    });
}

void observe(const QObject& owner, std::function<void()> apply) {
    const QPointer<const QObject> alive(&owner);
    observe([alive, apply = std::move(apply)] {
        if (alive) apply();
    });
}

}  // namespace tavlin::store::ContinuousObservation
