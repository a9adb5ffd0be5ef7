// The writes of the store: new and edited reminders, completion, deletion
// with an undo window, and rescheduling.

#include "parsing/RecurrenceEdit.h"
#include "parsing/ReminderEditing.h"
#include "platform/DueDate.h"
#include "platform/Text.h"
#include "store/PlaceResolver.h"
#include "store/ReminderStore.h"

#include <QPointer>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace tavlin::store {

using parsing::ParsedQuickAdd;
using platform::Alarm;
using platform::DateComponents;
using platform::RecurrenceRule;
using platform::Reminder;
using platform::StructuredLocation;

namespace {

RecurrenceRule::Frequency frequencyOf(parsing::RecurrenceFrequency frequency) {
    return static_cast<RecurrenceRule::Frequency>(static_cast<int>(frequency));
}

// The first rule made anew, with its end and its days, months and set
// positions carried over where the plan says.
RecurrenceRule replacement(const RecurrenceRule& old, const parsing::RecurrenceEdit::Replace& plan) {
    RecurrenceRule rule{.frequency = frequencyOf(plan.frequency), .interval = plan.interval};
    if (plan.keepEnd) rule.end = old.end;
    if (plan.keepPattern) {
        rule.daysOfTheWeek = old.daysOfTheWeek;
        rule.daysOfTheMonth = old.daysOfTheMonth;
        rule.monthsOfTheYear = old.monthsOfTheYear;
        rule.weeksOfTheYear = old.weeksOfTheYear;
        rule.daysOfTheYear = old.daysOfTheYear;
        rule.setPositions = old.setPositions;
    }
    return rule;
}

void applyRecurrence(const ParsedQuickAdd& parsed, std::vector<RecurrenceRule>& rules) {
    namespace Edit = parsing::RecurrenceEdit;
    std::vector<Edit::ExistingRule> existing;
    std::transform(rules.begin(), rules.end(), std::back_inserter(existing), Edit::existingRule);
    const Edit::Change change = Edit::plan(existing, parsed.recurrenceFrequency, parsed.recurrenceInterval);
    if (const auto* add = std::get_if<Edit::Add>(&change)) {
        rules.push_back({.frequency = frequencyOf(add->frequency), .interval = add->interval});
    } else if (const auto* replace = std::get_if<Edit::Replace>(&change)) {
        const RecurrenceRule rule = replacement(rules.front(), *replace);
        rules.erase(rules.begin());
        rules.push_back(rule);
    } else if (std::holds_alternative<Edit::RemoveAll>(change)) {
        rules.clear();
    }
}

bool eraseIdentifier(std::vector<Reminder>& reminders, const QString& identifier) {
    return std::erase_if(reminders, [&](const Reminder& r) { return r.identifier == identifier; }) > 0;
}

bool holdsIdentifier(const std::vector<Reminder>& reminders, const QString& identifier) {
    return std::any_of(reminders.begin(), reminders.end(),
                       [&](const Reminder& r) { return r.identifier == identifier; });
}

// The alarms of one kind: at a date (they follow the due date), at a
// place, or at an offset from the due date.
enum class AlarmKind { date, place, offset };

AlarmKind kindOf(const Alarm& alarm) {
    if (alarm.structuredLocation) return AlarmKind::place;
    return alarm.absoluteDate ? AlarmKind::date : AlarmKind::offset;
}

std::vector<Alarm> alarmsOfKind(const std::vector<Alarm>& alarms, AlarmKind kind) {
    std::vector<Alarm> found;
    std::copy_if(alarms.begin(), alarms.end(), std::back_inserter(found),
                 [kind](const Alarm& alarm) { return kindOf(alarm) == kind; });
    return found;
}

// An edit made on `base` (the reminder as the caller saw it), carried onto
// `current` (as it is saved now): the fields the edit changed come from
// `edited`, the others stay as they are now, so that a change another
// program made meanwhile survives an edit of other fields. Alarms at a date
// go with the due date they were set for.
Reminder mergedEdit(const Reminder& base, const Reminder& edited, const Reminder& current) {
    Reminder merged = current;
    const auto take = [&](auto Reminder::*field) {
        if (edited.*field != base.*field) merged.*field = edited.*field;
    };
    take(&Reminder::title);
    take(&Reminder::notes);
    take(&Reminder::listIdentifier);
    take(&Reminder::dueDateComponents);
    take(&Reminder::priority);
    take(&Reminder::recurrenceRules);
    merged.alarms.clear();
    for (const AlarmKind kind : {AlarmKind::offset, AlarmKind::date, AlarmKind::place}) {
        const std::vector<Alarm> wanted = alarmsOfKind(edited.alarms, kind);
        const bool changed = wanted != alarmsOfKind(base.alarms, kind);
        const bool fits = kind != AlarmKind::date || merged.dueDateComponents == edited.dueDateComponents;
        const std::vector<Alarm> kept = changed && fits ? wanted : alarmsOfKind(current.alarms, kind);
        merged.alarms.insert(merged.alarms.end(), kept.begin(), kept.end());
    }
    return merged;
}

// An edit's due date in the form the reminder had, so that one written by
// another program in UTC or in a zone of its own keeps it: the same moment
// keeps the components it had (and the file its DUE as written), another
// time of day goes into the zone the old one named. A floating due date,
// or a change between a day and a time, takes the edit's.
std::optional<DateComponents> dueInFormerForm(const std::optional<DateComponents>& former,
                                              const std::optional<DateComponents>& edited,
                                              const platform::Calendar& calendar) {
    if (!former || !edited || former->hasTime() != edited->hasTime()) return edited;
    if (!edited->hasTime()) {
        const bool sameDay =
            former->year == edited->year && former->month == edited->month && former->day == edited->day;
        return sameDay ? former : edited;
    }
    const std::optional<platform::Date> was = platform::DueDate::date(former, calendar);
    const std::optional<platform::Date> is = platform::DueDate::date(edited, calendar);
    if (!was || !is) return edited;
    // The line shows minutes: seconds the file had are no change.
    const auto minute = [](platform::Date date) { return std::floor(date.secondsSince1970() / 60); };
    if (minute(*was) == minute(*is)) return former;
    if (!former->timeZone) return edited;
    using platform::CalendarComponent;
    DateComponents moved =
        platform::Calendar::gregorian(*former->timeZone)
            .dateComponents(CalendarComponent::Year | CalendarComponent::Month | CalendarComponent::Day |
                                CalendarComponent::Hour | CalendarComponent::Minute,
                            *is);
    moved.timeZone = former->timeZone;
    return moved;
}

StructuredLocation locationOf(const ResolvedLocation& place, double radius) {
    return {place.name, platform::GeoLocation{place.latitude, place.longitude}, radius};
}

}  // namespace

