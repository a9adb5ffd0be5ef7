#pragma once

#include "platform/Date.h"
#include "platform/eventstore/Reminder.h"

#include <QSet>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

// The list of reminders done today as the panel shows it.
namespace tavlin::store::DoneToday {

using DateOf = std::function<std::optional<platform::Date>(const platform::Reminder&)>;

// The reminders of the included lists (empty: every list; a reminder without
// a list always stays), the latest `dateOf` first; a reminder without a date
// comes last, and equal dates keep their order.
std::vector<platform::Reminder> filterIncludedLists(const std::vector<platform::Reminder>& reminders,
                                                    const QSet<QString>& includedLists, const DateOf& dateOf);
// The same over reminders held elsewhere, without copying them.
std::vector<const platform::Reminder*> filterIncludedLists(const std::vector<const platform::Reminder*>& reminders,
                                                           const QSet<QString>& includedLists, const DateOf& dateOf);

}  // namespace tavlin::store::DoneToday
