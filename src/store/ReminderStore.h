#pragma once

#include "parsing/ParsedQuickAdd.h"
#include "platform/Calendar.h"
#include "platform/Clock.h"
#include "platform/Date.h"
#include "platform/DateCache.h"
#include "platform/PowerEvents.h"
#include "platform/Task.h"
#include "platform/eventstore/EventStore.h"
#include "platform/eventstore/Reminder.h"
#include "store/CountScope.h"
#include "store/Debouncer.h"
#include "store/DueState.h"
#include "store/ObservationTracking.h"
#include "store/RescheduleTarget.h"
#include "store/ResolvedLocation.h"
#include "store/Settings.h"

#include <QHash>
#include <QObject>
#include <QSet>
#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <variant>
#include <vector>

namespace tavlin::store {

class PlaceResolver;

// Where the time of day and the bounds of days are read: the system clock
// and the user's calendar, or in tests a clock that a test steps.
struct WallClock {
    std::function<platform::Date()> now = platform::Date::now;
    platform::Calendar calendar = platform::Calendar::current();
};

// The one model of the user's reminders: the lists, the open reminders and
// those completed today, as last fetched from the event store and as
// changed since by this model's own writes. Every write puts its result
// into the published state at once, records its outcome in lastError and
// asks for a refresh.
//
// It keeps them fresh: after a change in the store (0.3 s after the last of
// a burst), every 60 s while the display is awake, when the machine or the
// display wakes, and one second after each midnight. At most one refresh
// runs at a time, and any requests while it runs make one more after it.
//
// Every getter publishes its property (ObservationTracking) and every
// property has a change signal, sent only when the value changed. Main
// thread only.
class ReminderStore : public QObject {
    Q_OBJECT

public:
    // An edit that was saved but for its move to another list.
    struct ListMoveRefused {
        QString listName;  // the title of the list it was to move to
        platform::StoreError underlying;

        // "Couldn’t move it to “<list>” — the rest of the edit was saved"
        QString description() const;
        // describeError of the underlying error.
        QString failureReason() const;

        friend bool operator==(const ListMoveRefused&, const ListMoveRefused&) = default;
    };
    // What lastError holds: the store's refusal of a call, or a refused move.
    using Error = std::variant<platform::StoreError, ListMoveRefused>;
    // The sentence for people of either.
    static QString description(const Error& error);

    // What became of an update.
    enum class UpdateOutcome { saved, listMoveRefused, failed, skippedBecauseCompleted, skippedBecauseMissing };

    // `places` resolves the place names of edits.
    ReminderStore(platform::EventStore& eventStore, Settings& settings, platform::PowerEvents& powerEvents,
                  const PlaceResolver& places, WallClock wallClock = {}, QObject* parent = nullptr);
    ~ReminderStore() override;

    platform::EventStore& eventStore() const { return eventStore_; }
    Settings& settings() const { return settings_; }
    // What turns the place names of lines into places.
    const PlaceResolver& places() const { return places_; }
    const platform::Calendar& calendar() const { return wallClock_.calendar; }

    // Every open reminder of every list, in the store's order.
    const std::vector<platform::Reminder>& reminders() const {
        return observed(this, reminders_, &ReminderStore::remindersChanged);
    }
    // The reminders completed since the start of the day of the last refresh.
    const std::vector<platform::Reminder>& completedToday() const {
        return observed(this, completedToday_, &ReminderStore::completedTodayChanged);
    }
    const std::vector<platform::ReminderList>& lists() const {
        return observed(this, lists_, &ReminderStore::listsChanged);
    }
    platform::AuthorizationStatus authorization() const {
        return observed(this, authorization_, &ReminderStore::authorizationChanged);
    }
    // True while a refresh runs.
    bool isLoading() const { return observed(this, isLoading_, &ReminderStore::isLoadingChanged); }
    // The last failure of an operation that records one; nothing after the
    // last write succeeded.
    const std::optional<Error>& lastError() const {
        return observed(this, lastError_, &ReminderStore::lastErrorChanged);
    }
    // The time that due states and counts are reckoned from: set by each
    // refresh and at the day's rollover.
    platform::Date now() const { return observed(this, now_, &ReminderStore::nowChanged); }
    // Reminders deleted with an undo window: gone from view, not yet from
    // the store.
    const std::vector<platform::Reminder>& pendingDeletions() const {
        return observed(this, pendingDeletions_, &ReminderStore::pendingDeletionsChanged);
    }

