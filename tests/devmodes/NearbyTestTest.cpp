// --nearby-test inside the process: the report, each mode's requests and
// waits against a location service the test plays, and the setting it
// borrows, over a store in memory on a manual clock.

#include "devmodes/NearbyTest.h"

#include "devmodes/Output.h"
#include "store/LocationFake.h"
#include "store/LocationProvider.h"
#include "store/ReminderStoreFixture.h"

#include <QCoreApplication>
#include <QTimer>

#include <cmath>
#include <numbers>

using namespace std::chrono_literals;
using namespace Qt::StringLiterals;
using tavlin::devmodes::nearbyReport;
using tavlin::devmodes::nearbyTest;
using tavlin::devmodes::RecordedOutput;
using tavlin::platform::Alarm;
using tavlin::platform::AlarmProximity;
using tavlin::platform::FakeLocationManager;
using tavlin::platform::GeoLocation;
using tavlin::platform::Location;
using tavlin::platform::StructuredLocation;
using Status = tavlin::platform::LocationAuthorization;

namespace {

constexpr Location amsterdam{.latitude = 52.37, .longitude = 4.89, .horizontalAccuracy = 65};

// The point `metres` due north of the fix, by the ellipsoid's radius of
// curvature along the meridian there (exact to well under a centimetre over
// a few hundred metres).
GeoLocation northOfAmsterdam(double metres) {
    constexpr double a = 6378137.0;
    constexpr double e2 = 0.00669437999014;
    const double phi = amsterdam.latitude * std::numbers::pi / 180;
    const double meridianRadius = a * (1 - e2) / std::pow(1 - e2 * std::sin(phi) * std::sin(phi), 1.5);
    return {amsterdam.latitude + metres / meridianRadius * 180 / std::numbers::pi, amsterdam.longitude};
}

StructuredLocation place(const char* title, std::optional<GeoLocation> at, double radius = 0) {
    return {.title = QString::fromUtf8(title), .geoLocation = at, .radius = radius};
}

class NearbyTestTest : public ReminderStoreFixture {
protected:
    static Reminder withPlaces(const char* title, std::vector<StructuredLocation> places) {
        Reminder r = reminder(title);
        for (StructuredLocation& p : places) r.alarms.push_back(Alarm::on(std::move(p), AlarmProximity::enter));
        return r;
    }

    // A provider over a fake service that starts at `status`, and the
    // scenario started over it in `mode`.
    void start(const QString& mode, Status status) {
        auto owned = std::make_unique<FakeLocationManager>(status);
        service = owned.get();
        provider = std::make_unique<tavlin::store::LocationProvider>(std::move(owned));
        if (!store) storeWith({});
        scenario.emplace(nearbyTest(
            mode, {.store = *store,
                   .settings = settings,
                   .locationProvider = *provider,
                   .openPanel = [this] { output.lines << u"<panel opened>"_s; },
                   .panel = {.activationState =
                                 [this](const QString& tag) { output.lines << u"<activation "_s + tag + u">"_s; },
                             .printGeometry = [this] { output.lines << u"<geometry>"_s; }}}));
        settle();
    }

    // Lets the store's refreshes and the service's reports through.
    void settle() {
        for (int i = 0; i < 3; ++i) {
            QCoreApplication::sendPostedEvents();
            clock.runDueActions();
        }
    }
    void run(std::chrono::milliseconds duration) {
        advance(duration);
        settle();
    }

    bool groupingStored() const { return tavlin::platform::UserDefaults(defaultsPath()).boolean("groupNearbyEnabled"); }
    QString defaultsPath() const { return folder.filePath(u"settings.json"_s); }

    RecordedOutput output;
    FakeLocationManager* service = nullptr;
    std::unique_ptr<tavlin::store::LocationProvider> provider;
    std::optional<tavlin::platform::Task<>> scenario;
};

}  // namespace

