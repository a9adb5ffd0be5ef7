#include "platform/LocationGeoClue.h"

#include "platform/Log.h"
#include "platform/XdgPaths.h"

#include <QDBusArgument>
#include <QDBusPendingCallWatcher>
#include <QDBusVariant>
#include <QVariantMap>

#include <cmath>

namespace tavlin::platform {

using namespace Qt::StringLiterals;

namespace {

const QString service = u"org.freedesktop.GeoClue2"_s;
const QString managerPath = u"/org/freedesktop/GeoClue2/Manager"_s;
const QString managerInterface = u"org.freedesktop.GeoClue2.Manager"_s;
const QString clientInterface = u"org.freedesktop.GeoClue2.Client"_s;
const QString locationInterface = u"org.freedesktop.GeoClue2.Location"_s;
const QString propertiesInterface = u"org.freedesktop.DBus.Properties"_s;

// Starting may wait for the user to answer GeoClue's agent.
constexpr int startTimeoutMs = 120'000;

// GeoClue's accuracy level for a wish in metres: the coarsest that is
// still fine enough.
uint accuracyLevel(double metres) {
    enum : uint { country = 1, city = 4, neighborhood = 5, street = 6, exact = 8 };
    if (metres < 100) return exact;
    if (metres < 1'000) return street;
    if (metres < 10'000) return neighborhood;
    if (metres < 100'000) return city;
    return country;
}

// Errors that say GeoClue cannot be had on this system at all.
bool meansNoService(const QString& errorName) {
    return errorName == u"org.freedesktop.DBus.Error.ServiceUnknown"_s ||
           errorName == u"org.freedesktop.DBus.Error.NameHasNoOwner"_s ||
           errorName.startsWith(u"org.freedesktop.DBus.Error.Spawn."_s);
}

QDBusMessage methodCall(const QString& path, const QString& interface, const QString& method,
                        const QVariantList& arguments = {}) {
    QDBusMessage message = QDBusMessage::createMethodCall(service, path, interface, method);
    message.setArguments(arguments);
    return message;
}

// GeoClue's timestamp is a structure of seconds and microseconds since 1970.
std::optional<Date> timestampFrom(const QVariant& value) {
    if (value.userType() != qMetaTypeId<QDBusArgument>()) return std::nullopt;
    const auto argument = value.value<QDBusArgument>();
    if (argument.currentSignature() != u"(tt)"_s) return std::nullopt;
    quint64 seconds = 0;
    quint64 microseconds = 0;
    argument.beginStructure();
    argument >> seconds >> microseconds;
    argument.endStructure();
    return Date::fromSecondsSince1970(static_cast<double>(seconds) + static_cast<double>(microseconds) / 1e6);
}

std::optional<Location> locationFrom(const QVariantMap& properties) {
    const QVariant latitude = properties.value(u"Latitude"_s);
    const QVariant longitude = properties.value(u"Longitude"_s);
    if (latitude.userType() != QMetaType::Double || longitude.userType() != QMetaType::Double) return std::nullopt;
    const Location location{
        .latitude = latitude.toDouble(),
        .longitude = longitude.toDouble(),
        .horizontalAccuracy = properties.value(u"Accuracy"_s).toDouble(),
        .timestamp = timestampFrom(properties.value(u"Timestamp"_s)).value_or(Date::now()),
    };
    if (!(std::abs(location.latitude) <= 90 && std::abs(location.longitude) <= 180)) return std::nullopt;
    return location;
}

}  // namespace

GeoClueLocationManager::GeoClueLocationManager(QDBusConnection bus, Clock& clock)
    : bus_(std::move(bus)), clock_(clock) {}

GeoClueLocationManager::~GeoClueLocationManager() { endSession(); }

void GeoClueLocationManager::requestWhenInUseAuthorization() {
    if (authorization_ == LocationAuthorization::notDetermined) startSession();
}

void GeoClueLocationManager::requestLocation() {
    fixWanted_ = true;
    startSession();
}

void GeoClueLocationManager::startSession() {
    if (session_) return;
    if (!bus_.isConnected()) {
        qCInfo(lcPlatform) << "location: no system bus, so no location service";
        fixWanted_ = false;
        setAuthorization(LocationAuthorization::restricted);
        return;
    }
    session_ = Session{.id = ++lastSessionId_};
    call(methodCall(managerPath, managerInterface, u"GetClient"_s), &GeoClueLocationManager::onClient);
}

void GeoClueLocationManager::onClient(const QDBusMessage& reply) {
    const QString path = reply.arguments().value(0).value<QDBusObjectPath>().path();
    if (reply.type() != QDBusMessage::ReplyMessage || path.isEmpty()) return fail(reply);
    session_->clientPath = path;
    bus_.connect(service, path, clientInterface, u"LocationUpdated"_s, this,
                 SLOT(onLocationUpdated(QDBusObjectPath, QDBusObjectPath)));
    setClientProperty(u"DesktopId"_s, QString(desktopEntryId));
    setClientProperty(u"RequestedAccuracyLevel"_s, accuracyLevel(desiredAccuracy_));
    call(methodCall(path, clientInterface, u"Start"_s), &GeoClueLocationManager::onStarted, startTimeoutMs);
}

void GeoClueLocationManager::onStarted(const QDBusMessage& reply) {
    if (reply.type() != QDBusMessage::ReplyMessage) return fail(reply);
    setAuthorization(LocationAuthorization::authorizedAlways);
    fixDeadline_ = clock_.schedule(fixTimeout, [this] {
        qCInfo(lcPlatform) << "location: no fix within" << fixTimeout.count() << "s";
        fixWanted_ = false;
        endSession();
    });
}

void GeoClueLocationManager::onLocationUpdated(const QDBusObjectPath&, const QDBusObjectPath& current) {
    if (!session_) return;
    call(methodCall(current.path(), propertiesInterface, u"GetAll"_s, {locationInterface}),
         &GeoClueLocationManager::onLocationProperties);
}

void GeoClueLocationManager::onLocationProperties(const QDBusMessage& reply) {
    // A fix that cannot be read is skipped; the next one, or the deadline, ends the session.
    if (reply.type() != QDBusMessage::ReplyMessage) return;
    const std::optional<Location> location =
        locationFrom(qdbus_cast<QVariantMap>(reply.arguments().value(0).value<QDBusArgument>()));
    if (!location) return;
    if (std::exchange(fixWanted_, false)) emit locationsUpdated({*location});
    endSession();
}

void GeoClueLocationManager::fail(const QDBusMessage& reply) {
    const QString name = reply.errorName();
    qCInfo(lcPlatform) << "location:" << name << reply.errorMessage();
    if (name == u"org.freedesktop.DBus.Error.AccessDenied"_s) setAuthorization(LocationAuthorization::denied);
    else if (meansNoService(name)) setAuthorization(LocationAuthorization::restricted);
    fixWanted_ = false;
    endSession();
}

void GeoClueLocationManager::endSession() {
    if (!session_) return;
    fixDeadline_.cancel();
    const QString path = std::exchange(session_, std::nullopt)->clientPath;
    if (path.isEmpty()) return;
    bus_.disconnect(service, path, clientInterface, u"LocationUpdated"_s, this,
                    SLOT(onLocationUpdated(QDBusObjectPath, QDBusObjectPath)));
    bus_.send(methodCall(path, clientInterface, u"Stop"_s));
    bus_.send(
        methodCall(managerPath, managerInterface, u"DeleteClient"_s, {QVariant::fromValue(QDBusObjectPath(path))}));
}

void GeoClueLocationManager::call(const QDBusMessage& message, ReplyHandler handler, int timeoutMs) {
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(message, timeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, handler, id = session_->id](QDBusPendingCallWatcher* finished) {
                finished->deleteLater();
                if (session_ && session_->id == id) (this->*handler)(finished->reply());
            });
}

void GeoClueLocationManager::setClientProperty(const QString& name, const QVariant& value) {
    const QVariantList arguments{clientInterface, name, QVariant::fromValue(QDBusVariant(value))};
    bus_.send(methodCall(session_->clientPath, propertiesInterface, u"Set"_s, arguments));
}

void GeoClueLocationManager::setAuthorization(LocationAuthorization status) {
    if (status == authorization_) return;
    authorization_ = status;
    emit authorizationChanged(status);
}

}  // namespace tavlin::platform
