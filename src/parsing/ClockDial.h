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

enum class Meridiem { none, am, pm };

std::vector<RuleDateCandidate> clockPhraseCandidates(const QString& text, platform::TextRange range,
                                                     platform::Date referenceDate, const platform::Calendar& calendar,
                                                     const ParserVocabulary& vocabulary);

struct DialTime {
    platform::DateComponents components;
    std::vector<DialReading> dialReadings;
};
// The next occurrence, from a minute before the reference on, of `hour`
// (1–12) moved by `minuteOffset`; without a meridiem also 12 hours later.
std::optional<DialTime> resolveDialTime(int hour, int minuteOffset, Meridiem meridiem, platform::Date referenceDate,
                                        const platform::Calendar& calendar);

// "3", or an hour word that the languages agreeing with the context words
// all read as the same hour.
std::optional<int> clockNumber(const QString& token, const std::optional<QString>& quarterWord,
                               const std::optional<QString>& directionWord, const std::optional<QString>& clockMarker,
                               const std::optional<QString>& halfWord);

}  // namespace tavlin::parsing::QuickAddParser
