#pragma once

#include "platform/Date.h"
#include "platform/DateComponents.h"
#include "platform/eventstore/Priority.h"

#include <QString>

#include <optional>
#include <vector>

// The reminder as the event store hands it out: a plain value. The store
// gives copies; an edit is a copy changed and saved with EventStore::save.

namespace tavlin::platform {

// One day of the week in a recurrence rule: every Monday (weekNumber 0), the
// second Monday (2), the last Monday (-1) of the month or year.
struct RecurrenceDayOfWeek {
    int weekday = 2;     // 1 = Sunday … 7 = Saturday
    int weekNumber = 0;  // -53 … 53; 0 = every such day

    friend bool operator==(const RecurrenceDayOfWeek&, const RecurrenceDayOfWeek&) = default;
};

// Where a series stops: at a date (inclusive) or after a number of
// occurrences, the first one included.
struct RecurrenceEnd {
    // A day, or a day and a time; the UTC zone when the rule names one.
    std::optional<DateComponents> date;
    int occurrenceCount = 0;  // used when there is no date

    friend bool operator==(const RecurrenceEnd&, const RecurrenceEnd&) = default;
};

struct RecurrenceRule {
    // Daily to yearly are numbered 0 to 3, as the rest of the system counts
    // them; the finer ones have no counterpart there and are only kept.
    enum class Frequency { daily = 0, weekly = 1, monthly = 2, yearly = 3, hourly = 4, minutely = 5, secondly = 6 };

    Frequency frequency = Frequency::daily;
    int interval = 1;
    std::optional<RecurrenceEnd> end;
    std::vector<RecurrenceDayOfWeek> daysOfTheWeek;
    std::vector<int> daysOfTheMonth;   // 1 … 31, -1 … -31 from the end
    std::vector<int> monthsOfTheYear;  // 1 … 12
    std::vector<int> weeksOfTheYear;   // 1 … 53, -1 … -53
    std::vector<int> daysOfTheYear;    // 1 … 366, -1 … -366
    std::vector<int> setPositions;     // -366 … 366

    friend bool operator==(const RecurrenceRule&, const RecurrenceRule&) = default;
};

struct GeoLocation {
    double latitude = 0;
    double longitude = 0;

    friend bool operator==(const GeoLocation&, const GeoLocation&) = default;
};

struct StructuredLocation {
    QString title;
    std::optional<GeoLocation> geoLocation;
    double radius = 0;  // metres; 0 = not set

    friend bool operator==(const StructuredLocation&, const StructuredLocation&) = default;
};

enum class AlarmProximity { none = 0, enter = 1, leave = 2 };

// An alarm fires at an absolute date, at an offset from the due date (or
// from the start), or on arriving at or leaving a structured location.
struct Alarm {
    std::optional<Date> absoluteDate;
    double relativeOffset = 0;  // seconds from the due date; used without an absolute date or a location
    std::optional<StructuredLocation> structuredLocation;
    AlarmProximity proximity = AlarmProximity::none;
    bool relativeToStart = false;  // the offset counts from the start date, not the due date
    // Stands in for an alarm put off by "remind me later" (a snooze), at its absolute date.
    bool snooze = false;
    // False when the file's alarm has no trigger that can be read: it never fires.
    bool hasTrigger = true;
    // Up to when the alarm has been acknowledged (shown, or dismissed by
    // another client): a firing at or before it is done. This is the state
    // of its delivery, not part of what the alarm is, so equality leaves it
    // out: an edit that keeps the alarm keeps its acknowledgement.
    std::optional<Date> acknowledged;

    static Alarm at(Date date) { return {.absoluteDate = date}; }
    static Alarm on(StructuredLocation location, AlarmProximity proximity) {
        return {.structuredLocation = std::move(location), .proximity = proximity};
    }

    friend bool operator==(const Alarm& a, const Alarm& b) {
        return a.absoluteDate == b.absoluteDate && a.relativeOffset == b.relativeOffset &&
               a.structuredLocation == b.structuredLocation && a.proximity == b.proximity &&
               a.relativeToStart == b.relativeToStart && a.snooze == b.snooze && a.hasTrigger == b.hasTrigger;
    }
};

struct Reminder {
    QString identifier;      // stable across launches; the item's UID
    QString title;           // empty when it has none
    QString notes;           // empty when it has none
    QString listIdentifier;  // empty when it belongs to no list yet
    // Date-only, or with hour and minute; with a time zone, or floating.
    std::optional<DateComponents> dueDateComponents;
    // The start (DTSTART) another program gave it, which alarms may count
    // from; read, never written: the store keeps it in step with the due date.
    std::optional<DateComponents> startDateComponents;
    int priority = 0;  // as stored: 0 none, 1 highest … 9 lowest; priorityLevel() reads it
    // Saving a completed reminder without a completion date stamps the save's
    // time; saving it reopened clears the date.
    bool completed = false;
    std::optional<Date> completionDate;
    std::optional<Date> creationDate;  // set by the first save
    std::vector<RecurrenceRule> recurrenceRules;
    std::vector<Alarm> alarms;

    friend bool operator==(const Reminder&, const Reminder&) = default;
};

// The reminders of a vector as pointers, for work that picks and orders
// them without copying; and the picked ones copied back out.
inline std::vector<const Reminder*> pointersTo(const std::vector<Reminder>& reminders) {
    std::vector<const Reminder*> pointers;
    pointers.reserve(reminders.size());
    for (const Reminder& reminder : reminders) pointers.push_back(&reminder);
    return pointers;
}
inline std::vector<Reminder> copiesOf(const std::vector<const Reminder*>& reminders) {
    std::vector<Reminder> copies;
    copies.reserve(reminders.size());
    for (const Reminder* reminder : reminders) copies.push_back(*reminder);
    return copies;
}

// An account that holds lists.
struct ReminderSource {
    QString identifier;
    QString title;
    // What kind of account, numbered as other reminder clients number them;
    // 0 (local) is a folder on this machine.
    int sourceType = 0;

    friend bool operator==(const ReminderSource&, const ReminderSource&) = default;
};

struct ReminderList {
    QString identifier;
    QString title;
    std::optional<ReminderSource> source;
    QString color;  // "#RRGGBB" as the list gives it; empty when it gives none
    // Whether reminders may be added to it, changed or removed.
    bool allowsContentModifications = true;

    friend bool operator==(const ReminderList&, const ReminderList&) = default;
};

}  // namespace tavlin::platform