// ---- New and edited reminders

platform::Task<std::optional<Reminder>> ReminderStore::add(ParsedQuickAdd parsed,
                                                           std::optional<ResolvedLocation> location,
                                                           std::optional<QString> notes) {
    const QPointer<ReminderStore> self(this);
    Reminder reminder = co_await applyEdit(std::move(parsed), eventStore_.newReminder(), std::move(location));
    if (!self) co_return std::nullopt;
    if (notes && !notes->isEmpty()) reminder.notes = *notes;
    if (std::optional<platform::StoreError> error = eventStore_.save(reminder)) {
        setLastError(std::move(error));
        requestRefresh();
        co_return std::nullopt;
    }
    setLastError(std::nullopt);
    edit(reminders_, &ReminderStore::remindersChanged, [&](std::vector<Reminder>& open) {
        const Reminder* before = open.data();
        open.push_back(reminder);
        // Grown elsewhere, the vector moved every reminder the visible ones point at.
        if (open.data() == before) followInVisible(&open.back(), false, true);
        return true;
    });
    requestRefresh();
    co_return reminder;
}

// The line is read against the reminder the caller saw, which may be older
// than the saved one (the published state waits for the next refresh); the
// fields it changes are then carried onto the reminder as saved now.
platform::Task<ReminderStore::UpdateOutcome> ReminderStore::update(ParsedQuickAdd parsed, Reminder reminder,
                                                                   std::optional<ResolvedLocation> location) {
    if (reminder.completed) co_return UpdateOutcome::skippedBecauseCompleted;
    const std::optional<Reminder> before = eventStore_.reminder(reminder.identifier);
    if (!before) co_return UpdateOutcome::skippedBecauseMissing;
    if (before->completed) co_return UpdateOutcome::skippedBecauseCompleted;

    const QPointer<ReminderStore> self(this);
    const Reminder made = co_await applyEdit(std::move(parsed), reminder, std::move(location));
    if (!self) co_return UpdateOutcome::failed;
    // Read again, as the place lookup may have waited. Gone since, the save
    // says so; done since, the edit would reopen it.
    const Reminder stored = eventStore_.reminder(reminder.identifier).value_or(*before);
    if (stored.completed) co_return UpdateOutcome::skippedBecauseCompleted;
    const QString listBefore = stored.listIdentifier;
    Reminder edited = stored == reminder ? made : mergedEdit(reminder, made, stored);
    UpdateOutcome outcome = UpdateOutcome::saved;
    if (std::optional<platform::StoreError> error = eventStore_.save(edited)) {
        outcome = UpdateOutcome::failed;
        const QString wantedList = edited.listIdentifier;
        if (wantedList.isEmpty() || wantedList == listBefore) {
            setLastError(std::move(error));
        } else {
            edited.listIdentifier = listBefore;
            if (std::optional<platform::StoreError> second = eventStore_.save(edited)) {
                setLastError(std::move(second));
            } else {
                const std::optional<platform::ReminderList> refused = listWithIdentifier(wantedList);
                setLastError(ListMoveRefused{refused ? refused->title : wantedList, *error});
                outcome = UpdateOutcome::listMoveRefused;
            }
        }
    } else {
        setLastError(std::nullopt);
    }
    if (outcome != UpdateOutcome::failed) replaceShown(edited);
    requestRefresh();
    co_return outcome;
}

