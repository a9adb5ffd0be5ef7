#pragma once

#include <QDBusConnection>
#include <QObject>

namespace tavlin::platform {

// When the machine wakes from sleep, and when the display goes to sleep and
// wakes. The signals arrive on the main thread. This base sends nothing: a
// machine that says nothing seems never to sleep, with its display awake.
class PowerEvents : public QObject {
    Q_OBJECT

public:
    ~PowerEvents() override = default;

signals:
    void systemDidWake();
    void displayDidSleep();
    void displayDidWake();

protected:
    PowerEvents() = default;
};

// The events of the desktop session over D-Bus: the end of a system sleep
// from logind (PrepareForSleep(false) on the system bus), the display from
// the session's screen saver (ActiveChanged on the session bus). A bus or
// service that is not there simply sends nothing.
class SessionPowerEvents final : public PowerEvents {
    Q_OBJECT

public:
    SessionPowerEvents() : SessionPowerEvents(QDBusConnection::systemBus(), QDBusConnection::sessionBus()) {}
    SessionPowerEvents(QDBusConnection systemBus, QDBusConnection sessionBus);

private slots:
    void prepareForSleep(bool goingToSleep);
    void screenSaverActiveChanged(bool active);
};

}  // namespace tavlin::platform
