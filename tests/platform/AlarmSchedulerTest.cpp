#include "platform/AlarmScheduler.h"

#include "platform/NotificationCenter.h"
#include "platform/PowerEvents.h"
#include "platform/TimeZoneChanges.h"
#include "platform/eventstore/MemoryEventStore.h"
#include "store/LocationFake.h"
#include "support/FakeNotificationServer.h"
#include "support/LogCapture.h"
#include "support/MainLoop.h"
#include "support/Printers.h"
#include "support/PrivateSessionBus.h"

#include <gtest/gtest.h>
#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>
#include <QTimeZone>

#include <algorithm>
#include <chrono>
#include <functional>
#include <optional>

#include <cstdio>

using namespace tavlin::platform;
using namespace std::chrono_literals;
using namespace Qt::StringLiterals;

namespace {

class WakingPowerEvents final : public PowerEvents {
public:
    void wake() { emit systemDidWake(); }
};

const QTimeZone amsterdam("Europe/Amsterdam");

// An instant written as Amsterdam's wall time on a day of March 2026.
Date march(int day, int hour, int minute) {
    return Date::fromQDateTime(QDateTime(QDate(2026, 3, day), QTime(hour, minute), amsterdam));
}

DateComponents floating(int day, int hour, int minute) {
    return {.year = 2026, .month = 3, .day = day, .hour = hour, .minute = minute};
}

// The scheduler over a memory store in Amsterdam, its timer on a manual
// clock and a wall clock that runs with it, and a notification server on a
// bus of the test's own.
class AlarmSchedulerTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!PrivateSessionBus::isAvailable()) GTEST_SKIP() << "dbus-daemon is not installed";
        ASSERT_TRUE(bus.isRunning());
    }

    double secondsRun() const { return std::chrono::duration<double>(clock.now().time_since_epoch()).count(); }
    Date wallNow() const { return start.addingTimeInterval(secondsRun()); }

    void add(Reminder reminder) {
        if (reminder.listIdentifier.isEmpty()) reminder.listIdentifier = u"L1"_s;
        store.changeByAnotherProcess([&](MemoryEventStore::Contents& held) { held.reminders.push_back(reminder); });
    }

    AlarmScheduler& startAt(Date now, bool withServer = true) {
        start = now.addingTimeInterval(-secondsRun());
        if (withServer) {
            server.emplace(bus.connect());
            EXPECT_TRUE(server->isRegistered());
        }
        notifications.emplace(bus.connect(), callClock);
        scheduler.emplace(store, *notifications, power, AlarmWallTime{[this] { return wallNow(); }, calendar}, clock);
        scheduler->start();
        return *scheduler;
    }

    // Moves the wall clock (and the timer's clock) to `date`.
    void runTo(Date date) {
        clock.advance(std::chrono::ceil<std::chrono::milliseconds>(
            std::chrono::duration<double>(date.timeIntervalSince(wallNow()))));
    }

    // The titles posted, once `count` have been.
    std::vector<QString> postedTitles(std::size_t count) const {
        EXPECT_TRUE(server->waitForCalls(u"Notify"_s, count));
        std::vector<QString> titles;
        for (const FakeNotificationServer::Call& call : server->calls(u"Notify"_s))
            titles.push_back(call.arguments.at(3).toString());
        return titles;
    }

    std::optional<Date> acknowledgedOf(const QString& identifier, std::size_t alarm = 0) {
        const std::optional<Reminder> saved = store.reminder(identifier);
        return saved && saved->alarms.size() > alarm ? saved->alarms[alarm].acknowledged : std::nullopt;
    }
    // Waits until the reminder's first alarm is acknowledged.
    bool waitForAcknowledgement(const QString& identifier) {
        return runMainLoopUntil([&] { return acknowledgedOf(identifier).has_value(); });
    }

    PrivateSessionBus bus;
    ManualClock clock;
    ManualClock callClock;  // still: a call under way when the test moves time is not timed out
    Date start;
    Calendar calendar =
        Calendar::gregorian(TimeZone::fromIdentifier(u"Europe/Amsterdam"_s).value(), Locale(u"en_GB"_s));
    MemoryEventStore store{{.lists = {{.identifier = u"L1"_s, .title = u"Home"_s}}}};
    WakingPowerEvents power;
    std::optional<FakeNotificationServer> server;
    std::optional<NotificationCenter> notifications;
    std::optional<AlarmScheduler> scheduler;
};

