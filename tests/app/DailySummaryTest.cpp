#include "app/DailySummary.h"

#include "NotificationsFixture.h"
#include "platform/DateComponents.h"
#include "platform/UserDefaults.h"
#include "platform/eventstore/MemoryEventStore.h"
#include "store/PlaceResolver.h"
#include "store/ReminderStore.h"
#include "store/Settings.h"
#include "store/StoreFakes.h"
#include "support/MainLoop.h"
#include "support/Printers.h"

#include <gtest/gtest.h>
#include <QDateTime>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimeZone>

#include <cctype>
#include <chrono>
#include <optional>

using namespace tavlin;
using namespace std::chrono_literals;
using namespace Qt::StringLiterals;
using platform::Date;
using store::CountScope;

namespace {

const QTimeZone amsterdam("Europe/Amsterdam");

// An instant written as Amsterdam's wall time.
Date amsterdamTime(int year, int month, int day, int hour, int minute, int second = 0) {
    return Date::fromQDateTime(QDateTime(QDate(year, month, day), QTime(hour, minute, second), amsterdam));
}
// An instant written in UTC, for the days the clocks change.
Date utc(int year, int month, int day, int hour, int minute) {
    return Date::fromQDateTime(QDateTime(QDate(year, month, day), QTime(hour, minute), QTimeZone::utc()));
}

// The summary over a memory store, in Amsterdam, with its timer on a manual
// clock and a wall clock that runs with it (plus time asleep or a skew), and
// a notification server on a bus of the test's own.
class DailySummaryTest : public NotificationsFixture {
protected:
    double secondsRun() const { return std::chrono::duration<double>(clock.now().time_since_epoch()).count(); }
    Date wallNow() const { return start.addingTimeInterval(secondsRun() + secondsOff); }

    app::DailySummary& startedAt(Date now, bool enabled = true, qint64 minutes = 540) {
        start = now.addingTimeInterval(-secondsRun() - secondsOff);
        settings.setDailySummaryEnabled(enabled);
        settings.setDailySummaryMinutes(minutes);
        summary.emplace(store, settings, *notifications, power,
                        store::WallClock{[this] { return wallNow(); }, calendar}, clock);
        summary->start();
        return *summary;
    }

    // Runs the manual clock to just past the armed instant, then lets the
    // summary post and re-arm.
    void runToFireDate() {
        const std::optional<Date> due = summary->fireDate();
        ASSERT_TRUE(due);
        // A millisecond more: instants are doubles, good to a microsecond.
        clock.advance(std::chrono::ceil<std::chrono::milliseconds>(
                          std::chrono::duration<double>(due->timeIntervalSince(wallNow()))) +
                      1ms);
        ASSERT_TRUE(runMainLoopUntil([&] { return summary->fireDate() != due; }));
    }

    // Reminders due on 3 March (overdue on the 4th) and at 18:00 on 4 March.
    void seed(int overdue, int dueToday) {
        std::vector<platform::Reminder> reminders;
        for (int i = 0; i < overdue; ++i)
            reminders.push_back({.identifier = u"overdue %1"_s.arg(i),
                                 .listIdentifier = u"L1"_s,
                                 .dueDateComponents = platform::DateComponents{.year = 2026, .month = 3, .day = 3}});
        for (int i = 0; i < dueToday; ++i)
            reminders.push_back(
                {.identifier = u"today %1"_s.arg(i),
                 .listIdentifier = u"L1"_s,
                 .dueDateComponents = platform::DateComponents{.year = 2026, .month = 3, .day = 4, .hour = 18}});
        backend.changeByAnotherProcess([&](platform::MemoryEventStore::Contents& held) {
            held = {.lists = {{.identifier = u"L1"_s, .title = u"Home"_s}}, .reminders = reminders};
        });
    }

    std::vector<QString> postedBodies() const {
        std::vector<QString> bodies;
        for (const FakeNotificationServer::Call& call : server->calls(u"Notify"_s))
            bodies.push_back(call.arguments.at(4).toString());
        return bodies;
    }

    platform::ManualClock clock;
    Date start;
    double secondsOff = 0;  // asleep, or the wall clock set off
    platform::Calendar calendar =
        platform::Calendar::gregorian(platform::TimeZone::fromIdentifier(u"Europe/Amsterdam"_s).value());
    QTemporaryDir folder;
    platform::UserDefaults defaults{folder.filePath(u"settings.json"_s)};
    store::Settings settings{defaults};
    platform::MemoryEventStore backend;
    ScriptedPowerEvents power;
    MemoryContacts contacts;
    ScriptedPlaces geography;
    store::PlaceResolver places{contacts, geography, geography};
    store::ReminderStore store{backend, settings, power, places,
                               store::WallClock{[this] { return wallNow(); }, calendar}};
    std::optional<app::DailySummary> summary;
};

struct FireTimeCase {
    const char* name;
    Date now;
    qint64 minutes;
    Date expected;
};

class DailySummaryFireTimes : public DailySummaryTest, public ::testing::WithParamInterface<FireTimeCase> {};

}  // namespace

