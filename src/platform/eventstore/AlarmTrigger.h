#pragma once

#include "platform/Calendar.h"
#include "platform/Date.h"
#include "platform/eventstore/Reminder.h"

#include <cstdint>
#include <optional>
#include <unordered_map>

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

// alarmTriggerDate for many reminders, again and again: reading a due date
// in a zone is the costly part, and the due dates are mostly the same from
// one look to the next, so each is read once and kept. Main thread only.
class AlarmTriggerDates {
public:
    explicit AlarmTriggerDates(Calendar calendar) : calendar_(std::move(calendar)) {}

    std::optional<Date> of(const Reminder& reminder, const Alarm& alarm);
    const Calendar& calendar() const { return calendar_; }

private:
    struct Key {
        std::uint64_t fields = 0;
        const void* zone = nullptr;
        friend bool operator==(const Key&, const Key&) = default;
    };
    struct KeyHash {
        std::size_t operator()(const Key& key) const {
            return std::hash<std::uint64_t>()(key.fields) ^ std::hash<const void*>()(key.zone);
        }
    };
    struct Kept {
        std::optional<Date> date;
        std::optional<TimeZone> zone;  // holds the zone its key points at
    };
    std::optional<Date> date(const DateComponents& components);

    Calendar calendar_;
    std::unordered_map<Key, Kept, KeyHash> dates_;
};

}  // namespace tavlin::platform