TEST_F(NearbyTestTest, ReportsEachReminderWithAPlaceAgainstTheFix) {
    const std::vector<Reminder> reminders = {
        withPlaces("Bread", {place("Bakery", northOfAmsterdam(200))}),
        withPlaces("Fish", {place("Market", northOfAmsterdam(260))}),
        withPlaces("Keys", {place("Office", northOfAmsterdam(99), 100)}),
        withPlaces("Mail", {place("Post", northOfAmsterdam(101), 100)}),
        // The first alarm with a titled place counts, coordinates or not.
        withPlaces("Plants", {place("", northOfAmsterdam(0)), place("Garden", std::nullopt, 50),
                              place("Shed", northOfAmsterdam(0))}),
        reminder("No place"),
    };
    const QStringList placeLines = {
        u"  Bread | place=Bakery geo=true radius=0.0 distance=200m nearby=true"_s,
        u"  Fish | place=Market geo=true radius=0.0 distance=260m nearby=false"_s,
        u"  Keys | place=Office geo=true radius=100.0 distance=99m nearby=true"_s,
        u"  Mail | place=Post geo=true radius=100.0 distance=101m nearby=false"_s,
        u"  Plants | place=Garden geo=false radius=50.0 distance=n/a nearby=false"_s,
    };
    EXPECT_EQ(nearbyReport(Status::authorizedAlways, amsterdam, reminders),
              QStringList({u"auth=3 usable=true denied=false"_s, u"fix: 52.37,4.89 ±65.0m"_s}) + placeLines +
                  QStringList{u"reminders with a location alarm: 5 of 6"_s});

    const QStringList withoutFix = nearbyReport(Status::denied, std::nullopt, reminders);
    EXPECT_EQ(withoutFix.mid(0, 2), QStringList({u"auth=2 usable=false denied=true"_s, u"fix: none"_s}));
    for (const QString& line : withoutFix.mid(2, 5))
        EXPECT_TRUE(line.endsWith(u" distance=n/a nearby=false"_s)) << line.toStdString();

    EXPECT_EQ(nearbyReport(Status::notDetermined, std::nullopt, {reminder("No place")}),
              QStringList({u"auth=0 usable=false denied=false"_s, u"fix: none"_s,
                           u"reminders with a location alarm: 0 of 1"_s}));
    EXPECT_EQ(nearbyReport(Status::restricted, std::nullopt, {}).first(), u"auth=1 usable=false denied=true"_s);
}

TEST_F(NearbyTestTest, EachModeAsksForWhatThePermissionAllowsThenWaitsAndEnds) {
    struct Case {
        QString mode;
        Status status;
        int authorizationRequests;
        int locationRequests;
        bool wantsFix;
        std::chrono::milliseconds wait;
    };
    const Case cases[] = {
        {u""_s, Status::notDetermined, 1, 1, true, 4s},
        {u""_s, Status::authorizedAlways, 0, 1, false, 4s},
        {u""_s, Status::denied, 0, 0, false, 4s},
        {u""_s, Status::restricted, 0, 0, false, 4s},
        {u"--capture"_s, Status::notDetermined, 1, 1, true, 4s},  // any other word is the plain mode
        {u"request"_s, Status::notDetermined, 1, 0, true, 20s},
        {u"request"_s, Status::authorizedAlways, 0, 1, false, 20s},
        {u"request"_s, Status::denied, 0, 0, false, 20s},
        {u"simulate"_s, Status::notDetermined, 0, 0, false, 0s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode.toStdString() + " " + std::to_string(static_cast<int>(c.status)));
        output.lines.clear();
        output.terminated.clear();
        start(c.mode, c.status);
        EXPECT_EQ(service->authorizationRequests(), c.authorizationRequests);
        EXPECT_EQ(service->locationRequests(), c.locationRequests);
        EXPECT_EQ(provider->wantsFixOnAuthorization(), c.wantsFix);
        if (c.wait > 0s) {
            run(c.wait - 1ms);
            EXPECT_TRUE(output.lines.isEmpty()) << "reported before the wait was over";
            run(1ms);
        }
        ASSERT_GE(output.lines.size(), 3);
        EXPECT_EQ(output.lines[2], u"reminders with a location alarm: 0 of 0"_s);
        EXPECT_EQ(output.flushes, QList<qsizetype>{3});
        if (c.mode == u"simulate"_s) {
            EXPECT_EQ(output.lines.mid(3), QStringList{u"<panel opened>"_s}) << "goes on to the panel";
        } else {
            EXPECT_EQ(output.lines.size(), 3);
            EXPECT_EQ(output.terminated, QList<qsizetype>{3});
            EXPECT_TRUE(scenario->isDone());
        }
        output.flushes.clear();
    }
}