// One reminder, the scheduler started at `startedAt`: when its timer is
// armed for, and whether it is shown once the wall clock reaches `runTo`.
// A sentinel alarm at `runTo` always fires, so that a reminder that should
// stay silent is seen to have stayed so.
struct ScheduleCase {
    const char* name;
    Reminder reminder;
    Date startedAt;
    std::optional<Date> armedFor;  // the first timer; the sentinel's when nothing earlier
    Date runTo;
    bool shown;
};

void PrintTo(const ScheduleCase& c, std::ostream* os) { *os << c.name; }

class AlarmScheduleTable : public AlarmSchedulerTest, public ::testing::WithParamInterface<ScheduleCase> {};

TEST_P(AlarmScheduleTable, ArmsForTheEarliestAlarmAndShowsWhatIsDue) {
    const ScheduleCase& c = GetParam();
    Reminder reminder = c.reminder;
    reminder.identifier = u"R"_s;
    reminder.title = u"Stretch your legs"_s;
    add(reminder);
    add({.identifier = u"S"_s, .title = u"Sentinel"_s, .alarms = {Alarm::at(c.runTo)}});

    startAt(c.startedAt);
    EXPECT_EQ(scheduler->nextFireDate(), c.armedFor.value_or(c.runTo));
    runTo(c.runTo);
    ASSERT_TRUE(waitForAcknowledgement(u"S"_s));
    const std::vector<QString> titles = postedTitles(1);
    const auto count = std::count(titles.begin(), titles.end(), u"Stretch your legs"_s);
    EXPECT_EQ(count, c.shown ? 1 : 0);
    // What was shown is acknowledged; what was not is left as it was.
    const std::optional<Date> before = c.reminder.alarms.empty() ? std::nullopt : c.reminder.alarms[0].acknowledged;
    if (c.shown) {
        EXPECT_TRUE(acknowledgedOf(u"R"_s));
    } else {
        EXPECT_EQ(acknowledgedOf(u"R"_s), before);
    }
}

Reminder withAlarm(Alarm alarm, std::optional<DateComponents> due = std::nullopt) {
    return {.dueDateComponents = due, .alarms = {alarm}};
}

Alarm acknowledgedAt(Alarm alarm, Date at) {
    alarm.acknowledged = at;
    return alarm;
}

Alarm offset(double seconds, bool fromStart = false) {
    return {.relativeOffset = seconds, .relativeToStart = fromStart};
}

INSTANTIATE_TEST_SUITE_P(
    Alarms, AlarmScheduleTable,
    ::testing::Values(ScheduleCase{"absolute", withAlarm(Alarm::at(march(4, 11, 19))), march(4, 11, 0),
                                   march(4, 11, 19), march(4, 11, 20), true},
                      ScheduleCase{"relative to the due date", withAlarm(offset(-900), floating(4, 12, 0)),
                                   march(4, 11, 0), march(4, 11, 45), march(4, 11, 50), true},
                      ScheduleCase{"relative to the start",
                                   Reminder{.dueDateComponents = floating(4, 18, 0),
                                            .startDateComponents = floating(4, 12, 0),
                                            .alarms = {offset(-300, true)}},
                                   march(4, 11, 0), march(4, 11, 55), march(4, 12, 0), true},
                      // The clocks go forward at 02:00: 03:30 is two and a half hours
                      // after midnight, not three and a half.
                      ScheduleCase{"a floating due date after the clocks go forward",
                                   withAlarm(offset(0), floating(29, 3, 30)), march(29, 0, 0),
                                   march(29, 0, 0).addingTimeInterval(2.5 * 3600), march(29, 4, 0), true},
                      ScheduleCase{"acknowledged after it went off",
                                   withAlarm(acknowledgedAt(Alarm::at(march(4, 10, 0)), march(4, 10, 1))),
                                   march(4, 11, 0), std::nullopt, march(4, 11, 5), false},
                      // Another client dismissed it ahead of time (X-MOZ-LASTACK reads so).
                      ScheduleCase{"acknowledged ahead of its time",
                                   withAlarm(acknowledgedAt(Alarm::at(march(4, 11, 30)), march(4, 11, 31))),
                                   march(4, 11, 0), std::nullopt, march(4, 11, 45), false},
                      ScheduleCase{"missed within the last day", withAlarm(Alarm::at(march(3, 12, 0))), march(4, 11, 0),
                                   std::nullopt, march(4, 11, 5), true},
                      ScheduleCase{"missed more than a day ago", withAlarm(Alarm::at(march(3, 10, 0))), march(4, 11, 0),
                                   std::nullopt, march(4, 11, 5), false},
                      ScheduleCase{"completed", Reminder{.completed = true, .alarms = {Alarm::at(march(4, 11, 19))}},
                                   march(4, 11, 0), std::nullopt, march(4, 11, 30), false},
                      ScheduleCase{"a day without a time and no alarm",
                                   Reminder{.dueDateComponents = DateComponents{.year = 2026, .month = 3, .day = 4}},
                                   march(4, 11, 0), std::nullopt, march(4, 11, 30), false},
                      ScheduleCase{"an alarm at a place",
                                   withAlarm(Alarm::on({.title = u"Home"_s}, AlarmProximity::enter)), march(4, 11, 0),
                                   std::nullopt, march(4, 11, 30), false}),
    [](const auto& info) {
        std::string name = info.param.name;
        std::replace_if(
            name.begin(), name.end(), [](char c) { return !std::isalnum(c); }, '_');
        return name;
    });

