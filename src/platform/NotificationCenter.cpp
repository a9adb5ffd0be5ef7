#include "platform/NotificationCenter.h"

#include "platform/DBusCall.h"
#include "platform/XdgPaths.h"

#include <QPointer>
#include <QVariantMap>

using namespace Qt::StringLiterals;

namespace tavlin::platform {

namespace {

const QString notificationsPath = u"/org/freedesktop/Notifications"_s;

// The reply's first argument, when the call was answered with one.
template <class T>
std::optional<T> firstArgument(const std::optional<QDBusMessage>& reply) {
    if (!reply || reply->arguments().isEmpty() || !reply->arguments().first().canConvert<T>()) return std::nullopt;
    return reply->arguments().first().value<T>();
}

}  // namespace

NotificationCenter::NotificationCenter(QDBusConnection bus, Clock& clock, QObject* parent)
    : QObject(parent), bus_(std::move(bus)), clock_(clock) {
    // The signals go to every client of the server; only our numbers count.
    bus_.connect(serviceName, notificationsPath, serviceName, u"ActionInvoked"_s, this,
                 SLOT(onActionInvoked(uint, QString)));
    bus_.connect(serviceName, notificationsPath, serviceName, u"NotificationClosed"_s, this,
                 SLOT(onNotificationClosed(uint, uint)));
}

Task<NotificationAuthorization> NotificationCenter::authorizationStatus() {
    const auto busCall = [](const QString& method) {
        return QDBusMessage::createMethodCall(u"org.freedesktop.DBus"_s, u"/org/freedesktop/DBus"_s,
                                              u"org.freedesktop.DBus"_s, method);
    };
    const QPointer<NotificationCenter> self(this);
    QDBusMessage hasOwner = busCall(u"NameHasOwner"_s);
    hasOwner << QString(serviceName);
    const std::optional<QDBusMessage> owned = co_await call(hasOwner);
    if (firstArgument<bool>(owned).value_or(false)) co_return NotificationAuthorization::authorized;
    if (!self) co_return NotificationAuthorization::notDetermined;
    const QDBusMessage listActivatable = busCall(u"ListActivatableNames"_s);
    const std::optional<QDBusMessage> activatable = co_await call(listActivatable);
    const bool startable = firstArgument<QStringList>(activatable).value_or(QStringList()).contains(serviceName);
    co_return startable ? NotificationAuthorization::authorized : NotificationAuthorization::notDetermined;
}

Task<bool> NotificationCenter::add(NotificationRequest request) {
    const QString identifier = request.identifier;
    return enqueue(identifier, [this, request = std::move(request)] { return notify(request); });
}

Task<bool> NotificationCenter::offersActions() {
    const QDBusMessage message = notificationsCall("GetCapabilities");
    const std::optional<QDBusMessage> reply = co_await call(message);
    co_return firstArgument<QStringList>(reply).value_or(QStringList()).contains(u"actions"_s);
}

Task<bool> NotificationCenter::remove(QString identifier) {
    return enqueue(identifier, [this, identifier] { return close(identifier); });
}

Task<bool> NotificationCenter::enqueue(const QString& identifier, std::function<Task<bool>()> operation) {
    Task<bool> queued = afterPrevious(underWay_.value(identifier).task, QPointer(this), std::move(operation));
    if (queued.isDone()) return queued;
    const quint64 serial = ++lastSerial_;
    underWay_.insert(identifier, {queued, serial});
    queued.whenDone([self = QPointer(this), identifier, serial] {
        if (self && self->underWay_.value(identifier).serial == serial) self->underWay_.remove(identifier);
    });
    return queued;
}

Task<bool> NotificationCenter::afterPrevious(Task<bool> previous, QPointer<NotificationCenter> self,
                                             std::function<Task<bool>()> operation) {
    if (previous.isValid()) co_await previous;
    if (!self) co_return false;
    const Task<bool> started = operation();
    const bool succeeded = co_await started;
    co_return succeeded;
}

Task<bool> NotificationCenter::notify(NotificationRequest request) {
    const QPointer<NotificationCenter> self(this);
    QVariantMap hints{{u"desktop-entry"_s, QString(desktopEntryId)}};
    // The sound theme's name for a new message (freedesktop sound naming).
    if (request.withSound) hints.insert(u"sound-name"_s, u"message-new-instant"_s);
    else hints.insert(u"suppress-sound"_s, true);
    QStringList actions;
    for (const NotificationAction& action : request.actions) actions << action.key << action.label;
    QDBusMessage message = notificationsCall("Notify");
    message << u"Tavlin"_s << serverIds_.value(request.identifier, 0u) << QString(desktopEntryId) << request.title
            << request.body << actions << hints << -1;
    const std::optional<QDBusMessage> reply = co_await call(message);
    const std::optional<uint> id = firstArgument<uint>(reply);
    if (!self || !id) co_return false;
    serverIds_.insert(request.identifier, *id);
    co_return true;
}

Task<bool> NotificationCenter::close(QString identifier) {
    if (!serverIds_.contains(identifier)) co_return false;
    const QPointer<NotificationCenter> self(this);
    const uint id = serverIds_.value(identifier);
    QDBusMessage message = notificationsCall("CloseNotification");
    message << id;
    const std::optional<QDBusMessage> reply = co_await call(message);
    if (!self || !reply) co_return false;
    // The server says NotificationClosed too, but the number is ours no longer.
    if (serverIds_.value(identifier) == id) serverIds_.remove(identifier);
    co_return true;
}

void NotificationCenter::onActionInvoked(uint id, const QString& actionKey) {
    const QString identifier = serverIds_.key(id);
    if (!identifier.isEmpty()) emit actionInvoked(identifier, actionKey);
}

void NotificationCenter::onNotificationClosed(uint id, uint /*reason*/) {
    const QString identifier = serverIds_.key(id);
    if (!identifier.isEmpty()) serverIds_.remove(identifier);
}

Task<std::optional<QDBusMessage>> NotificationCenter::call(QDBusMessage message) {
    return callWithTimeLimit(bus_, std::move(message), callTimeLimit, clock_);
}

QDBusMessage NotificationCenter::notificationsCall(const char* method) {
    return QDBusMessage::createMethodCall(serviceName, notificationsPath, serviceName, QString::fromLatin1(method));
}

}  // namespace tavlin::platform
