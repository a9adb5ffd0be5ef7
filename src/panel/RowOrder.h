#pragma once

#include "platform/Calendar.h"
#include "platform/eventstore/Reminder.h"

#include <optional>

namespace tavlin::panel {

// Whether reminder `a` stands before `b` in a section: the earlier due date
// first (the undated after every dated one), then the higher priority (none
// after every other), then the older, then the title, numbers counted by
// value ("Item 2" before "Item 10"). A strict weak order, as std::sort needs.
bool rowOrder(const platform::Reminder& a, const platform::Reminder& b, const platform::Calendar& calendar);

// The same with each reminder's due instant worked out beforehand
// (`rowOrderDue`), for sorting many: the instant is the costly part.
bool rowOrder(const platform::Reminder& a, platform::Date dueA, const platform::Reminder& b, platform::Date dueB);
// The due instant the order reads; after every real one when there is none.
platform::Date rowOrderDue(const platform::Reminder& reminder, const platform::Calendar& calendar);
// The same from the reminder's due instant found beforehand.
platform::Date rowOrderDue(std::optional<platform::Date> due);

}  // namespace tavlin::panel