TEST_F(AlarmSchedulerTest, ShowsTheTitleDueTimeListAndNotesWithItsActionsAndSound) {
    add({.identifier = u"R"_s,
         .title = u"Stretch your legs"_s,
         .notes = u"Walk to the window\nand back"_s,
         .dueDateComponents = floating(4, 11, 19),
         .alarms = {Alarm::at(march(4, 11, 19))}});
    startAt(march(4, 11, 18));
    runTo(march(4, 11, 19));
    ASSERT_TRUE(server->waitForCalls(u"Notify"_s, 1));
    const QVariantList arguments = server->calls(u"Notify"_s).at(0).arguments;
    EXPECT_EQ(arguments.at(2), u"com.quorvandell.tavlin"_s);
    EXPECT_EQ(arguments.at(3), u"Stretch your legs"_s);
    EXPECT_EQ(arguments.at(4), u"11:19 · Home\nWalk to the window"_s);
    EXPECT_EQ(arguments.at(5).toStringList(),
              (QStringList{u"default"_s, u"Open"_s, u"complete"_s, u"Mark as Completed"_s, u"snooze"_s,
                           u"Remind Me in 1 Hour"_s}));
    EXPECT_EQ(arguments.at(6).toMap().value(u"sound-name"_s), u"message-new-instant"_s);
    EXPECT_TRUE(waitForAcknowledgement(u"R"_s));
}

// Each reminder once, however many of its alarms went off together, and
// never again once acknowledged: not at the next look, not after a restart.
TEST_F(AlarmSchedulerTest, AReminderIsShownOnceAndNotAgainAfterARestart) {
    add({.identifier = u"R"_s,
         .title = u"Twice"_s,
         .dueDateComponents = floating(4, 11, 19),
         .alarms = {Alarm::at(march(4, 11, 19)), offset(0)}});
    startAt(march(4, 11, 0));
    runTo(march(4, 11, 20));
    ASSERT_TRUE(waitForAcknowledgement(u"R"_s));
    EXPECT_TRUE(store.reminder(u"R"_s)->alarms[1].acknowledged);
    EXPECT_EQ(postedTitles(1), std::vector<QString>{u"Twice"_s});

    scheduler.reset();
    scheduler.emplace(store, *notifications, power, AlarmWallTime{[this] { return wallNow(); }, calendar}, clock);
    scheduler->start();
    add({.identifier = u"S"_s, .title = u"Sentinel"_s, .alarms = {Alarm::at(march(4, 11, 21))}});
    runTo(march(4, 11, 21));
    EXPECT_EQ(postedTitles(2), (std::vector<QString>{u"Twice"_s, u"Sentinel"_s}));
}

