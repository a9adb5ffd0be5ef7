#pragma once

#include "platform/DateDetector.h"
#include "platform/TextRange.h"
#include "platform/datedetector/Languages.h"
#include "platform/datedetector/Lexicon.h"
#include "platform/datedetector/Tokens.h"

#include <QString>

#include <optional>
#include <vector>

namespace tavlin::platform::datedetector {

// The day a phrase names, before it is placed against the reference.
struct WrittenDay {
    enum class Kind { relative, weekday, calendarDate, dayOfMonth, monthsAhead, weekend };
    Kind kind = Kind::relative;
    int offset = 0;   // relative: days from today; monthsAhead; weekend: weekends ahead
    int weekday = 0;  // weekday: 1 = Sunday … 7 = Saturday; dayOfMonth: the one it must fall on
    WeekdayMode mode = WeekdayMode::fromToday;  // weekday
    std::optional<int> year;                    // calendarDate
    int month = 0;                              // calendarDate
    int day = 0;                                // calendarDate, dayOfMonth
};

// The time of day a phrase names.
struct WrittenTime {
    int hour = 0;
    int minute = 0;
    int second = 0;
    bool midnight = false;  // 00:00 at the end of the day
    // Written in a form that the parser cannot roll to the next day
    // ("noon", "at 5", "17 Uhr"), so the detector takes its next occurrence.
    bool rollsForward = false;
    std::optional<int> zoneOffsetSeconds;  // east of UTC, when the text states a zone
    QString zoneIdentifier;
    int durationSeconds = 0;  // of a written range ("5-6pm")
    // The hour as said on a 12-hour dial, when nothing in the time itself
    // says which half of the day it is ("8", "8:30", "halb 8"): a part of
    // the day said beside it decides ("tonight at 8" is 20:00).
    std::optional<int> dialHour;
    bool afternoonGuessed = false;  // the hour is the dial hour plus 12 for want of anything saying so
    bool nextDay = false;           // after midnight of the day named ("Freitagnacht um 2")
};

struct Phrase {
    TextRange range;
    std::optional<WrittenDay> day;
    std::optional<WrittenTime> time;
    std::optional<int> minutesAhead;  // a span from now that ends at a time ("in 2 hours")
    bool partOfDay = false;           // the time is a part of the day's usual hour ("tonight")
};

// The date and time phrases of the text, in order, never overlapping: a day
// and a time written next to each other are one phrase.
std::vector<Phrase> findPhrases(const TokenizedText& text, const Lexicon& lexicon, LanguageMask active,
                                NumericDateOrder order);

}  // namespace tavlin::platform::datedetector
