#pragma once

#include "parsing/DateCandidates.h"
#include "parsing/ParserVocabulary.h"
#include "platform/Calendar.h"
#include "platform/Date.h"

#include <QString>

#include <vector>

// Spans from now: "in 20 minutes", "within 2 weeks", "in half an hour".
namespace tavlin::parsing::QuickAddParser {

struct DurationCandidates {
    std::vector<RuleDateCandidate> candidates;
    // Phrases whose words belong to no single language: not durations, but
    // the date stage still weighs detector matches against them.
    std::vector<platform::TextRange> rejectedRanges;
};

DurationCandidates durationCandidates(const QString& text, platform::TextRange range, platform::Date referenceDate,
                                      const platform::Calendar& calendar, const ParserVocabulary& vocabulary);

}  // namespace tavlin::parsing::QuickAddParser
