#pragma once

#include "parsing/ParsedQuickAdd.h"
#include "platform/Calendar.h"
#include "platform/Date.h"
#include "platform/DateComponents.h"
#include "platform/DateFormatter.h"
#include "platform/TimeZone.h"
#include "platform/eventstore/Reminder.h"

#include <QString>

#include <nlohmann/json.hpp>

#include <optional>

namespace tavlin::mcp {

// The moment, calendar and zone that snapshots of one tool call are shown
// in, with the writers of its dates made once.
class SnapshotClock {
public:
    SnapshotClock(platform::Date now, platform::Calendar calendar);

    platform::Date now() const { return now_; }
    const platform::Calendar& calendar() const { return calendar_; }
    // 2026-09-19T17:00:00+02:00, or …Z at a zero offset.
    QString dateTime(platform::Date date) const { return dateTime_.string(date); }
    // 2026-09-19.
    QString day(platform::Date date) const { return day_.string(date); }
    // The instant of due components as one of the two, by whether they hold
    // an hour or a minute; nothing when they give no date.
    std::optional<QString> dueText(const std::optional<platform::DateComponents>& components) const;
    // The same, as a date-time only when `showsTime`.
    std::optional<QString> dueText(const std::optional<platform::DateComponents>& components, bool showsTime) const;

private:
    platform::Date now_;
    platform::Calendar calendar_;
    platform::DateFormatter dateTime_;
    platform::DateFormatter day_;
};

// A reminder as the AI tools show it: as JSON and as one line of text.
struct ReminderSnapshot {
    struct Recurrence {
        parsing::RecurrenceFrequency frequency = parsing::RecurrenceFrequency::daily;
        int interval = 1;
        bool operator==(const Recurrence&) const = default;
    };
    struct Place {
        QString name;
        std::optional<double> latitude;
        std::optional<double> longitude;
        double radius = 0;  // metres; 0 when unset
        bool onDeparture = false;
        bool operator==(const Place&) const = default;
    };

    QString id;
    QString title;
    std::optional<QString> notes;
    std::optional<QString> listName;
    std::optional<QString> listID;
    std::optional<platform::DateComponents> dueDateComponents;
    int priority = 0;
    bool isCompleted = false;
    std::optional<platform::Date> completedAt;
    std::optional<platform::Date> createdAt;
    std::optional<Recurrence> recurrence;
    std::optional<Place> place;

    // Notes longer than this are cut in a snapshot, which says so.
    static constexpr qsizetype maxNotesLength = 10000;

    // `list` is the reminder's list, when it has one.
    static ReminderSnapshot of(const platform::Reminder& reminder, const std::optional<platform::ReminderList>& list);

    nlohmann::json json(const SnapshotClock& clock) const;
    // "Buy milk · due 2026-09-19 · high priority · every week · at Home · in Groceries [id]".
    QString line(const SnapshotClock& clock) const;

    // "high" for 1 … 4, "medium" for 5, "low" for 6 … 9, else "none".
    static QString priorityWord(int priority);
    // "every week", "every 2 weeks".
    static QString repeatText(parsing::RecurrenceFrequency frequency, int interval);

    bool operator==(const ReminderSnapshot&) const = default;
};

}  // namespace tavlin::mcp
