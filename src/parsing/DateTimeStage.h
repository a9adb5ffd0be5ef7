#pragma once

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

// The due date and time of the line, taken out of `text`.
DateTimeResult extractDateTime(QString& text, platform::Date referenceDate, const platform::Calendar& calendar,
                               const ParserVocabulary& vocabulary, bool isEditing,
                               const std::optional<QString>& previousDateText, bool uses24HourClock);

}  // namespace tavlin::parsing::QuickAddParser