    // Starts following the store, the clock and the power events, and
    // refreshes when access is granted. Called once.
    void start();
    // The user's days are those of `zone` from now on (the system's zone
    // changed): today, the next midnight and what is overdue are found anew.
    void setTimeZone(const platform::TimeZone& zone);
    // A refresh soon: at once when none runs, else once more after it.
    void requestRefresh();
    // One fetch of the lists and reminders; nothing without full access.
    platform::Task<> refresh();
    // Asks for full access, records a refusal in lastError, re-reads the
    // status, and refreshes when access was granted.
    platform::Task<> requestAccess();

    // "Reminders said: <description> (<domain> <code>)".
    static QString describeError(const platform::StoreError& error);

    // The first list titled exactly `title` (canonically equivalent, case and
    // accents count), preferring one in the account of `preferringSourceOf`.
    std::optional<platform::ReminderList> list(const QString& title,
                                               const std::optional<platform::ReminderList>& preferringSourceOf) const;
    std::optional<platform::ReminderList> listWithIdentifier(const QString& identifier) const;
    // Where a new reminder goes that names no list: the chosen quick-add
    // list, else the store's default list when it is shown, else the first
    // list shown.
    std::optional<platform::ReminderList> quickAddList() const;

    // A reminder shown, and the instant it is due in calendar(). It reads as
    // the reminder itself where one is wanted.
    struct VisibleReminder {
        const platform::Reminder* reminder = nullptr;  // one of reminders()
        std::optional<platform::Date> dueDate;
        // The due date has a time of day. Kept beside the instant so that
        // counting reads this array alone, not every reminder.
        bool hasTime = false;

        operator const platform::Reminder&() const { return *reminder; }
    };
    // The open reminders shown: of the included lists, less the pending
    // deletions, and of each recurring series only the one due first, in the
    // order of reminders(). Worked out once and kept until the store's state
    // changes: a caller must not hold it across a write or a refresh.
    const std::vector<VisibleReminder>& visibleReminders() const;
    // `reminders` less those whose identifier is in `excluded` and those of
    // a list not in `includedLists` (empty: every list); a reminder without
    // a list always stays.
    static std::vector<platform::Reminder> filterReminders(const std::vector<platform::Reminder>& reminders,
                                                           const QSet<QString>& excluded,
                                                           const QSet<QString>& includedLists);
    // Whether a reminder belongs to one of `includedLists` (empty: every
    // list); a reminder without a list always does.
    static bool isInIncludedLists(const platform::Reminder& reminder, const QSet<QString>& includedLists);
    // How many visible reminders a scope covers at `now`; for completedToday
    // the done-today count. Every scope is counted in one pass, kept until
    // the store's state changes.
    int count(CountScope scope) const;
    // The reminders completed today in the included lists.
    int doneTodayCount() const;

    // "<list id>|<title trimmed, lowercased>|<frequency>x<interval>" of the
    // first recurrence rule; nothing for a reminder that does not repeat.
    static std::optional<QString> recurrenceSeriesKey(const platform::Reminder& reminder);
    // The instant of the reminder's due date in the user's calendar.
    std::optional<platform::Date> dueDate(const platform::Reminder& reminder) const;
    // The same, read through the store's cache of due instants: for reading
    // many on the main thread.
    std::optional<platform::Date> keptDueDate(const platform::Reminder& reminder) const;

    // A new reminder made of a parsed line, with `location` as its place
    // when given (else the line's place is resolved), and `notes`. The saved
    // reminder, or nothing when the store refused it.
    platform::Task<std::optional<platform::Reminder>> add(parsing::ParsedQuickAdd parsed,
                                                          std::optional<ResolvedLocation> location = std::nullopt,
                                                          std::optional<QString> notes = std::nullopt);
    // Rewrites a reminder from a parsed line, as it is saved now: an edit
    // of a reminder that was completed, or deleted elsewhere, is skipped
    // and leaves lastError as it was.
    platform::Task<UpdateOutcome> update(parsing::ParsedQuickAdd parsed, platform::Reminder reminder,
                                         std::optional<ResolvedLocation> location = std::nullopt);
    // The reminder with every field of the line written onto it, unsaved:
    // title, due date and its alarm, priority, recurrence, place, list.
    // Alarms at an offset from the due date are kept.
    platform::Task<platform::Reminder> applyEdit(parsing::ParsedQuickAdd parsed, platform::Reminder reminder,
                                                 std::optional<ResolvedLocation> location);

