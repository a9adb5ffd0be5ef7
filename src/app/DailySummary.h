#pragma once

#include "platform/Calendar.h"
#include "platform/Clock.h"
#include "platform/Date.h"
#include "platform/Task.h"
#include "store/ReminderStore.h"

#include <QObject>
#include <QPointer>

#include <optional>

namespace tavlin::platform {
class NotificationCenter;
class PowerEvents;
}  // namespace tavlin::platform

namespace tavlin::store {
class Settings;
}  // namespace tavlin::store

namespace tavlin::app {

// Once a day, at the minute the user chose, a silent notification with the
// two counts of the tray item ("0 overdue, 3 due today"). Nothing is posted
// when no count is above zero.
//
// At most one timer is armed, none while the summary is off. It follows the
// switch and the minute as they change, and re-arms on waking, because the
// timers' clock stands still while the machine sleeps. The time is the
// chosen wall-clock time of the day, also on the days the clocks change.
// Main thread only.
class DailySummary : public QObject {
    Q_OBJECT

public:
    // `wallClock` gives "now" and the days, as the store takes them; the
    // timer runs on `clock`.
    DailySummary(store::ReminderStore& store, store::Settings& settings, platform::NotificationCenter& notifications,
                 platform::PowerEvents& powerEvents, store::WallClock wallClock = {},
                 platform::Clock& clock = platform::Clock::main(), QObject* parent = nullptr);
    ~DailySummary() override;

    // Arms the timer and keeps it in step with the settings and wakes.
    // Called once, after the store has started.
    void start();
    // The summary's minute is read in `zone` from now on (the system's zone
    // changed); the timer is armed anew.
    void setTimeZone(const platform::TimeZone& zone);
    // The armed timer's instant; nothing while none is armed.
    std::optional<platform::Date> fireDate() const { return fireDate_; }

    // Whether notifications can be shown. The desktop has no permission to
    // ask for, so the answer is whether a notification server is there.
    platform::Task<bool> ensureNotificationAuthorization();

    // The first instant after `now` at the wall-clock time `minutes` after
    // midnight: today's, else tomorrow's. Where the clocks skip that time,
    // the instant it reads as with the offset before the change; where they
    // repeat it, its first occurrence. Nothing for minutes outside one day.
    static std::optional<platform::Date> nextFireDate(platform::Date now, qint64 minutes,
                                                      const platform::Calendar& calendar);

private:
    // Replaces the armed timer by one for the next fire time after the later
    // of now and `notBefore`, or by none while the summary is off.
    void reschedule(std::optional<platform::Date> notBefore = std::nullopt);
    // Refreshes the store and posts the counts when there are any.
    platform::Task<> post();
    static platform::Task<> fire(QPointer<DailySummary> self, platform::Date firedAt);

    store::ReminderStore& store_;
    store::Settings& settings_;
    platform::NotificationCenter& notifications_;
    platform::PowerEvents& powerEvents_;
    store::WallClock wallClock_;
    platform::Clock& clock_;
    platform::ScheduledAction timer_;
    std::optional<platform::Date> fireDate_;
};

}  // namespace tavlin::app
