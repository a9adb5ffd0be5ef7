#pragma once

#include "platform/Calendar.h"
#include "platform/eventstore/Reminder.h"

namespace tavlin::panel {

// Whether reminder `a` stands before `b` in a section: the earlier due date
// first (the undated after every dated one), then the higher priority (none
// after every other), then the older, then the title, numbers counted by
// value ("Item 2" before "Item 10"). A strict weak order, as std::sort needs.
bool rowOrder(const platform::Reminder& a, const platform::Reminder& b, const platform::Calendar& calendar);

}  // namespace tavlin::panel
