#pragma once

#include "platform/eventstore/EventStore.h"

#include <QHash>

#include <functional>
#include <map>

namespace tavlin::platform {

// An event store in memory, for tests and fixtures: the same behaviour
// as the store of files, with failures that a test can call for and changes
// "by another program" that emit `changed`.
class MemoryEventStore final : public EventStore {
    Q_OBJECT

public:
    // What the store holds; the reminders in the order they were added.
    struct Contents {
        std::vector<ReminderList> lists;
        std::vector<Reminder> reminders;
    };

    explicit MemoryEventStore(Contents contents = {});

    AuthorizationStatus authorizationStatus() const override { return authorization_; }
    std::optional<StoreError> requestFullAccess() override;
    std::vector<ReminderList> lists() const override { return contents_.lists; }
    std::optional<ReminderList> defaultListForNewReminders() const override;
    void refreshSourcesIfNecessary() override {}
    std::vector<Reminder> fetchIncompleteReminders() override;
    std::vector<const Reminder*> incompleteReminders() override;
    std::vector<Reminder> fetchRemindersCompleted(Date since) override;
    std::optional<Reminder> reminder(const QString& identifier) override;
    // The folder set for the reminder's list; nothing when none is.
    std::optional<QString> folderOf(const QString& identifier) override;

    const Contents& contents() const { return contents_; }

    // The status until a request for access; what that request then gives.
    void setAuthorizationStatus(AuthorizationStatus status) { authorization_ = status; }
    void setAccessRequestOutcome(AuthorizationStatus status, std::optional<StoreError> error = std::nullopt);
    // The default list for new reminders; the first list when none is set.
    void setDefaultListIdentifier(QString identifier) { defaultListIdentifier_ = std::move(identifier); }
    // Where the reminders of a list are said to be kept, as a store of files would.
    void setListFolder(const QString& listIdentifier, QString folder) {
        listFolders_[listIdentifier] = std::move(folder);
    }

    // Every later save, every later removal, or every later save that moves
    // a reminder to another list fails with `error`, until set to nothing.
    void setSaveFailure(std::optional<StoreError> error) { saveFailure_ = std::move(error); }
    void setRemoveFailure(std::optional<StoreError> error) { removeFailure_ = std::move(error); }
    void setListMoveFailure(std::optional<StoreError> error) { listMoveFailure_ = std::move(error); }

    // Another program changes the store: `change` edits what it holds, then
    // `changed` is emitted.
    void changeByAnotherProcess(const std::function<void(Contents&)>& change);
    // The same, learnt of at the next read of the reminders (or catchUp), as
    // a store that follows its files learns of a change in the middle of a
    // read.
    void changeAtNextRead(std::function<void(Contents&)> change) { changeAtNextRead_ = std::move(change); }
    void catchUp() override;

protected:
    std::optional<Continuation> continuation(const QString& identifier) override;
    std::optional<StoreError> writeItem(const Reminder& reminder, const std::optional<Continuation>& link) override;
    std::optional<StoreError> removeItem(const QString& identifier) override;
    std::optional<StoreError> writeAcknowledgement(const Reminder& saved, const std::vector<std::size_t>& alarmIndices,
                                                   Date at, std::optional<Date> snoozeUntil) override;
    std::optional<QByteArray> itemTag(const QString& identifier) override;

private:
    std::vector<Reminder>::iterator find(const QString& identifier);

    Contents contents_;
    // Where each identifier's first reminder stands, so that a store of
    // tens of thousands of reminders finds one as the store of files does;
    // made anew after a change that may move them.
    QHash<QString, std::size_t> positions_;
    bool positionsKnown_ = false;
    std::function<void(Contents&)> changeAtNextRead_;
    std::map<QString, Continuation> continuations_;
    // Each write, ours or another program's, gives a reminder a new revision.
    std::map<QString, quint64> revisions_;
    quint64 lastRevision_ = 0;
    AuthorizationStatus authorization_ = AuthorizationStatus::fullAccess;
    AuthorizationStatus grantedStatus_ = AuthorizationStatus::fullAccess;
    std::optional<StoreError> accessError_;
    QString defaultListIdentifier_;
    std::map<QString, QString> listFolders_;
    std::optional<StoreError> saveFailure_;
    std::optional<StoreError> removeFailure_;
    std::optional<StoreError> listMoveFailure_;
};

}  // namespace tavlin::platform
