#pragma once

#include "parsing/DateCandidates.h"
#include "parsing/DateServices.h"
#include "parsing/ParserVocabulary.h"

#include <QString>

#include <optional>
#include <vector>

// A day and a time written apart, joined into one due date: "friday at
// quarter past 3", "the 5th … 10 to 6".
namespace tavlin::parsing::QuickAddParser {

struct PairedDate {
    platform::DateComponents components;
    platform::TextRange partnerRange;
};

std::optional<PairedDate> pairDateAndTime(const ChosenDate& chosen, const QString& text, const BoundDetector& detector,
                                          const std::vector<DateCandidate>& candidates, platform::Date referenceDate,
                                          const platform::Calendar& calendar, const ParserVocabulary& vocabulary,
                                          bool uses24HourClock);

// The first reading past 5 o'clock, else the first one.
std::optional<DialReading> preferredDialReading(const std::vector<DialReading>& readings);

// The first day `day` of a month from today on, at the preferred reading
// (or, today, at the first reading still ahead).
std::optional<platform::DateComponents> ordinalDayDate(int day, const std::vector<DialReading>& readings,
                                                       platform::Date referenceDate,
                                                       const platform::Calendar& calendar);

}  // namespace tavlin::parsing::QuickAddParser
