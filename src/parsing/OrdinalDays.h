#pragma once

#include "parsing/DateCandidates.h"
#include "parsing/DateServices.h"
#include "parsing/ParserVocabulary.h"

#include <QString>

#include <vector>

// "on the 5th", "the 21st", and "next week Friday": two dates the detector
// does not read itself.
namespace tavlin::parsing::QuickAddParser {

std::vector<RuleDateCandidate> ordinalDayCandidates(const QString& text, platform::TextRange range,
                                                    platform::Date referenceDate, const platform::Calendar& calendar,
                                                    const ParserVocabulary& vocabulary, const BoundDetector& detector,
                                                    const std::vector<platform::DetectedDate>& detectorMatches,
                                                    const std::vector<RuleDateCandidate>& earlierCandidates);

// Whether what follows an ordinal lets it be a date: the end, punctuation,
// or a date word ("the 5th of May"), but not "5th-floor" or "5th floor".
bool ordinalTailAllowsDate(const QString& tail, const ParserVocabulary& vocabulary);

// Whether the ordinal at `start` comes right after a time that opens the
// line ("9am the 3rd buy milk").
bool ordinalFollowsLeadingTime(qsizetype start, const QString& text, const BoundDetector& detector,
                               const std::vector<platform::DetectedDate>& detectorMatches,
                               const std::vector<RuleDateCandidate>& earlierCandidates,
                               const ParserVocabulary& vocabulary);

std::vector<RuleDateCandidate> nextWeekWeekdayCandidates(const QString& text, platform::TextRange range,
                                                         platform::Date referenceDate,
                                                         const platform::Calendar& calendar,
                                                         const ParserVocabulary& vocabulary,
                                                         const std::vector<platform::DetectedDate>& detectorMatches);

}  // namespace tavlin::parsing::QuickAddParser
