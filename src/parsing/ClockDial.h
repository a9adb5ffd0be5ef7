#pragma once

#include "parsing/DateCandidates.h"
#include "parsing/ParserVocabulary.h"
#include "platform/Calendar.h"
#include "platform/Date.h"

#include <QString>

#include <optional>
#include <vector>

// Clock times read the way a dial is read aloud: "quarter past 3",
// "at 10 to 6", "um halb 5".
namespace tavlin::parsing::QuickAddParser {

std::vector<RuleDateCandidate> clockPhraseCandidates(const QString& text, platform::TextRange range,
                                                     platform::Date referenceDate, const platform::Calendar& calendar,
                                                     const ParserVocabulary& vocabulary);

// "3", or an hour word that the languages agreeing with the context words
// all read as the same hour.
std::optional<int> clockNumber(const QString& token, const std::optional<QString>& quarterWord,
                               const std::optional<QString>& directionWord, const std::optional<QString>& clockMarker,
                               const std::optional<QString>& halfWord);

}  // namespace tavlin::parsing::QuickAddParser
