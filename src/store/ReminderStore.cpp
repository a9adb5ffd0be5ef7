#include "store/ReminderStore.h"

#include "parsing/RecurrenceEdit.h"
#include "platform/DueDate.h"
#include "platform/Log.h"
#include "platform/Text.h"
#include "store/DueState.h"

#include <QCoreApplication>
#include <QPointer>

#include <algorithm>
#include <chrono>

using namespace std::chrono_literals;
using namespace Qt::StringLiterals;

namespace tavlin::store {

using platform::Reminder;
using platform::ReminderList;

namespace {

constexpr auto changeDebounceDelay = 300ms;
constexpr auto periodicRefreshInterval = 60s;

QString accountOf(const ReminderList& list) { return list.source ? list.source->identifier : QString(); }

platform::Clock::Duration durationUntil(platform::Date later, platform::Date now) {
    return std::chrono::duration_cast<platform::Clock::Duration>(
        std::chrono::duration<double>(later.timeIntervalSince(now)));
}

// Lets the main loop serve input and timers before the next step.
platform::SleepAwaiter nextTurn() { return platform::sleep(platform::Clock::Duration::zero()); }

}  // namespace

ReminderStore::ReminderStore(platform::EventStore& eventStore, Settings& settings, platform::PowerEvents& powerEvents,
                             const PlaceResolver& places, WallClock wallClock, QObject* parent)
    : QObject(parent),
      eventStore_(eventStore),
      settings_(settings),
      powerEvents_(powerEvents),
      places_(places),
      wallClock_(std::move(wallClock)),
      authorization_(eventStore.authorizationStatus()),
      now_(wallClock_.now()),
      changeDebouncer_(changeDebounceDelay),
      dueDates_(wallClock_.calendar) {
    // A deletion whose undo window is still open at the end is carried out.
    connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this, &ReminderStore::flushPendingDeletions);
    // What readers ask for is kept until what it is made of changes. These
    // are the first connections, so that every other receiver of the same
    // signal already reads the new state. The included lists are compared
    // at each read instead: the settings signal others first.
    const auto dropVisible = [this] {
        visible_.reset();
        counts_.reset();
    };
    // The counts follow a change that the visible reminders follow.
    connect(this, &ReminderStore::remindersChanged, this, [this, dropVisible] {
        if (!std::exchange(visibleFollowed_, false)) dropVisible();
    });
    connect(this, &ReminderStore::pendingDeletionsChanged, this, dropVisible);
    // The done-today count is not kept: completedToday leaves the others as they are.
    connect(this, &ReminderStore::nowChanged, this, &ReminderStore::followNow);
}

ReminderStore::~ReminderStore() {
    periodicTimer_.cancel();
    rolloverTimer_.cancel();
}

void ReminderStore::setLastError(std::optional<Error> error) {
    if (error) {
        const auto* refused = std::get_if<ListMoveRefused>(&*error);
        const platform::StoreError& cause = refused ? refused->underlying : std::get<platform::StoreError>(*error);
        qCCritical(lcStore).noquote() << "The reminders store refused:"
                                      << cause.domain + u'#' + QString::number(cause.code) << cause.description
                                      << (refused ? u"- "_s + refused->description() : QString());
    }
    publish(this, lastError_, std::move(error), &ReminderStore::lastErrorChanged);
}

QString ReminderStore::ListMoveRefused::description() const {
    return u"Couldn’t move it to “"_s + listName + u"” — the rest of the edit was saved"_s;
}

QString ReminderStore::ListMoveRefused::failureReason() const { return describeError(underlying); }

QString ReminderStore::description(const Error& error) {
    if (const auto* refused = std::get_if<ListMoveRefused>(&error)) return refused->description();
    return std::get<platform::StoreError>(error).description;
}

// ---- Start-up and refresh

void ReminderStore::start() {
    connect(&eventStore_, &platform::EventStore::changed, this,
            [this] { changeDebouncer_.schedule([this] { requestRefresh(); }); });
    connect(&powerEvents_, &platform::PowerEvents::systemDidWake, this, [this] {
        requestRefresh();
        // A midnight passed in sleep is caught by the refresh; the timer,
        // measured on a clock that may have stood still, is set anew.
        scheduleRolloverTimer();
    });
    connect(&powerEvents_, &platform::PowerEvents::displayDidSleep, this, [this] { displayIsAsleep_ = true; });
    connect(&powerEvents_, &platform::PowerEvents::displayDidWake, this, [this] {
        displayIsAsleep_ = false;
        requestRefresh();
    });
    schedulePeriodicTick();
    scheduleRolloverTimer();
    if (authorization_ == platform::AuthorizationStatus::fullAccess) requestRefresh();
}

