#pragma once

#include "platform/Calendar.h"
#include "platform/Clock.h"
#include "platform/Date.h"
#include "platform/Task.h"
#include "platform/WallClockChanges.h"
#include "platform/eventstore/AlarmTrigger.h"
#include "platform/eventstore/Reminder.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QString>

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace tavlin::platform {

class EventStore;
class LocationManager;
class NotificationCenter;
class PowerEvents;
struct Location;

// The wall clock and the user's calendar, or a test's.
struct AlarmWallTime {
    std::function<Date()> now = Date::now;
    Calendar calendar = Calendar::current();
};

// Delivers the alarms of the open reminders as desktop notifications: on
// this desktop no service watches the reminders' files, so Tavlin keeps
// their alarms itself while it runs.
//
// One timer on the clock, for the earliest alarm to come; each time it
// goes off, and after every change of the store, a wake from sleep or a
// change of the system's wall clock (`check`), the alarms that went off since the last
// look are shown, each reminder once however many of its alarms went off,
// and acknowledged in the store so that no client shows them again. At
// `start`, the last look is a day ago: alarms missed while Tavlin was not
// running are shown then, older ones are left alone. An alarm that some
// client acknowledged is not shown. Where no notification server shows
// them, one warning is logged and nothing is acknowledged.
//
// Alarms at a place go off when a fix of the location service crosses
// their radius (into it on arriving, out of it on leaving), once per
// crossing; fixes are asked for at each look, and every few minutes while
// any such alarm waits. Without a location service they never go off.
//
// Responses: "complete" asks for the reminder to be completed (the shell
// does it as the panel would), "snooze" adds an alarm an hour later, a
// click asks for the reminder to be shown. Main thread only.
class AlarmScheduler : public QObject {
    Q_OBJECT

public:
    static constexpr QLatin1StringView notificationPrefix{"alarm-"};
    static constexpr QLatin1StringView moreNotificationIdentifier{"alarms-more"};
    static constexpr QLatin1StringView completeAction{"complete"};
    static constexpr QLatin1StringView snoozeAction{"snooze"};
    static constexpr double missedWindowSeconds = 24 * 3600;
    static constexpr double snoozeSeconds = 3600;
    // How often the location service is asked while alarms at a place wait.
    static constexpr double placeCheckSeconds = 300;
    // The radius of an alarm at a place that gives none, in metres.
    static constexpr double defaultRadius = 100;
    // Alarms shown one by one for a minute; the others are counted in one more.
    static constexpr std::size_t shownAtOnce = 3;
    // A reminder with more alarms than this is a broken file, not a plan.
    static constexpr std::size_t alarmLimit = 100;
    // How many of the alarms to come a look at every reminder keeps for the
    // looks at changes after it.
    static constexpr std::size_t keptAlarms = 256;

    // `wallTime` gives the time of day and the zone that floating times are
    // read in; the timer runs on `clock`.
    AlarmScheduler(EventStore& store, NotificationCenter& notifications, PowerEvents& powerEvents,
                   AlarmWallTime wallTime = {}, Clock& clock = Clock::main(), QObject* parent = nullptr);
    ~AlarmScheduler() override;

    // Shows what was missed in the last day and arms the timer; called once,
    // when the store has access.
    void start();
    // Shows what went off since the last look and arms the timer again.
    void check();
    // Floating and date-only times are read in `zone` from now on (the
    // system's zone changed), and the timer is armed again.
    void setTimeZone(const TimeZone& zone);
    // Where fixes for the alarms at a place come from; none: they never go off.
    void setLocationManager(LocationManager* manager);
    // When the armed timer goes off; nothing while none is armed.
    std::optional<Date> nextFireDate() const { return fireDate_; }

signals:
    void completionRequested(const QString& identifier);
    // A click on an alarm: show the reminder (empty: the reminders at large).
    void showRequested(const QString& identifier);

private:
    // A reminder whose alarms went off since the last look.
    struct Due {
        Reminder reminder;
        Date firedAt;          // its latest alarm that went off
        bool atPlace = false;  // a crossing, which has nothing to acknowledge
    };

    // The reminders whose alarms went off after `from` up to `to`, and the
    // first alarm after `to` (acknowledged ones left out).
    struct Look {
        std::vector<Due> due;
        std::optional<Date> next;
        bool waitsForPlaces = false;
    };
    void lookAndArm();
    // Every open reminder looked at; the alarms still to come are kept for
    // the looks at changes after it.
    Look lookAtAll(Date from, Date to);
    // Only the reminders changed since the last look, and the earliest kept
    // alarm; nothing where only a look at all of them tells (or where one
    // went off: that look shows them in the store's order).
    std::optional<Look> lookAtChanges(Date from, Date to);
    // Calls `visit` with the time of each of the reminder's alarms that no
    // client acknowledged; nothing for one with more alarms than a plan has.
    template <class Visit>
    void forEachUnacknowledged(const Reminder& reminder, Visit&& visit);
    // Whether an alarm of the reminder, open, still goes off at `at`.
    bool stillGoesOff(const QString& identifier, Date at);
    // Whether the reminder's alarms can be read; logs once per file why not.
    bool readable(const Reminder& reminder, const Alarm& alarm);
    void reportOnce(const Reminder& reminder, const QString& problem);
    void arm(std::optional<Date> fireDate, Date now);
    void respond(const QString& identifier, const QString& actionKey);
    void locationsUpdated(const std::vector<Location>& fixes);
    bool asksForPlaces() const;
    // Shows `due` in groups of one minute (one group when `asOne`), and
    // acknowledges what was shown at `at`.
    static Task<> deliver(QPointer<AlarmScheduler> self, std::vector<Due> due, Date at, bool asOne);
    Task<bool> show(const Due& due, bool withActions);
    Task<bool> showMore(std::size_t count);
    QString bodyOf(const Reminder& reminder) const;

    EventStore& store_;
    NotificationCenter& notifications_;
    AlarmWallTime wallTime_;
    AlarmTriggerDates triggers_;
    Clock& clock_;
    std::optional<Date> lookedUpTo_;  // nothing before start
    bool checking_ = false;
    bool checkAgain_ = false;  // a change was told during a look

    // An alarm still to come, as a look found it.
    struct Upcoming {
        Date at;
        QString identifier;
    };
    // The earliest alarms still to come, the earliest on top (a heap), as
    // the last look at all left them and as changes added to them since, so
    // that a change of one reminder costs one reminder. A change leaves the
    // reminder's former alarms where they are: each is checked against the
    // store when it comes to the top, and dropped when it no longer holds.
    std::vector<Upcoming> upcoming_;
    // What the kept alarms follow; nothing: the next look is at all.
    struct Followed {
        std::uint64_t revision = 0;  // the store's, as last looked at
        Date nextDay;                // the start of the day after the last look at all
        // Every alarm before it is kept; nothing: every alarm is.
        std::optional<Date> horizon;
    };
    std::optional<Followed> followed_;
    // The open reminders with an alarm at a place that waits for fixes.
    QSet<QString> atPlaces_;
    ScheduledAction timer_;
    std::optional<Date> fireDate_;
    WallClockChanges wallClockChanges_;
    QPointer<LocationManager> location_;
    // Whether the last fix was inside each alarm's radius, by reminder, alarm and place.
    QHash<QString, bool> insidePlaces_;
    QSet<QString> reported_;
    bool warnedNoServer_ = false;
};

}  // namespace tavlin::platform
