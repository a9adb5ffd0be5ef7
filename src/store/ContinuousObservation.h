#pragma once

#include <functional>

class QObject;

// Keeps code in step with published properties (see ObservationTracking).
namespace tavlin::store::ContinuousObservation {

// Runs `apply` at once, and again at the next turn of the main loop after
// any property it read on its last run has changed; several changes in one
// turn lead to one run. It lasts for the life of the process.
void observe(std::function<void()> apply);

// The same for as long as `owner` lives (a view that renders what it
// reads): once it is gone, `apply` is neither run nor kept.
void observe(const QObject& owner, std::function<void()> apply);

}  // namespace tavlin::store::ContinuousObservation