// Changes of the store re-arm the one timer: an alarm added by another
// program, a reminder moved later, one completed.
TEST_F(AlarmSchedulerTest, FollowsTheStoreWithOneTimer) {
    startAt(march(4, 11, 0));
    EXPECT_EQ(scheduler->nextFireDate(), std::nullopt);
    EXPECT_EQ(clock.pendingActions(), 0u);
    add({.identifier = u"A"_s, .title = u"A"_s, .alarms = {Alarm::at(march(4, 12, 0))}});
    add({.identifier = u"B"_s, .title = u"B"_s, .alarms = {Alarm::at(march(4, 11, 30))}});
    EXPECT_EQ(scheduler->nextFireDate(), march(4, 11, 30));
    EXPECT_EQ(clock.pendingActions(), 1u);
    store.changeByAnotherProcess([](MemoryEventStore::Contents& held) {
        held.reminders[1].alarms = {Alarm::at(march(4, 13, 0))};
        held.reminders[0].completed = true;
    });
    EXPECT_EQ(scheduler->nextFireDate(), march(4, 13, 0));
    EXPECT_EQ(clock.pendingActions(), 1u);
    runTo(march(4, 13, 0));
    EXPECT_EQ(postedTitles(1), std::vector<QString>{u"B"_s});
}

// Done ahead of time, a recurring reminder reminds at its next occurrence.
TEST_F(AlarmSchedulerTest, ARecurringReminderDoneEarlyRemindsAtItsNextOccurrence) {
    add({.identifier = u"R"_s,
         .title = u"Stand up"_s,
         .dueDateComponents = floating(4, 9, 0),
         .recurrenceRules = {{.frequency = RecurrenceRule::Frequency::daily}},
         .alarms = {Alarm::at(march(4, 9, 0))}});
    startAt(march(4, 8, 0));
    Reminder done = *store.reminder(u"R"_s);
    done.completed = true;
    ASSERT_EQ(store.save(done), std::nullopt);
    scheduler->check();  // as the shell does after its own writes
    EXPECT_EQ(scheduler->nextFireDate(), march(5, 9, 0));
    runTo(march(5, 9, 0));
    EXPECT_EQ(postedTitles(1), std::vector<QString>{u"Stand up"_s});
}

// An alarm at a place goes off when a fix crosses its radius the way it
// waits for, once per crossing; the first fix only says where the user is.
TEST_F(AlarmSchedulerTest, AnAlarmAtAPlaceGoesOffWhenAFixCrossesItsRadius) {
    const StructuredLocation home{.title = u"Home"_s, .geoLocation = GeoLocation{52.3731, 4.8922}, .radius = 100};
    add({.identifier = u"A"_s, .title = u"Arriving"_s, .alarms = {Alarm::on(home, AlarmProximity::enter)}});
    add({.identifier = u"L"_s, .title = u"Leaving"_s, .alarms = {Alarm::on(home, AlarmProximity::leave)}});
    FakeLocationManager location(LocationAuthorization::authorizedAlways);
    startAt(march(4, 11, 0));
    scheduler->setLocationManager(&location);
    EXPECT_EQ(location.locationRequests(), 1);
    EXPECT_EQ(scheduler->nextFireDate(), march(4, 11, 5)) << "asked again in five minutes";

    const Location away{.latitude = 52.38, .longitude = 4.8922};      // some 770 m north
    const Location atHome{.latitude = 52.3732, .longitude = 4.8922};  // 11 m
    location.deliver({away});
    location.deliver({atHome});
    EXPECT_EQ(postedTitles(1), std::vector<QString>{u"Arriving"_s});
    location.deliver({atHome});
    location.deliver({away});
    EXPECT_EQ(postedTitles(2), (std::vector<QString>{u"Arriving"_s, u"Leaving"_s}));
    location.deliver({atHome});
    EXPECT_EQ(postedTitles(3), (std::vector<QString>{u"Arriving"_s, u"Leaving"_s, u"Arriving"_s}));
    runTo(march(4, 11, 5));
    EXPECT_EQ(location.locationRequests(), 2);
}

// The timers' clock stands still while the machine sleeps: on waking, what
// went off meanwhile is shown.
TEST_F(AlarmSchedulerTest, AWakeShowsWhatWentOffWhileAsleep) {
    add({.identifier = u"R"_s, .title = u"Asleep"_s, .alarms = {Alarm::at(march(4, 11, 30))}});
    startAt(march(4, 11, 0));
    start = start.addingTimeInterval(3600);  // an hour asleep
    power.wake();
    EXPECT_EQ(postedTitles(1), std::vector<QString>{u"Asleep"_s});
}

