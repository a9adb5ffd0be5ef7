#pragma once

#include "platform/DateDetector.h"
#include "platform/datedetector/Phrases.h"

#include <optional>

namespace tavlin::platform::datedetector {

// The instant a phrase names, read against the context's reference; nothing
// when it names no existing date (30 February).
std::optional<DetectedDate> resolvePhrase(const Phrase& phrase, const DetectionContext& context);

}  // namespace tavlin::platform::datedetector
