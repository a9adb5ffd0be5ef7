#include "app/DailySummary.h"

#include "platform/DateComponents.h"
#include "platform/Log.h"
#include "platform/NotificationCenter.h"
#include "platform/PowerEvents.h"
#include "store/ContinuousObservation.h"
#include "store/CountScope.h"
#include "store/Settings.h"

#include <QStringList>
#include <QUuid>

#include <algorithm>
#include <chrono>

using namespace Qt::StringLiterals;

namespace tavlin::app {

using platform::Date;

DailySummary::DailySummary(store::ReminderStore& store, store::Settings& settings,
                           platform::NotificationCenter& notifications, platform::PowerEvents& powerEvents,
                           store::WallClock wallClock, platform::Clock& clock, QObject* parent)
    : QObject(parent),
      store_(store),
      settings_(settings),
      notifications_(notifications),
      powerEvents_(powerEvents),
      wallClock_(std::move(wallClock)),
      clock_(clock) {}

DailySummary::~DailySummary() { timer_.cancel(); }

void DailySummary::setTimeZone(const platform::TimeZone& zone) {
    wallClock_.calendar.setTimeZone(zone);
    if (fireDate_) reschedule();  // none: off, or not started
}

void DailySummary::start() {
    store::ContinuousObservation::observe([self = QPointer(this)] {
        if (!self) return;  // reads nothing, which ends the observation
        (void)self->settings_.dailySummaryEnabled();
        (void)self->settings_.dailySummaryMinutes();
        self->reschedule();
    });
    connect(&powerEvents_, &platform::PowerEvents::systemDidWake, this, [this] { reschedule(); });
}

std::optional<Date> DailySummary::nextFireDate(Date now, qint64 minutes, const platform::Calendar& calendar) {
    if (minutes < 0 || minutes > store::Settings::lastMinuteOfDay) return std::nullopt;
    using platform::CalendarComponent;
    const platform::DateComponents today =
        calendar.dateComponents(CalendarComponent::Year | CalendarComponent::Month | CalendarComponent::Day, now);
    for (const int daysAhead : {0, 1}) {
        // A day past the month's end reads as the next month's first.
        const std::optional<Date> fire = calendar.date({.year = today.year,
                                                        .month = today.month,
                                                        .day = *today.day + daysAhead,
                                                        .hour = int(minutes / 60),
                                                        .minute = int(minutes % 60)});
        if (fire && *fire > now) return fire;
    }
    return std::nullopt;
}

void DailySummary::reschedule(std::optional<Date> notBefore) {
    timer_.cancel();
    fireDate_.reset();
    if (!settings_.dailySummaryEnabled()) return;
    const Date now = wallClock_.now();
    // After a firing, the time just served counts as passed even when the
    // wall clock reads a little earlier, so that one day gets one summary.
    const std::optional<Date> next =
        nextFireDate(std::max(now, notBefore.value_or(now)), settings_.dailySummaryMinutes(), wallClock_.calendar);
    if (!next) {
        qCWarning(lcApp) << "daily summary: no time to arm for minute" << settings_.dailySummaryMinutes();
        return;
    }
    fireDate_ = next;
    const auto delay = std::chrono::duration_cast<platform::Clock::Duration>(
        std::chrono::duration<double>(next->timeIntervalSince(now)));
    timer_ = clock_.schedule(delay, [self = QPointer(this), firedAt = *next] {
        if (self) platform::detach(fire(self, firedAt));
    });
}

platform::Task<> DailySummary::fire(QPointer<DailySummary> self, Date firedAt) {
    co_await self->post();
    if (self) self->reschedule(firedAt);
}

platform::Task<> DailySummary::post() {
    const QPointer<DailySummary> self(this);
    co_await store_.refresh();
    if (!self) co_return;

    QStringList labels;
    bool anyAboveZero = false;
    for (const store::CountScope scope : {settings_.primaryScope(), settings_.secondaryScope()}) {
        const int count = store_.count(scope);
        const std::optional<QString> text = store::label(scope, count);
        if (!text) continue;  // none
        labels << *text;
        anyAboveZero = anyAboveZero || count > 0;
    }
    if (!anyAboveZero) co_return;

    // A new identifier each day: a summary never replaces another.
    platform::NotificationRequest request{
        .identifier = u"dailySummary-"_s + QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper(),
        .title = u"Daily summary"_s,
        .body = labels.join(u", "_s),
        .actions = {}};  // a click only dismisses it
    // Posted without asking first; a server that refuses it is not retried.
    const bool posted = co_await notifications_.add(std::move(request));
    if (!posted) qCDebug(lcApp) << "daily summary: not posted";
}

platform::Task<bool> DailySummary::ensureNotificationAuthorization() {
    const platform::NotificationAuthorization status = co_await notifications_.authorizationStatus();
    co_return status == platform::NotificationAuthorization::authorized;
}

}  // namespace tavlin::app
