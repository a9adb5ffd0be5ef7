#pragma once

#include "parsing/ParsedQuickAdd.h"
#include "parsing/ParserVocabulary.h"
#include "platform/Calendar.h"
#include "platform/Date.h"

#include <optional>

namespace tavlin::parsing::QuickAddParser {

struct RecurrenceMatch {
    RecurrenceFrequency frequency;
    int interval = 1;
    std::optional<platform::Date> weekdayAnchor;  // the next day of a weekday cadence
};

// "every 2 weeks", "every monday": taken out of `text`; `scanText` is the
// text with place names blanked, where the phrase is looked for.
std::optional<RecurrenceMatch> extractRecurrence(QString& text, const QString& scanText, platform::Date referenceDate,
                                                 const platform::Calendar& calendar,
                                                 const ParserVocabulary& vocabulary);

// A trailing "daily", "weekly", … taken out of `text`.
std::optional<RecurrenceFrequency> extractCadenceAdverb(QString& text, const QString& scanText,
                                                        const ParserVocabulary& vocabulary);

}  // namespace tavlin::parsing::QuickAddParser
