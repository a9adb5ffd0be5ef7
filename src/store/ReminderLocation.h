#pragma once

#include "platform/eventstore/Reminder.h"

#include <QString>

#include <optional>

// The place of a reminder: that of its first location alarm with a title.
namespace tavlin::store::ReminderLocation {

std::optional<QString> locationTitle(const platform::Reminder& reminder);

}  // namespace tavlin::store::ReminderLocation
