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

std::vector<RuleDateCandidate> nextWeekWeekdayCandidates(const QString& text, platform::TextRange range,
                                                         platform::Date referenceDate,
                                                         const platform::Calendar& calendar,
                                                         const ParserVocabulary& vocabulary,
                                                         const std::vector<platform::DetectedDate>& detectorMatches);

}  // namespace tavlin::parsing::QuickAddParser
