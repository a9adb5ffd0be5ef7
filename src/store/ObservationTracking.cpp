#include "store/ObservationTracking.h"

#include <utility>

namespace tavlin::store {

void ObservationTracking::Record::changed() {
    // Once per tracking: later signals of the same burst find nothing to do.
    if (!onChange_) return;
    for (const QMetaObject::Connection& connection : connections_) QObject::disconnect(connection);
    connections_.clear();
    std::exchange(onChange_, nullptr)();
}

void ObservationTracking::track(const std::function<void()>& apply, std::function<void()> onChange) {
    const std::shared_ptr<Record> outer = std::exchange(current_, std::make_shared<Record>(std::move(onChange)));
    struct Restore {
        const std::shared_ptr<Record>& outer;
        ~Restore() { current_ = outer; }
    } restore{outer};
    apply();
}

}  // namespace tavlin::store