platform::Task<Reminder> ReminderStore::applyEdit(ParsedQuickAdd parsed, Reminder reminder,
                                                  std::optional<ResolvedLocation> location) {
    reminder.title = parsed.title;
    reminder.dueDateComponents = dueInFormerForm(reminder.dueDateComponents, parsed.dueDateComponents, calendar());
    // Another client's step of the scale (3 is high too) stays while its level does.
    if (platform::priorityLevel(reminder.priority) != parsed.priority)
        reminder.priority = platform::icalendarPriority(parsed.priority);
    applyRecurrence(parsed, reminder.recurrenceRules);

    // The place as it stands, only where it has coordinates to keep.
    std::optional<StructuredLocation> existing = parsing::ReminderEditing::alarmLocation(reminder);
    if (existing && !existing->geoLocation) existing.reset();
    std::erase_if(reminder.alarms, [](const Alarm& alarm) { return alarm.structuredLocation.has_value(); });
    realignDueAlarm(reminder, parsed.hasTime);

    const QPointer<ReminderStore> self(this);
    const std::optional<StructuredLocation> place = co_await placeFor(parsed, std::move(existing), std::move(location));
    if (!self) co_return reminder;
    if (place) {
        const auto proximity = parsed.locationTrigger == parsing::LocationTrigger::leave
                                   ? platform::AlarmProximity::leave
                                   : platform::AlarmProximity::enter;
        reminder.alarms.push_back(Alarm::on(*place, proximity));
    }
    applyList(parsed, reminder);
    co_return reminder;
}

// A place given by the caller stands as it is; the place the reminder
// already has keeps its coordinates when the line names it again; any
// other name is resolved, and kept by its name alone when that fails.
platform::Task<std::optional<StructuredLocation>> ReminderStore::placeFor(ParsedQuickAdd parsed,
                                                                          std::optional<StructuredLocation> existing,
                                                                          std::optional<ResolvedLocation> location) {
    if (!parsed.locationName) co_return std::nullopt;
    const QString& name = *parsed.locationName;
    if (location) co_return locationOf(*location, location->radius);
    if (existing && parsing::ReminderEditing::titlesMatch(existing->title, name)) {
        existing->radius = parsed.locationRadius.value_or(existing->radius);
        co_return existing;
    }
    const std::optional<ResolvedLocation> resolved = co_await places_.resolve(name, this);
    if (!resolved) co_return StructuredLocation{.title = name};
    co_return locationOf(*resolved, parsed.locationRadius.value_or(resolved->radius));
}

