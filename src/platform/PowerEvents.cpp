#include "platform/PowerEvents.h"

#include "platform/Log.h"

#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>

using namespace Qt::StringLiterals;

namespace tavlin::platform {

SessionPowerEvents::SessionPowerEvents(QDBusConnection systemBus, QDBusConnection sessionBus) {
    // The sender's name is given, so that only logind and the screen saver
    // are heard, whichever connection owns the name at the time.
    if (!systemBus.connect(u"org.freedesktop.login1"_s, u"/org/freedesktop/login1"_s,
                           u"org.freedesktop.login1.Manager"_s, u"PrepareForSleep"_s, this,
                           SLOT(prepareForSleep(bool))))
        qCDebug(lcPlatform) << "no system bus: system wakes go unnoticed";
    else followSession(systemBus);
    if (!sessionBus.connect(u"org.freedesktop.ScreenSaver"_s, u"/org/freedesktop/ScreenSaver"_s,
                            u"org.freedesktop.ScreenSaver"_s, u"ActiveChanged"_s, this,
                            SLOT(screenSaverActiveChanged(bool))))
        qCDebug(lcPlatform) << "no session bus: the display counts as always awake";
}

// logind sends true before the machine sleeps and false once it is back.
void SessionPowerEvents::prepareForSleep(bool goingToSleep) {
    if (!goingToSleep) emit systemDidWake();
}

void SessionPowerEvents::screenSaverActiveChanged(bool active) {
    if (active) emit displayDidSleep();
    else emit displayDidWake();
}

void SessionPowerEvents::followSession(QDBusConnection systemBus) {
    // "auto": the session of this process, or else the user's graphical one.
    QDBusMessage find = QDBusMessage::createMethodCall(u"org.freedesktop.login1"_s, u"/org/freedesktop/login1"_s,
                                                       u"org.freedesktop.login1.Manager"_s, u"GetSession"_s);
    find << u"auto"_s;
    auto* watcher = new QDBusPendingCallWatcher(systemBus.asyncCall(find), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, systemBus](QDBusPendingCallWatcher* finished) {
        finished->deleteLater();
        const QDBusMessage reply = finished->reply();
        const QString path = reply.arguments().value(0).value<QDBusObjectPath>().path();
        if (reply.type() != QDBusMessage::ReplyMessage || path.isEmpty()) {
            qCDebug(lcPlatform) << "no logind session: returns to the session go unnoticed";
            return;
        }
        QDBusConnection(systemBus).connect(u"org.freedesktop.login1"_s, path, u"org.freedesktop.DBus.Properties"_s,
                                           u"PropertiesChanged"_s, this,
                                           SLOT(sessionPropertiesChanged(QString, QVariantMap, QStringList)));
    });
}

void SessionPowerEvents::sessionPropertiesChanged(const QString& interface, const QVariantMap& changed,
                                                  const QStringList&) {
    if (interface == u"org.freedesktop.login1.Session"_s && changed.value(u"Active"_s).toBool())
        emit sessionDidBecomeActive();
}

}  // namespace tavlin::platform
