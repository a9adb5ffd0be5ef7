#pragma once

#include "parsing/DateCandidates.h"
#include "parsing/ParsedQuickAdd.h"
#include "parsing/ParserVocabulary.h"
#include "platform/Calendar.h"
#include "platform/Date.h"
#include "platform/DateDetector.h"
#include "platform/TextRange.h"

#include <QString>

#include <optional>
#include <vector>

namespace tavlin::parsing {

// The date detector bound to one parse: its reference, its calendar and the
// languages of its vocabulary. Without a detector it finds nothing.
struct BoundDetector {
    const platform::DateDetector* detector = nullptr;
    platform::DetectionContext context;

    bool exists() const { return detector != nullptr; }
    // Over the whole text.
    std::vector<platform::DetectedDate> matches(const QString& text) const;
    std::optional<platform::DetectedDate> firstMatch(const QString& text) const;
};

namespace QuickAddParser {

// The detector that the parser's stages share, made on first use; null
// when it cannot be made, and the stages then go without it.
const platform::DateDetector* dateDetector();

// Whether the user's locale keeps a 24-hour clock, and the order in which it
// writes numeric dates; each read once per process.
bool hourCyclePreference();
platform::NumericDateOrder numericDateOrderPreference();

// `detector` (normally dateDetector()) reading the vocabulary's languages
// against this reference and calendar.
BoundDetector bindDateDetector(const platform::DateDetector* detector, platform::Date reference,
                               const platform::Calendar& calendar, const ParserVocabulary& vocabulary);

// The hour and minute of a date, read together: every reading of the
// calendar costs a lot more than the fields it gives.
DialReading hourAndMinute(const platform::Calendar& calendar, platform::Date date);

// The fields a due date keeps: year, month and day, and with `withTime` the
// hour and minute too.
platform::DateComponents dueComponents(const platform::Calendar& calendar, platform::Date date, bool withTime);

// A cadence read without a date of its own falls due today, marked so that
// the date can be told from one the user wrote.
void dueTodayForBareCadence(ParsedQuickAdd& reading, platform::Date now, const platform::Calendar& calendar);

// calendar.startOfDay(reference), which the stages of one parse ask for
// again and again: each thread keeps the last answer.
platform::Date startOfReferenceDay(const platform::Calendar& calendar, platform::Date reference);

// calendar.nextDate(after, matching, policy, repeated), for the days that
// the stages find again at each keystroke (the 5th, a weekday, one of next
// week's): each thread keeps the last answers.
std::optional<platform::Date> keptNextDate(const platform::Calendar& calendar, platform::Date after,
                                           const platform::DateComponents& matching, platform::MatchingPolicy policy,
                                           platform::RepeatedTimePolicy repeated = platform::RepeatedTimePolicy::first);

// A minute before the reference, from which on a time still counts as ahead:
// times are read to the minute, and the one now running is not yet past.
// The fraction of the reference's second does not count: a time written
// to the minute is never read as more than 60 seconds back for it.
platform::Date earliestAhead(platform::Date reference);

// The first day numbered `day` from the start of the reference's day on,
// today included.
std::optional<platform::Date> firstDayNumbered(int day, platform::Date reference, const platform::Calendar& calendar);

// A written hour kept in the morning for a 24-hour clock: a date at 17:30
// read from "5:30" becomes 05:30, one read from "5h" or "5u" 05:00. Nothing
// when no correction applies (an am/pm mark, "17:30", "5 uur").
std::optional<platform::Date> writtenHourCorrection(platform::Date date, const QString& text,
                                                    const platform::Calendar& calendar);
// The detector's date with that correction, when the clock keeps 24 hours
// and one applies. Only an afternoon the detector guessed is corrected: one
// that a word of the text gave ("ce soir à 8h") stays.
platform::Date clockCorrected(const platform::DetectedDate& match, const QString& text,
                              const platform::Calendar& calendar, bool uses24HourClock);

// The text with each range replaced by as many blanks as it is long, so that
// every other position stays where it was.
QString blankingRanges(const std::vector<platform::TextRange>& ranges, const QString& text);

}  // namespace QuickAddParser

}  // namespace tavlin::parsing
