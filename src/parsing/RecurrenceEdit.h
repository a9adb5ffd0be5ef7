#pragma once

#include "parsing/ParsedQuickAdd.h"
#include "platform/Date.h"
#include "platform/eventstore/Reminder.h"

#include <QString>

#include <functional>
#include <optional>
#include <variant>
#include <vector>

// What an edited line does to the recurrence rules a reminder already has,
// decided over plain values; the store carries it out.
namespace tavlin::parsing::RecurrenceEdit {

struct ExistingRule {
    std::optional<RecurrenceFrequency> frequency;  // none for a rule finer than daily
    int interval = 1;
    bool hasEnd = false;
    friend bool operator==(const ExistingRule&, const ExistingRule&) = default;
};

struct Unchanged {
    friend bool operator==(const Unchanged&, const Unchanged&) = default;
};
struct RemoveAll {
    friend bool operator==(const RemoveAll&, const RemoveAll&) = default;
};
struct Add {
    RecurrenceFrequency frequency;
    int interval;
    friend bool operator==(const Add&, const Add&) = default;
};
// The first rule replaced; `keepEnd` carries its end over, `keepPattern` its
// days, months, weeks and set positions.
struct Replace {
    RecurrenceFrequency frequency;
    int interval;
    bool keepEnd;
    bool keepPattern;
    friend bool operator==(const Replace&, const Replace&) = default;
};
using Change = std::variant<Unchanged, RemoveAll, Add, Replace>;

Change plan(const std::vector<ExistingRule>& rules, std::optional<RecurrenceFrequency> parsedFrequency,
            int parsedInterval);

// The rule of the system store's own numbering as the plan reads it.
ExistingRule existingRule(const platform::RecurrenceRule& rule);

// Each recurring series once: of the reminders sharing a series key, the one
// due first (a reminder without a due date counts as due last).
std::vector<platform::Reminder> collapseRecurringSeries(
    const std::vector<platform::Reminder>& reminders,
    const std::function<std::optional<platform::Date>(const platform::Reminder&)>& dueDate,
    const std::function<std::optional<QString>(const platform::Reminder&)>& seriesKey);
// The same over reminders held elsewhere, without copying them.
std::vector<const platform::Reminder*> collapseRecurringSeries(
    const std::vector<const platform::Reminder*>& reminders,
    const std::function<std::optional<platform::Date>(const platform::Reminder&)>& dueDate,
    const std::function<std::optional<QString>(const platform::Reminder&)>& seriesKey);

// "day", "week", "month", "year".
QString unitWord(RecurrenceFrequency frequency);
// "daily", "weekly", "monthly", "yearly".
QString adverb(RecurrenceFrequency frequency);
// "every week", "every 2 weeks", as a quick-add line writes a cadence.
QString everyText(RecurrenceFrequency frequency, int interval);

// "Repeats weekly", "Repeats every 2 weeks".
QString repeatsDescription(RecurrenceFrequency frequency, int interval);
// "Weekly", "Every 3 months".
QString shortLabel(RecurrenceFrequency frequency, int interval);

}  // namespace tavlin::parsing::RecurrenceEdit
