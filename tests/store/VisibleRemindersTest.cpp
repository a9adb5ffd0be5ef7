// What the store shows and counts: included lists, one occurrence per
// recurring series, the count of every scope, and the reminders done today.

#include "ReminderStoreFixture.h"

#include "store/DoneToday.h"

using namespace std::chrono_literals;
using namespace tavlin::platform;
using namespace tavlin::store;
using namespace Qt::StringLiterals;

namespace {

class VisibleRemindersTest : public ReminderStoreFixture {
protected:
    VisibleRemindersTest() { defaultLists = {list("L1", "One")}; }

    static Reminder completed(const char* identifier, const char* listIdentifier, double completedAt) {
        Reminder done = reminder(identifier, listIdentifier);
        done.completed = true;
        done.completionDate = Date::fromSecondsSince1970(completedAt);
        return done;
    }

    static Reminder weekly(const char* identifier, const char* title, std::optional<DateComponents> due,
                           const char* listIdentifier = "L1") {
        Reminder r = reminder(identifier, listIdentifier, std::move(due));
        r.title = QString::fromUtf8(title);
        r.recurrenceRules = {{.frequency = RecurrenceRule::Frequency::weekly}};
        return r;
    }

    std::vector<std::optional<QString>> labels(const ReminderStore& store) const {
        std::vector<std::optional<QString>> all;
        for (CountScope scope : allCountScopes) all.push_back(label(scope, store.count(scope)));
        return all;
    }
};

const double thursdayMorning = 1772614800 + 86400;  // 5 March 2026, 10:00 in Amsterdam

}  // namespace

