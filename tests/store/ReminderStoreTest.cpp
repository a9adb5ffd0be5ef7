// The store's state over time: start-up, the coalesced refresh, its triggers
// (store changes, the minute tick, wakes, the day's rollover) and access.

#include "ReminderStoreFixture.h"

using namespace std::chrono_literals;
using namespace tavlin::platform;
using namespace tavlin::store;
using namespace Qt::StringLiterals;

namespace {

class ReminderStoreTest : public ReminderStoreFixture {
protected:
    void retitle(const char* identifier, const char* title) {
        backend.changeByAnotherProcess([&](MemoryEventStore::Contents& held) {
            for (Reminder& r : held.reminders)
                if (r.identifier == QString::fromUtf8(identifier)) r.title = QString::fromUtf8(title);
        });
    }
};

// Counts every change signal of a store.
struct ChangeCounter {
    explicit ChangeCounter(const ReminderStore& store) {
        for (auto changed :
             {&ReminderStore::remindersChanged, &ReminderStore::completedTodayChanged, &ReminderStore::listsChanged,
              &ReminderStore::authorizationChanged, &ReminderStore::isLoadingChanged, &ReminderStore::lastErrorChanged,
              &ReminderStore::nowChanged, &ReminderStore::pendingDeletionsChanged})
            QObject::connect(&store, changed, [this] { ++changes; });
    }
    int changes = 0;
};

}  // namespace

TEST_F(ReminderStoreTest, StartFetchesListsOpenRemindersAndThoseCompletedToday) {
    Reminder doneYesterday = reminder("done yesterday");
    doneYesterday.completed = true;
    doneYesterday.completionDate = Date::fromSecondsSince1970(1772578740);  // 3 March, 23:59 in Amsterdam
    Reminder doneToday = reminder("done today");
    doneToday.completed = true;
    doneToday.completionDate = Date::fromSecondsSince1970(1772578860);  // 4 March, 00:01
    seed({.lists = {list("L1", "Home")}, .reminders = {reminder("open"), doneYesterday, doneToday}});
    ReminderStore& store = makeStore();
    EXPECT_TRUE(store.reminders().empty()) << "nothing is fetched before start";

    store.start();
    EXPECT_TRUE(store.isLoading());
    clock.runDueActions();

    EXPECT_FALSE(store.isLoading());
    EXPECT_EQ(store.lists(), std::vector{list("L1", "Home")});
    EXPECT_EQ(store.reminders(), std::vector{reminder("open")});
    ASSERT_EQ(store.completedToday().size(), 1u);
    EXPECT_EQ(store.completedToday()[0].identifier, u"done today"_s);
    EXPECT_EQ(store.now(), wallNow());
    EXPECT_EQ(refreshes, 1);
}

TEST_F(ReminderStoreTest, ABurstOfStoreChangesGivesOneRefreshAQuarterOfASecondAfterTheLast) {
    seed({.lists = {list("L1", "Home")}, .reminders = {reminder("a")}});
    startedStore();
    for (int i = 0; i < 10; ++i) {
        retitle("a", i % 2 ? "odd" : "even");
        advance(20ms);
    }
    // The last change was 20 ms ago.
    advance(279ms);
    EXPECT_EQ(refreshes, 1);
    advance(1ms);
    EXPECT_EQ(refreshes, 2);
    EXPECT_EQ(store->reminders()[0].title, u"odd"_s);
}

TEST_F(ReminderStoreTest, RequestsDuringARefreshGiveExactlyOneMoreAfterIt) {
    ReminderStore& store = makeStore();
    store.requestRefresh();
    ASSERT_TRUE(store.isLoading());
    store.requestRefresh();
    store.requestRefresh();
    store.requestRefresh();
    clock.runDueActions();
    EXPECT_EQ(refreshes, 2);
    EXPECT_FALSE(store.isLoading());

    // Nothing is left marked as wanted: the next request runs at once.
    store.requestRefresh();
    EXPECT_TRUE(store.isLoading());
    clock.runDueActions();
    EXPECT_EQ(refreshes, 3);
}

