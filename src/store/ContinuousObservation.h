#pragma once

#include <functional>

// Keeps code in step with published properties (see ObservationTracking).
namespace tavlin::store::ContinuousObservation {

// Runs `apply` at once, and again at the next turn of the main loop after
// any property it read on its last run has changed; several changes in one
// turn lead to one run. It lasts for the life of the process.
void observe(std::function<void()> apply);

}  // namespace tavlin::store::ContinuousObservation