TEST_F(AlarmSchedulerTest, RemindMeInAnHourShowsItAgainAnHourLater) {
    add({.identifier = u"R"_s, .title = u"Later"_s, .alarms = {Alarm::at(march(4, 11, 19))}});
    startAt(march(4, 11, 0));
    runTo(march(4, 11, 19));
    ASSERT_TRUE(waitForAcknowledgement(u"R"_s));
    server->invokeAction(1, u"snooze"_s);
    ASSERT_TRUE(runMainLoopUntil([&] { return store.reminder(u"R"_s)->alarms.size() == 2; }));
    const Alarm snooze = store.reminder(u"R"_s)->alarms[1];
    EXPECT_TRUE(snooze.snooze);
    EXPECT_EQ(snooze.absoluteDate, march(4, 12, 19));
    EXPECT_EQ(scheduler->nextFireDate(), march(4, 12, 19));
    runTo(march(4, 12, 19));
    EXPECT_EQ(postedTitles(2), (std::vector<QString>{u"Later"_s, u"Later"_s}));
}

TEST_F(AlarmSchedulerTest, ResponsesAskTheShellToCompleteOrShowTheReminder) {
    add({.identifier = u"R"_s, .title = u"R"_s, .alarms = {Alarm::at(march(4, 11, 19))}});
    startAt(march(4, 11, 0));
    QStringList asked;
    QObject::connect(&*scheduler, &AlarmScheduler::completionRequested,
                     [&](const QString& id) { asked << u"complete "_s + id; });
    QObject::connect(&*scheduler, &AlarmScheduler::showRequested, [&](const QString& id) { asked << u"show "_s + id; });
    runTo(march(4, 11, 19));
    // Acknowledged once the server has answered, and its number is known.
    ASSERT_TRUE(waitForAcknowledgement(u"R"_s));
    server->invokeAction(1, u"complete"_s);
    server->invokeAction(1, u"default"_s);
    ASSERT_TRUE(runMainLoopUntil([&] { return asked.size() == 2; }));
    EXPECT_EQ(asked, (QStringList{u"complete R"_s, u"show R"_s}));
}

// More than three at one minute: three, then one that counts the others.
TEST_F(AlarmSchedulerTest, MoreThanThreeAtOneMinuteAreCountedInOne) {
    for (int i = 1; i <= 5; ++i)
        add({.identifier = u"R%1"_s.arg(i), .title = u"R%1"_s.arg(i), .alarms = {Alarm::at(march(4, 11, 19))}});
    add({.identifier = u"L"_s, .title = u"Later"_s, .alarms = {Alarm::at(march(4, 11, 20))}});
    startAt(march(4, 11, 0));
    runTo(march(4, 11, 19));
    EXPECT_EQ(postedTitles(4), (std::vector<QString>{u"R1"_s, u"R2"_s, u"R3"_s, u"2 more reminders are due"_s}));
    ASSERT_TRUE(runMainLoopUntil([&] { return acknowledgedOf(u"R5"_s).has_value(); }));
    runTo(march(4, 11, 20));
    EXPECT_EQ(postedTitles(5).back(), u"Later"_s);
}

TEST_F(AlarmSchedulerTest, WithoutANotificationServerWarnsOnceAndAcknowledgesNothing) {
    add({.identifier = u"A"_s, .title = u"A"_s, .alarms = {Alarm::at(march(4, 11, 10))}});
    add({.identifier = u"B"_s, .title = u"B"_s, .alarms = {Alarm::at(march(4, 11, 20))}});
    LogCapture log("com.quorvandell.tavlin.alarms");
    startAt(march(4, 11, 0), false);
    runTo(march(4, 11, 10));
    QStringList lines;
    const auto failedDeliveries = [&] {
        lines += log.take();
        return lines.filter(u"not shown"_s).size();
    };
    ASSERT_TRUE(runMainLoopUntil([&] { return failedDeliveries() == 1; }, 10s));
    runTo(march(4, 11, 20));
    ASSERT_TRUE(runMainLoopUntil([&] { return failedDeliveries() == 2; }, 10s));
    EXPECT_EQ(lines.filter(u"no notification server"_s).size(), 1) << lines.join(u'\n').toStdString();
    EXPECT_FALSE(acknowledgedOf(u"A"_s));
    EXPECT_FALSE(acknowledgedOf(u"B"_s));
}

