#pragma once

#include "parsing/ParsedQuickAdd.h"
#include "parsing/ParserVocabulary.h"
#include "platform/Calendar.h"
#include "platform/Date.h"
#include "platform/TextRange.h"

#include <optional>
#include <vector>

namespace tavlin::parsing::QuickAddParser {

struct RecurrenceMatch {
    RecurrenceFrequency frequency;
    int interval = 1;
    std::optional<platform::Date> weekdayAnchor;  // the first day of a weekday cadence, at its start
};

// "every 2 weeks", "every monday": taken out of `text`; `scanText` is the
// text with place names blanked, where the phrase is looked for.
std::optional<RecurrenceMatch> extractRecurrence(QString& text, const QString& scanText, platform::Date referenceDate,
                                                 const platform::Calendar& calendar,
                                                 const ParserVocabulary& vocabulary);

// A trailing "daily", "weekly", … taken out of `text`.
std::optional<RecurrenceFrequency> extractCadenceAdverb(QString& text, const QString& scanText,
                                                        const ParserVocabulary& vocabulary);

// Whether the rest of the line from `from` is one single connector word
// ("every week to").
bool restIsOneConnector(const QString& text, qsizetype from, const ParserVocabulary& vocabulary);

// `range` widened back over one marker word before it ("on every monday",
// "at 5"), unless that word would reach into a protected range.
platform::TextRange includePrecedingMarker(platform::TextRange range, const QString& text,
                                           const ParserVocabulary& vocabulary,
                                           const std::vector<platform::TextRange>& protectedRanges);

// The matches of the grammar's every-phrase pattern in `text`, in order; the
// pattern is built here when the vocabulary does not carry it compiled.
std::vector<platform::RegexMatch> everyPhraseMatches(const RecurrenceGrammar& grammar, const QString& text);

}  // namespace tavlin::parsing::QuickAddParser
