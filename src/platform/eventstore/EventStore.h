#pragma once

#include "platform/Calendar.h"
#include "platform/eventstore/ICalendarReminder.h"
#include "platform/eventstore/Reminder.h"

#include <QObject>
#include <QSet>
#include <QString>

#include <cstdint>
#include <deque>
#include <optional>
#include <set>
#include <vector>

namespace tavlin::platform {

// The access the user gave to reminders, numbered as the rest of the system
// counts it; only fullAccess lets the store be read.
enum class AuthorizationStatus { notDetermined = 0, restricted = 1, denied = 2, fullAccess = 3, writeOnly = 4 };

// Why the store refused an operation. The description is a sentence for
// people; domain and code identify the failure for logs.
struct StoreError {
    enum Code {
        accessDenied = 1,
        noList = 2,
        listNotFound = 3,
        reminderNotFound = 4,
        writeFailed = 5,
        removeFailed = 6,
    };

    QString domain = defaultDomain();
    int code = 0;
    QString description;

    static QString defaultDomain() { return QStringLiteral("com.quorvandell.tavlin.reminders"); }

    friend bool operator==(const StoreError&, const StoreError&) = default;
};

// The user's reminders and lists. Everything runs on the main thread; the
// reads are synchronous and fast enough to run there (the files are cached).
// `changed` is emitted after a change by another program (and may be after
// our own).
class EventStore : public QObject {
    Q_OBJECT

public:
    ~EventStore() override = default;

    virtual AuthorizationStatus authorizationStatus() const = 0;
    // Checks again (and sets up what a first start needs); an error says why
    // access stays refused.
    virtual std::optional<StoreError> requestFullAccess() = 0;

    // Accounts in their configured order, the lists of each in their own.
    virtual std::vector<ReminderList> lists() const = 0;
    virtual std::optional<ReminderList> defaultListForNewReminders() const = 0;
    // Looks for lists that appeared or went since the last look.
    virtual void refreshSourcesIfNecessary() = 0;

    // Every open reminder of every list.
    virtual std::vector<Reminder> fetchIncompleteReminders() = 0;
    // The same reminders where the store keeps them, for a look at all of
    // them that copies none: the pointers hold until the store next
    // changes, which any other call may make it do.
    virtual std::vector<const Reminder*> incompleteReminders() = 0;
    // Every reminder completed at or after `since`.
    virtual std::vector<Reminder> fetchRemindersCompleted(Date since) = 0;
    struct Fetched {
        std::vector<Reminder> incomplete;
        std::vector<Reminder> completed;
    };
    // Both of the above from one look at the store.
    virtual Fetched fetchReminders(Date completedSince) {
        return {fetchIncompleteReminders(), fetchRemindersCompleted(completedSince)};
    }

    // Takes in what other programs changed since the last look, where the
    // store learns of changes as they happen; emits `changed` when anything
    // did. Elsewhere it does nothing.
    virtual void catchUp() {}
    // A count that grows with every change of the reminders held, our own
    // writes included.
    std::uint64_t revision() const { return revision_; }
    // The identifiers of the reminders added, changed or removed after
    // `revision`; nothing when that is not known (a store that does not
    // keep track, or too long ago): then only fetching everything tells.
    std::optional<QSet<QString>> changedSince(std::uint64_t revision) const;
    // The saved state of a reminder; nothing when it is gone or never saved.
    virtual std::optional<Reminder> reminder(const QString& identifier) = 0;
    // The folder of the file that holds the saved reminder; nothing where
    // reminders are not files, or for one that is not saved.
    virtual std::optional<QString> folderOf(const QString& identifier) {
        Q_UNUSED(identifier);
        return std::nullopt;
    }

    // A reminder with a new identifier and no list, not yet saved.
    Reminder newReminder();
    // Writes the reminder and, on success, puts the saved state into it
    // (creation and completion dates stamped). Fails for a reminder without
    // a list, or one that is gone (deleted elsewhere since it was read).
    //
    // Completing a recurring reminder keeps its identifier for the occurrence
    // that was done, which is saved completed and without rules; the series
    // goes on in a new open reminder due at the next occurrence (none when
    // the series has ended). Reopening that occurrence while the new one is
    // still as it was written (whatever became of the occurrence meanwhile)
    // removes the new one and gives the rules back, so completing and
    // reopening leaves one series, as it was.
    [[nodiscard]] std::optional<StoreError> save(Reminder& reminder);
    [[nodiscard]] std::optional<StoreError> remove(const Reminder& reminder);
    // Puts the saved state back into `reminder`, dropping its unsaved edits;
    // a reminder that was never saved stays as it is.
    void rollback(Reminder& reminder);

    // Marks the saved reminder's alarms that went off at or before `at` and
    // are not acknowledged yet as acknowledged at `at`, so that no client
    // shows them again; with `snoozeUntil`, adds an alarm then that stands
    // for them (a snooze). Writes nothing when there is nothing to mark.
    [[nodiscard]] std::optional<StoreError> acknowledgeAlarms(const QString& identifier, Date at,
                                                              const Calendar& calendar,
                                                              std::optional<Date> snoozeUntil = std::nullopt);
    // Where the reminder is kept, for messages about it: its file, or
    // nothing where reminders are not files.
    virtual std::optional<QString> locationOf(const QString& identifier) {
        Q_UNUSED(identifier);
        return std::nullopt;
    }

    // Whether fetchRemindersCompleted(since) holds `reminder`: completed at or after `since`.
    static bool completedSince(const Reminder& reminder, Date since) {
        return reminder.completed && reminder.completionDate && *reminder.completionDate >= since;
    }

signals:
    void changed();

protected:
    using Continuation = ICalendarReminder::Continuation;

    // What an implementation stores: the item (with the link to the item
    // that continues its series, or none), and its removal.
    virtual std::optional<Continuation> continuation(const QString& identifier) = 0;
    virtual std::optional<StoreError> writeItem(const Reminder& reminder, const std::optional<Continuation>& link) = 0;
    virtual std::optional<StoreError> removeItem(const QString& identifier) = 0;
    // Marks the alarms of `saved` at these indices acknowledged at `at`, and
    // adds the snooze (related to the first of them); nothing is written
    // when the item no longer holds the alarms of `saved`.
    virtual std::optional<StoreError> writeAcknowledgement(const Reminder& saved,
                                                           const std::vector<std::size_t>& alarmIndices, Date at,
                                                           std::optional<Date> snoozeUntil) = 0;
    // What the saved state of an item is known by: it changes whenever the
    // item is written, by us or by another program. Nothing for no item.
    virtual std::optional<QByteArray> itemTag(const QString& identifier) = 0;

    // An implementation that knows each change it takes in or makes notes
    // it here; one that never does leaves changedSince unknowing.
    void noteChanged(const QString& identifier);
    // A change whose reminders are not known one by one.
    void noteEverythingChanged();

private:
    std::optional<StoreError> checkList(const QString& listIdentifier) const;
    std::optional<StoreError> completeOccurrence(Reminder& occurrence);
    std::optional<StoreError> reopen(const Reminder& occurrence);

    std::set<QString> unsaved_;
    std::uint64_t revision_ = 0;
    // The changes after knownFrom_, oldest first; those before it are forgotten.
    std::deque<std::pair<std::uint64_t, QString>> changes_;
    std::optional<std::uint64_t> knownFrom_;
};

}  // namespace tavlin::platform