// Bad input is skipped with one line naming it, and the others still fire.
TEST_F(AlarmSchedulerTest, AlarmsThatCannotFireAreSkippedWithOneLineEach) {
    Reminder many{.identifier = u"many"_s, .title = u"Many"_s};
    for (int i = 0; i < 10000; ++i) many.alarms.push_back(Alarm::at(march(4, 11, 19)));
    add(many);
    add({.identifier = u"undated"_s, .title = u"Undated"_s, .alarms = {offset(-60)}});
    add({.identifier = u"broken"_s, .title = u"Broken"_s, .alarms = {Alarm{.hasTrigger = false}}});
    add({.identifier = u"R"_s, .title = u"Fine"_s, .alarms = {Alarm::at(march(4, 11, 19))}});
    LogCapture log("com.quorvandell.tavlin.alarms", QtInfoMsg);
    startAt(march(4, 11, 0));
    runTo(march(4, 11, 19));
    EXPECT_EQ(postedTitles(1), std::vector<QString>{u"Fine"_s});
    const QStringList lines = log.take();
    ASSERT_EQ(lines.size(), 3) << lines.join(u'\n').toStdString();
    EXPECT_TRUE(lines[0].startsWith(u"skipped an alarm of many: it has 10000 alarms"_s)) << lines[0].toStdString();
    EXPECT_TRUE(lines[1].contains(u"undated"_s));
    EXPECT_TRUE(lines[2].contains(u"broken"_s));
}

// How the scheduler learns of a change: from the store, which names the
// reminders its writes changed (looked at one by one), or as a change of
// anything (a look at every reminder).
enum class Told { oneByOne, asAChangeOfAll };

// A change in the store, made as the user's edits make it.
using Change = std::function<void(EventStore&)>;

// One step of a day: the wall clock moves to `at` (the timer goes off on
// the way when it is due), the change is saved and the scheduler looks.
struct Step {
    const char* name;
    Date at;
    Change change;
    std::optional<Date> armedFor;
    std::vector<QString> shownSoFar;
};

Reminder openTitled(EventStore& store, const QString& title) {
    for (const Reminder& reminder : store.fetchIncompleteReminders())
        if (reminder.title == title) return reminder;
    ADD_FAILURE() << "no open reminder " << title.toStdString();
    return {};
}

Change adding(const QString& title, std::optional<DateComponents> due, std::vector<Alarm> alarms) {
    return [=](EventStore& store) {
        Reminder made = store.newReminder();
        made.title = title;
        made.listIdentifier = u"L1"_s;
        made.dueDateComponents = due;
        made.alarms = alarms;
        EXPECT_EQ(store.save(made), std::nullopt);
    };
}

Change editing(const QString& title, std::function<void(Reminder&)> edit) {
    return [=](EventStore& store) {
        Reminder reminder = openTitled(store, title);
        edit(reminder);
        EXPECT_EQ(store.save(reminder), std::nullopt);
    };
}

Change deleting(const QString& title) {
    return [=](EventStore& store) { EXPECT_EQ(store.remove(openTitled(store, title)), std::nullopt); };
}

class AlarmsFollowChanges : public AlarmSchedulerTest, public ::testing::WithParamInterface<Told> {};