void ReminderStore::setTimeZone(const platform::TimeZone& zone) {
    wallClock_.calendar.setTimeZone(zone);
    // Floating and date-only due dates fall at other instants now.
    dueDates_ = platform::DateCache(wallClock_.calendar);
    visible_.reset();
    scheduleRolloverTimer();
    // The instant is the same, its day may not be: readers look again.
    emit nowChanged();
    requestRefresh();
}

void ReminderStore::schedulePeriodicTick() {
    periodicTimer_ = platform::Clock::main().schedule(periodicRefreshInterval, [this] { periodicTick(); });
}

void ReminderStore::periodicTick() {
    schedulePeriodicTick();
    if (displayIsAsleep_) return;
    eventStore_.refreshSourcesIfNecessary();
    requestRefresh();
}

// One second after the next local midnight, found by calendar days so that
// a day of 23 or 25 hours ends where its midnight is.
void ReminderStore::scheduleRolloverTimer() {
    rolloverTimer_.cancel();
    const platform::Date current = wallClock_.now();
    const platform::Calendar& calendar = wallClock_.calendar;
    const platform::Date tomorrow =
        calendar.dateByAdding(platform::CalendarComponent::Day, 1, current).value_or(current);
    const platform::Date fireDate = calendar.startOfDay(tomorrow).addingTimeInterval(1);
    rolloverTimer_ = platform::Clock::main().schedule(durationUntil(fireDate, current), [this] { rollOver(); });
}

void ReminderStore::rollOver() {
    publish(this, now_, wallClock_.now(), &ReminderStore::nowChanged);
    scheduleRolloverTimer();
    requestRefresh();
}

void ReminderStore::requestRefresh() {
    if (refreshInFlight_) {
        refreshRequestedDuringFlight_ = true;
        return;
    }
    refreshInFlight_ = true;
    platform::detach(refreshCoalesced());
}

platform::Task<> ReminderStore::refreshCoalesced() {
    const QPointer<ReminderStore> self(this);
    co_await refresh();
    if (!self) co_return;
    refreshInFlight_ = false;
    if (std::exchange(refreshRequestedDuringFlight_, false)) requestRefresh();
}

platform::Task<> ReminderStore::refresh() {
    if (authorization_ != platform::AuthorizationStatus::fullAccess) co_return;
    const QPointer<ReminderStore> self(this);
    publish(this, isLoading_, true, &ReminderStore::isLoadingChanged);
    publish(this, lists_, eventStore_.lists(), &ReminderStore::listsChanged);
    reconcileListSettings();
    // Each fetch gets a turn of its own, so that the loop is not held for
    // the whole refresh.
    co_await nextTurn();
    if (!self) co_return;
    eventStore_.catchUp();
    const platform::Date startOfToday = wallClock_.calendar.startOfDay(wallClock_.now());
    // Where the event store can say which reminders changed since the last
    // refresh, only those are read; the next day, or after a change of
    // many, every reminder is fetched.
    constexpr qsizetype kMostChangesApplied = 64;
    const std::uint64_t revision = eventStore_.revision();
    std::optional<QSet<QString>> changes = fetched_ && fetched_->startOfToday == startOfToday
                                               ? eventStore_.changedSince(fetched_->revision)
                                               : std::nullopt;
    // As a fetch of everything would, the refresh brings the pending
    // deletions back from the store (the visible reminders leave them out).
    if (changes)
        for (const Reminder& pending : pendingDeletions_) changes->insert(pending.identifier);
    if (changes && changes->size() <= kMostChangesApplied) {
        applyChanges(*changes, startOfToday);
    } else {
        platform::EventStore::Fetched all = eventStore_.fetchReminders(startOfToday);
        publish(this, reminders_, std::move(all.incomplete), &ReminderStore::remindersChanged);
        co_await nextTurn();
        if (!self) co_return;
        publish(this, completedToday_, std::move(all.completed), &ReminderStore::completedTodayChanged);
    }
    fetched_ = Fetch{revision, startOfToday};
    publish(this, now_, wallClock_.now(), &ReminderStore::nowChanged);
    publish(this, isLoading_, false, &ReminderStore::isLoadingChanged);
}

