#include "store/DueState.h"

#include "platform/DueDate.h"

namespace tavlin::store {

namespace {

DueState::Kind kindOf(const platform::DateComponents& components, platform::Date due, platform::Date now,
                      const platform::Calendar& calendar) {
    const bool dateOnly = !components.hasTime();
    const platform::Date overdueBefore = dateOnly ? calendar.startOfDay(now) : now;
    if (due < overdueBefore) return DueState::Kind::overdue;
    if (calendar.isDateInSameDay(due, now)) return DueState::Kind::today;
    return DueState::Kind::upcoming;
}

}  // namespace

DueState::DueState(const std::optional<platform::DateComponents>& components, platform::Date now,
                   const platform::Calendar& calendar)
    : kind_(Kind::none) {
    const std::optional<platform::Date> due = platform::DueDate::date(components, calendar);
    if (!due) return;
    kind_ = kindOf(*components, *due, now, calendar);
    if (kind_ == Kind::upcoming) upcomingDate_ = due;
}

}  // namespace tavlin::store
