#include "platform/LocationGeoClue.h"

#include "support/MainLoop.h"
#include "support/PrivateSessionBus.h"

#include <gtest/gtest.h>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMetaType>

#include <memory>
#include <string>
#include <vector>

using namespace std::chrono_literals;
using namespace tavlin::platform;
using namespace Qt::StringLiterals;

// GeoClue's timestamp: seconds and microseconds since 1970.
struct GeoClueTimestamp {
    quint64 seconds = 0;
    quint64 microseconds = 0;
    friend bool operator==(const GeoClueTimestamp&, const GeoClueTimestamp&) = default;
};
Q_DECLARE_METATYPE(GeoClueTimestamp)

QDBusArgument& operator<<(QDBusArgument& argument, const GeoClueTimestamp& timestamp) {
    argument.beginStructure();
    argument << timestamp.seconds << timestamp.microseconds;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, GeoClueTimestamp& timestamp) {
    argument.beginStructure();
    argument >> timestamp.seconds >> timestamp.microseconds;
    argument.endStructure();
    return argument;
}

namespace {

const QString clientPath = u"/org/freedesktop/GeoClue2/Client/1"_s;

class FakeLocationObject : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.GeoClue2.Location")
    Q_PROPERTY(double Latitude MEMBER latitude)
    Q_PROPERTY(double Longitude MEMBER longitude)
    Q_PROPERTY(double Accuracy MEMBER accuracy)
    Q_PROPERTY(GeoClueTimestamp Timestamp MEMBER timestamp)

public:
    double latitude = 0;
    double longitude = 0;
    double accuracy = 0;
    GeoClueTimestamp timestamp;
};

class FakeClient : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.GeoClue2.Client")
    Q_PROPERTY(QString DesktopId MEMBER desktopId)
    Q_PROPERTY(uint RequestedAccuracyLevel MEMBER requestedAccuracyLevel)

public:
    QString desktopId;
    uint requestedAccuracyLevel = 0;
    QString refusal;  // the error that Start answers with; none grants
    QString desktopIdAtStart;
    uint accuracyLevelAtStart = 0;
    int starts = 0;
    int stops = 0;
    bool active = false;

public slots:
    void Start() {
        ++starts;
        desktopIdAtStart = desktopId;
        accuracyLevelAtStart = requestedAccuracyLevel;
        if (!refusal.isEmpty()) return sendErrorReply(refusal, u"not allowed"_s);
        active = true;
    }
    void Stop() {
        ++stops;
        active = false;
    }

signals:
    void LocationUpdated(const QDBusObjectPath& previous, const QDBusObjectPath& current);
};

class FakeManager : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.GeoClue2.Manager")

public:
    int clientsGiven = 0;
    QStringList deleted;

public slots:
    QDBusObjectPath GetClient() {
        ++clientsGiven;
        return QDBusObjectPath(clientPath);
    }
    void DeleteClient(const QDBusObjectPath& client) { deleted.append(client.path()); }
};

// GeoClue as the tests play it: one client, and fixes published by hand.
class FakeGeoClue {
public:
    explicit FakeGeoClue(QDBusConnection bus) : bus_(std::move(bus)) {
        constexpr auto everything =
            QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllProperties | QDBusConnection::ExportAllSignals;
        bus_.registerObject(u"/org/freedesktop/GeoClue2/Manager"_s, &manager, everything);
        bus_.registerObject(clientPath, &client, everything);
        bus_.registerService(u"org.freedesktop.GeoClue2"_s);
    }

    void publish(const Location& fix) {
        auto location = std::make_unique<FakeLocationObject>();
        location->latitude = fix.latitude;
        location->longitude = fix.longitude;
        location->accuracy = fix.horizontalAccuracy;
        const double seconds = fix.timestamp.secondsSince1970();
        location->timestamp = {static_cast<quint64>(seconds),
                               static_cast<quint64>(std::llround((seconds - std::floor(seconds)) * 1e6))};
        const QString path = u"/org/freedesktop/GeoClue2/Location/%1"_s.arg(locations_.size() + 1);
        bus_.registerObject(path, location.get(), QDBusConnection::ExportAllProperties);
        locations_.push_back(std::move(location));
        emit client.LocationUpdated(QDBusObjectPath(u"/"_s), QDBusObjectPath(path));
    }

    FakeManager manager;
    FakeClient client;

private:
    QDBusConnection bus_;
    std::vector<std::unique_ptr<FakeLocationObject>> locations_;
};