// Whichever way the scheduler learns of them, the same changes arm the
// same timer and show the same alarms.
TEST_P(AlarmsFollowChanges, ArmTheSameTimerAndShowTheSameAlarms) {
    add({.identifier = u"W"_s, .title = u"Water"_s, .alarms = {Alarm::at(march(4, 9, 0))}});
    add({.identifier = u"S"_s,
         .title = u"Stand up"_s,
         .dueDateComponents = floating(4, 10, 0),
         .recurrenceRules = {{.frequency = RecurrenceRule::Frequency::daily}},
         .alarms = {offset(0)}});
    add({.identifier = u"C"_s, .title = u"Call"_s, .dueDateComponents = floating(4, 12, 0), .alarms = {offset(-900)}});
    const auto done = [](Reminder& reminder) { reminder.completed = true; };
    const std::vector<Step> steps{
        {"added before the earliest",
         march(4, 8, 5),
         adding(u"Tea"_s, std::nullopt, {Alarm::at(march(4, 8, 30))}),
         march(4, 8, 30),
         {}},
        {"its due time moved later",
         march(4, 8, 10),
         editing(u"Tea"_s,
                 [](Reminder& tea) {
                     tea.dueDateComponents = floating(4, 11, 0);
                     tea.alarms = {offset(0)};
                 }),
         march(4, 9, 0),
         {}},
        {"retitled, its alarm as it was",
         march(4, 8, 15),
         editing(u"Water"_s, [](Reminder& water) { water.title = u"Water the plants"_s; }),
         march(4, 9, 0),
         {}},
        {"completed", march(4, 8, 20), editing(u"Water the plants"_s, done), march(4, 10, 0), {}},
        {"a repeating one done ahead of its time", march(4, 8, 25), editing(u"Stand up"_s, done), march(4, 11, 0), {}},
        {"deleted", march(4, 8, 30), deleting(u"Tea"_s), march(4, 11, 45), {}},
        {"added with an alarm that went off since the last look",
         march(4, 8, 40),
         adding(u"Late"_s, std::nullopt, {Alarm::at(march(4, 8, 35))}),
         march(4, 11, 45),
         {u"Late"_s}},
        {"acknowledged ahead of its time by another client",
         march(4, 8, 45),
         editing(u"Call"_s, [](Reminder& call) { call.alarms[0].acknowledged = march(4, 11, 46); }),
         march(5, 10, 0),
         {u"Late"_s}},
        {"the next occurrence goes off", march(5, 10, 0), [](EventStore&) {}, std::nullopt, {u"Late"_s, u"Stand up"_s}},
    };

    startAt(march(4, 8, 0));
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        runTo(step.at);
        step.change(store);
        if (GetParam() == Told::oneByOne) scheduler->check();  // as the shell does after its own writes
        else store.changeByAnotherProcess([](MemoryEventStore::Contents&) {});
        EXPECT_EQ(scheduler->nextFireDate(), step.armedFor);
        if (!step.shownSoFar.empty()) {
            EXPECT_EQ(postedTitles(step.shownSoFar.size()), step.shownSoFar);
        }
        // What was shown is acknowledged before the next step.
        ASSERT_TRUE(runMainLoopUntil([&] {
            const std::vector<Reminder> open = store.fetchIncompleteReminders();
            return std::ranges::none_of(open, [&](const Reminder& reminder) {
                return std::ranges::count(step.shownSoFar, reminder.title) > 0 && !reminder.alarms[0].acknowledged;
            });
        }));
    }
    EXPECT_EQ(server->calls(u"Notify"_s).size(), 2u);
}

INSTANTIATE_TEST_SUITE_P(Told, AlarmsFollowChanges, ::testing::Values(Told::oneByOne, Told::asAChangeOfAll),
                         [](const auto& info) {
                             return std::string(info.param == Told::oneByOne ? "OneByOne" : "AsAChangeOfAll");
                         });

// A store that learns of another program's change while it is read tells
// of it in the middle of the look: the look after it shows nothing twice.
TEST_F(AlarmSchedulerTest, AChangeLearntOfDuringALookShowsNothingTwice) {
    add({.identifier = u"R"_s, .title = u"Once"_s, .alarms = {Alarm::at(march(4, 11, 19))}});
    startAt(march(4, 11, 0));
    store.changeAtNextRead([](MemoryEventStore::Contents& held) {
        held.reminders.push_back({.identifier = u"S"_s,
                                  .title = u"Sentinel"_s,
                                  .listIdentifier = u"L1"_s,
                                  .alarms = {Alarm::at(march(4, 11, 21))}});
    });
    runTo(march(4, 11, 19));
    ASSERT_TRUE(waitForAcknowledgement(u"R"_s));
    EXPECT_EQ(scheduler->nextFireDate(), march(4, 11, 21));
    runTo(march(4, 11, 21));
    EXPECT_EQ(postedTitles(2), (std::vector<QString>{u"Once"_s, u"Sentinel"_s}));
}

