#pragma once

#include "parsing/DateServices.h"
#include "parsing/ParserVocabulary.h"
#include "platform/Calendar.h"
#include "platform/Date.h"
#include "platform/DateComponents.h"

#include <QString>

#include <optional>

namespace tavlin::parsing::QuickAddParser {

struct DateTimeResult {
    std::optional<platform::DateComponents> components;  // y/m/d, and h:m when hasTime
    bool hasTime = false;
    std::optional<QString> matchedText;
};

// The one due date of the line, with or without a time, taken out of `text`
// together with the marker word before it. The detector's dates and the
// rules' dates compete; the one that stands last in the line and gives a
// usable date wins, and a time or day written elsewhere joins it.
DateTimeResult extractDateTime(QString& text, platform::Date referenceDate, const platform::Calendar& calendar,
                               const ParserVocabulary& vocabulary, bool isEditing,
                               const std::optional<QString>& previousDateText, bool uses24HourClock,
                               const BoundDetector& detector);

}  // namespace tavlin::parsing::QuickAddParser
