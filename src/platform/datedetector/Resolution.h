#pragma once

#include "platform/DateDetector.h"
#include "platform/datedetector/Phrases.h"

#include <memory>
#include <optional>

#include <unicode/uversion.h>

U_NAMESPACE_BEGIN
class Calendar;
U_NAMESPACE_END

namespace tavlin::platform::datedetector {

// Places the phrases of one search on the context's calendar. It works on
// one ICU calendar of its own, made when the first phrase needs it.
class Resolver {
public:
    explicit Resolver(const DetectionContext& context);
    ~Resolver();

    // The instant the phrase names; nothing when it names no existing date
    // (30 February).
    std::optional<DetectedDate> resolve(const Phrase& phrase);

private:
    icu::Calendar& calendar();

    const DetectionContext& context_;
    std::unique_ptr<icu::Calendar> calendar_;
};

}  // namespace tavlin::platform::datedetector
