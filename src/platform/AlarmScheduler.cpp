#include "platform/AlarmScheduler.h"

#include "platform/Geodesic.h"
#include "platform/LocationManager.h"
#include "platform/Log.h"
#include "platform/NotificationCenter.h"
#include "platform/PowerEvents.h"
#include "platform/ShortDateFormats.h"
#include "platform/eventstore/EventStore.h"

#include <algorithm>
#include <cmath>
#include <utility>

using namespace Qt::StringLiterals;

namespace tavlin::platform {

namespace {

long long minuteOf(Date date) { return static_cast<long long>(std::floor(date.secondsSince1970() / 60)); }

// An alarm at a place that a fix can cross.
bool waitsForFixes(const Alarm& alarm) {
    return alarm.structuredLocation && alarm.structuredLocation->geoLocation && alarm.proximity != AlarmProximity::none;
}

bool waitsAtAPlace(const Reminder& reminder) {
    return reminder.alarms.size() <= AlarmScheduler::alarmLimit && std::ranges::any_of(reminder.alarms, waitsForFixes);
}

}  // namespace

AlarmScheduler::AlarmScheduler(EventStore& store, NotificationCenter& notifications, PowerEvents& powerEvents,
                               AlarmWallTime wallTime, Clock& clock, QObject* parent)
    : QObject(parent),
      store_(store),
      notifications_(notifications),
      wallTime_(std::move(wallTime)),
      triggers_(wallTime_.calendar),
      clock_(clock) {
    connect(&store_, &EventStore::changed, this, &AlarmScheduler::check);
    // The timer's clock stands still while the machine sleeps.
    connect(&powerEvents, &PowerEvents::systemDidWake, this, &AlarmScheduler::check);
    connect(&notifications_, &NotificationCenter::actionInvoked, this, &AlarmScheduler::respond);
    connect(&wallClockChanges_, &WallClockChanges::changed, this, &AlarmScheduler::check);
}

AlarmScheduler::~AlarmScheduler() { timer_.cancel(); }

void AlarmScheduler::start() {
    if (lookedUpTo_) return;
    lookedUpTo_ = wallTime_.now().addingTimeInterval(-missedWindowSeconds);
    check();
}

void AlarmScheduler::setTimeZone(const TimeZone& zone) {
    wallTime_.calendar.setTimeZone(zone);
    triggers_ = AlarmTriggerDates(wallTime_.calendar);
    // Floating and date-only alarms go off at other instants now.
    followed_.reset();
    check();
}

void AlarmScheduler::check() {
    // Until the store can be read, the day missed is still to be looked at.
    if (!lookedUpTo_ || store_.authorizationStatus() != AuthorizationStatus::fullAccess) return;
    // A store that takes in other programs' changes as it is read tells of
    // them in the middle of a look: they are looked at after it, else what
    // went off would be shown by both looks.
    if (checking_) {
        checkAgain_ = true;
        return;
    }
    checking_ = true;
    do {
        checkAgain_ = false;
        lookAndArm();
    } while (checkAgain_);
    checking_ = false;
}

void AlarmScheduler::lookAndArm() {
    const Date now = wallTime_.now();
    // The wall clock went back: what lies ahead was not looked at.
    const Date from = std::min(*lookedUpTo_, now);
    const bool atStart = now.timeIntervalSince(from) > missedWindowSeconds - 1;
    std::optional<Look> changes = lookAtChanges(from, now);
    Look found = changes ? std::move(*changes) : lookAtAll(from, now);
    lookedUpTo_ = now;
    if (found.waitsForPlaces && asksForPlaces()) {
        location_->requestLocation();
        const Date soon = now.addingTimeInterval(placeCheckSeconds);
        if (!found.next || *found.next > soon) found.next = soon;
    }
    arm(found.next, now);
    if (!found.due.empty()) detach(deliver(QPointer(this), std::move(found.due), now, atStart));
}

namespace {

// The orders of a heap with the earliest on top, and with the latest.
constexpr auto later = [](const auto& a, const auto& b) { return a.at > b.at; };
constexpr auto earlier = [](const auto& a, const auto& b) { return a.at < b.at; };

}  // namespace

template <class Visit>
void AlarmScheduler::forEachUnacknowledged(const Reminder& reminder, Visit&& visit) {
    if (reminder.alarms.size() > alarmLimit) {
        reportOnce(reminder, u"it has %1 alarms"_s.arg(reminder.alarms.size()));
        return;
    }
    for (const Alarm& alarm : reminder.alarms) {
        if (!readable(reminder, alarm)) continue;
        const std::optional<Date> trigger = triggers_.of(reminder, alarm);
        if (trigger && !isAcknowledged(alarm, *trigger)) visit(*trigger);
    }
}

AlarmScheduler::Look AlarmScheduler::lookAtAll(Date from, Date to) {
    // Looked at where the store keeps them: a copy of every open reminder
    // would cost more than the look.
    const std::vector<const Reminder*> reminders = store_.incompleteReminders();
    Look found;
    // The earliest alarms to come, the latest of them on top while they are
    // gathered: keeping every one would cost the look more than it saves.
    std::vector<Upcoming> upcoming;
    upcoming.reserve(keptAlarms);
    const auto keep = [&](Date trigger, const QString& identifier) {
        if (upcoming.size() == keptAlarms) {
            if (trigger >= upcoming.front().at) return;
            std::ranges::pop_heap(upcoming, earlier);
            upcoming.pop_back();
        }
        upcoming.push_back({trigger, identifier});
        std::ranges::push_heap(upcoming, earlier);
    };
    QSet<QString> atPlaces;
    for (const Reminder* open : reminders) {
        const Reminder& reminder = *open;
        if (waitsAtAPlace(reminder)) atPlaces.insert(reminder.identifier);
        std::optional<Date> fired;
        forEachUnacknowledged(reminder, [&](Date trigger) {
            if (trigger > to) keep(trigger, reminder.identifier);
            else if (trigger > from && (!fired || trigger > *fired)) fired = trigger;
        });
        if (fired) found.due.push_back({reminder, *fired});
    }
    // Every alarm before the latest kept is kept.
    const std::optional<Date> horizon =
        upcoming.size() == keptAlarms ? std::optional(upcoming.front().at) : std::nullopt;
    std::ranges::make_heap(upcoming, later);
    if (!upcoming.empty()) found.next = upcoming.front().at;
    found.waitsForPlaces = !atPlaces.isEmpty();
    const Calendar& calendar = wallTime_.calendar;
    const Date tomorrow = calendar.dateByAdding(CalendarComponent::Day, 1, to).value_or(to);
    followed_ = Followed{store_.revision(), calendar.startOfDay(tomorrow), horizon};
    upcoming_ = std::move(upcoming);
    atPlaces_ = std::move(atPlaces);
    qCDebug(lcAlarms) << "looked at the alarms of" << reminders.size() << "open reminders";
    std::stable_sort(found.due.begin(), found.due.end(),
                     [](const Due& a, const Due& b) { return a.firedAt < b.firedAt; });
    return found;
}

std::optional<AlarmScheduler::Look> AlarmScheduler::lookAtChanges(Date from, Date to) {
    // Past these, a look at all costs less than the changes one by one.
    constexpr qsizetype kMostChangesFollowed = 64;
    constexpr std::size_t kMostStaleKept = 1024;
    // Alarms already passed are no longer kept: when the wall clock goes
    // back, they may be ahead again. A new day looks at all as a safety net,
    // and so does a pile of former alarms that changes left.
    if (!followed_ || from < *lookedUpTo_ || to >= followed_->nextDay || upcoming_.size() > keptAlarms + kMostStaleKept)
        return std::nullopt;
    const std::uint64_t revision = store_.revision();
    const std::optional<QSet<QString>> changed = store_.changedSince(followed_->revision);
    if (!changed || changed->size() > kMostChangesFollowed) return std::nullopt;
    for (const QString& identifier : *changed) {
        const std::optional<Reminder> saved = store_.reminder(identifier);
        atPlaces_.remove(identifier);
        if (!saved || saved->completed) continue;
        if (waitsAtAPlace(*saved)) atPlaces_.insert(identifier);
        const std::optional<Date>& horizon = followed_->horizon;
        forEachUnacknowledged(*saved, [&](Date trigger) {
            // Past the horizon, it waits for the look that those kept run out to.
            if (trigger <= from || (horizon && trigger >= *horizon)) return;
            upcoming_.push_back({trigger, identifier});
            std::ranges::push_heap(upcoming_, later);
        });
    }
    followed_->revision = revision;
    Look found{.waitsForPlaces = !atPlaces_.isEmpty()};
    while (!upcoming_.empty()) {
        const Upcoming& first = upcoming_.front();
        if (first.at > from && stillGoesOff(first.identifier, first.at)) {
            if (first.at <= to) return std::nullopt;
            found.next = first.at;
            return found;
        }
        std::ranges::pop_heap(upcoming_, later);
        upcoming_.pop_back();
    }
    // None kept holds: beyond the horizon, only a look at all finds the next.
    if (followed_->horizon) return std::nullopt;
    return found;
}

bool AlarmScheduler::stillGoesOff(const QString& identifier, Date at) {
    const std::optional<Reminder> saved = store_.reminder(identifier);
    if (!saved || saved->completed) return false;
    bool goesOff = false;
    forEachUnacknowledged(*saved, [&](Date trigger) { goesOff = goesOff || trigger == at; });
    return goesOff;
}

bool AlarmScheduler::readable(const Reminder& reminder, const Alarm& alarm) {
    if (alarm.structuredLocation) return false;  // at a place, not a time
    if (!alarm.hasTrigger) {
        reportOnce(reminder, u"an alarm has no trigger that is a date or a duration"_s);
        return false;
    }
    const bool lacksBase =
        !alarm.absoluteDate && !(alarm.relativeToStart ? reminder.startDateComponents : reminder.dueDateComponents);
    if (lacksBase) {
        reportOnce(reminder, alarm.relativeToStart ? u"an alarm counts from a start date it lacks"_s
                                                   : u"an alarm counts from a due date it lacks"_s);
        return false;
    }
    return true;
}

void AlarmScheduler::reportOnce(const Reminder& reminder, const QString& problem) {
    const QString place = store_.locationOf(reminder.identifier).value_or(reminder.identifier);
    const QString line = u"skipped an alarm of %1: %2"_s.arg(place, problem);
    if (reported_.contains(line)) return;
    reported_.insert(line);
    qCInfo(lcAlarms).noquote() << line;
}

void AlarmScheduler::arm(std::optional<Date> fireDate, Date now) {
    timer_.cancel();
    fireDate_ = fireDate;
    if (!fireDate_) return;
    // Rounded up: a timer that goes off early finds nothing due.
    const auto delay =
        std::chrono::ceil<std::chrono::milliseconds>(std::chrono::duration<double>(fireDate_->timeIntervalSince(now)));
    timer_ = clock_.schedule(delay, [self = QPointer(this)] {
        if (self) self->check();
    });
}

void AlarmScheduler::setLocationManager(LocationManager* manager) {
    if (location_) disconnect(location_, nullptr, this, nullptr);
    location_ = manager;
    if (manager) connect(manager, &LocationManager::locationsUpdated, this, &AlarmScheduler::locationsUpdated);
    check();
}

bool AlarmScheduler::asksForPlaces() const {
    if (!location_) return false;
    const LocationAuthorization status = location_->authorizationStatus();
    return status != LocationAuthorization::denied && status != LocationAuthorization::restricted;
}

// A crossing needs a fix on each side: the first fix for an alarm only says
// where the user is.
void AlarmScheduler::locationsUpdated(const std::vector<Location>& fixes) {
    if (fixes.empty() || !lookedUpTo_ || store_.authorizationStatus() != AuthorizationStatus::fullAccess) return;
    const Location& fix = fixes.back();
    const Date now = wallTime_.now();
    QHash<QString, bool> inside;
    std::vector<Due> due;
    for (const Reminder* open : store_.incompleteReminders()) {
        const Reminder& reminder = *open;
        if (reminder.alarms.size() > alarmLimit) continue;
        bool crossed = false;
        for (std::size_t i = 0; i < reminder.alarms.size(); ++i) {
            const Alarm& alarm = reminder.alarms[i];
            if (!waitsForFixes(alarm)) continue;
            const GeoLocation& place = *alarm.structuredLocation->geoLocation;
            const double radius =
                alarm.structuredLocation->radius > 0 ? alarm.structuredLocation->radius : defaultRadius;
            const bool isInside =
                geodesicDistance(fix.latitude, fix.longitude, place.latitude, place.longitude) <= radius;
            const QString key =
                u"%1 %2 %3,%4"_s.arg(reminder.identifier).arg(i).arg(place.latitude).arg(place.longitude);
            const auto before = insidePlaces_.constFind(key);
            const bool wanted = alarm.proximity == AlarmProximity::enter ? isInside : !isInside;
            crossed = crossed || (before != insidePlaces_.constEnd() && *before != isInside && wanted);
            inside.insert(key, isInside);
        }
        if (crossed) due.push_back({reminder, now, true});
    }
    insidePlaces_ = std::move(inside);
    if (!due.empty()) detach(deliver(QPointer(this), std::move(due), now, false));
}

void AlarmScheduler::respond(const QString& identifier, const QString& actionKey) {
    if (identifier == moreNotificationIdentifier) {
        emit showRequested({});
        return;
    }
    if (!identifier.startsWith(notificationPrefix)) return;
    const QString reminder = identifier.sliced(notificationPrefix.size());
    if (actionKey == completeAction) {
        emit completionRequested(reminder);
    } else if (actionKey == snoozeAction) {
        const Date now = wallTime_.now();
        const std::optional<StoreError> error =
            store_.acknowledgeAlarms(reminder, now, wallTime_.calendar, now.addingTimeInterval(snoozeSeconds));
        if (error) qCWarning(lcAlarms).noquote() << "could not put the alarm off:" << error->description;
        check();
    } else {
        emit showRequested(reminder);
    }
}

Task<> AlarmScheduler::deliver(QPointer<AlarmScheduler> self, std::vector<Due> due, Date at, bool asOne) {
    const Task<bool> asked = self->notifications_.offersActions();
    const bool withActions = co_await asked;
    std::size_t groupStart = 0;
    while (groupStart < due.size()) {
        std::size_t groupEnd = groupStart + 1;
        while (groupEnd < due.size() && (asOne || minuteOf(due[groupEnd].firedAt) == minuteOf(due[groupStart].firedAt)))
            ++groupEnd;
        std::vector<const Due*> shown;
        for (std::size_t i = groupStart; i < groupEnd; ++i) {
            if (!self) co_return;
            if (i - groupStart == shownAtOnce) {
                const Task<bool> more = self->showMore(groupEnd - i);
                const bool posted = co_await more;
                if (posted) {
                    for (std::size_t j = i; j < groupEnd; ++j) shown.push_back(&due[j]);
                }
                break;
            }
            const Task<bool> one = self->show(due[i], withActions);
            const bool posted = co_await one;
            if (posted) shown.push_back(&due[i]);
        }
        if (!self) co_return;
        if (const std::size_t missing = groupEnd - groupStart - shown.size(); missing > 0) {
            qCDebug(lcAlarms) << missing << "due reminders not shown";
            if (!std::exchange(self->warnedNoServer_, true))
                qCWarning(lcAlarms) << "no notification server took the alarms of due reminders; they show as overdue";
        }
        for (const Due* item : shown) {
            if (item->atPlace) continue;
            const std::optional<StoreError> error =
                self->store_.acknowledgeAlarms(item->reminder.identifier, at, self->wallTime_.calendar);
            if (error) qCWarning(lcAlarms).noquote() << "could not mark an alarm as shown:" << error->description;
        }
        groupStart = groupEnd;
    }
}

Task<bool> AlarmScheduler::show(const Due& due, bool withActions) {
    NotificationRequest request{.identifier = QString(notificationPrefix) + due.reminder.identifier,
                                .title = due.reminder.title,
                                .body = bodyOf(due.reminder),
                                .actions = {NotificationAction::click()},
                                .withSound = true};
    if (withActions) {
        request.actions.push_back({QString(completeAction), u"Mark as Completed"_s});
        request.actions.push_back({QString(snoozeAction), u"Remind Me in 1 Hour"_s});
    }
    return notifications_.add(std::move(request));
}

Task<bool> AlarmScheduler::showMore(std::size_t count) {
    NotificationRequest request{.identifier = QString(moreNotificationIdentifier),
                                .title = u"%1 more reminders are due"_s.arg(count),
                                .body = {},
                                .actions = {NotificationAction::click()},
                                .withSound = false};
    return notifications_.add(std::move(request));
}

// "17:00 · Reminders", the day before the time when it is not today, and
// the first line of the notes under it.
QString AlarmScheduler::bodyOf(const Reminder& reminder) const {
    QStringList parts;
    const Calendar& calendar = wallTime_.calendar;
    if (reminder.dueDateComponents) {
        if (const std::optional<Date> due = calendar.date(*reminder.dueDateComponents)) {
            const ShortDateFormats& formats = ShortDateFormats::of(calendar);
            QStringList when;
            if (!reminder.dueDateComponents->hasTime() || !calendar.isDateInSameDay(*due, wallTime_.now()))
                when << formats.weekdayDayMonth(*due);
            if (reminder.dueDateComponents->hasTime()) when << formats.time(*due);
            parts << when.join(u' ');
        }
    }
    for (const ReminderList& list : store_.lists())
        if (list.identifier == reminder.listIdentifier && !list.title.isEmpty()) parts << list.title;
    QString body = parts.join(u" · "_s);
    const QString firstLine = reminder.notes.section(u'\n', 0, 0).trimmed();
    if (!firstLine.isEmpty()) body += (body.isEmpty() ? QString() : u"\n"_s) + firstLine;
    return body;
}

}  // namespace tavlin::platform
