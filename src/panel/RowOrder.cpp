#include "panel/RowOrder.h"

#include "platform/DueDate.h"
#include "platform/Text.h"

#include <limits>

namespace tavlin::panel {

namespace {

// What a missing date counts as: later than any real one.
constexpr platform::Date distantFuture = platform::Date::fromSecondsSince1970(std::numeric_limits<double>::infinity());
constexpr int noPriorityRank = 10;  // after 9, the lowest stored priority

int priorityRank(int priority) { return priority == 0 ? noPriorityRank : priority; }

}  // namespace

platform::Date rowOrderDue(const platform::Reminder& reminder, const platform::Calendar& calendar) {
    return rowOrderDue(platform::DueDate::date(reminder.dueDateComponents, calendar));
}

platform::Date rowOrderDue(std::optional<platform::Date> due) { return due.value_or(distantFuture); }

bool rowOrder(const platform::Reminder& a, const platform::Reminder& b, const platform::Calendar& calendar) {
    return rowOrder(a, rowOrderDue(a, calendar), b, rowOrderDue(b, calendar));
}

bool rowOrder(const platform::Reminder& a, platform::Date dueA, const platform::Reminder& b, platform::Date dueB) {
    if (dueA != dueB) return dueA < dueB;
    const int priorityA = priorityRank(a.priority);
    const int priorityB = priorityRank(b.priority);
    if (priorityA != priorityB) return priorityA < priorityB;
    const platform::Date createdA = a.creationDate.value_or(distantFuture);
    const platform::Date createdB = b.creationDate.value_or(distantFuture);
    if (createdA != createdB) return createdA < createdB;
    return platform::localizedStandardCompare(a.title, b.title) < 0;
}

}  // namespace tavlin::panel