// A look at all keeps the earliest alarms to come; an alarm moved past
// those kept is found by the look at all once changes have used them up.
TEST_F(AlarmSchedulerTest, AlarmsPastThoseKeptAreFoundOnceTheyAreUsedUp) {
    const int count = int(AlarmScheduler::keptAlarms) + 4;
    const auto alarmAt = [](int minutes) { return march(4, 12, 0).addingTimeInterval(60.0 * minutes); };
    const auto identifier = [](int i) { return u"R%1"_s.arg(i); };
    store.changeByAnotherProcess([&](MemoryEventStore::Contents& held) {
        for (int i = 0; i < count; ++i)
            held.reminders.push_back({.identifier = identifier(i),
                                      .title = identifier(i),
                                      .listIdentifier = u"L1"_s,
                                      .alarms = {Alarm::at(alarmAt(i))}});
    });
    const auto change = [&](int i, const std::function<void(Reminder&)>& edit) {
        Reminder reminder = *store.reminder(identifier(i));
        edit(reminder);
        ASSERT_EQ(store.save(reminder), std::nullopt);
        scheduler->check();
    };
    const auto moveTo = [](Date at) { return [at](Reminder& reminder) { reminder.alarms = {Alarm::at(at)}; }; };
    const auto complete = [](Reminder& reminder) { reminder.completed = true; };

    startAt(march(4, 11, 0));
    EXPECT_EQ(scheduler->nextFireDate(), alarmAt(0));
    change(count - 1, moveTo(march(4, 11, 30)));
    EXPECT_EQ(scheduler->nextFireDate(), march(4, 11, 30));
    change(0, moveTo(alarmAt(count)));
    change(count - 1, complete);
    for (int i = 1; i < count - 1; ++i) {
        EXPECT_EQ(scheduler->nextFireDate(), alarmAt(i)) << i;
        change(i, complete);
    }
    EXPECT_EQ(scheduler->nextFireDate(), alarmAt(count));
    change(0, complete);
    EXPECT_EQ(scheduler->nextFireDate(), std::nullopt);
}

// A change the store names costs a look at that reminder alone; one it
// cannot name, a look at all of them.
TEST_F(AlarmSchedulerTest, AChangeOfOneReminderIsNotALookAtAll) {
    add({.identifier = u"A"_s, .title = u"A"_s, .alarms = {Alarm::at(march(4, 12, 0))}});
    add({.identifier = u"B"_s, .title = u"B"_s, .alarms = {Alarm::at(march(4, 13, 0))}});
    LogCapture log("com.quorvandell.tavlin.alarms");
    startAt(march(4, 11, 0));
    EXPECT_EQ(log.take().filter(u"looked at the alarms of 2 open reminders"_s).size(), 1);
    Reminder moved = *store.reminder(u"B"_s);
    moved.alarms = {Alarm::at(march(4, 11, 30))};
    ASSERT_EQ(store.save(moved), std::nullopt);
    scheduler->check();
    EXPECT_EQ(scheduler->nextFireDate(), march(4, 11, 30));
    EXPECT_EQ(log.take().filter(u"looked at"_s).size(), 0);
    store.changeByAnotherProcess([](MemoryEventStore::Contents&) {});
    EXPECT_EQ(log.take().filter(u"looked at"_s).size(), 1);
}

}  // namespace

// The system's zone goes from Amsterdam to Tokyo while an alarm at a
// floating nine o'clock waits: it goes off at nine in Tokyo.
TEST_F(AlarmSchedulerTest, AFloatingAlarmFollowsAChangeOfTheSystemsZone) {
    QTemporaryDir etc;
    const QString localtime = etc.filePath(u"localtime"_s);
    ASSERT_TRUE(QFile::link(u"/usr/share/zoneinfo/Europe/Amsterdam"_s, localtime));
    TimeZoneChanges zoneChanges({.localtime = localtime,
                                 .timezoneFile = etc.filePath(u"timezone"_s),
                                 .tzVariable = {},
                                 .systemBus = QDBusConnection(u"none"_s)});
    add({.identifier = u"R"_s,
         .title = u"Stretch your legs"_s,
         .dueDateComponents = floating(5, 9, 0),
         .alarms = {offset(0)}});
    startAt(march(4, 20, 0));
    QObject::connect(&zoneChanges, &TimeZoneChanges::changed, &*scheduler, &AlarmScheduler::setTimeZone);
    EXPECT_EQ(scheduler->nextFireDate(), march(5, 9, 0));

    // As timedated does it: a new link renamed over the old one.
    const QString replacement = etc.filePath(u"localtime.new"_s);
    ASSERT_TRUE(QFile::link(u"/usr/share/zoneinfo/Asia/Tokyo"_s, replacement));
    ASSERT_EQ(std::rename(QFile::encodeName(replacement).constData(), QFile::encodeName(localtime).constData()), 0);
    const Date nineInTokyo = Date::fromQDateTime(QDateTime(QDate(2026, 3, 5), QTime(9, 0), QTimeZone("Asia/Tokyo")));
    ASSERT_TRUE(runMainLoopUntil([&] { return scheduler->nextFireDate() == nineInTokyo; }));
    runTo(nineInTokyo);
    EXPECT_EQ(postedTitles(1), std::vector<QString>{u"Stretch your legs"_s});
}
