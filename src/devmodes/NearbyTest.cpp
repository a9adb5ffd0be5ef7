#include "devmodes/NearbyTest.h"

#include "devmodes/Output.h"
#include "devmodes/SharedRoutines.h"
#include "parsing/ReminderEditing.h"
#include "platform/DecimalText.h"
#include "platform/Geodesic.h"
#include "store/LocationProvider.h"
#include "store/ReminderStore.h"
#include "store/Settings.h"

#include <QCoreApplication>

#include <chrono>

namespace tavlin::devmodes {

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;
using platform::Location;
using platform::LocationAuthorization;
using platform::Reminder;
using platform::StructuredLocation;

namespace {

QString placeLine(const Reminder& reminder, const StructuredLocation& place, const std::optional<Location>& fix) {
    std::optional<double> distance;
    if (fix && place.geoLocation)
        distance = platform::geodesicDistance(fix->latitude, fix->longitude, place.geoLocation->latitude,
                                              place.geoLocation->longitude);
    const double radius = place.radius > 0 ? place.radius : defaultNearbyRadius;
    return u"  "_s + reminder.title + u" | place="_s + place.title + u" geo="_s +
           boolText(place.geoLocation.has_value()) + u" radius="_s + platform::decimalText(place.radius) +
           u" distance="_s + (distance ? QString::asprintf("%.0fm", *distance) : u"n/a"_s) + u" nearby="_s +
           boolText(distance && *distance <= radius);
}

// Where the first reminder with a place that has coordinates is.
std::optional<platform::GeoLocation> firstPlaceWithCoordinates(const std::vector<Reminder>& reminders) {
    for (const Reminder& reminder : reminders) {
        const std::optional<StructuredLocation> place = parsing::ReminderEditing::alarmLocation(reminder);
        if (place && place->geoLocation) return place->geoLocation;
    }
    return std::nullopt;
}

// Stands the provider at the first place with coordinates, as if the user
// allowed Tavlin to know and were there; nothing without such a place.
void simulateFix(store::LocationProvider& provider, const std::vector<Reminder>& reminders) {
    const std::optional<platform::GeoLocation> place = firstPlaceWithCoordinates(reminders);
    if (!place) return;
    provider.setAuthorization(LocationAuthorization::authorizedAlways);
    provider.setCurrent({.latitude = place->latitude,
                         .longitude = place->longitude,
                         .horizontalAccuracy = 0,
                         .timestamp = platform::Date::now()});
}

// Turns nearby grouping on until restore(); the user's value comes back
// also when the application ends before that (another switch, a signal, the
// quit action), since every way out passes through aboutToQuit.
class NearbyGroupingOn {
public:
    explicit NearbyGroupingOn(store::Settings& settings) : settings_(settings), saved_(settings.groupNearbyEnabled()) {
        atQuit_ = QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, &settings,
                                   [&settings, saved = saved_] { settings.setGroupNearbyEnabled(saved); });
        settings.setGroupNearbyEnabled(true);
    }
    void restore() {
        QObject::disconnect(atQuit_);
        settings_.setGroupNearbyEnabled(saved_);
    }

private:
    store::Settings& settings_;
    bool saved_;
    QMetaObject::Connection atQuit_;
};

}  // namespace

QStringList nearbyReport(LocationAuthorization authorization, const std::optional<Location>& fix,
                         const std::vector<Reminder>& reminders) {
    QStringList lines;
    lines << u"auth=%1 usable=%2 denied=%3"_s.arg(static_cast<int>(authorization))
                 .arg(boolText(authorization == LocationAuthorization::authorizedAlways),
                      boolText(authorization == LocationAuthorization::denied ||
                               authorization == LocationAuthorization::restricted));
    lines << u"fix: "_s + (fix ? platform::decimalText(fix->latitude) + u","_s + platform::decimalText(fix->longitude) +
                                     u" ±"_s + platform::decimalText(fix->horizontalAccuracy) + u"m"_s
                               : u"none"_s);
    qsizetype withPlace = 0;
    for (const Reminder& reminder : reminders) {
        const std::optional<StructuredLocation> place = parsing::ReminderEditing::alarmLocation(reminder);
        if (!place) continue;
        lines << placeLine(reminder, *place, fix);
        ++withPlace;
    }
    lines << u"reminders with a location alarm: %1 of %2"_s.arg(withPlace).arg(reminders.size());
    return lines;
}

platform::Task<> nearbyTest(QString mode, NearbyTestServices services) {
    store::ReminderStore& store = services.store;
    store::LocationProvider& provider = services.locationProvider;
    const bool simulating = mode == u"simulate"_s;

    // Copies: the store may change while this waits.
    const auto shown = [&store] {
        const auto& visible = store.visibleReminders();
        return std::vector<Reminder>(visible.begin(), visible.end());
    };
    if (simulating) {
        co_await store.refresh();
        simulateFix(provider, shown());
    } else if (mode == u"request"_s) {
        provider.requestFix();
        co_await waitFor(20s);
    } else {
        provider.requestFixAtOnce();
        co_await waitFor(4s);
    }

    co_await store.refresh();
    for (const QString& line : nearbyReport(provider.authorization(), provider.current(), shown())) printLine(line);
    flushStandardOutput();
    if (!simulating) {
        terminateApplication();
        co_return;
    }

    NearbyGroupingOn grouping(services.settings);
    services.openPanel();
    co_await waitFor(500ms);
    if (services.panel.activationState) services.panel.activationState(u"nearby-panel"_s);
    if (services.panel.printGeometry) services.panel.printGeometry();
    co_await waitFor(15s);  // the panel stays open for a look
    grouping.restore();
    terminateApplication();
}

}  // namespace tavlin::devmodes
