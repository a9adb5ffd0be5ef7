#pragma once

#include "platform/eventstore/ICalendarComponent.h"
#include "platform/eventstore/Reminder.h"

#include <optional>

// The mapping between a reminder and the VTODO of an iCalendar object, over
// libical's value parsers. Writing edits the component in place and touches
// only the fields that differ, so whatever else the file holds stays.

namespace tavlin::platform::ICalendarReminder {

// What a done occurrence of a recurring reminder remembers: the reminder
// that continues the series, and the rules it had.
struct Continuation {
    QString successorIdentifier;
    std::vector<RecurrenceRule> recurrenceRules;
    // The successor's saved state as it was written (EventStore::itemTag);
    // empty in links written before it was kept.
    QByteArray successorTag;

    friend bool operator==(const Continuation&, const Continuation&) = default;
};

// The item's to-do: its first VTODO that is not an override of one
// occurrence (no RECURRENCE-ID).
const ICalendarComponent* todo(const ICalendarComponent& calendar);
ICalendarComponent* todo(ICalendarComponent& calendar);

// The reminder a VTODO holds, without its list; nothing without a UID.
// Safe on several threads at once once prepareForThreads() has run.
std::optional<Reminder> read(const ICalendarComponent& todo);
// Sets up, on this thread, what reading shares between threads.
void prepareForThreads();

// Writes the fields of `reminder` that differ from what the calendar's
// VTODO holds, and stamps LAST-MODIFIED and DTSTAMP with `now` when any did.
// Returns whether anything changed.
bool apply(const Reminder& reminder, ICalendarComponent& calendar, Date now);

// The link a calendar's VTODO keeps to the reminder continuing its series.
std::optional<Continuation> continuation(const ICalendarComponent& calendar);
// Returns whether the link changed. Set before the reminder's own fields are
// applied: the rules it had move into the link and back out of it.
bool setContinuation(ICalendarComponent& calendar, const std::optional<Continuation>& link);

// A calendar that holds only this reminder.
ICalendarComponent newCalendar(const Reminder& reminder, Date now);

// The open reminder that continues a recurring series after `reminder` was
// done: due at the next occurrence of its first rule (whose count goes down
// by one), with its absolute alarms moved as far as the due date. Nothing
// when the reminder has no rule or no due date, or the series has ended.
// Identifier, creation and completion are left empty.
std::optional<Reminder> nextOccurrence(const Reminder& reminder);

// Marks the VTODO's alarms at these indices (in the order read() gives
// them) acknowledged at `at` (RFC 9074's ACKNOWLEDGED) and, with
// `snoozeUntil`, adds a snooze alarm then, related to the first of them.
// False, changing nothing, when an index names no alarm.
bool acknowledge(ICalendarComponent& calendar, const std::vector<std::size_t>& alarmIndices, Date at,
                 std::optional<Date> snoozeUntil);

}  // namespace tavlin::platform::ICalendarReminder