    // Marks a reminder done or open, and moves it between reminders and
    // completedToday. The writes take their reminders by value, so that a
    // caller may hand in one of the published ones. True when it was saved;
    // a refusal leaves the reminder as it was and is the last error.
    bool setCompleted(platform::Reminder reminder, bool done);
    // Takes a reminder out of view for an undo window; the store keeps it
    // until flushPendingDeletions. Ends the window of an earlier one.
    void queueDeletion(platform::Reminder reminder);
    // The same for a batch, pending together: the earlier batch is carried
    // out first (also for an empty list), then every reminder of this one
    // leaves view. Queued one by one, each would carry out the one before.
    void queueDeletions(std::vector<platform::Reminder> reminders);
    // Undo: puts the pending reminders back, at the end.
    void cancelDeletion();
    // Removes the pending reminders from the store. Runs by itself when the
    // application quits.
    void flushPendingDeletions();
    // Removes a reminder at once; true when the store removed it.
    bool deleteReminder(platform::Reminder reminder);
    // Moves the due dates to the day of `target`, each keeping its time.
    void reschedule(std::vector<platform::Reminder> reminders, RescheduleTarget target);

    // The folder that holds the reminder's file, for the desktop's
    // application for folders; nothing when the event store keeps no files.
    std::optional<QString> folderOf(const platform::Reminder& reminder) const;

signals:
    void remindersChanged();
    void completedTodayChanged();
    void listsChanged();
    void authorizationChanged();
    void isLoadingChanged();
    void lastErrorChanged();
    void nowChanged();
    void pendingDeletionsChanged();

private:
    void setLastError(std::optional<Error> error);
    void reconcileListSettings();
    void scheduleRolloverTimer();
    void schedulePeriodicTick();
    void periodicTick();
    void rollOver();
    platform::Task<> refreshCoalesced();

    platform::Task<std::optional<platform::StructuredLocation>> placeFor(
        parsing::ParsedQuickAdd parsed, std::optional<platform::StructuredLocation> existing,
        std::optional<ResolvedLocation> location);
    void applyList(const parsing::ParsedQuickAdd& parsed, platform::Reminder& reminder) const;
    void realignDueAlarm(platform::Reminder& reminder, bool timed) const;
    // Puts the saved state of a reminder in place of the one shown.
    void replaceShown(const platform::Reminder& saved);
    // Changes a published array in place and tells its observers when
    // `change` says it changed anything: copying every reminder to change
    // one would cost more than the change.
    void edit(std::vector<platform::Reminder>& field, void (ReminderStore::*changed)(),
              const std::function<bool(std::vector<platform::Reminder>&)>& change);
    // Keeps the visible reminders in step with one reminder appended to, or
    // changed in, reminders_ where that is simple; the next change signal
    // then leaves them as they are.
    void followInVisible(const platform::Reminder* changed, bool repeatedBefore, bool appended);
    // Takes in the saved state of the reminders the event store changed.
    void applyChanges(const QSet<QString>& identifiers, platform::Date startOfToday);

    // What the readers ask for, derived from the state once per change of it.
    struct Visible {
        QSet<QString> includedLists;  // the setting it was made with
        std::vector<VisibleReminder> reminders;
    };
    // The count of every scope, kept in step with the visible reminders
    // that follow a change, and with now while no due state changes.
    struct Counts {
        DueReckoning reckoning;
        std::array<int, allCountScopes.size()> byScope{};
        // The earliest timed due instant counted that was not overdue: until
        // now passes it, within the day, every state stays as it was.
        std::optional<platform::Date> nextToPass;
    };
    // Adds the visible reminder to the counts (`sign` 1) or takes it out (-1).
    static void tally(Counts& counts, const VisibleReminder& visible, int sign);
    // The counts hold at the new now, or are dropped.
    void followNow();
    const Visible& visible() const;

    platform::EventStore& eventStore_;
    Settings& settings_;
    platform::PowerEvents& powerEvents_;
    const PlaceResolver& places_;
    WallClock wallClock_;

    std::vector<platform::Reminder> reminders_;
    std::vector<platform::Reminder> completedToday_;
    std::vector<platform::ReminderList> lists_;
    platform::AuthorizationStatus authorization_;
    bool isLoading_ = false;
    std::optional<Error> lastError_;
    platform::Date now_;
    std::vector<platform::Reminder> pendingDeletions_;

    Debouncer changeDebouncer_;
    platform::ScheduledAction periodicTimer_;
    platform::ScheduledAction rolloverTimer_;
    bool displayIsAsleep_ = false;
    bool refreshInFlight_ = false;
    bool refreshRequestedDuringFlight_ = false;
    // What the last refresh read: the event store's revision and the day.
    struct Fetch {
        std::uint64_t revision = 0;
        platform::Date startOfToday;
    };
    std::optional<Fetch> fetched_;

    // Dropped whenever what they are made of changes.
    mutable std::optional<Visible> visible_;
    mutable std::optional<Counts> counts_;
    bool visibleFollowed_ = false;  // the visible reminders already follow the change being told
    // The due instants, kept by due date: the same dates come again and
    // again, and a change of one reminder leaves the others' to be found here.
    mutable platform::DateCache dueDates_;
};

}  // namespace tavlin::store
