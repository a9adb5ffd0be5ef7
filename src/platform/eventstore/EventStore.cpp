#include "platform/eventstore/EventStore.h"

#include "platform/eventstore/AlarmTrigger.h"

#include <QUuid>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace tavlin::platform {

namespace {

QString newIdentifier() { return QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper(); }

// Files keep whole seconds; so do the dates stamped here.
Date nowInWholeSeconds() { return Date::fromSecondsSince1970(std::floor(Date::now().secondsSince1970())); }

// The dates the store owns: the creation date stays what was saved first,
// and the completion date follows the completed flag.
Reminder stamped(Reminder reminder, const std::optional<Reminder>& saved, Date now) {
    reminder.creationDate = saved ? saved->creationDate : reminder.creationDate.value_or(now);
    if (!reminder.completed) reminder.completionDate.reset();
    else if (!reminder.completionDate) reminder.completionDate = now;
    return reminder;
}

// iCalendar text may hold no control character but the tab, and line
// breaks only as its escaped newline; others (a NUL from a paste or a
// tool) are dropped here, where every store's writes pass, and each line
// break becomes one newline.
QString withoutControlCharacters(QString text) {
    text.replace(u"\r\n"_s, u"\n"_s).replace(u'\r', u'\n');
    text.removeIf([](QChar c) {
        const char16_t unit = c.unicode();
        return (unit < 0x20 && unit != u'\t' && unit != u'\n') || unit == 0x7F;
    });
    return text;
}

Reminder withTextCleaned(Reminder reminder) {
    reminder.title = withoutControlCharacters(std::move(reminder.title));
    reminder.notes = withoutControlCharacters(std::move(reminder.notes));
    for (Alarm& alarm : reminder.alarms)
        if (alarm.structuredLocation)
            alarm.structuredLocation->title = withoutControlCharacters(std::move(alarm.structuredLocation->title));
    return reminder;
}

// For a link written before links kept the successor's tag: the successor
// as completing `series` would make it again. When the one in the store
// still equals it, nobody has touched it since.
bool isUntouched(Reminder successor, const Reminder& series) {
    auto fresh = ICalendarReminder::nextOccurrence(series);
    if (!fresh) return false;
    fresh->listIdentifier = successor.listIdentifier;
    successor.identifier.clear();
    successor.creationDate.reset();
    return successor == *fresh;
}

StoreError reminderGone() {
    return {.code = StoreError::reminderNotFound,
            .description = u"This reminder no longer exists — it was deleted elsewhere."_s};
}

}  // namespace

std::optional<QSet<QString>> EventStore::changedSince(std::uint64_t revision) const {
    if (!knownFrom_ || revision < *knownFrom_) return std::nullopt;
    QSet<QString> changed;
    for (auto it = changes_.rbegin(); it != changes_.rend() && it->first > revision; ++it) changed.insert(it->second);
    return changed;
}

void EventStore::noteChanged(const QString& identifier) {
    // Enough for any burst a sync makes between two refreshes; longer ago,
    // a refresh fetches everything.
    constexpr std::size_t kKeptChanges = 4096;
    if (!knownFrom_) knownFrom_ = revision_;
    changes_.emplace_back(++revision_, identifier);
    if (changes_.size() > kKeptChanges) {
        knownFrom_ = changes_.front().first;
        changes_.pop_front();
    }
}

void EventStore::noteEverythingChanged() {
    changes_.clear();
    knownFrom_ = ++revision_;
}

Reminder EventStore::newReminder() {
    Reminder reminder{.identifier = newIdentifier()};
    unsaved_.insert(reminder.identifier);
    return reminder;
}

std::optional<StoreError> EventStore::save(Reminder& reminder) {
    const std::optional<Reminder> saved = this->reminder(reminder.identifier);
    if (!saved && !unsaved_.contains(reminder.identifier)) return reminderGone();
    if (auto error = checkList(reminder.listIdentifier)) return error;
    Reminder value = stamped(withTextCleaned(reminder), saved, nowInWholeSeconds());
    const bool completes = value.completed && !(saved && saved->completed);
    const bool reopens = !value.completed && saved && saved->completed;
    std::optional<StoreError> error;
    if (completes && !value.recurrenceRules.empty()) error = completeOccurrence(value);
    else if (reopens) error = reopen(value);
    else error = writeItem(value, continuation(value.identifier));
    if (error) return error;
    unsaved_.erase(value.identifier);
    reminder = this->reminder(value.identifier).value_or(value);
    return std::nullopt;
}

