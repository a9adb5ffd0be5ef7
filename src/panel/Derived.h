#pragma once

#include "store/ObservationTracking.h"

#include <QObject>

#include <functional>
#include <optional>
#include <utility>

namespace tavlin::panel {

// The signal half of Derived.
class DerivedBase : public QObject {
    Q_OBJECT

public:
    // Worked out anew at the next read.
    void invalidate();

signals:
    // One of the published properties it was worked out from changed.
    void changed();

protected:
    // Runs `compute`, noting what it reads; a change of any of that makes
    // the value stale.
    void track(const std::function<void()>& compute);
    // Notes the read for an observer around the reader.
    void published() const { store::ObservationTracking::access(this, &DerivedBase::changed); }

    bool valid_ = false;
};

// A value worked out from published properties (store::observed), kept until
// one of them changes: however many readers ask, it is worked out once per
// change of what it read. Its own reads are published, so that a view that
// renders it is told when it goes stale. Main thread only.
template <class T>
class Derived final : public DerivedBase {
public:
    explicit Derived(std::function<T()> compute) : compute_(std::move(compute)) {}

    const T& get() {
        published();
        if (!valid_) track([this] { value_ = compute_(); });
        return *value_;
    }

private:
    std::function<T()> compute_;
    std::optional<T> value_;
};

}  // namespace tavlin::panel
