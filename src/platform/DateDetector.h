#pragma once

#include "platform/Calendar.h"
#include "platform/Date.h"
#include "platform/Locale.h"
#include "platform/TextRange.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <vector>

namespace tavlin::platform {

// The order in which a region writes the numbers of a date ("12/5").
enum class NumericDateOrder { monthDayYear, dayMonthYear, yearMonthDay };

// From the locale's short date pattern: en-US gives month first, en-GB and
// most of Europe day first, sv and hu year first.
NumericDateOrder numericDateOrder(const Locale& locale);

// What the phrases of one search are read against.
struct DetectionContext {
    Date reference;         // the moment that relative words count from
    Calendar calendar;      // its zone and week rules place the days
    QStringList languages;  // codes of the languages to read ("de", "en"); English is always read
    NumericDateOrder numericOrder = NumericDateOrder::dayMonthYear;
};

// One date or time phrase of a text.
struct DetectedDate {
    TextRange range;
    Date date;  // 12:00 local when the phrase names no time
    // What the phrase itself states. The parser decides from the matched
    // text instead; these serve the detector's own checks.
    bool dayWritten = false;
    bool timeWritten = false;
    // The time is only the usual hour of a part of the day ("tonight",
    // "Sonntagabend"), not a clock time.
    bool partOfDay = false;
    // An hour from 1 to 5 read as p.m. for want of anything saying which
    // half of the day it is ("5:30" is 17:30).
    bool afternoonGuessed = false;
    std::optional<QString> zoneIdentifier;  // only when the text states a zone ("Z", "+02:00", "UTC")
    double durationSeconds = 0;             // above 0 only for a written range ("5-6pm")

    friend bool operator==(const DetectedDate&, const DetectedDate&) = default;
};

// Finds the dates and times written in a text, in the twenty languages of
// the quick-add language. Immutable once made: its const members may run
// on any thread.
class DateDetector {
public:
    // The detector over ICU's calendar names; nothing when ICU cannot give
    // even the English ones.
    static std::unique_ptr<DateDetector> create();
    virtual ~DateDetector() = default;

    // The phrases that lie wholly inside `range` (text outside it counts as
    // absent), in order of location and never overlapping. A phrase that
    // names no existing date (30 February, 25:00) gives no match.
    virtual std::vector<DetectedDate> matches(const QString& text, TextRange range,
                                              const DetectionContext& context) const = 0;
    std::optional<DetectedDate> firstMatch(const QString& text, TextRange range, const DetectionContext& context) const;
};

}  // namespace tavlin::platform