std::optional<StoreError> EventStore::remove(const Reminder& reminder) {
    if (!this->reminder(reminder.identifier)) return reminderGone();
    return removeItem(reminder.identifier);
}

void EventStore::rollback(Reminder& reminder) {
    if (auto saved = this->reminder(reminder.identifier)) reminder = std::move(*saved);
}

std::optional<StoreError> EventStore::checkList(const QString& listIdentifier) const {
    if (listIdentifier.isEmpty())
        return StoreError{.code = StoreError::noList,
                          .description = u"The reminder has no list — choose a list and save it again."_s};
    const auto all = lists();
    if (std::none_of(all.begin(), all.end(),
                     [&](const ReminderList& list) { return list.identifier == listIdentifier; }))
        return StoreError{.code = StoreError::listNotFound,
                          .description = u"The reminder’s list no longer exists — choose another list."_s};
    return std::nullopt;
}

// The successor is written first: if the second write fails, the done
// occurrence is still open and the series is whole.
std::optional<StoreError> EventStore::completeOccurrence(Reminder& occurrence) {
    auto successor = ICalendarReminder::nextOccurrence(occurrence);
    if (!successor) return writeItem(occurrence, std::nullopt);
    successor->identifier = newIdentifier();
    successor->creationDate = occurrence.completionDate;
    if (auto error = writeItem(*successor, std::nullopt)) return error;
    const Continuation link{successor->identifier, std::exchange(occurrence.recurrenceRules, {}),
                            itemTag(successor->identifier).value_or(QByteArray())};
    if (auto error = writeItem(occurrence, link)) {
        (void)removeItem(successor->identifier);
        return error;
    }
    return std::nullopt;
}

std::optional<StoreError> EventStore::reopen(const Reminder& occurrence) {
    const auto link = continuation(occurrence.identifier);
    if (!link) return writeItem(occurrence, std::nullopt);
    Reminder series = occurrence;
    if (series.recurrenceRules.empty()) series.recurrenceRules = link->recurrenceRules;
    // Judged by the successor's own saved state: another program may well
    // have rewritten the occurrence since it was done.
    const auto successor = reminder(link->successorIdentifier);
    const bool untouched =
        successor && (link->successorTag.isEmpty() ? isUntouched(*successor, series)
                                                   : itemTag(successor->identifier) == link->successorTag);
    if (!untouched) return writeItem(occurrence, std::nullopt);
    if (auto error = writeItem(series, std::nullopt)) return error;
    return removeItem(successor->identifier);
}

std::optional<StoreError> EventStore::acknowledgeAlarms(const QString& identifier, Date at, const Calendar& calendar,
                                                        std::optional<Date> snoozeUntil) {
    const std::optional<Reminder> saved = reminder(identifier);
    if (!saved) return StoreError{.code = StoreError::reminderNotFound, .description = u"The reminder is gone."_s};
    // The last alarm to have gone off comes first: a snooze stands for it.
    std::vector<std::pair<Date, std::size_t>> fired;
    for (std::size_t i = 0; i < saved->alarms.size(); ++i) {
        const std::optional<Date> trigger = alarmTriggerDate(*saved, saved->alarms[i], calendar);
        if (trigger && *trigger <= at) fired.emplace_back(*trigger, i);
    }
    std::sort(fired.begin(), fired.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    std::vector<std::size_t> indices;
    for (const auto& [trigger, index] : fired)
        if (!isAcknowledged(saved->alarms[index], trigger) || (snoozeUntil && indices.empty()))
            indices.push_back(index);
    if (indices.empty() && !snoozeUntil) return std::nullopt;
    return writeAcknowledgement(*saved, indices, at, snoozeUntil);
}

}  // namespace tavlin::platform
