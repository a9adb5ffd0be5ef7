#pragma once

#include "platform/DateComponents.h"
#include "platform/eventstore/Priority.h"

#include <QString>

#include <optional>

namespace tavlin::parsing {

enum class RecurrenceFrequency { daily, weekly, monthly, yearly };

enum class LocationTrigger { arrive, leave };

// What a reader of a quick-add line made of it.
struct ParsedQuickAdd {
    QString title;
    std::optional<platform::DateComponents> dueDateComponents;  // y/m/d, plus h:m when hasTime
    bool hasTime = false;
    std::optional<QString> matchedDateText;  // the stretch of the line the date came from
    std::optional<RecurrenceFrequency> recurrenceFrequency;
    int recurrenceInterval = 1;
    std::optional<QString> locationName;
    std::optional<double> locationRadius;  // metres
    LocationTrigger locationTrigger = LocationTrigger::arrive;
    platform::Priority priority = platform::Priority::none;
    std::optional<QString> listName;           // spelled as in the caller's list names
    bool dueDateIsBareCadenceDefault = false;  // only the model reader sets it

    // Equal in every field; texts compare as canonically equivalent.
    friend bool operator==(const ParsedQuickAdd& a, const ParsedQuickAdd& b);
    // Equal in what a stored reminder keeps: every field but matchedDateText
    // and dueDateIsBareCadenceDefault.
    bool isEquivalent(const ParsedQuickAdd& other) const;
};

}  // namespace tavlin::parsing
