#pragma once

#include "platform/DateDetector.h"
#include "platform/datedetector/Phrases.h"

#include <optional>

#include <unicode/uversion.h>

U_NAMESPACE_BEGIN
class Calendar;
U_NAMESPACE_END

namespace tavlin::platform::datedetector {

// Places the phrases of one search on the context's calendar, on an ICU
// calendar that its thread keeps for the searches that follow.
class Resolver {
public:
    explicit Resolver(const DetectionContext& context) : context_(context) {}

    // The instant the phrase names; nothing when it names no existing date
    // (30 February).
    std::optional<DetectedDate> resolve(const Phrase& phrase);

private:
    icu::Calendar& calendar();

    const DetectionContext& context_;
    icu::Calendar* calendar_ = nullptr;  // the thread's kept calendar, once looked up
};

}  // namespace tavlin::platform::datedetector