namespace {

// Puts `saved` in place of the reminder with `identifier` (at the end when
// there is none), or with no saved state takes that one out; true when
// anything changed.
bool place(std::vector<Reminder>& reminders, const QString& identifier, const std::optional<Reminder>& saved) {
    const auto found = std::find_if(reminders.begin(), reminders.end(),
                                    [&](const Reminder& reminder) { return reminder.identifier == identifier; });
    if (!saved) {
        if (found == reminders.end()) return false;
        reminders.erase(found);
        return true;
    }
    if (found == reminders.end()) reminders.push_back(*saved);
    else if (*found != *saved) *found = *saved;
    else return false;
    return true;
}

}  // namespace

void ReminderStore::edit(std::vector<Reminder>& field, void (ReminderStore::*changed)(),
                         const std::function<bool(std::vector<Reminder>&)>& change) {
    if (change(field)) emit(this->*changed)();
    else visibleFollowed_ = false;
}

void ReminderStore::applyChanges(const QSet<QString>& identifiers, platform::Date startOfToday) {
    std::vector<std::pair<QString, std::optional<Reminder>>> saved;
    for (const QString& identifier : identifiers) saved.emplace_back(identifier, eventStore_.reminder(identifier));
    const auto placeEach = [&](const std::function<bool(const Reminder&)>& belongs) {
        return [&saved, belongs](std::vector<Reminder>& reminders) {
            bool changed = false;
            for (const auto& [identifier, reminder] : saved)
                changed = place(reminders, identifier,
                                reminder && belongs(*reminder) ? reminder : std::optional<Reminder>()) ||
                          changed;
            return changed;
        };
    };
    edit(reminders_, &ReminderStore::remindersChanged,
         placeEach([](const Reminder& reminder) { return !reminder.completed; }));
    edit(completedToday_, &ReminderStore::completedTodayChanged, placeEach([startOfToday](const Reminder& reminder) {
             return platform::EventStore::completedSince(reminder, startOfToday);
         }));
}

platform::Task<> ReminderStore::requestAccess() {
    if (std::optional<Error> error = eventStore_.requestFullAccess()) setLastError(std::move(error));
    publish(this, authorization_, eventStore_.authorizationStatus(), &ReminderStore::authorizationChanged);
    if (authorization_ == platform::AuthorizationStatus::fullAccess) co_await refresh();
}

QString ReminderStore::describeError(const platform::StoreError& error) {
    return u"Reminders said: "_s + error.description + u" ("_s + error.domain + u' ' + QString::number(error.code) +
           u')';
}

// ---- Lists

std::optional<ReminderList> ReminderStore::list(const QString& title,
                                                const std::optional<ReminderList>& preferringSourceOf) const {
    const std::vector<ReminderList>& all = lists();
    std::vector<ReminderList> matches;
    std::copy_if(all.begin(), all.end(), std::back_inserter(matches),
                 [&](const ReminderList& list) { return platform::canonicallyEqual(list.title, title); });
    if (matches.empty()) return std::nullopt;
    if (preferringSourceOf) {
        const QString account = accountOf(*preferringSourceOf);
        const auto inAccount = std::find_if(matches.begin(), matches.end(),
                                            [&](const ReminderList& list) { return accountOf(list) == account; });
        if (inAccount != matches.end()) return *inAccount;
    }
    return matches.front();
}

std::optional<ReminderList> ReminderStore::listWithIdentifier(const QString& identifier) const {
    const std::vector<ReminderList>& all = lists();
    const auto found =
        std::find_if(all.begin(), all.end(), [&](const ReminderList& list) { return list.identifier == identifier; });
    return found == all.end() ? std::nullopt : std::optional(*found);
}

std::optional<ReminderList> ReminderStore::quickAddList() const {
    if (const std::optional<QString> chosen = settings_.quickAddListID())
        if (auto list = listWithIdentifier(*chosen)) return list;
    const QSet<QString> included = settings_.includedListIDs();
    if (const std::optional<ReminderList> fallback = eventStore_.defaultListForNewReminders())
        if (auto list = listWithIdentifier(fallback->identifier))
            if (included.isEmpty() || included.contains(list->identifier)) return list;
    const std::vector<ReminderList>& all = lists();
    const auto shown = std::find_if(all.begin(), all.end(), [&](const ReminderList& list) {
        return included.isEmpty() || included.contains(list.identifier);
    });
    return shown == all.end() ? std::nullopt : std::optional(*shown);
}

