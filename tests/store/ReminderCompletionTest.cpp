// Completion and reopening, deletion at once or with an undo window, and
// rescheduling to the fixed targets.

#include "ReminderStoreFixture.h"

#include <QCoreApplication>

using namespace std::chrono_literals;
using namespace tavlin::platform;
using namespace tavlin::store;
using namespace Qt::StringLiterals;

namespace {

class ReminderCompletionTest : public ReminderStoreFixture {
protected:
    QStringList shown() const { return identifiers(store->reminders()); }
    QStringList inTheStore() const { return identifiers(backend.contents().reminders); }

    const StoreError refusal{.code = StoreError::removeFailed, .description = u"The file is locked."_s};
};

}  // namespace

TEST_F(ReminderCompletionTest, CompletingAndReopeningMovesTheReminderAndUndoPutsItAtTheEnd) {
    storeWith({reminder("a"), reminder("b"), reminder("c")});
    store->setCompleted(reminder("a"), true);
    EXPECT_EQ(shown(), (QStringList{u"b"_s, u"c"_s}));
    EXPECT_EQ(identifiers(store->completedToday()), QStringList{u"a"_s});
    EXPECT_TRUE(backend.reminder(u"a"_s)->completed);

    store->setCompleted(store->completedToday()[0], false);
    EXPECT_EQ(shown(), (QStringList{u"b"_s, u"c"_s, u"a"_s}));
    EXPECT_TRUE(store->completedToday().empty());
    EXPECT_FALSE(backend.reminder(u"a"_s)->completed);

    EXPECT_TRUE(store->setCompleted(reminder("b"), false));
    EXPECT_EQ(shown(), (QStringList{u"b"_s, u"c"_s, u"a"_s})) << "reopening a shown reminder adds no copy";
    EXPECT_EQ(store->lastError(), std::nullopt);
}

TEST_F(ReminderCompletionTest, CompletingAReminderDoneTodayAgainCountsItOnce) {
    storeWith({reminder("a")});
    store->setCompleted(reminder("a"), true);
    store->setCompleted(store->completedToday()[0], true);
    EXPECT_EQ(identifiers(store->completedToday()), QStringList{u"a"_s});
    EXPECT_EQ(store->count(CountScope::completedToday), 1);
}

TEST_F(ReminderCompletionTest, ARefusedCompletionMovesNothing) {
    storeWith({reminder("a")});
    backend.setSaveFailure(refusal);
    EXPECT_FALSE(store->setCompleted(reminder("a"), true));
    EXPECT_EQ(store->lastError(), ReminderStore::Error(refusal));
    EXPECT_EQ(shown(), QStringList{u"a"_s});
    EXPECT_TRUE(store->completedToday().empty());
    EXPECT_FALSE(backend.reminder(u"a"_s)->completed);
}

TEST_F(ReminderCompletionTest, ADeletionWaitsForItsWindowAndHidesTheReminderMeanwhile) {
    storeWith({reminder("a", "L1", day(2026, 3, 4)), reminder("b")});
    store->queueDeletion(reminder("a"));
    EXPECT_EQ(shown(), QStringList{u"b"_s});
    EXPECT_EQ(store->count(CountScope::today), 0) << "a pending deletion counts nowhere";
    EXPECT_EQ(inTheStore(), (QStringList{u"a"_s, u"b"_s}));

    // A refresh meanwhile brings it back from the store, but not into view.
    store->requestRefresh();
    clock.runDueActions();
    EXPECT_EQ(identifiers(store->visibleReminders()), QStringList{u"b"_s});
    EXPECT_EQ(store->count(CountScope::today), 0);

    store->cancelDeletion();
    EXPECT_TRUE(store->pendingDeletions().empty());
    EXPECT_EQ(store->count(CountScope::today), 1);
    EXPECT_EQ(inTheStore(), (QStringList{u"a"_s, u"b"_s}));
}

TEST_F(ReminderCompletionTest, UndoPutsTheReminderBackAtTheEnd) {
    storeWith({reminder("a"), reminder("b")});
    store->queueDeletion(reminder("a"));
    store->cancelDeletion();
    EXPECT_EQ(shown(), (QStringList{u"b"_s, u"a"_s}));
}

TEST_F(ReminderCompletionTest, ASecondDeletionEndsTheFirstWindow) {
    storeWith({reminder("a"), reminder("b"), reminder("c")});
    store->queueDeletion(reminder("a"));
    store->queueDeletion(reminder("b"));
    EXPECT_EQ(inTheStore(), (QStringList{u"b"_s, u"c"_s}));
    store->cancelDeletion();
    EXPECT_EQ(shown(), (QStringList{u"c"_s, u"b"_s}));
    EXPECT_EQ(inTheStore(), (QStringList{u"b"_s, u"c"_s}));
}

