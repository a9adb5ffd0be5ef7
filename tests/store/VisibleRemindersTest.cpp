// What the store shows and counts: included lists, one occurrence per
// recurring series, the count of every scope, and the reminders done today.

#include "ReminderStoreFixture.h"

#include "parsing/RecurrenceEdit.h"
#include "platform/DueDate.h"
#include "store/DoneToday.h"
#include "store/DueState.h"
#include "store/RescheduleTarget.h"

#include <random>

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

// The visible reminders and counts are kept between changes; after any
// sequence of changes they must be what working them out afresh gives.
class KeptCountsTest : public VisibleRemindersTest {
protected:
    KeptCountsTest() { defaultLists = {list("L1", "One"), list("L2", "Two"), list("L3", "Three")}; }

    Reminder randomReminder() {
        static const char* const lists[] = {"L1", "L2", "L3", ""};
        static const char* const titles[] = {"Water plants", " water PLANTS", "Pay rent", "Call"};
        Reminder r = reminder("", lists[pick(4)]);
        r.identifier = u"r"_s + QString::number(++made);
        r.title = QString::fromUtf8(titles[pick(4)]);
        if (pick(10) < 4)
            r.recurrenceRules = {{.frequency = RecurrenceRule::Frequency::weekly, .interval = 1 + int(pick(2))}};
        r.dueDateComponents = randomDue();
        return r;
    }

    // A line as the panel or a tool reads it: a title, maybe a date, maybe a repeat.
    tavlin::parsing::ParsedQuickAdd randomLine() {
        static const char* const titles[] = {"Water plants", "Pay rent", "Call"};
        tavlin::parsing::ParsedQuickAdd line{.title = QString::fromUtf8(titles[pick(3)]),
                                             .dueDateComponents = randomDue()};
        line.hasTime = line.dueDateComponents && line.dueDateComponents->hasTime();
        if (pick(4) == 0) line.recurrenceFrequency = tavlin::parsing::RecurrenceFrequency::weekly;
        return line;
    }

    // Dates around the days the test runs through, and times on both sides of
    // their midnights, some in a zone of their own.
    std::optional<DateComponents> randomDue() {
        if (duesSoon && pick(3) == 0) return dueSoon();
        if (pick(5) == 0) return std::nullopt;
        const int dayOfMonth = 1 + int(pick(12));
        if (pick(2) == 0) return day(2026, 3, dayOfMonth);
        static const int hours[] = {0, 1, 9, 22, 23};
        DateComponents c = at(2026, 3, dayOfMonth, hours[pick(5)], pick(2) == 0 ? 0 : 30);
        if (pick(4) == 0) c.timeZone = zone("America/New_York");
        return c;
    }

    // A time a second or two from now, which the next steps pass.
    DateComponents dueSoon() {
        return calendar.dateComponents(CalendarComponent::Year | CalendarComponent::Month | CalendarComponent::Day |
                                           CalendarComponent::Hour | CalendarComponent::Minute |
                                           CalendarComponent::Second,
                                       wallNow().addingTimeInterval(double(pick(3))));
    }

    std::size_t pick(std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(random); }

    template <class T>
    const T* anyOf(const std::vector<T>& items) {
        return items.empty() ? nullptr : &items[pick(items.size())];
    }