// The two list settings name only lists that exist. Losing the last
// included list narrows the view to the first list: an empty set would
// widen it to all of them. A read with no lists at all (a folder briefly
// empty or unreadable) says nothing about which lists are gone, so it
// leaves both settings as the user chose them.
void ReminderStore::reconcileListSettings() {
    if (lists_.empty()) return;
    QSet<QString> ids;
    for (const ReminderList& list : lists_) ids.insert(list.identifier);
    QSet<QString> included = settings_.includedListIDs();
    if (!included.isEmpty()) {
        included.intersect(ids);
        if (included.isEmpty()) included.insert(lists_.front().identifier);
        if (included != settings_.includedListIDs()) settings_.setIncludedListIDs(included);
    }
    const std::optional<QString> quickAdd = settings_.quickAddListID();
    if (quickAdd && (!ids.contains(*quickAdd) || (!included.isEmpty() && !included.contains(*quickAdd))))
        settings_.setQuickAddListID(std::nullopt);
}

// ---- Visible reminders and counts

bool ReminderStore::isInIncludedLists(const Reminder& reminder, const QSet<QString>& includedLists) {
    return includedLists.isEmpty() || reminder.listIdentifier.isEmpty() ||
           includedLists.contains(reminder.listIdentifier);
}

namespace {

bool isShown(const Reminder& reminder, const QSet<QString>& excluded, const QSet<QString>& includedLists) {
    return !excluded.contains(reminder.identifier) && ReminderStore::isInIncludedLists(reminder, includedLists);
}

ReminderStore::VisibleReminder visibleEntry(const Reminder& reminder, std::optional<platform::Date> dueDate) {
    return {&reminder, dueDate, reminder.dueDateComponents && reminder.dueDateComponents->hasTime()};
}

}  // namespace

std::vector<Reminder> ReminderStore::filterReminders(const std::vector<Reminder>& reminders,
                                                     const QSet<QString>& excluded,
                                                     const QSet<QString>& includedLists) {
    if (excluded.isEmpty() && includedLists.isEmpty()) return reminders;
    std::vector<Reminder> kept;
    std::copy_if(reminders.begin(), reminders.end(), std::back_inserter(kept),
                 [&](const Reminder& reminder) { return isShown(reminder, excluded, includedLists); });
    return kept;
}

// Read through the getters, so that an observer of the visible reminders
// follows every property they are made of.
const ReminderStore::Visible& ReminderStore::visible() const {
    const std::vector<Reminder>& all = reminders();
    const std::vector<Reminder>& pending = pendingDeletions();
    const QSet<QString> included = settings_.includedListIDs();
    if (visible_ && visible_->includedLists == included) return *visible_;
    counts_.reset();

    QSet<QString> excluded;
    for (const Reminder& reminder : pending) excluded.insert(reminder.identifier);
    std::vector<const Reminder*> kept;
    kept.reserve(all.size());
    std::vector<std::optional<platform::Date>> dueDates(all.size());
    for (const Reminder& reminder : all) {
        if (!isShown(reminder, excluded, included)) continue;
        kept.push_back(&reminder);
        dueDates[static_cast<std::size_t>(&reminder - all.data())] = keptDueDate(reminder);
    }
    const auto dueOf = [&](const Reminder& reminder) {
        return dueDates[static_cast<std::size_t>(&reminder - all.data())];
    };
    Visible made{.includedLists = included};
    const std::vector<const Reminder*> shown =
        parsing::RecurrenceEdit::collapseRecurringSeries(kept, dueOf, recurrenceSeriesKey);
    made.reminders.reserve(shown.size());
    for (const Reminder* reminder : shown) made.reminders.push_back(visibleEntry(*reminder, dueOf(*reminder)));
    return visible_.emplace(std::move(made));
}