// A list the line names, by its exact title and preferably in the
// reminder's own account; else the reminder stays where it is, and a new
// one goes to the quick-add list.
void ReminderStore::applyList(const ParsedQuickAdd& parsed, Reminder& reminder) const {
    const std::optional<platform::ReminderList> current = listWithIdentifier(reminder.listIdentifier);
    if (parsed.listName) {
        // With two lists of one title in one account, naming the current
        // list's title keeps the reminder in it.
        if (current && platform::canonicallyEqual(current->title, *parsed.listName)) return;
        if (const auto named = list(*parsed.listName, current)) {
            reminder.listIdentifier = named->identifier;
            return;
        }
    }
    if (!reminder.listIdentifier.isEmpty()) return;
    const std::optional<platform::ReminderList> quickAdd = quickAddList();
    reminder.listIdentifier = quickAdd ? quickAdd->identifier : QString();
}

// Every alarm at an absolute date goes; a timed due date gets one at its
// instant. Alarms at an offset from the due date stay.
void ReminderStore::realignDueAlarm(Reminder& reminder, bool timed) const {
    std::erase_if(reminder.alarms, [](const Alarm& alarm) { return alarm.absoluteDate.has_value(); });
    if (!timed) return;
    if (const std::optional<platform::Date> due = dueDate(reminder)) reminder.alarms.push_back(Alarm::at(*due));
}

void ReminderStore::replaceShown(const Reminder& saved) {
    edit(reminders_, &ReminderStore::remindersChanged, [&](std::vector<Reminder>& open) {
        bool changed = false;
        for (Reminder& reminder : open) {
            if (reminder.identifier != saved.identifier || reminder == saved) continue;
            const bool repeated = !reminder.recurrenceRules.empty();
            reminder = saved;
            // Twice the same identifier: the visible reminders show only the first.
            if (!changed) followInVisible(&reminder, repeated, false);
            else visibleFollowed_ = false;
            changed = true;
        }
        return changed;
    });
}

// ---- Completion

bool ReminderStore::setCompleted(Reminder reminder, bool done) {
    Reminder changed = eventStore_.reminder(reminder.identifier).value_or(std::move(reminder));
    changed.completed = done;
    if (std::optional<platform::StoreError> error = eventStore_.save(changed)) {
        setLastError(std::move(error));
        requestRefresh();
        return false;
    }
    setLastError(std::nullopt);
    const QString& identifier = changed.identifier;
    edit(reminders_, &ReminderStore::remindersChanged, [&](std::vector<Reminder>& open) {
        if (done) return eraseIdentifier(open, identifier);
        if (holdsIdentifier(open, identifier)) return false;
        open.push_back(changed);
        return true;
    });
    edit(completedToday_, &ReminderStore::completedTodayChanged, [&](std::vector<Reminder>& completed) {
        const bool erased = eraseIdentifier(completed, identifier);
        if (!done) return erased;
        // Done twice is in the list once.
        completed.push_back(changed);
        return true;
    });
    requestRefresh();
    return true;
}

// ---- Deletion

void ReminderStore::queueDeletion(Reminder reminder) {
    // Queued again while pending, it keeps its window: flushing first would
    // remove it at once and leave nothing for the undo to bring back.
    if (holdsIdentifier(pendingDeletions_, reminder.identifier)) return;
    flushPendingDeletions();
    const QString identifier = reminder.identifier;
    publish(this, pendingDeletions_, std::vector{std::move(reminder)}, &ReminderStore::pendingDeletionsChanged);
    edit(reminders_, &ReminderStore::remindersChanged,
         [&](std::vector<Reminder>& open) { return eraseIdentifier(open, identifier); });
}

