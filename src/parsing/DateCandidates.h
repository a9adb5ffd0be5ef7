#pragma once

#include "platform/DateComponents.h"
#include "platform/DateDetector.h"
#include "platform/TextRange.h"

#include <cstdint>
#include <optional>
#include <variant>
#include <vector>

namespace tavlin::parsing {

// An (hour, minute) a clock phrase can stand for on a 12-hour dial.
struct DialReading {
    int hour = 0;
    int minute = 0;
    friend bool operator==(const DialReading&, const DialReading&) = default;
};

// A date that one of the parser's own rules read, already resolved against
// the reference moment.
struct RuleDateCandidate {
    enum class Kind : std::uint8_t { duration, ordinal, clock, day };

    platform::TextRange range;
    platform::DateComponents components;
    bool hasTime = false;
    Kind kind = Kind::day;
    std::vector<DialReading> dialReadings;  // clock phrases only
};

// A date the detector read or one of the rules read.
using DateCandidate = std::variant<platform::DetectedDate, RuleDateCandidate>;

inline platform::TextRange rangeOf(const DateCandidate& candidate) {
    return std::visit([](const auto& c) { return c.range; }, candidate);
}

// The date the date stage chose, as the pairing step takes it.
struct ChosenDate {
    platform::TextRange range;
    platform::DateComponents components;
    bool hasTime = false;
    std::optional<RuleDateCandidate::Kind> kind;  // none for a detector date
    std::vector<DialReading> dialReadings;
};

}  // namespace tavlin::parsing