// A new reminder at the end, or one changed where it stands, that neither
// repeats nor did: its entry in the visible reminders follows it, instead of
// all of them being made anew (which at fifty thousand reminders costs tens
// of milliseconds at every write). Anything else makes them anew.
void ReminderStore::followInVisible(const Reminder* changed, bool repeatedBefore, bool appended) {
    visibleFollowed_ = false;
    if (!visible_ || repeatedBefore || !changed->recurrenceRules.empty()) return;
    std::vector<VisibleReminder>& shown = visible_->reminders;
    QSet<QString> excluded;
    for (const Reminder& pending : pendingDeletions_) excluded.insert(pending.identifier);
    const bool isShownNow = isShown(*changed, excluded, visible_->includedLists);
    const auto count = [this](const VisibleReminder& visible, int sign) {
        if (counts_) tally(*counts_, visible, sign);
    };
    if (appended) {
        if (isShownNow) {
            shown.push_back(visibleEntry(*changed, keptDueDate(*changed)));
            count(shown.back(), 1);
        }
        visibleFollowed_ = true;
        return;
    }
    const auto entry = std::find_if(shown.begin(), shown.end(),
                                    [&](const VisibleReminder& visible) { return visible.reminder == changed; });
    // One that comes into view has a place among the others to be found.
    if (entry == shown.end()) return;
    count(*entry, -1);
    if (isShownNow) {
        *entry = visibleEntry(*changed, keptDueDate(*changed));
        count(*entry, 1);
    } else {
        shown.erase(entry);
    }
    visibleFollowed_ = true;
}

const std::vector<ReminderStore::VisibleReminder>& ReminderStore::visibleReminders() const {
    return visible().reminders;
}

int ReminderStore::count(CountScope scope) const {
    if (scope == CountScope::none) return 0;
    if (scope == CountScope::completedToday) return doneTodayCount();
    const platform::Date reference = now();
    const Visible& shown = visible();
    if (!counts_) {
        Counts made{DueReckoning(reference, wallClock_.calendar)};
        for (const VisibleReminder& visible : shown.reminders) tally(made, visible, 1);
        counts_ = std::move(made);
    }
    return counts_->byScope[static_cast<std::size_t>(scope)];
}

void ReminderStore::tally(Counts& counts, const VisibleReminder& visible, int sign) {
    const DueReckoning& reckoning = counts.reckoning;
    const DueState state = reckoning.state(visible.hasTime, visible.dueDate);
    for (std::size_t i = 0; i < allCountScopes.size(); ++i)
        if (includes(allCountScopes[i], state, reckoning)) counts.byScope[i] += sign;
    // One taken out leaves the bound where it was: it comes sooner, never too late.
    if (sign > 0 && visible.hasTime && visible.dueDate && state.kind() != DueState::Kind::overdue &&
        (!counts.nextToPass || *visible.dueDate < *counts.nextToPass))
        counts.nextToPass = visible.dueDate;
}

// Every refresh moves now by a moment: the counts hold unless the day
// changed, the clock went back, or a timed due instant passed meanwhile.
void ReminderStore::followNow() {
    if (!counts_) return;
    const DueReckoning& counted = counts_->reckoning;
    DueReckoning moved(now_, wallClock_.calendar);
    const bool holds = now_ >= counted.now() && moved.startOfToday() == counted.startOfToday() &&
                       (!counts_->nextToPass || now_ <= *counts_->nextToPass);
    if (holds) counts_->reckoning = std::move(moved);
    else counts_.reset();
}

int ReminderStore::doneTodayCount() const {
    const QSet<QString> included = settings_.includedListIDs();
    const std::vector<Reminder>& done = completedToday();
    return int(std::count_if(done.begin(), done.end(),
                             [&](const Reminder& reminder) { return isInIncludedLists(reminder, included); }));
}

std::optional<platform::Date> ReminderStore::dueDate(const Reminder& reminder) const {
    return platform::DueDate::date(reminder.dueDateComponents, wallClock_.calendar);
}

std::optional<platform::Date> ReminderStore::keptDueDate(const Reminder& reminder) const {
    const std::optional<platform::DateComponents>& components = reminder.dueDateComponents;
    // Components in a calendar of their own are read in it, uncached.
    if (!components || components->calendar) return dueDate(reminder);
    return dueDates_.date(*components);
}

std::optional<QString> ReminderStore::recurrenceSeriesKey(const Reminder& reminder) {
    if (reminder.recurrenceRules.empty()) return std::nullopt;
    const platform::RecurrenceRule& rule = reminder.recurrenceRules.front();
    return reminder.listIdentifier + u'|' +
           platform::lowercasedPosix(platform::trimmedWhitespaceAndNewlines(reminder.title)) + u'|' +
           QString::number(int(rule.frequency)) + u'x' + QString::number(rule.interval);
}

}  // namespace tavlin::store
