#pragma once

#include "platform/Calendar.h"
#include "platform/Date.h"
#include "platform/DateCache.h"
#include "platform/eventstore/Reminder.h"

#include <optional>

namespace tavlin::platform {

// When a reminder's alarm goes off: its absolute date, or its offset from
// the due date (from the start date when it says so), floating and
// date-only times read in `calendar`'s zone. Nothing for an alarm at a
// place, one without a trigger, or an offset from a date the reminder
// lacks.
std::optional<Date> alarmTriggerDate(const Reminder& reminder, const Alarm& alarm, const Calendar& calendar);

// Whether the alarm's firing at `triggerDate` has been acknowledged.
inline bool isAcknowledged(const Alarm& alarm, Date triggerDate) {
    return alarm.acknowledged && *alarm.acknowledged >= triggerDate;
}

// alarmTriggerDate for many reminders, again and again: the due dates are
// mostly the same from one look to the next, so each is read once and
// kept. Main thread only.
class AlarmTriggerDates {
public:
    explicit AlarmTriggerDates(Calendar calendar) : dates_(std::move(calendar)) {}

    std::optional<Date> of(const Reminder& reminder, const Alarm& alarm);
    const Calendar& calendar() const { return dates_.calendar(); }

private:
    DateCache dates_;
};

}  // namespace tavlin::platform