constexpr Location amsterdam{.latitude = 52.37,
                             .longitude = 4.89,
                             .horizontalAccuracy = 65,
                             .timestamp = Date::fromSecondsSince1970(1'700'000'000.25)};

class GeoClueLocationManagerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { qDBusRegisterMetaType<GeoClueTimestamp>(); }

    // GeoClue is played on a bus of the test's own.
    void SetUp() override {
        if (!PrivateSessionBus::isAvailable())
            GTEST_SKIP() << "dbus-daemon is not installed (Debian package dbus-daemon)";
        ASSERT_TRUE(bus.isRunning()) << "dbus-daemon did not start";
        serviceBus = bus.connect();
        clientBus = bus.connect();
        ASSERT_TRUE(serviceBus.isConnected() && clientBus.isConnected());
    }
    void TearDown() override {
        manager.reset();
        geoclue.reset();
    }

    void startGeoClue() { geoclue = std::make_unique<FakeGeoClue>(serviceBus); }
    void makeManager(const QDBusConnection& connection) {
        manager = std::make_unique<GeoClueLocationManager>(connection, clock);
        manager->setDesiredAccuracy(LocationManager::hundredMetresAccuracy);
        QObject::connect(manager.get(), &LocationManager::authorizationChanged,
                         [this](LocationAuthorization status) { statuses.push_back(status); });
        QObject::connect(manager.get(), &LocationManager::locationsUpdated,
                         [this](const std::vector<Location>& locations) { fixes.push_back(locations); });
    }
    void makeManager() { makeManager(clientBus); }
    bool sessionsEnded(int count) const {
        return geoclue->manager.deleted.size() == count && geoclue->client.stops == count;
    }

    PrivateSessionBus bus;
    QDBusConnection serviceBus{QString()};
    QDBusConnection clientBus{QString()};
    ManualClock clock;
    std::unique_ptr<FakeGeoClue> geoclue;
    std::unique_ptr<GeoClueLocationManager> manager;
    std::vector<LocationAuthorization> statuses;
    std::vector<std::vector<Location>> fixes;
};

TEST_F(GeoClueLocationManagerTest, AFixAskedForComesOnceAndTheSessionEnds) {
    startGeoClue();
    makeManager();
    EXPECT_EQ(manager->authorizationStatus(), LocationAuthorization::notDetermined);
    manager->requestLocation();
    ASSERT_TRUE(runMainLoopUntil([&] { return geoclue->client.active && !statuses.empty(); }));
    EXPECT_EQ(geoclue->client.desktopIdAtStart, u"com.quorvandell.tavlin"_s);
    EXPECT_EQ(geoclue->client.accuracyLevelAtStart, 6u) << "street level";
    EXPECT_EQ(statuses, std::vector{LocationAuthorization::authorizedAlways});
    EXPECT_EQ(manager->authorizationStatus(), LocationAuthorization::authorizedAlways);

    geoclue->publish(amsterdam);
    ASSERT_TRUE(runMainLoopUntil([&] { return !fixes.empty() && sessionsEnded(1); }));
    EXPECT_EQ(fixes, std::vector<std::vector<Location>>{{amsterdam}});
    EXPECT_EQ(geoclue->manager.deleted, QStringList{clientPath});
}

TEST_F(GeoClueLocationManagerTest, AFixRequestJoinsTheSessionOfAnAuthorizationRequest) {
    startGeoClue();
    makeManager();
    manager->requestWhenInUseAuthorization();
    ASSERT_TRUE(runMainLoopUntil([&] { return !statuses.empty(); }));
    manager->requestLocation();
    geoclue->publish(amsterdam);
    ASSERT_TRUE(runMainLoopUntil([&] { return !fixes.empty() && sessionsEnded(1); }));
    EXPECT_EQ(geoclue->manager.clientsGiven, 1);
    EXPECT_EQ(fixes.size(), 1u);
}

TEST_F(GeoClueLocationManagerTest, AFixThatNobodyAskedForIsDropped) {
    startGeoClue();
    makeManager();
    manager->requestWhenInUseAuthorization();
    ASSERT_TRUE(runMainLoopUntil([&] { return geoclue->client.active; }));
    geoclue->publish(amsterdam);
    ASSERT_TRUE(runMainLoopUntil([&] { return sessionsEnded(1); }));
    EXPECT_TRUE(fixes.empty());
    EXPECT_EQ(statuses, std::vector{LocationAuthorization::authorizedAlways});
}

struct Refusal {
    std::string name;
    QString error;
    std::vector<LocationAuthorization> statuses;
};

class GeoClueRefusalTest : public GeoClueLocationManagerTest, public ::testing::WithParamInterface<Refusal> {};

TEST_P(GeoClueRefusalTest, ARefusedStartTellsTheStatusOnlyWhenItIsTheUsersAnswer) {
    startGeoClue();
    geoclue->client.refusal = GetParam().error;
    makeManager();
    manager->requestLocation();
    ASSERT_TRUE(runMainLoopUntil([&] { return geoclue->client.starts == 1 && geoclue->manager.deleted.size() == 1; }));
    EXPECT_EQ(statuses, GetParam().statuses);
    EXPECT_TRUE(fixes.empty());
}

INSTANTIATE_TEST_SUITE_P(Refusals, GeoClueRefusalTest,
                         ::testing::Values(Refusal{"TheUserRefused",
                                                   u"org.freedesktop.DBus.Error.AccessDenied"_s,
                                                   {LocationAuthorization::denied}},
                                           Refusal{"GeoClueFailed", u"org.freedesktop.DBus.Error.Failed"_s, {}}),
                         [](const ::testing::TestParamInfo<Refusal>& info) { return info.param.name; });

TEST_F(GeoClueLocationManagerTest, AfterAFailureANewRequestTriesAgain) {
    startGeoClue();
    geoclue->client.refusal = u"org.freedesktop.DBus.Error.Failed"_s;
    makeManager();
    manager->requestWhenInUseAuthorization();
    ASSERT_TRUE(runMainLoopUntil([&] { return geoclue->manager.deleted.size() == 1; }));
    geoclue->client.refusal.clear();
    manager->requestWhenInUseAuthorization();
    ASSERT_TRUE(runMainLoopUntil([&] { return !statuses.empty(); }));
    EXPECT_EQ(statuses, std::vector{LocationAuthorization::authorizedAlways});
    EXPECT_EQ(geoclue->manager.clientsGiven, 2);
}

TEST_F(GeoClueLocationManagerTest, NoGeoClueOnTheBusReadsAsRestrictedNotAsARefusal) {
    makeManager();
    manager->requestLocation();
    ASSERT_TRUE(runMainLoopUntil([&] { return !statuses.empty(); }));
    EXPECT_EQ(statuses, std::vector{LocationAuthorization::restricted});
    EXPECT_TRUE(fixes.empty());
}

TEST_F(GeoClueLocationManagerTest, NoBusAtAllReadsAsRestricted) {
    const QString name = u"geoclue-no-bus"_s;
    const QDBusConnection nowhere = QDBusConnection::connectToBus(u"unix:path=/nonexistent/bus"_s, name);
    ASSERT_FALSE(nowhere.isConnected());
    makeManager(nowhere);
    manager->requestWhenInUseAuthorization();
    manager->requestLocation();
    EXPECT_EQ(statuses, std::vector{LocationAuthorization::restricted});
    EXPECT_TRUE(fixes.empty());
    manager.reset();
    QDBusConnection::disconnectFromBus(name);
}

TEST_F(GeoClueLocationManagerTest, ASessionWithoutAFixEndsAtItsDeadline) {
    startGeoClue();
    makeManager();
    manager->requestLocation();
    ASSERT_TRUE(runMainLoopUntil([&] { return geoclue->client.active && !statuses.empty(); }));
    clock.advance(GeoClueLocationManager::fixTimeout - 1s);
    EXPECT_EQ(geoclue->client.stops, 0);
    clock.advance(1s);
    ASSERT_TRUE(runMainLoopUntil([&] { return sessionsEnded(1); }));
    geoclue->publish(amsterdam);  // too late: nobody listens

    manager->requestLocation();
    ASSERT_TRUE(runMainLoopUntil([&] { return geoclue->client.active; }));
    const Location later{.latitude = 52.09,
                         .longitude = 5.12,
                         .horizontalAccuracy = 40,
                         .timestamp = Date::fromSecondsSince1970(1'700'000'100)};
    geoclue->publish(later);
    ASSERT_TRUE(runMainLoopUntil([&] { return !fixes.empty(); }));
    EXPECT_EQ(fixes, std::vector<std::vector<Location>>{{later}});
}

TEST_F(GeoClueLocationManagerTest, ARunningSessionEndsWithTheManager) {
    startGeoClue();
    makeManager();
    manager->requestLocation();
    ASSERT_TRUE(runMainLoopUntil([&] { return geoclue->client.active; }));
    manager.reset();
    EXPECT_TRUE(runMainLoopUntil([&] { return sessionsEnded(1); }));
}

}  // namespace

#include "LocationGeoClueTest.moc"
