#include "platform/AlarmScheduler.h"

#include "platform/NotificationCenter.h"
#include "platform/PowerEvents.h"
#include "platform/eventstore/MemoryEventStore.h"

#include <benchmark/benchmark.h>
#include <QCoreApplication>

using namespace tavlin::platform;
using namespace Qt::StringLiterals;

namespace {

class SilentPowerEvents final : public PowerEvents {};

const Calendar& amsterdam() {
    static const Calendar calendar = Calendar::gregorian(TimeZone::fromIdentifier(u"Europe/Amsterdam"_s).value());
    return calendar;
}

// Monday 2 March 2026, 08:00 in Amsterdam: every alarm is still to come.
const Date kNow = Date::fromSecondsSince1970(1772434800);

// `count` open reminders due at a time over the next four weeks, each with
// an alarm at its due time; every third also one a quarter of an hour
// before, every tenth one acknowledged, every seventh a place.
std::vector<Reminder> reminders(int count = 10000) {
    std::vector<Reminder> all;
    for (int i = 0; i < count; ++i) {
        Reminder reminder{.identifier = u"bench-%1"_s.arg(i),
                          .title = u"Reminder %1"_s.arg(i),
                          .listIdentifier = u"L"_s,
                          .dueDateComponents = DateComponents{
                              .year = 2026, .month = 3, .day = 2 + i % 28, .hour = 9 + i % 10, .minute = i % 60}};
        Alarm atDue{.relativeOffset = 0};
        if (i % 10 == 0) atDue.acknowledged = kNow;
        reminder.alarms.push_back(atDue);
        if (i % 3 == 0) reminder.alarms.push_back({.relativeOffset = -900});
        if (i % 7 == 0) reminder.alarms.push_back(Alarm::on({.title = u"Home"_s}, AlarmProximity::enter));
        all.push_back(std::move(reminder));
    }
    return all;
}

// What each change of the store costs: the reminders fetched, what went off
// looked for, the one timer armed again.
void ensureApplication() {
    static int argc = 1;
    static char name[] = "bench_platform";
    static char* argv[] = {name, nullptr};
    static QCoreApplication application(argc, argv);
}

void RearmAfterARefreshOf10000Reminders(benchmark::State& state) {
    ensureApplication();
    MemoryEventStore store{{.lists = {{.identifier = u"L"_s, .title = u"Home"_s}}, .reminders = reminders()}};
    NotificationCenter notifications(QDBusConnection(u"none"_s));
    SilentPowerEvents power;
    ManualClock clock;
    AlarmScheduler scheduler(store, notifications, power, AlarmWallTime{[] { return kNow; }, amsterdam()}, clock);
    scheduler.start();
    for (auto _ : state) scheduler.check();
    if (!scheduler.nextFireDate()) state.SkipWithError("no alarm armed");
}
BENCHMARK(RearmAfterARefreshOf10000Reminders)->Unit(benchmark::kMillisecond);

// What a write of one reminder costs the alarm scheduler, among as many
// reminders as the argument: one reminder's due time moved by a minute
// (outside the timing, as the write is the store's), then the look.
void RearmAfterAChangeOfOneReminder(benchmark::State& state) {
    ensureApplication();
    const int count = static_cast<int>(state.range(0));
    MemoryEventStore store{{.lists = {{.identifier = u"L"_s, .title = u"Home"_s}}, .reminders = reminders(count)}};
    NotificationCenter notifications(QDBusConnection(u"none"_s));
    SilentPowerEvents power;
    ManualClock clock;
    AlarmScheduler scheduler(store, notifications, power, AlarmWallTime{[] { return kNow; }, amsterdam()}, clock);
    scheduler.start();
    int changed = 0;
    for (auto _ : state) {
        state.PauseTiming();
        Reminder reminder = *store.reminder(u"bench-%1"_s.arg(changed++ % count));
        reminder.dueDateComponents->minute = (*reminder.dueDateComponents->minute + 1) % 60;
        if (store.save(reminder)) state.SkipWithError("the store refused the change");
        state.ResumeTiming();
        scheduler.check();
    }
    if (!scheduler.nextFireDate()) state.SkipWithError("no alarm armed");
}
BENCHMARK(RearmAfterAChangeOfOneReminder)->Arg(10000)->Arg(50000)->Unit(benchmark::kMicrosecond);

}  // namespace
