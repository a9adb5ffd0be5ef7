#pragma once

#include "platform/eventstore/Reminder.h"

#include <ostream>

// Readable reminders in test failure messages.
namespace tavlin::platform {

inline void PrintTo(const Reminder& reminder, std::ostream* out) {
    *out << "{id: " << reminder.identifier.toStdString() << ", title: " << reminder.title.toStdString()
         << ", notes: " << reminder.notes.toStdString() << ", list: " << reminder.listIdentifier.toStdString()
         << ", due: ";
    if (reminder.dueDateComponents) *out << *reminder.dueDateComponents;
    else *out << "none";
    *out << ", priority: " << reminder.priority << ", completed: " << reminder.completed
         << ", completionDate: " << (reminder.completionDate ? reminder.completionDate->secondsSince1970() : -1)
         << ", creationDate: " << (reminder.creationDate ? reminder.creationDate->secondsSince1970() : -1)
         << ", rules: " << reminder.recurrenceRules.size() << ", alarms: " << reminder.alarms.size() << "}";
}

}  // namespace tavlin::platform