TEST_F(ReminderStoreTest, WithoutFullAccessARefreshChangesNothing) {
    seed({.lists = {list("L1", "Home")}, .reminders = {reminder("a")}});
    settings.setIncludedListIDs({u"gone"_s});
    for (AuthorizationStatus status : {AuthorizationStatus::notDetermined, AuthorizationStatus::restricted,
                                       AuthorizationStatus::denied, AuthorizationStatus::writeOnly}) {
        SCOPED_TRACE(int(status));
        backend.setAuthorizationStatus(status);
        ReminderStore& store = makeStore();
        const ChangeCounter counter(store);
        store.start();
        store.requestRefresh();
        detach(store.refresh());
        advance(2min);
        EXPECT_EQ(counter.changes, 0);
        EXPECT_FALSE(store.isLoading());
        EXPECT_TRUE(store.reminders().empty());
        EXPECT_EQ(settings.includedListIDs(), QSet{u"gone"_s}) << "the lists are never pruned against nothing";
    }
}

TEST_F(ReminderStoreTest, ARefreshThatFindsTheSameValuesNotifiesNobody) {
    seed({.lists = {list("L1", "Home")}, .reminders = {reminder("a"), reminder("b")}});
    ReminderStore& store = startedStore();
    int reminderChanges = 0, listChanges = 0;
    QObject::connect(&store, &ReminderStore::remindersChanged, [&] { ++reminderChanges; });
    QObject::connect(&store, &ReminderStore::listsChanged, [&] { ++listChanges; });

    store.requestRefresh();
    clock.runDueActions();
    EXPECT_EQ(reminderChanges, 0);

    // The same identifier with another revision is a change.
    retitle("b", "b, renamed");
    advance(300ms);
    EXPECT_EQ(reminderChanges, 1);
    EXPECT_EQ(listChanges, 0);
}

TEST_F(ReminderStoreTest, TheMinuteTickRefreshesOnlyWhileTheDisplayIsAwake) {
    startedStore();
    advance(60s);
    EXPECT_EQ(refreshes, 2);

    power.sleepDisplay();
    advance(5min);
    EXPECT_EQ(refreshes, 2);

    power.wakeDisplay();
    clock.runDueActions();
    EXPECT_EQ(refreshes, 3);
    advance(60s);
    EXPECT_EQ(refreshes, 4) << "the ticks go on after the wake";
}

TEST_F(ReminderStoreTest, StoreChangesAndWakesStillRefreshWhileTheDisplaySleeps) {
    ReminderStore& store = startedStore();
    power.sleepDisplay();
    retitle("nothing", "to see");
    advance(300ms);
    EXPECT_EQ(refreshes, 2);
    power.wakeSystem();
    clock.runDueActions();
    EXPECT_EQ(refreshes, 3);
    EXPECT_FALSE(store.isLoading());
}

TEST_F(ReminderStoreTest, TheRolloverFiresOneSecondAfterEachLocalMidnight) {
    struct Case {
        const char* name;
        const char* zone;
        double start;       // seconds since 1970
        double firstFire;   // the next midnight + 1 s
        double secondFire;  // the one after
    };
    const Case cases[] = {
        {"the night clocks go forward in Amsterdam (a day of 23 h)", "Europe/Amsterdam", 1774731600, 1774738801,
         1774821601},
        {"the night clocks go back in Amsterdam (a day of 25 h)", "Europe/Amsterdam", 1792836000, 1792879201,
         1792969201},
        {"Santiago, where the clocks skip midnight itself", "America/Santiago", 1788609600, 1788667201, 1788750001},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        calendar = Calendar::gregorian(zone(c.zone));
        setWallNow(Date::fromSecondsSince1970(c.start));
        refreshes = 0;
        ReminderStore& store = startedStore();
        power.sleepDisplay();  // so that no minute tick refreshes meanwhile

        const auto until = [&](double seconds) {
            return std::chrono::duration_cast<std::chrono::nanoseconds>(
                std::chrono::duration<double>(seconds - wallNow().secondsSince1970()));
        };
        advance(until(c.firstFire) - 1ms);
        EXPECT_EQ(refreshes, 1);
        advance(1ms);
        EXPECT_EQ(store.now(), Date::fromSecondsSince1970(c.firstFire));
        EXPECT_EQ(refreshes, 2);
        advance(until(c.secondFire) - 1ms);
        EXPECT_EQ(refreshes, 2);
        advance(1ms);
        EXPECT_EQ(store.now(), Date::fromSecondsSince1970(c.secondFire));
        EXPECT_EQ(refreshes, 3);
    }
}

