#include "store/RescheduleTarget.h"

#include "platform/DateComponents.h"

namespace tavlin::store {

namespace {

constexpr int sunday = 1;
constexpr int monday = 2;
constexpr int saturday = 7;

platform::Date nextWeekday(int weekday, platform::Date after, const platform::Calendar& calendar) {
    return calendar
        .nextDate(after, {.weekday = weekday}, platform::MatchingPolicy::nextTime, platform::RepeatedTimePolicy::first)
        .value_or(after);
}

}  // namespace

platform::Date weekendDate(platform::Date date, const platform::Calendar& calendar) {
    const int weekday = calendar.component(platform::CalendarComponent::Weekday, date);
    return weekday == saturday || weekday == sunday ? date : nextWeekday(saturday, date, calendar);
}

std::optional<platform::Date> targetDay(RescheduleTarget target, platform::Date startOfToday,
                                        const platform::Calendar& calendar) {
    switch (target) {
    case RescheduleTarget::today: return startOfToday;
    case RescheduleTarget::tomorrow: return calendar.dateByAdding(platform::CalendarComponent::Day, 1, startOfToday);
    case RescheduleTarget::thisWeekend: return weekendDate(startOfToday, calendar);
    case RescheduleTarget::nextWeek: return nextWeekday(monday, startOfToday, calendar);
    case RescheduleTarget::removeDate: return std::nullopt;
    }
    return std::nullopt;
}

}  // namespace tavlin::store
