#pragma once

// The desktop's GlobalShortcuts portal on a test's own session bus
// (PrivateSessionBus.h): org.freedesktop.portal.Desktop with the
// GlobalShortcuts interface of a chosen version. It opens sessions, binds
// what it is asked to bind (answering with a trigger of its own choice, or
// refusing), lists the bindings, counts requests to change them, and sends
// Activated, Deactivated and ShortcutsChanged when the test says so.
//
// It answers on the main thread: a test waits for its states by running
// the main loop.

#include "platform/PortalHotKeyBackend.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <QUuid>

#include <map>

namespace tavlin::testing {

class FakeGlobalShortcutsPortal final : public QDBusVirtualObject {
public:
    using PortalShortcut = platform::PortalShortcut;

    FakeGlobalShortcutsPortal(const QString& busAddress, uint version)
        : connectionName_(QStringLiteral("fake-portal-") + QUuid::createUuid().toString(QUuid::WithoutBraces)),
          connection_(QDBusConnection::connectToBus(busAddress, connectionName_)),
          version_(version) {
        platform::registerPortalShortcutTypes();
        registered_ = connection_.isConnected() &&
                      connection_.registerVirtualObject(QString(platform::PortalHotKeyBackend::objectPath), this,
                                                        QDBusConnection::SingleNode) &&
                      connection_.registerService(QString(platform::PortalHotKeyBackend::service));
    }

    ~FakeGlobalShortcutsPortal() override {
        connection_.unregisterService(QString(platform::PortalHotKeyBackend::service));
        connection_.unregisterObject(QString(platform::PortalHotKeyBackend::objectPath));
        QDBusConnection::disconnectFromBus(connectionName_);
    }

    bool isRegistered() const { return registered_; }

    // What the desktop does with the next binding: bind it with this
    // trigger description (empty: the preferred trigger as it came), or
    // refuse it with this response (1 cancelled, 2 other).
    QString chosenTrigger;
    uint refuseWith = 0;

    // What came in.
    QString session;                       // the one opened
    std::map<QString, QVariantMap> bound;  // by id, as asked
    std::map<QString, QString> triggers;   // by id, as the desktop keeps them
    int bindRequests = 0;
    int listRequests = 0;
    int configureRequests = 0;

    void activate(const QString& id) { sendShortcutSignal(QStringLiteral("Activated"), id); }
    void deactivate(const QString& id) { sendShortcutSignal(QStringLiteral("Deactivated"), id); }
    // The user gave the shortcut another key in the desktop's settings.
    void changeTrigger(const QString& id, const QString& trigger) {
        triggers[id] = trigger;
        QDBusMessage changed = signal(QStringLiteral("ShortcutsChanged"));
        changed << QVariant::fromValue(QDBusObjectPath(session)) << QVariant::fromValue(shortcutList());
        connection_.send(changed);
    }

    QString introspect(const QString&) const override { return {}; }

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        const QString member = message.member();
        const QVariantList arguments = message.arguments();
        if (message.interface() == QStringLiteral("org.freedesktop.DBus.Properties") && member == "Get") {
            if (arguments.value(0).toString() != QString(platform::PortalHotKeyBackend::interfaceName)) {
                connection.send(message.createErrorReply(QDBusError::UnknownInterface, QStringLiteral("no such")));
                return true;
            }
            connection.send(message.createReply(QVariant::fromValue(QDBusVariant(version_))));
            return true;
        }
        if (message.interface() != QString(platform::PortalHotKeyBackend::interfaceName)) return false;
        const QVariantMap options = arguments.isEmpty() ? QVariantMap() : qdbus_cast<QVariantMap>(arguments.last());
        const QString request = QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2")
                                    .arg(message.service().mid(1).replace(u'.', u'_'),
                                         options.value(QStringLiteral("handle_token")).toString());
        if (member == "ConfigureShortcuts") {
            if (version_ < 2) return false;
            ++configureRequests;
            connection.send(message.createReply());
            return true;
        }
        connection.send(message.createReply(QVariant::fromValue(QDBusObjectPath(request))));
        if (member == "CreateSession") {
            session = QStringLiteral("/org/freedesktop/portal/desktop/session/%1/%2")
                          .arg(message.service().mid(1).replace(u'.', u'_'),
                               options.value(QStringLiteral("session_handle_token")).toString());
            respond(request, 0, {{QStringLiteral("session_handle"), session}});
        } else if (member == "BindShortcuts") {
            ++bindRequests;
            if (refuseWith != 0) return respond(request, refuseWith, {});
            for (const PortalShortcut& shortcut : platform::portalShortcuts(arguments.value(1))) {
                bound[shortcut.id] = shortcut.properties;
                // A desktop keeps a key it gave the shortcut before.
                if (!triggers.contains(shortcut.id))
                    triggers[shortcut.id] =
                        chosenTrigger.isEmpty()
                            ? shortcut.properties.value(QStringLiteral("preferred_trigger")).toString()
                            : chosenTrigger;
            }
            respond(request, 0, {{QStringLiteral("shortcuts"), QVariant::fromValue(shortcutList())}});
        } else if (member == "ListShortcuts") {
            ++listRequests;
            respond(request, 0, {{QStringLiteral("shortcuts"), QVariant::fromValue(shortcutList())}});
        }
        return true;
    }

private:
    QDBusMessage signal(const QString& name) const {
        return QDBusMessage::createSignal(QString(platform::PortalHotKeyBackend::objectPath),
                                          QString(platform::PortalHotKeyBackend::interfaceName), name);
    }
    void sendShortcutSignal(const QString& name, const QString& id) {
        QDBusMessage message = signal(name);
        message << QVariant::fromValue(QDBusObjectPath(session)) << id << quint64(++timestamp_) << QVariantMap();
        connection_.send(message);
    }
    bool respond(const QString& request, uint response, const QVariantMap& results) {
        QDBusMessage answer = QDBusMessage::createSignal(
            request, QString(platform::PortalHotKeyBackend::requestInterface), QStringLiteral("Response"));
        answer << response << results;
        connection_.send(answer);
        return true;
    }
    QList<PortalShortcut> shortcutList() const {
        QList<PortalShortcut> list;
        for (const auto& [id, properties] : bound) {
            QVariantMap answer{{QStringLiteral("description"), properties.value(QStringLiteral("description"))}};
            if (const auto trigger = triggers.find(id); trigger != triggers.end())
                answer.insert(QStringLiteral("trigger_description"), trigger->second);
            list.append({id, answer});
        }
        return list;
    }

    QString connectionName_;
    QDBusConnection connection_;
    uint version_;
    bool registered_ = false;
    quint64 timestamp_ = 0;
};

}  // namespace tavlin::testing