TEST_F(ReminderStoreTest, AWakeAfterAMidnightSpentAsleepRefreshesAndSetsTheRolloverAnew) {
    ReminderStore& store = startedStore();
    power.sleepDisplay();
    // Asleep from Wednesday 10:00 to Thursday 09:00; the monotonic clock
    // stood still.
    secondsAsleep = 23 * 3600;
    power.wakeSystem();
    clock.runDueActions();
    EXPECT_EQ(refreshes, 2);
    EXPECT_EQ(store.now(), wallNow());

    // The next rollover is Friday 00:00:01, 15 hours and a second away; the
    // old timer, 14 hours and a second away on the monotonic clock, is gone.
    advance(15h);
    EXPECT_EQ(refreshes, 2);
    advance(1s);
    EXPECT_EQ(refreshes, 3);
}

// The system's zone moves to Tokyo on Wednesday at 10:00 in Amsterdam, 18:00
// there: the store looks again at once, and the day ends at Tokyo's midnight,
// not Amsterdam's.
TEST_F(ReminderStoreTest, AChangeOfTheSystemsZoneRefreshesAndEndsTheDayAtTheNewMidnight) {
    ReminderStore& store = startedStore();
    power.sleepDisplay();
    clock.runDueActions();
    const int before = refreshes;
    store.setTimeZone(zone("Asia/Tokyo"));
    clock.runDueActions();
    EXPECT_EQ(refreshes, before + 1);
    advance(6h);
    EXPECT_EQ(refreshes, before + 1);
    advance(1s);
    EXPECT_EQ(refreshes, before + 2);
}

// Due at 11:00 with no zone of its own: still to come at 10:00 in
// Amsterdam, seven hours past at 18:00 in Tokyo.
TEST_F(ReminderStoreTest, AChangeOfTheSystemsZoneMovesDueTimesWithoutAZone) {
    ReminderStore& store = storeWith({reminder("a", "L1", at(2026, 3, 4, 11))});
    EXPECT_EQ(store.count(CountScope::overdue), 0);
    store.setTimeZone(zone("Asia/Tokyo"));
    clock.runDueActions();
    EXPECT_EQ(store.count(CountScope::overdue), 1);
    ASSERT_EQ(store.visibleReminders().size(), 1u);
    EXPECT_EQ(store.visibleReminders().front().dueDate,
              Calendar::gregorian(zone("Asia/Tokyo")).date(at(2026, 3, 4, 11)));
}

TEST_F(ReminderStoreTest, GrantingAccessFetchesAtOnce) {
    seed({.lists = {list("L1", "Home")}, .reminders = {reminder("a")}});
    backend.setAuthorizationStatus(AuthorizationStatus::notDetermined);
    ReminderStore& store = makeStore();
    store.start();
    clock.runDueActions();
    EXPECT_EQ(refreshes, 0);

    detach(store.requestAccess());
    clock.runDueActions();
    EXPECT_EQ(store.authorization(), AuthorizationStatus::fullAccess);
    EXPECT_EQ(store.reminders(), std::vector{reminder("a")});
    EXPECT_EQ(store.lastError(), std::nullopt);
}

TEST_F(ReminderStoreTest, ARefusedAccessRequestLeavesItsErrorAndTheStatusReadAgain) {
    backend.setAuthorizationStatus(AuthorizationStatus::notDetermined);
    const StoreError refusal{.code = StoreError::accessDenied, .description = u"The folder cannot be written."_s};
    backend.setAccessRequestOutcome(AuthorizationStatus::denied, refusal);
    ReminderStore& store = makeStore();
    detach(store.requestAccess());
    clock.runDueActions();
    EXPECT_EQ(store.lastError(), ReminderStore::Error(refusal));
    EXPECT_EQ(store.authorization(), AuthorizationStatus::denied);
    EXPECT_EQ(refreshes, 0);
}

// A refresh and the timers outlive no store: nothing runs on a store that
// is gone (the sanitizer builds would catch it).
TEST_F(ReminderStoreTest, AStoreDestroyedDuringARefreshIsNotTouchedAfterwards) {
    makeStore().start();
    ASSERT_TRUE(store->isLoading());
    store.reset();
    clock.runDueActions();
    retitle("nothing", "to see");
    advance(2 * 24h);
    EXPECT_EQ(refreshes, 1);
}

TEST(ReminderStoreErrors, DescribeErrorNamesTheDescriptionDomainAndCode) {
    const StoreError error{.code = StoreError::listNotFound, .description = u"The list is 100%1 gone."_s};
    EXPECT_EQ(ReminderStore::describeError(error),
              u"Reminders said: The list is 100%1 gone. (com.quorvandell.tavlin.reminders 3)"_s);
}