// The chosen wall-clock time of the day, also where midnight plus so many
// seconds would be an hour off.
TEST_P(DailySummaryFireTimes, ArmsForTheChosenWallClockTime) {
    const FireTimeCase& row = GetParam();
    startedAt(row.now, true, row.minutes);
    EXPECT_EQ(summary->fireDate(), row.expected);
    EXPECT_EQ(clock.pendingActions(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Table, DailySummaryFireTimes,
    ::testing::Values(
        FireTimeCase{"a minute before, today", amsterdamTime(2026, 3, 4, 8, 59), 540, amsterdamTime(2026, 3, 4, 9, 0)},
        FireTimeCase{"at the minute itself, tomorrow", amsterdamTime(2026, 3, 4, 9, 0), 540,
                     amsterdamTime(2026, 3, 5, 9, 0)},
        FireTimeCase{"tomorrow in the next month", amsterdamTime(2026, 3, 31, 10, 0), 540,
                     amsterdamTime(2026, 4, 1, 9, 0)},
        FireTimeCase{"clocks go forward that night", amsterdamTime(2026, 3, 29, 0, 30), 540, utc(2026, 3, 29, 7, 0)},
        FireTimeCase{"clocks go back that night", amsterdamTime(2026, 10, 25, 0, 30), 540, utc(2026, 10, 25, 8, 0)},
        FireTimeCase{"a time the clocks skip, shifted by the gap", amsterdamTime(2026, 3, 29, 0, 30), 150,
                     utc(2026, 3, 29, 1, 30)},
        FireTimeCase{"a repeated time, its first occurrence", amsterdamTime(2026, 10, 25, 0, 10), 150,
                     utc(2026, 10, 25, 0, 30)}),
    [](const auto& info) {
        std::string name = info.param.name;
        for (char& c : name)
            if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
        return name;
    });

TEST_F(DailySummaryTest, FollowsTheSwitchAndTheMinuteAsTheyChange) {
    startedAt(amsterdamTime(2026, 3, 4, 10, 0));
    EXPECT_EQ(summary->fireDate(), amsterdamTime(2026, 3, 5, 9, 0));

    settings.setDailySummaryMinutes(10 * 60 + 30);
    ASSERT_TRUE(runMainLoopUntil([&] { return summary->fireDate() == amsterdamTime(2026, 3, 4, 10, 30); }));
    settings.setDailySummaryMinutes(9 * 60 + 30);  // already past today
    ASSERT_TRUE(runMainLoopUntil([&] { return summary->fireDate() == amsterdamTime(2026, 3, 5, 9, 30); }));
    EXPECT_EQ(clock.pendingActions(), 1u);

    settings.setDailySummaryEnabled(false);
    ASSERT_TRUE(runMainLoopUntil([&] { return !summary->fireDate(); }));
    EXPECT_EQ(clock.pendingActions(), 0u);

    settings.setDailySummaryEnabled(true);
    EXPECT_FALSE(summary->fireDate()) << "armed at the next turn, not inside the setter";
    ASSERT_TRUE(runMainLoopUntil([&] { return summary->fireDate().has_value(); }));
    EXPECT_EQ(summary->fireDate(), amsterdamTime(2026, 3, 5, 9, 30));
    EXPECT_EQ(clock.pendingActions(), 1u);
}

TEST_F(DailySummaryTest, AWakeReArmsFromTheTimeItWokeAt) {
    seed(1, 0);
    startedAt(amsterdamTime(2026, 3, 4, 8, 0));
    EXPECT_EQ(summary->fireDate(), amsterdamTime(2026, 3, 4, 9, 0));

    secondsOff = 90 * 60;  // slept until 09:30; the timers' clock did not run
    power.wakeSystem();
    EXPECT_EQ(summary->fireDate(), amsterdamTime(2026, 3, 5, 9, 0));
    EXPECT_EQ(clock.pendingActions(), 1u);
    clock.advance(1h);  // where the timer of before would have fired
    runToFireDate();
    EXPECT_EQ(postedBodies().size(), 1u) << "one summary, on the next day";
}

// The system's zone moves east: nine o'clock is nine o'clock there, which
// here has already passed today.
TEST_F(DailySummaryTest, AChangeOfTheSystemsZoneReArmsForTheNewZonesMinute) {
    startedAt(amsterdamTime(2026, 3, 4, 8, 0));
    EXPECT_EQ(summary->fireDate(), amsterdamTime(2026, 3, 4, 9, 0));
    const QTimeZone tokyo("Asia/Tokyo");
    summary->setTimeZone(platform::TimeZone::fromIdentifier(u"Asia/Tokyo"_s).value());
    EXPECT_EQ(summary->fireDate(), Date::fromQDateTime(QDateTime(QDate(2026, 3, 5), QTime(9, 0), tokyo)));
    EXPECT_EQ(clock.pendingActions(), 1u);
}

TEST_F(DailySummaryTest, PostsTheCountsOfBothScopesSilentlyAndNeverReplacesOne) {
    seed(0, 3);
    startedAt(amsterdamTime(2026, 3, 4, 8, 59));
    // A moment before, nothing.
    clock.advance(59s - 1ms);
    EXPECT_EQ(summary->fireDate(), amsterdamTime(2026, 3, 4, 9, 0));
    runToFireDate();
    ASSERT_TRUE(server->waitForCalls(u"Notify"_s, 1));
    const FakeNotificationServer::Call first = server->calls(u"Notify"_s).at(0);
    EXPECT_EQ(first.arguments.at(1), 0u);
    EXPECT_EQ(first.arguments.at(3), u"Daily summary"_s);
    EXPECT_EQ(first.arguments.at(4), u"0 overdue, 3 due today"_s);
    EXPECT_EQ(first.arguments.at(6).toMap().value(u"suppress-sound"_s), true);
    EXPECT_EQ(summary->fireDate(), amsterdamTime(2026, 3, 5, 9, 0));

    runToFireDate();
    ASSERT_TRUE(server->waitForCalls(u"Notify"_s, 2));
    EXPECT_EQ(server->calls(u"Notify"_s).at(1).arguments.at(1), 0u);

    // The identifiers, as a click gives them back.
    QStringList clicked;
    QObject::connect(&*notifications, &platform::NotificationCenter::actionInvoked,
                     [&](const QString& identifier) { clicked << identifier; });
    server->invokeAction(1, u"default"_s);
    server->invokeAction(2, u"default"_s);
    ASSERT_TRUE(runMainLoopUntil([&] { return clicked.size() == 2; }));
    const QRegularExpression form(u"^dailySummary-[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}$"_s);
    EXPECT_TRUE(form.match(clicked[0]).hasMatch()) << clicked[0].toStdString();
    EXPECT_TRUE(form.match(clicked[1]).hasMatch()) << clicked[1].toStdString();
    EXPECT_NE(clicked[0], clicked[1]);
}

TEST_F(DailySummaryTest, LeavesOutNoneAndPostsNothingWithoutACountAboveZero) {
    struct Case {
        CountScope primary;
        int overdue;
        int dueToday;
        std::vector<QString> posted;
    };
    const Case cases[] = {
        {CountScope::none, 1, 2, {u"2 due today"_s}},
        {CountScope::overdue, 0, 0, {}},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(store::rawValue(row.primary).toStdString());
        server.emplace(bus.connect());
        seed(row.overdue, row.dueToday);
        settings.setPrimaryScope(row.primary);
        settings.setSecondaryScope(CountScope::today);
        startedAt(amsterdamTime(2026, 3, 4, 8, 59));
        runToFireDate();
        // The post is over before the summary re-arms.
        EXPECT_EQ(postedBodies(), row.posted);
        EXPECT_EQ(summary->fireDate(), amsterdamTime(2026, 3, 5, 9, 0));
    }
}

// The timer runs on the monotonic clock; a wall clock that reads a little
// earlier when it fires (set back, or slewed) must not bring a second
// summary that day.
TEST_F(DailySummaryTest, AWallClockBehindTheTimerStillGivesOneSummaryThatDay) {
    seed(2, 0);
    startedAt(amsterdamTime(2026, 3, 4, 8, 59));
    secondsOff = -2;
    runToFireDate();
    EXPECT_EQ(postedBodies(), std::vector<QString>{u"2 overdue, 0 due today"_s});
    EXPECT_EQ(summary->fireDate(), amsterdamTime(2026, 3, 5, 9, 0));
}

TEST(DailySummary, ArmsNothingForAMinuteOutsideTheDay) {
    const platform::Calendar calendar =
        platform::Calendar::gregorian(platform::TimeZone::fromIdentifier(u"Europe/Amsterdam"_s).value());
    const Date now = amsterdamTime(2026, 3, 4, 10, 0);
    EXPECT_EQ(app::DailySummary::nextFireDate(now, -1, calendar), std::nullopt);
    EXPECT_EQ(app::DailySummary::nextFireDate(now, 24 * 60, calendar), std::nullopt);
    EXPECT_EQ(app::DailySummary::nextFireDate(now, 24 * 60 - 1, calendar), amsterdamTime(2026, 3, 4, 23, 59));
}

TEST_F(DailySummaryTest, NotificationsAreAuthorizedWhileAServerIsThere) {
    startedAt(amsterdamTime(2026, 3, 4, 10, 0), false);
    EXPECT_EQ(finishTask(summary->ensureNotificationAuthorization()), true);
    server.reset();
    EXPECT_EQ(finishTask(summary->ensureNotificationAuthorization()), false);
}
