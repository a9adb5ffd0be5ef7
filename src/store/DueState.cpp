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

DueReckoning::DueReckoning(platform::Date now, const platform::Calendar& calendar)
    : now_(now), startOfToday_(calendar.startOfDay(now)), startOfTomorrow_(startOfToday_) {
    if (const std::optional<platform::DateInterval> today =
            calendar.dateInterval(platform::CalendarComponent::Day, now))
        startOfTomorrow_ = today->end();
    weekAhead_ = calendar.dateByAdding(platform::CalendarComponent::Day, 7, startOfToday_);
}

// A day is the stretch from its start to the next day's, so "in the same day
// as now" is a comparison with the two.
DueState DueReckoning::state(const std::optional<platform::DateComponents>& components,
                             std::optional<platform::Date> due) const {
    return state(components && components->hasTime(), components ? due : std::nullopt);
}

DueState DueReckoning::state(bool hasTime, std::optional<platform::Date> due) const {
    if (!due) return DueState::none();
    const platform::Date overdueBefore = hasTime ? now_ : startOfToday_;
    if (*due < overdueBefore) return DueState::overdue();
    if (*due >= startOfToday_ && *due < startOfTomorrow_) return DueState::today();
    return DueState::upcoming(*due);
}

}  // namespace tavlin::store
