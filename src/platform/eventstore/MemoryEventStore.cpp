#include "platform/eventstore/MemoryEventStore.h"

#include <algorithm>
#include <utility>

namespace tavlin::platform {

MemoryEventStore::MemoryEventStore(Contents contents) : contents_(std::move(contents)) {}

std::optional<StoreError> MemoryEventStore::requestFullAccess() {
    authorization_ = grantedStatus_;
    return accessError_;
}

void MemoryEventStore::setAccessRequestOutcome(AuthorizationStatus status, std::optional<StoreError> error) {
    grantedStatus_ = status;
    accessError_ = std::move(error);
}

std::optional<ReminderList> MemoryEventStore::defaultListForNewReminders() const {
    const auto& lists = contents_.lists;
    const auto found = std::find_if(lists.begin(), lists.end(), [this](const ReminderList& list) {
        return defaultListIdentifier_.isEmpty() || list.identifier == defaultListIdentifier_;
    });
    return found == lists.end() ? std::nullopt : std::optional(*found);
}

std::vector<Reminder> MemoryEventStore::fetchIncompleteReminders() { return copiesOf(incompleteReminders()); }

std::vector<const Reminder*> MemoryEventStore::incompleteReminders() {
    catchUp();
    std::vector<const Reminder*> open;
    for (const Reminder& reminder : contents_.reminders)
        if (!reminder.completed) open.push_back(&reminder);
    return open;
}

std::vector<Reminder> MemoryEventStore::fetchRemindersCompleted(Date since) {
    std::vector<Reminder> done;
    std::copy_if(contents_.reminders.begin(), contents_.reminders.end(), std::back_inserter(done),
                 [since](const Reminder& reminder) { return completedSince(reminder, since); });
    return done;
}

std::optional<QString> MemoryEventStore::folderOf(const QString& identifier) {
    const std::optional<Reminder> saved = reminder(identifier);
    if (!saved) return std::nullopt;
    const auto folder = listFolders_.find(saved->listIdentifier);
    return folder == listFolders_.end() ? std::nullopt : std::optional(folder->second);
}

std::optional<Reminder> MemoryEventStore::reminder(const QString& identifier) {
    catchUp();
    const auto found = find(identifier);
    return found == contents_.reminders.end() ? std::nullopt : std::optional(*found);
}

void MemoryEventStore::changeByAnotherProcess(const std::function<void(Contents&)>& change) {
    const std::vector<Reminder> before = contents_.reminders;
    change(contents_);
    positionsKnown_ = false;
    for (const Reminder& reminder : contents_.reminders)
        if (std::find(before.begin(), before.end(), reminder) == before.end())
            revisions_[reminder.identifier] = ++lastRevision_;
    // Anything may have changed.
    noteEverythingChanged();
    emit changed();
}

void MemoryEventStore::catchUp() {
    if (changeAtNextRead_) changeByAnotherProcess(std::exchange(changeAtNextRead_, {}));
}

std::optional<EventStore::Continuation> MemoryEventStore::continuation(const QString& identifier) {
    const auto found = continuations_.find(identifier);
    return found == continuations_.end() ? std::nullopt : std::optional(found->second);
}

std::optional<StoreError> MemoryEventStore::writeItem(const Reminder& reminder,
                                                      const std::optional<Continuation>& link) {
    if (saveFailure_) return saveFailure_;
    const auto existing = find(reminder.identifier);
    const bool isNew = existing == contents_.reminders.end();
    if (listMoveFailure_ && !isNew && existing->listIdentifier != reminder.listIdentifier) return listMoveFailure_;
    if (isNew) {
        contents_.reminders.push_back(reminder);
        if (positionsKnown_) positions_.insert(reminder.identifier, contents_.reminders.size() - 1);
    } else {
        *existing = reminder;
    }
    revisions_[reminder.identifier] = ++lastRevision_;
    if (link) continuations_[reminder.identifier] = *link;
    else continuations_.erase(reminder.identifier);
    noteChanged(reminder.identifier);
    return std::nullopt;
}

std::optional<StoreError> MemoryEventStore::removeItem(const QString& identifier) {
    if (removeFailure_) return removeFailure_;
    std::erase_if(contents_.reminders, [&](const Reminder& reminder) { return reminder.identifier == identifier; });
    positionsKnown_ = false;
    continuations_.erase(identifier);
    noteChanged(identifier);
    return std::nullopt;
}

std::optional<StoreError> MemoryEventStore::writeAcknowledgement(const Reminder& saved,
                                                                 const std::vector<std::size_t>& alarmIndices, Date at,
                                                                 std::optional<Date> snoozeUntil) {
    if (saveFailure_) return saveFailure_;
    const auto existing = find(saved.identifier);
    if (existing == contents_.reminders.end() || existing->alarms != saved.alarms) return std::nullopt;
    for (const std::size_t index : alarmIndices) existing->alarms[index].acknowledged = at;
    if (snoozeUntil) existing->alarms.push_back({.absoluteDate = snoozeUntil, .snooze = true});
    revisions_[saved.identifier] = ++lastRevision_;
    noteChanged(saved.identifier);
    return std::nullopt;
}

std::optional<QByteArray> MemoryEventStore::itemTag(const QString& identifier) {
    if (find(identifier) == contents_.reminders.end()) return std::nullopt;
    return QByteArray::number(revisions_[identifier]);
}

std::vector<Reminder>::iterator MemoryEventStore::find(const QString& identifier) {
    std::vector<Reminder>& all = contents_.reminders;
    if (!positionsKnown_) {
        positions_.clear();
        // Of two with one identifier, the first is found.
        for (std::size_t i = all.size(); i-- > 0;) positions_.insert(all[i].identifier, i);
        positionsKnown_ = true;
    }
    const auto found = positions_.constFind(identifier);
    return found == positions_.cend() ? all.end() : all.begin() + static_cast<std::ptrdiff_t>(*found);
}

}  // namespace tavlin::platform