    void changeSomething() {
        const auto elsewhere = [&](const std::function<void(std::vector<Reminder>&)>& change) {
            backend.changeByAnotherProcess([&](MemoryEventStore::Contents& held) { change(held.reminders); });
        };
        switch (pick(14)) {
        case 0: elsewhere([&](std::vector<Reminder>& all) { all.push_back(randomReminder()); }); break;
        case 1:
            elsewhere([&](std::vector<Reminder>& all) {
                if (all.empty()) return;
                Reminder& r = all[pick(all.size())];
                r.dueDateComponents = randomDue();
                if (pick(3) == 0) r.listIdentifier = QString::fromUtf8(pick(2) ? "L2" : "L3");
                if (pick(4) == 0) {
                    r.completed = !r.completed;
                    r.completionDate = r.completed ? std::optional(wallNow()) : std::nullopt;
                }
            });
            break;
        case 2:
            elsewhere([&](std::vector<Reminder>& all) {
                if (!all.empty()) all.erase(all.begin() + std::ptrdiff_t(pick(all.size())));
            });
            break;
        case 3:
            if (const Reminder* r = anyOf(store->reminders())) store->setCompleted(*r, true);
            break;
        case 4:
            if (const Reminder* r = anyOf(store->completedToday())) store->setCompleted(*r, false);
            break;
        case 5:
            if (const Reminder* r = anyOf(store->reminders())) store->queueDeletion(*r);
            break;
        case 6: store->cancelDeletion(); break;
        case 7: store->flushPendingDeletions(); break;
        case 8:
            if (const Reminder* r = anyOf(store->reminders()))
                store->reschedule({*r}, allRescheduleTargets[pick(allRescheduleTargets.size())]);
            break;
        case 9: {
            QSet<QString> included;
            for (const char* id : {"L1", "L2", "L3"})
                if (pick(2)) included.insert(QString::fromUtf8(id));
            settings.setIncludedListIDs(included);
            break;
        }
        case 10: advance(std::chrono::minutes(30 + 60 * int(pick(8)))); break;
        case 11:
            if (const Reminder* r = anyOf(store->reminders())) (void)store->deleteReminder(*r);
            break;
        case 12: (void)store->add(randomLine()); break;
        case 13:
            if (const Reminder* r = anyOf(store->reminders())) (void)store->update(randomLine(), *r);
            break;
        }
    }

    // What the store shows and counts, worked out from its state alone.
    void expectKeptEqualsAfresh(int step) {
        SCOPED_TRACE(step);
        QSet<QString> excluded;
        for (const Reminder& r : store->pendingDeletions()) excluded.insert(r.identifier);
        const QSet<QString> included = settings.includedListIDs();
        const std::vector<Reminder> visible = tavlin::parsing::RecurrenceEdit::collapseRecurringSeries(
            ReminderStore::filterReminders(store->reminders(), excluded, included),
            [&](const Reminder& r) { return DueDate::date(r.dueDateComponents, calendar); },
            ReminderStore::recurrenceSeriesKey);
        ASSERT_EQ(identifiers(store->visibleReminders()), identifiers(visible));
        for (const auto& shown : store->visibleReminders())
            EXPECT_EQ(shown.dueDate, DueDate::date(shown.reminder->dueDateComponents, calendar));
        const Date now = store->now();
        for (CountScope scope : allCountScopes) {
            int expected = 0;
            if (scope == CountScope::completedToday)
                expected = int(ReminderStore::filterReminders(store->completedToday(), {}, included).size());
            else if (scope != CountScope::none)
                expected = int(std::count_if(visible.begin(), visible.end(), [&](const Reminder& r) {
                    return includes(scope, DueState(r.dueDateComponents, now, calendar), now, calendar);
                }));
            EXPECT_EQ(store->count(scope), expected) << rawValue(scope).toStdString();
        }
    }

    // From each seed, 30 reminders and 150 random changes, each compared
    // with what working it out afresh gives before and after a refresh.
    void changeFromSeeds(std::initializer_list<unsigned> seeds) {
        for (const unsigned seed : seeds) {
            SCOPED_TRACE(seed);
            random.seed(seed);
            std::vector<Reminder> first;
            for (int i = 0; i < 30; ++i) first.push_back(randomReminder());
            storeWith(first);
            for (int step = 0; step < 150; ++step) {
                changeSomething();
                expectKeptEqualsAfresh(step);  // the write's own change, before any refresh
                advance(std::chrono::milliseconds(400));
                expectKeptEqualsAfresh(step);
            }
            store.reset();
            settings.setIncludedListIDs({});
        }
    }

    std::mt19937 random;
    int made = 0;
    bool duesSoon = false;
};

TEST_F(KeptCountsTest, EqualWhatIsWorkedOutAfreshAfterEveryKindOfChange) { changeFromSeeds({1u, 2u, 3u, 4u}); }

// The counts are kept while now moves on, as every refresh moves it: a
// due time passed meanwhile is overdue all the same.
TEST_F(KeptCountsTest, EqualWhatIsWorkedOutAfreshAsDueTimesPass) {
    duesSoon = true;
    changeFromSeeds({5u, 6u, 7u, 8u});
}