TEST_F(ReminderCompletionTest, ABatchIsPendingWholeAndEndsTheWindowOfTheBatchBefore) {
    storeWith({reminder("a"), reminder("b"), reminder("c"), reminder("d")});
    store->queueDeletions({reminder("a"), reminder("b"), reminder("a")});
    EXPECT_EQ(shown(), (QStringList{u"c"_s, u"d"_s}));
    EXPECT_EQ(identifiers(store->pendingDeletions()), (QStringList{u"a"_s, u"b"_s}));
    EXPECT_EQ(inTheStore(), (QStringList{u"a"_s, u"b"_s, u"c"_s, u"d"_s}));

    store->queueDeletions({reminder("c")});
    EXPECT_EQ(inTheStore(), (QStringList{u"c"_s, u"d"_s})) << "the earlier batch went whole";
    store->cancelDeletion();
    EXPECT_EQ(shown(), (QStringList{u"d"_s, u"c"_s}));

    store->queueDeletions({reminder("d")});
    store->queueDeletions({});
    EXPECT_EQ(inTheStore(), QStringList{u"c"_s}) << "an empty batch still ends the window before it";
    EXPECT_TRUE(store->pendingDeletions().empty());
}

TEST_F(ReminderCompletionTest, QueueingThePendingDeletionAgainKeepsItsWindow) {
    storeWith({reminder("a"), reminder("b")});
    store->queueDeletion(reminder("a"));
    store->queueDeletion(reminder("a"));
    EXPECT_EQ(inTheStore(), (QStringList{u"a"_s, u"b"_s}));
    store->cancelDeletion();
    EXPECT_EQ(shown(), (QStringList{u"b"_s, u"a"_s}));
    EXPECT_EQ(store->lastError(), std::nullopt);
}

TEST_F(ReminderCompletionTest, WithNothingPendingUndoAndFlushDoNothing) {
    storeWith({reminder("a")});
    backend.setSaveFailure(refusal);
    store->setCompleted(reminder("a"), true);
    backend.setSaveFailure(std::nullopt);
    clock.runDueActions();
    const int refreshesBefore = refreshes;
    store->cancelDeletion();
    store->flushPendingDeletions();
    EXPECT_EQ(refreshes, refreshesBefore);
    EXPECT_EQ(store->lastError(), ReminderStore::Error(refusal));
    EXPECT_EQ(shown(), QStringList{u"a"_s});
}

TEST_F(ReminderCompletionTest, AFlushRemovesTheBatchAndARefusedOneComesBackLast) {
    storeWith({reminder("a"), reminder("b")});
    store->queueDeletion(reminder("a"));
    store->flushPendingDeletions();
    EXPECT_EQ(inTheStore(), QStringList{u"b"_s});
    EXPECT_EQ(store->lastError(), std::nullopt);

    backend.setRemoveFailure(refusal);
    store->queueDeletion(reminder("b"));
    store->flushPendingDeletions();
    EXPECT_EQ(shown(), QStringList{u"b"_s});
    EXPECT_EQ(store->lastError(), ReminderStore::Error(refusal));
    EXPECT_TRUE(store->pendingDeletions().empty());
}

TEST_F(ReminderCompletionTest, PendingDeletionsAreCarriedOutWhenTheApplicationQuits) {
    storeWith({reminder("a"), reminder("b")});
    store->queueDeletion(reminder("a"));
    QMetaObject::invokeMethod(QCoreApplication::instance(), "aboutToQuit");
    EXPECT_EQ(inTheStore(), QStringList{u"b"_s});
    EXPECT_TRUE(store->pendingDeletions().empty());
}

TEST_F(ReminderCompletionTest, DeleteRemovesAtOnceEverywhere) {
    Reminder done = reminder("done");
    done.completed = true;
    done.completionDate = wednesdayMorning;
    storeWith({reminder("a"), done});
    EXPECT_TRUE(store->deleteReminder(store->completedToday()[0]));
    EXPECT_TRUE(store->completedToday().empty());
    EXPECT_EQ(inTheStore(), QStringList{u"a"_s});

    backend.setRemoveFailure(refusal);
    EXPECT_FALSE(store->deleteReminder(reminder("a")));
    EXPECT_EQ(store->lastError(), ReminderStore::Error(refusal));
    EXPECT_EQ(shown(), QStringList{u"a"_s});
}

