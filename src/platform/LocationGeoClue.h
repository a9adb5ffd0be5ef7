#pragma once

#include "platform/Clock.h"
#include "platform/LocationManager.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QString>

#include <chrono>
#include <optional>

namespace tavlin::platform {

// The location service of the freedesktop systems: GeoClue on the system
// bus. Each request runs one GeoClue client session, which ends after its
// first fix: the permission is known once the session has started (GeoClue
// asks the user through its agent then), and the fix is delivered when one
// was asked for.
//
// Until a session has started the status is notDetermined. A refusal by the
// user reads as denied, no GeoClue at all (no system bus, no service) as
// restricted; any other failure leaves the status as it was, so that a
// later request tries again. Nothing here blocks or throws: every call is asynchronous.
class GeoClueLocationManager final : public LocationManager {
    Q_OBJECT

public:
    // How long a started session waits for its first fix.
    static constexpr std::chrono::seconds fixTimeout{30};

    explicit GeoClueLocationManager(QDBusConnection bus = QDBusConnection::systemBus(), Clock& clock = Clock::main());
    ~GeoClueLocationManager() override;

    LocationAuthorization authorizationStatus() const override { return authorization_; }
    void requestWhenInUseAuthorization() override;
    void requestLocation() override;
    void setDesiredAccuracy(double metres) override { desiredAccuracy_ = metres; }

private slots:
    void onLocationUpdated(const QDBusObjectPath& previous, const QDBusObjectPath& current);

private:
    using ReplyHandler = void (GeoClueLocationManager::*)(const QDBusMessage&);

    struct Session {
        unsigned long long id = 0;
        QString clientPath;  // empty until GeoClue has given the client
    };

    void startSession();
    void onClient(const QDBusMessage& reply);
    void onStarted(const QDBusMessage& reply);
    void onLocationProperties(const QDBusMessage& reply);
    void fail(const QDBusMessage& reply);
    void endSession();

    // Sends `message`; `handler` gets the reply if it belongs to the session
    // still running.
    void call(const QDBusMessage& message, ReplyHandler handler, int timeoutMs = -1);
    void setClientProperty(const QString& name, const QVariant& value);
    void setAuthorization(LocationAuthorization status);

    QDBusConnection bus_;
    Clock& clock_;
    LocationAuthorization authorization_ = LocationAuthorization::notDetermined;
    double desiredAccuracy_ = hundredMetresAccuracy;
    std::optional<Session> session_;
    unsigned long long lastSessionId_ = 0;
    bool fixWanted_ = false;
    ScheduledAction fixDeadline_;
};

}  // namespace tavlin::platform
