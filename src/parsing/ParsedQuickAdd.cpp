#include "parsing/ParsedQuickAdd.h"

#include "platform/Text.h"

namespace tavlin::parsing {

namespace {

using platform::canonicallyEqual;

bool canonicallyEqual(const std::optional<QString>& a, const std::optional<QString>& b) {
    if (a.has_value() != b.has_value()) return false;
    return !a || canonicallyEqual(*a, *b);
}

}  // namespace

bool ParsedQuickAdd::isEquivalent(const ParsedQuickAdd& other) const {
    return canonicallyEqual(title, other.title) && dueDateComponents == other.dueDateComponents &&
           hasTime == other.hasTime && recurrenceFrequency == other.recurrenceFrequency &&
           recurrenceInterval == other.recurrenceInterval && canonicallyEqual(locationName, other.locationName) &&
           locationRadius == other.locationRadius && locationTrigger == other.locationTrigger &&
           priority == other.priority && canonicallyEqual(listName, other.listName);
}

bool operator==(const ParsedQuickAdd& a, const ParsedQuickAdd& b) {
    return a.isEquivalent(b) && canonicallyEqual(a.matchedDateText, b.matchedDateText) &&
           a.dueDateIsBareCadenceDefault == b.dueDateIsBareCadenceDefault;
}

}  // namespace tavlin::parsing
