#pragma once

#include "support/MainLoop.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusVirtualObject>
#include <QMutex>
#include <QMutexLocker>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QThread>
#include <QVariantList>
#include <QVariantMap>

#include <chrono>
#include <memory>
#include <optional>
#include <vector>

// A notification server for tests: it owns org.freedesktop.Notifications on
// the bus it is given (a PrivateSessionBus) and records every call with its
// time and arguments, as they arrive.
//
// It answers on a thread of its own, so that a program under test is
// answered even while the test waits without running its main loop. Told
// to stay silent, it records calls and answers none. Notify gives numbers
// from 1 up and keeps the number it is asked to replace while that
// notification is shown; CloseNotification closes it and says so.
class FakeNotificationServer {
public:
    using TimePoint = std::chrono::steady_clock::time_point;

    struct Call {
        QString method;
        // As sent; a dictionary (Notify's hints) as a QVariantMap.
        QVariantList arguments;
        TimePoint time;
    };

    enum class Answers { always, never };

    static constexpr char serviceName[] = "org.freedesktop.Notifications";
    static constexpr char objectPath[] = "/org/freedesktop/Notifications";

    explicit FakeNotificationServer(QDBusConnection connection, Answers answers = Answers::always)
        : connection_(std::move(connection)), object_(new Object(*this, answers)) {
        thread_.start();
        object_->moveToThread(&thread_);
        connection_.registerVirtualObject(QString::fromLatin1(objectPath), object_.get());
        registered_ = connection_.registerService(QString::fromLatin1(serviceName));
    }
    ~FakeNotificationServer() {
        connection_.unregisterService(QString::fromLatin1(serviceName));
        connection_.unregisterObject(QString::fromLatin1(objectPath));
        thread_.quit();
        thread_.wait();
    }
    FakeNotificationServer(const FakeNotificationServer&) = delete;
    FakeNotificationServer& operator=(const FakeNotificationServer&) = delete;

    // Whether it owns the name.
    bool isRegistered() const { return registered_; }

    std::vector<Call> calls() const {
        QMutexLocker lock(&mutex_);
        return calls_;
    }
    // The calls of one method, in order.
    std::vector<Call> calls(const QString& method) const {
        std::vector<Call> found;
        for (const Call& call : calls())
            if (call.method == method) found.push_back(call);
        return found;
    }
    // Runs the main loop until `count` calls of `method` have come.
    bool waitForCalls(const QString& method, std::size_t count,
                      std::chrono::milliseconds limit = std::chrono::seconds(10)) const {
        return runMainLoopUntil([&] { return calls(method).size() >= count; }, limit);
    }

    // The user clicks an action of notification `id` ("default": the
    // notification itself); the server says so to every client.
    void invokeAction(uint id, const QString& actionKey) {
        emitSignal("ActionInvoked", {QVariant::fromValue(id), actionKey});
    }
    // The user dismisses notification `id` (reason 2).
    void dismiss(uint id) {
        {
            QMutexLocker lock(&mutex_);
            shown_.remove(id);
        }
        emitSignal("NotificationClosed", {QVariant::fromValue(id), QVariant::fromValue(2u)});
    }

private:
    class Object final : public QDBusVirtualObject {
    public:
        Object(FakeNotificationServer& server, Answers answers) : server_(server), answers_(answers) {}

        QString introspect(const QString&) const override {
            return QStringLiteral(
                "<interface name=\"org.freedesktop.Notifications\">"
                "<method name=\"Notify\"><arg type=\"s\" direction=\"in\"/><arg type=\"u\" direction=\"in\"/>"
                "<arg type=\"s\" direction=\"in\"/><arg type=\"s\" direction=\"in\"/><arg type=\"s\" direction=\"in\"/>"
                "<arg type=\"as\" direction=\"in\"/><arg type=\"a{sv}\" direction=\"in\"/>"
                "<arg type=\"i\" direction=\"in\"/><arg type=\"u\" direction=\"out\"/></method>"
                "<method name=\"CloseNotification\"><arg type=\"u\" direction=\"in\"/></method>"
                "<method name=\"GetCapabilities\"><arg type=\"as\" direction=\"out\"/></method>"
                "<method name=\"GetServerInformation\"><arg type=\"s\" direction=\"out\"/>"
                "<arg type=\"s\" direction=\"out\"/><arg type=\"s\" direction=\"out\"/>"
                "<arg type=\"s\" direction=\"out\"/></method>"
                "<signal name=\"NotificationClosed\"><arg type=\"u\"/><arg type=\"u\"/></signal>"
                "<signal name=\"ActionInvoked\"><arg type=\"u\"/><arg type=\"s\"/></signal>"
                "</interface>");
        }

        bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
            if (message.interface() != QLatin1String(serviceName)) return false;
            QVariantList arguments = message.arguments();
            for (QVariant& argument : arguments)
                if (argument.canConvert<QDBusArgument>())
                    argument = qdbus_cast<QVariantMap>(argument.value<QDBusArgument>());
            const std::optional<QVariantList> answer = server_.record(message.member(), arguments);
            if (answers_ == Answers::never) return true;
            if (!answer) return false;
            connection.send(message.createReply(*answer));
            return true;
        }

    private:
        FakeNotificationServer& server_;
        Answers answers_;
    };

    // Records a call; the reply's arguments, or nothing for an unknown method.
    std::optional<QVariantList> record(const QString& method, const QVariantList& arguments) {
        std::optional<uint> closed;
        std::optional<QVariantList> answer;
        {
            QMutexLocker lock(&mutex_);
            calls_.push_back({method, arguments, std::chrono::steady_clock::now()});
            if (method == QLatin1String("Notify") && arguments.size() == 8) {
                const uint replaces = arguments.at(1).toUInt();
                const uint id = shown_.contains(replaces) ? replaces : ++lastId_;
                shown_.insert(id);
                answer = QVariantList{QVariant::fromValue(id)};
            } else if (method == QLatin1String("CloseNotification") && arguments.size() == 1) {
                if (shown_.remove(arguments.at(0).toUInt())) closed = arguments.at(0).toUInt();
                answer = QVariantList{};
            } else if (method == QLatin1String("GetCapabilities")) {
                answer = QVariantList{QStringList{QStringLiteral("actions"), QStringLiteral("body")}};
            } else if (method == QLatin1String("GetServerInformation")) {
                answer = QVariantList{QStringLiteral("fake"), QStringLiteral("Tavlin tests"), QStringLiteral("1"),
                                      QStringLiteral("1.2")};
            }
        }
        // Closed by a call: reason 3.
        if (closed) emitSignal("NotificationClosed", {QVariant::fromValue(*closed), QVariant::fromValue(3u)});
        return answer;
    }

    void emitSignal(const char* name, const QVariantList& arguments) {
        QDBusMessage signal = QDBusMessage::createSignal(QString::fromLatin1(objectPath),
                                                         QString::fromLatin1(serviceName), QString::fromLatin1(name));
        signal.setArguments(arguments);
        connection_.send(signal);
    }

    QDBusConnection connection_;
    QThread thread_;
    std::unique_ptr<Object> object_;
    bool registered_ = false;
    mutable QMutex mutex_;
    std::vector<Call> calls_;
    QSet<uint> shown_;
    uint lastId_ = 0;
};