TEST_F(NearbyTestTest, ASimulationStandsAtTheFirstPlaceAndShowsThePanelWithNearbyGroupingForAWhile) {
    storeWith({reminder("No place"), withPlaces("Call", {place("Nowhere", std::nullopt)}),
               withPlaces("Buy bread", {place("Bakery", GeoLocation{52.37, 4.89})}),
               withPlaces("Post", {place("Post office", northOfAmsterdam(300), 100)})});
    start(u"simulate"_s, Status::denied);
    EXPECT_EQ(provider->authorization(), Status::authorizedAlways);
    ASSERT_TRUE(provider->current());
    EXPECT_EQ(provider->current()->horizontalAccuracy, 0);
    EXPECT_EQ(output.lines, QStringList({
                                u"auth=3 usable=true denied=false"_s,
                                u"fix: 52.37,4.89 ±0.0m"_s,
                                u"  Call | place=Nowhere geo=false radius=0.0 distance=n/a nearby=false"_s,
                                u"  Buy bread | place=Bakery geo=true radius=0.0 distance=0m nearby=true"_s,
                                u"  Post | place=Post office geo=true radius=100.0 distance=300m nearby=false"_s,
                                u"reminders with a location alarm: 3 of 4"_s,
                                u"<panel opened>"_s,
                            }));
    EXPECT_TRUE(settings.groupNearbyEnabled()) << "on while the panel shows";
    EXPECT_EQ(service->authorizationRequests() + service->locationRequests(), 0);

    run(499ms);
    EXPECT_EQ(output.lines.size(), 7);
    run(1ms);
    EXPECT_EQ(output.lines.mid(7), QStringList({u"<activation nearby-panel>"_s, u"<geometry>"_s}));
    run(15s - 1ms);
    EXPECT_TRUE(output.terminated.isEmpty());
    EXPECT_TRUE(settings.groupNearbyEnabled());
    run(1ms);
    EXPECT_EQ(output.terminated, QList<qsizetype>{9});
    EXPECT_FALSE(settings.groupNearbyEnabled());
    EXPECT_FALSE(groupingStored());
}

TEST_F(NearbyTestTest, ASimulationWithoutCoordinatesLeavesTheProviderAsItWas) {
    storeWith({withPlaces("Call", {place("Nowhere", std::nullopt)})});
    start(u"simulate"_s, Status::denied);
    EXPECT_EQ(output.lines.mid(0, 2), QStringList({u"auth=2 usable=false denied=true"_s, u"fix: none"_s}));
    EXPECT_EQ(provider->current(), std::nullopt);
}

// Whatever ends the run during the simulation (another switch, a signal,
// the quit action) passes through the application's end, and the user's
// setting is back in the file before the process is gone.
TEST_F(NearbyTestTest, TheUsersNearbySettingComesBackWhenTheRunEndsDuringTheSimulation) {
    for (const bool before : {false, true}) {
        SCOPED_TRACE(before);
        settings.setGroupNearbyEnabled(before);
        storeWith({withPlaces("Buy bread", {place("Bakery", GeoLocation{52.37, 4.89})})});
        start(u"simulate"_s, Status::authorizedAlways);
        run(3s);
        ASSERT_TRUE(settings.groupNearbyEnabled());
        ASSERT_TRUE(groupingStored());

        QTimer::singleShot(0, QCoreApplication::instance(), &QCoreApplication::quit);
        QCoreApplication::exec();
        EXPECT_EQ(settings.groupNearbyEnabled(), before);
        EXPECT_EQ(groupingStored(), before);
        store.reset();
    }
}