TEST(RescheduleTargets, TheWeekendAndNextWeekFromEveryDayOfTheWeek) {
    const Calendar calendar = Calendar::gregorian(TimeZone::fromIdentifier(u"Europe/Amsterdam"_s).value());
    const auto startOf = [&](int month, int day) {
        return calendar.date({.year = 2026, .month = month, .day = day}).value();
    };
    struct Case {
        const char* today;
        int day;  // of March 2026
        int weekend;
        int nextWeek;
    };
    const Case cases[] = {
        {"Sunday", 1, 1, 2},   {"Monday", 2, 7, 9}, {"Tuesday", 3, 7, 9},  {"Wednesday", 4, 7, 9},
        {"Thursday", 5, 7, 9}, {"Friday", 6, 7, 9}, {"Saturday", 7, 7, 9},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.today);
        const Date today = startOf(3, c.day);
        EXPECT_EQ(targetDay(RescheduleTarget::today, today, calendar), today);
        EXPECT_EQ(targetDay(RescheduleTarget::tomorrow, today, calendar), startOf(3, c.day + 1));
        EXPECT_EQ(targetDay(RescheduleTarget::thisWeekend, today, calendar), startOf(3, c.weekend));
        EXPECT_EQ(targetDay(RescheduleTarget::nextWeek, today, calendar), startOf(3, c.nextWeek));
        EXPECT_EQ(targetDay(RescheduleTarget::removeDate, today, calendar), std::nullopt);
    }
    // Across the night the clocks go forward: still the day's start.
    EXPECT_EQ(targetDay(RescheduleTarget::tomorrow, startOf(3, 28), calendar), startOf(3, 29));
    EXPECT_EQ(targetDay(RescheduleTarget::nextWeek, startOf(3, 28), calendar), startOf(3, 30));
}

TEST_F(ReminderCompletionTest, ReschedulingKeepsTheTimeAndItsAlarm) {
    Reminder timed = reminder("14:30", "L1", at(2026, 3, 2, 14, 30));
    timed.alarms = {Alarm::at(Date::fromSecondsSince1970(0)), {.relativeOffset = -600}};
    Reminder dateOnly = reminder("date only", "L1", day(2026, 3, 2));
    dateOnly.alarms = {Alarm::at(Date::fromSecondsSince1970(0))};
    storeWith({timed, dateOnly});
    const Alarm offset{.relativeOffset = -600};

    store->reschedule({timed, dateOnly}, RescheduleTarget::tomorrow);
    EXPECT_EQ(backend.reminder(u"14:30"_s)->dueDateComponents, at(2026, 3, 5, 14, 30));
    // Thursday 14:30 in Amsterdam.
    EXPECT_EQ(backend.reminder(u"14:30"_s)->alarms,
              (std::vector{offset, Alarm::at(Date::fromSecondsSince1970(1772717400))}));
    EXPECT_EQ(backend.reminder(u"date only"_s)->dueDateComponents, day(2026, 3, 5));
    EXPECT_TRUE(backend.reminder(u"date only"_s)->alarms.empty());
    EXPECT_EQ(store->reminders()[0], *backend.reminder(u"14:30"_s)) << "shown as saved";

    store->reschedule({*backend.reminder(u"14:30"_s)}, RescheduleTarget::removeDate);
    EXPECT_EQ(backend.reminder(u"14:30"_s)->dueDateComponents, std::nullopt);
    EXPECT_EQ(backend.reminder(u"14:30"_s)->alarms, std::vector{offset});
    EXPECT_EQ(store->lastError(), std::nullopt);
}

TEST_F(ReminderCompletionTest, ARefusedRescheduleKeepsItsReminderAndTheOthersMove) {
    storeWith({reminder("a", "L1", day(2026, 3, 2))});
    const Reminder gone = reminder("gone", "L1", day(2026, 3, 2));
    store->reschedule({gone, reminder("a")}, RescheduleTarget::today);
    EXPECT_EQ(backend.reminder(u"a"_s)->dueDateComponents, day(2026, 3, 4));
    ASSERT_TRUE(store->lastError());
    EXPECT_EQ(std::get<StoreError>(*store->lastError()).code, StoreError::reminderNotFound);
}

TEST_F(ReminderCompletionTest, ReschedulingNothingTouchesNothing) {
    storeWith({reminder("a")});
    backend.setSaveFailure(refusal);
    store->setCompleted(reminder("a"), true);
    clock.runDueActions();
    const int refreshesBefore = refreshes;
    store->reschedule({}, RescheduleTarget::today);
    EXPECT_EQ(refreshes, refreshesBefore);
    EXPECT_EQ(store->lastError(), ReminderStore::Error(refusal));
}
