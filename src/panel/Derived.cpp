#include "panel/Derived.h"

#include <QPointer>

namespace tavlin::panel {

void DerivedBase::invalidate() {
    if (!valid_) return;
    valid_ = false;
    emit changed();
}

void DerivedBase::track(const std::function<void()>& compute) {
    const QPointer<DerivedBase> self(this);
    store::ObservationTracking::track(compute, [self] {
        if (self) self->invalidate();
    });
    valid_ = true;
}

}  // namespace tavlin::panel
