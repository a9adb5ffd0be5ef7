#pragma once

#include "platform/eventstore/Reminder.h"

#include <QString>
#include <QStringList>

#include <optional>

// A stored reminder written back as one editable quick-add line, and two
// small queries over stored reminders.
namespace tavlin::parsing::ReminderEditing {

// "Pay rent 1 Apr 2026 every month !! #home". `listTitle` is the title of
// the reminder's list; the "#" tag is written only when it is in `listNames`.
QString quickAddText(const platform::Reminder& reminder, const std::optional<QString>& listTitle,
                     const QStringList& listNames);

// "3 Mar 2026", or "3 Mar 2026 14:05" when the due date has a time.
std::optional<QString> dueDateText(const platform::Reminder& reminder);

// The place of the first location alarm that has a title.
std::optional<platform::StructuredLocation> alarmLocation(const platform::Reminder& reminder);

// Two titles the same for an edit: alike apart from case, accents, the
// apostrophe's form and surrounding blanks; an empty first title matches none.
bool titlesMatch(const QString& a, const QString& b);

}  // namespace tavlin::parsing::ReminderEditing
