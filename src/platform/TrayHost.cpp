#include "platform/TrayHost.h"

#include "platform/DBusCall.h"
#include "platform/Log.h"
#include "platform/X11Windows.h"

#include <QCoreApplication>
#include <QDBusMessage>
#include <QDBusVariant>

using namespace Qt::StringLiterals;

namespace tavlin::platform {

namespace {

const QString watcherPath = u"/StatusNotifierWatcher"_s;

}  // namespace

DesktopTrayHost::DesktopTrayHost(QDBusConnection sessionBus, Clock& clock)
    : bus_(std::move(sessionBus)),
      clock_(clock),
      watcher_(QString(watcherService), bus_, QDBusServiceWatcher::WatchForRegistration) {
    connect(&watcher_, &QDBusServiceWatcher::serviceRegistered, this, &TrayHost::hostAppeared);
    // A panel may take the watcher's name early and register its host later.
    bus_.connect(QString(watcherService), watcherPath, QString(watcherService), u"StatusNotifierHostRegistered"_s, this,
                 SIGNAL(hostAppeared()));
    QCoreApplication::instance()->installNativeEventFilter(this);
}

DesktopTrayHost::~DesktopTrayHost() {
    if (QCoreApplication* application = QCoreApplication::instance()) application->removeNativeEventFilter(this);
}

Task<TrayHosts> DesktopTrayHost::hosts() {
    TrayHosts found{.xembedTray = hasSystemTray()};
    // A watcher that is not there answers at once with an error.
    QDBusMessage get = QDBusMessage::createMethodCall(QString(watcherService), watcherPath,
                                                      u"org.freedesktop.DBus.Properties"_s, u"Get"_s);
    get << QString(watcherService) << u"IsStatusNotifierHostRegistered"_s;
    const std::optional<QDBusMessage> reply = co_await callWithTimeLimit(bus_, get, callTimeLimit, clock_);
    if (reply && !reply->arguments().isEmpty())
        found.statusNotifierHost = reply->arguments().first().value<QDBusVariant>().variant().toBool();
    co_return found;
}

bool DesktopTrayHost::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType == "xcb_generic_event_t" && announcesSystemTray(message)) {
        qCDebug(lcPlatform) << "an X11 system tray announced itself";
        emit hostAppeared();
    }
    return false;
}

}  // namespace tavlin::platform
