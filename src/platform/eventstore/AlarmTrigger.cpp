#include "platform/eventstore/AlarmTrigger.h"

namespace tavlin::platform {

std::optional<Date> alarmTriggerDate(const Reminder& reminder, const Alarm& alarm, const Calendar& calendar) {
    if (alarm.structuredLocation || !alarm.hasTrigger) return std::nullopt;
    if (alarm.absoluteDate) return alarm.absoluteDate;
    const std::optional<DateComponents>& base =
        alarm.relativeToStart ? reminder.startDateComponents : reminder.dueDateComponents;
    if (!base) return std::nullopt;
    const std::optional<Date> baseDate = calendar.date(*base);
    if (!baseDate) return std::nullopt;
    return baseDate->addingTimeInterval(alarm.relativeOffset);
}

}  // namespace tavlin::platform
