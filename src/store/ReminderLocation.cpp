#include "store/ReminderLocation.h"

#include "parsing/ReminderEditing.h"

namespace tavlin::store::ReminderLocation {

std::optional<QString> locationTitle(const platform::Reminder& reminder) {
    const std::optional<platform::StructuredLocation> location = parsing::ReminderEditing::alarmLocation(reminder);
    return location ? std::optional(location->title) : std::nullopt;
}

}  // namespace tavlin::store::ReminderLocation
