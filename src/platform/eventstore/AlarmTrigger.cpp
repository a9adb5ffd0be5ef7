#include "platform/eventstore/AlarmTrigger.h"

#include "platform/DateComponents.h"

namespace tavlin::platform {

namespace {

template <class ReadDate>
std::optional<Date> triggerDate(const Reminder& reminder, const Alarm& alarm, ReadDate&& read) {
    if (alarm.structuredLocation || !alarm.hasTrigger) return std::nullopt;
    if (alarm.absoluteDate) return alarm.absoluteDate;
    const std::optional<DateComponents>& base =
        alarm.relativeToStart ? reminder.startDateComponents : reminder.dueDateComponents;
    if (!base) return std::nullopt;
    const std::optional<Date> baseDate = read(*base);
    if (!baseDate) return std::nullopt;
    return baseDate->addingTimeInterval(alarm.relativeOffset);
}

}  // namespace

std::optional<Date> alarmTriggerDate(const Reminder& reminder, const Alarm& alarm, const Calendar& calendar) {
    return triggerDate(reminder, alarm, [&](const DateComponents& c) { return calendar.date(c); });
}

std::optional<Date> AlarmTriggerDates::of(const Reminder& reminder, const Alarm& alarm) {
    return triggerDate(reminder, alarm, [this](const DateComponents& c) { return dates_.date(c); });
}

}  // namespace tavlin::platform