void ReminderStore::queueDeletions(std::vector<Reminder> reminders) {
    flushPendingDeletions();
    std::vector<Reminder> batch;
    for (Reminder& reminder : reminders)
        if (!holdsIdentifier(batch, reminder.identifier)) batch.push_back(std::move(reminder));
    if (batch.empty()) return;
    QSet<QString> identifiers;
    for (const Reminder& reminder : batch) identifiers.insert(reminder.identifier);
    publish(this, pendingDeletions_, std::move(batch), &ReminderStore::pendingDeletionsChanged);
    edit(reminders_, &ReminderStore::remindersChanged, [&](std::vector<Reminder>& open) {
        return std::erase_if(open, [&](const Reminder& r) { return identifiers.contains(r.identifier); }) > 0;
    });
}

void ReminderStore::cancelDeletion() {
    if (pendingDeletions_.empty()) return;
    const std::vector<Reminder> batch = pendingDeletions_;
    publish(this, pendingDeletions_, {}, &ReminderStore::pendingDeletionsChanged);
    edit(reminders_, &ReminderStore::remindersChanged, [&](std::vector<Reminder>& open) {
        bool changed = false;
        for (const Reminder& reminder : batch) {
            if (holdsIdentifier(open, reminder.identifier)) continue;
            open.push_back(reminder);
            changed = true;
        }
        return changed;
    });
}

void ReminderStore::flushPendingDeletions() {
    if (pendingDeletions_.empty()) return;
    const std::vector<Reminder> batch = pendingDeletions_;
    publish(this, pendingDeletions_, {}, &ReminderStore::pendingDeletionsChanged);
    std::optional<platform::StoreError> batchError;
    edit(reminders_, &ReminderStore::remindersChanged, [&](std::vector<Reminder>& open) {
        bool changed = false;
        for (const Reminder& reminder : batch) {
            if (std::optional<platform::StoreError> error = eventStore_.remove(reminder)) {
                open.push_back(reminder);
                batchError = std::move(error);
                changed = true;
            }
        }
        return changed;
    });
    setLastError(std::move(batchError));
    requestRefresh();
}

bool ReminderStore::deleteReminder(Reminder reminder) {
    const QString& identifier = reminder.identifier;
    if (std::optional<platform::StoreError> error = eventStore_.remove(reminder)) {
        setLastError(std::move(error));
        requestRefresh();
        return false;
    }
    setLastError(std::nullopt);
    const auto without = [&](std::vector<Reminder>& reminders) { return eraseIdentifier(reminders, identifier); };
    edit(reminders_, &ReminderStore::remindersChanged, without);
    edit(completedToday_, &ReminderStore::completedTodayChanged, without);
    edit(pendingDeletions_, &ReminderStore::pendingDeletionsChanged, without);
    requestRefresh();
    return true;
}

// ---- Rescheduling

void ReminderStore::reschedule(std::vector<Reminder> reminders, RescheduleTarget target) {
    if (reminders.empty()) return;
    const platform::Calendar& calendar = wallClock_.calendar;
    const std::optional<platform::Date> day = targetDay(target, calendar.startOfDay(now_), calendar);
    std::optional<platform::StoreError> keptError;
    for (const Reminder& reminder : reminders) {
        Reminder moved = eventStore_.reminder(reminder.identifier).value_or(reminder);
        const std::optional<platform::DateComponents> current = moved.dueDateComponents;
        const bool timed = current && current->hasTime();
        moved.dueDateComponents.reset();
        if (day) {
            moved.dueDateComponents =
                calendar.dateComponents(platform::CalendarComponent::Year | platform::CalendarComponent::Month |
                                            platform::CalendarComponent::Day,
                                        *day);
            if (timed) {
                moved.dueDateComponents->hour = current->hour;
                moved.dueDateComponents->minute = current->minute;
            }
        }
        realignDueAlarm(moved, timed && day);
        if (std::optional<platform::StoreError> error = eventStore_.save(moved)) keptError = std::move(error);
        else replaceShown(moved);
    }
    setLastError(std::move(keptError));
    requestRefresh();
}

// ---- Where a reminder lives

std::optional<QString> ReminderStore::folderOf(const Reminder& reminder) const {
    return eventStore_.folderOf(reminder.identifier);
}

}  // namespace tavlin::store
