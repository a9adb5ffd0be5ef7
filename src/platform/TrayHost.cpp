#include "platform/TrayHost.h"

#include "platform/DBusCall.h"
#include "platform/Log.h"
#include "platform/X11Windows.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDBusVariant>

using namespace Qt::StringLiterals;

namespace tavlin::platform {

namespace {

const QString watcherPath = u"/StatusNotifierWatcher"_s;
// Qt names a process's items "org.kde.StatusNotifierItem-<pid>-<n>".
const QString itemServicePrefix = u"org.kde.StatusNotifierItem-"_s;

}  // namespace

DesktopTrayHost::DesktopTrayHost(QDBusConnection sessionBus, Clock& clock)
    : bus_(std::move(sessionBus)),
      clock_(clock),
      watcher_(QString(watcherService), bus_, QDBusServiceWatcher::WatchForRegistration) {
    connect(&watcher_, &QDBusServiceWatcher::serviceRegistered, this, [this] {
        registerItemsAgain();
        emit hostAppeared();
    });
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

void DesktopTrayHost::registerItemsAgain() {
    const QDBusReply<QStringList> names = bus_.interface()->registeredServiceNames();
    if (!names.isValid()) return;
    const QString ours = itemServicePrefix + QString::number(QCoreApplication::applicationPid()) + u'-';
    for (const QString& name : names.value()) {
        if (!name.startsWith(ours)) continue;
        qCDebug(lcPlatform).noquote() << u"registering %1 with the new StatusNotifierWatcher"_s.arg(name);
        QDBusMessage call = QDBusMessage::createMethodCall(QString(watcherService), watcherPath,
                                                           QString(watcherService), u"RegisterStatusNotifierItem"_s);
        call << name;
        bus_.asyncCall(call);
    }
}

bool DesktopTrayHost::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType == "xcb_generic_event_t" && announcesSystemTray(message)) {
        qCDebug(lcPlatform) << "an X11 system tray announced itself";
        emit hostAppeared();
    }
    return false;
}

}  // namespace tavlin::platform
