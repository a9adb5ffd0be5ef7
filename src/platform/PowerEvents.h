#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QStringList>
#include <QVariantMap>

namespace tavlin::platform {

// When the machine wakes from sleep, when the display goes to sleep and
// wakes, and when the user's session becomes the active one again. The
// signals arrive on the main thread. This base sends nothing: a machine that
// says nothing seems never to sleep, with its display awake.
class PowerEvents : public QObject {
    Q_OBJECT

public:
    ~PowerEvents() override = default;

signals:
    void systemDidWake();
    void displayDidSleep();
    void displayDidWake();
    // The session is in front again: the user switched back to it, or came
    // back to its seat.
    void sessionDidBecomeActive();

protected:
    PowerEvents() = default;
};

// The events of the desktop session over D-Bus: the end of a system sleep
// from logind (PrepareForSleep(false) on the system bus), the session's
// return from logind (its session object's Active turning true), the display
// from the session's screen saver (ActiveChanged on the session bus). A bus
// or service that is not there simply sends nothing.
class SessionPowerEvents final : public PowerEvents {
    Q_OBJECT

public:
    SessionPowerEvents() : SessionPowerEvents(QDBusConnection::systemBus(), QDBusConnection::sessionBus()) {}
    SessionPowerEvents(QDBusConnection systemBus, QDBusConnection sessionBus);

private slots:
    void prepareForSleep(bool goingToSleep);
    void screenSaverActiveChanged(bool active);
    void sessionPropertiesChanged(const QString& interface, const QVariantMap& changed, const QStringList& invalidated);

private:
    // Finds this process's logind session and listens to its changes.
    void followSession(QDBusConnection systemBus);
};

}  // namespace tavlin::platform