TEST_F(VisibleRemindersTest, EveryScopeCountsTheRemindersInItsDueStates) {
    const std::vector<Reminder> reminders = {
        reminder("yesterday", "L1", day(2026, 3, 3)),
        reminder("today", "L1", day(2026, 3, 4)),
        reminder("09:00 today", "L1", at(2026, 3, 4, 9)),
        reminder("23:00 today", "L1", at(2026, 3, 4, 23)),
        reminder("00:30 on Thursday", "L1", at(2026, 3, 5, 0, 30)),
        reminder("Tuesday", "L1", day(2026, 3, 10)),
        reminder("Wednesday a week on", "L1", day(2026, 3, 11)),
        reminder("undated"),
        reminder("no such date", "L1", DateComponents{.year = 2'000'000, .month = 1, .day = 1}),
        completed("done at 08:00", "L1", 1772607600),
    };
    struct Case {
        const char* name;
        Date now;
        std::vector<std::optional<QString>> labels;  // in scope order
    };
    const Case cases[] = {
        {"Wednesday 10:00",
         wednesdayMorning,
         {u"2 overdue"_s, u"2 due today"_s, u"4 due by today"_s, u"4 due in the next 7 days"_s, u"9 open"_s,
          u"2 undated"_s, u"1 done today"_s, std::nullopt}},
        {"Wednesday 23:30: the 23:00 reminder has passed",
         wednesdayMorning.addingTimeInterval(13.5 * 3600),
         {u"3 overdue"_s, u"1 due today"_s, u"4 due by today"_s, u"3 due in the next 7 days"_s, u"9 open"_s,
          u"2 undated"_s, u"1 done today"_s, std::nullopt}},
        {"Thursday 10:00: Wednesday's date-only reminder is overdue, a week on is within seven days, and what "
         "was done on Wednesday is not done today",
         Date::fromSecondsSince1970(thursdayMorning),
         {u"5 overdue"_s, u"0 due today"_s, u"5 due by today"_s, u"2 due in the next 7 days"_s, u"9 open"_s,
          u"2 undated"_s, u"0 done today"_s, std::nullopt}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        setWallNow(c.now);
        const ReminderStore& store = storeWith(reminders);
        EXPECT_EQ(labels(store), c.labels);
    }
}

TEST_F(VisibleRemindersTest, ARecurringSeriesShowsOnlyItsOccurrenceDueFirst) {
    const ReminderStore& store = storeWith(
        {
            weekly("later", "Water plants", day(2026, 3, 11)),
            weekly("sooner", " water PLANTS\n", day(2026, 3, 5)),
            weekly("undated", "Water plants", std::nullopt),
            weekly("other list", "Water plants", day(2026, 3, 12), "L2"),
            reminder("no rule", "L1", day(2026, 3, 11)),
        },
        {list("L1", "One"), list("L2", "Two")});
    EXPECT_EQ(identifiers(store.visibleReminders()), (QStringList{u"sooner"_s, u"other list"_s, u"no rule"_s}));
    EXPECT_EQ(store.count(CountScope::next7Days), 1);
    EXPECT_EQ(store.count(CountScope::allIncomplete), 3);
}

TEST_F(VisibleRemindersTest, OnlyIncludedListsAndRemindersWithoutAListAreShownAndCounted) {
    ReminderStore& store = storeWith(
        {
            reminder("one", "L1", day(2026, 3, 4)),
            reminder("two", "L2", day(2026, 3, 4)),
            reminder("no list", "", day(2026, 3, 4)),
            completed("done in one", "L1", 1772607600),
            completed("done in two", "L2", 1772607600),
            completed("done without a list", "", 1772607600),
        },
        {list("L1", "One"), list("L2", "Two")});
    EXPECT_EQ(store.count(CountScope::today), 3);
    EXPECT_EQ(store.doneTodayCount(), 3);

    settings.setIncludedListIDs({u"L1"_s});
    EXPECT_EQ(identifiers(store.visibleReminders()), (QStringList{u"one"_s, u"no list"_s}));
    EXPECT_EQ(store.count(CountScope::today), 2);
    EXPECT_EQ(store.count(CountScope::allIncomplete), 2);
    EXPECT_EQ(store.doneTodayCount(), 2);
    EXPECT_EQ(store.count(CountScope::completedToday), 2);
}

TEST_F(VisibleRemindersTest, TheEmptyScopeCountsNothingEvenWhileLoading) {
    ReminderStore& store = storeWith({reminder("one")});
    store.requestRefresh();
    ASSERT_TRUE(store.isLoading());
    EXPECT_EQ(store.count(CountScope::none), 0);
    EXPECT_EQ(store.count(CountScope::allIncomplete), 1);
}

TEST_F(VisibleRemindersTest, CountsFollowTheStoreAsItChanges) {
    ReminderStore& store = storeWith({reminder("one", "L1", day(2026, 3, 4))});
    int changes = 0;
    ObservationTracking::track([&] { (void)store.count(CountScope::today); }, [&] { ++changes; });
    backend.changeByAnotherProcess(
        [](MemoryEventStore::Contents& held) { held.reminders.push_back(reminder("two", "L1", day(2026, 3, 4))); });
    advance(300ms);
    EXPECT_EQ(store.count(CountScope::today), 2);
    EXPECT_EQ(changes, 1);
}

TEST(DoneToday, TheLatestCompletionComesFirstAndEqualTimesKeepTheirOrder) {
    const auto done = [](const char* identifier, std::optional<double> at, const char* list = "L1") {
        Reminder r{.identifier = QString::fromUtf8(identifier), .listIdentifier = QString::fromUtf8(list)};
        if (at) r.completionDate = Date::fromSecondsSince1970(*at);
        return r;
    };
    const std::vector<Reminder> input = {done("09:00", 1772611200), done("no date", std::nullopt),
                                         done("15:00", 1772632800), done("15:00 too", 1772632800),
                                         done("excluded", 1772640000, "L2")};
    const auto completion = [](const Reminder& r) { return r.completionDate; };
    QStringList order;
    for (const Reminder& r : DoneToday::filterIncludedLists(input, {u"L1"_s}, completion)) order << r.identifier;
    EXPECT_EQ(order, (QStringList{u"15:00"_s, u"15:00 too"_s, u"09:00"_s, u"no date"_s}));
}

TEST(RecurrenceSeriesKey, ListTitleFrequencyAndIntervalOfTheFirstRule) {
    Reminder plants{.title = u"Water Plants "_s, .listIdentifier = u"A1"_s};
    EXPECT_EQ(ReminderStore::recurrenceSeriesKey(plants), std::nullopt);
    plants.recurrenceRules = {{.frequency = RecurrenceRule::Frequency::weekly, .interval = 2},
                              {.frequency = RecurrenceRule::Frequency::daily}};
    EXPECT_EQ(ReminderStore::recurrenceSeriesKey(plants), u"A1|water plants|1x2"_s);
    plants.listIdentifier.clear();
    plants.title.clear();
    EXPECT_EQ(ReminderStore::recurrenceSeriesKey(plants), u"||1x2"_s);
}
