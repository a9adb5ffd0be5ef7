#pragma once

// The desktop's tray, as far as a program's tray item sees it, on a test's
// own session bus (PrivateSessionBus.h): the StatusNotifierWatcher service with a
// tray host registered. Qt's QSystemTrayIcon then registers a
// StatusNotifierItem with it instead of looking for an X11 tray. The watcher
// records the items, and reads their properties as a tray host would.
//
// It answers from a thread of its own, so that a test may block (waiting
// for a process, running xdotool) while the program under test asks it.

#include <QByteArray>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <QDeadlineTimer>
#include <QImage>
#include <QMutex>
#include <QMutexLocker>
#include <QString>
#include <QStringList>
#include <QThread>
#include <QUuid>

#include <memory>
#include <optional>
#include <vector>

namespace tavlin::testing {

class FakeStatusNotifierWatcher {
public:
    static constexpr const char* watcherService = "org.kde.StatusNotifierWatcher";
    static constexpr const char* watcherPath = "/StatusNotifierWatcher";
    static constexpr const char* itemInterface = "org.kde.StatusNotifierItem";

    // A registered item: where its StatusNotifierItem object is.
    struct Item {
        QString service;
        QString path;
        friend bool operator==(const Item&, const Item&) = default;
    };

    // Connects to the bus at `busAddress` and takes the watcher's name.
    explicit FakeStatusNotifierWatcher(const QString& busAddress)
        : connectionName_(QStringLiteral("fake-watcher-") + QUuid::createUuid().toString(QUuid::WithoutBraces)),
          connection_(QDBusConnection::connectToBus(busAddress, connectionName_)),
          object_(std::make_unique<WatcherObject>(state_)) {
        thread_.start();
        object_->moveToThread(&thread_);
        registered_ = connection_.isConnected() &&
                      connection_.registerVirtualObject(QString::fromLatin1(watcherPath), object_.get()) &&
                      connection_.registerService(QString::fromLatin1(watcherService));
    }

    ~FakeStatusNotifierWatcher() {
        connection_.unregisterService(QString::fromLatin1(watcherService));
        connection_.unregisterObject(QString::fromLatin1(watcherPath));
        QDBusConnection::disconnectFromBus(connectionName_);
        thread_.quit();
        thread_.wait();
    }

    // Whether it owns the watcher's name on the bus.
    bool isRegistered() const { return registered_; }

    std::vector<Item> items() const {
        QMutexLocker lock(&state_.mutex);
        return state_.items;
    }

    // The first item to register, waiting up to `waitMs` for it.
    std::optional<Item> waitForItem(int waitMs = 10000) const {
        const QDeadlineTimer deadline(waitMs);
        while (!deadline.hasExpired()) {
            if (const std::vector<Item> registered = items(); !registered.empty()) return registered.front();
            QThread::msleep(20);
        }
        return std::nullopt;
    }

    // A property of the item's StatusNotifierItem interface; invalid when
    // the item did not answer.
    QVariant property(const Item& item, const QString& name) const {
        QDBusMessage get = QDBusMessage::createMethodCall(
            item.service, item.path, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
        get << QString::fromLatin1(itemInterface) << name;
        const QDBusMessage reply = connection_.call(get, QDBus::Block, 5000);
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) return {};
        return reply.arguments().first().value<QDBusVariant>().variant();
    }

    // The title of the item's tooltip (where Qt puts QSystemTrayIcon's).
    std::optional<QString> toolTip(const Item& item) const {
        const QVariant value = property(item, QStringLiteral("ToolTip"));
        if (!value.canConvert<QDBusArgument>()) return std::nullopt;
        const QDBusArgument argument = value.value<QDBusArgument>();
        QString iconName, title, text;
        argument.beginStructure();
        argument >> iconName;
        (void)readImages(argument);
        argument >> title >> text;
        argument.endStructure();
        return title;
    }

    // The pictures of the item's IconPixmap, each at its own size.
    std::vector<QImage> iconPixmaps(const Item& item) const {
        const QVariant value = property(item, QStringLiteral("IconPixmap"));
        if (!value.canConvert<QDBusArgument>()) return {};
        return readImages(value.value<QDBusArgument>());
    }

    QString iconName(const Item& item) const { return property(item, QStringLiteral("IconName")).toString(); }

private:
    struct State {
        mutable QMutex mutex;
        std::vector<Item> items;
        QStringList hosts{QStringLiteral("org.kde.StatusNotifierHost-fake")};
    };

    // Answers the watcher's methods and properties, on the watcher's thread.
    class WatcherObject final : public QDBusVirtualObject {
    public:
        explicit WatcherObject(State& state) : state_(state) {}

        QString introspect(const QString&) const override {
            return QStringLiteral(R"(<interface name="org.kde.StatusNotifierWatcher">
  <method name="RegisterStatusNotifierItem"><arg name="service" type="s" direction="in"/></method>
  <method name="RegisterStatusNotifierHost"><arg name="service" type="s" direction="in"/></method>
  <property name="RegisteredStatusNotifierItems" type="as" access="read"/>
  <property name="IsStatusNotifierHostRegistered" type="b" access="read"/>
  <property name="ProtocolVersion" type="i" access="read"/>
  <signal name="StatusNotifierItemRegistered"><arg type="s"/></signal>
  <signal name="StatusNotifierItemUnregistered"><arg type="s"/></signal>
  <signal name="StatusNotifierHostRegistered"/>
</interface>
)");
        }

        bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
            const QString member = message.member();
            if (message.interface() == QLatin1String(watcherService)) {
                const QString given = message.arguments().value(0).toString();
                if (member == QLatin1String("RegisterStatusNotifierItem")) {
                    // Either a bus name (the object at the usual path) or a
                    // path on the caller's connection.
                    const Item item = given.startsWith(u'/') ? Item{message.service(), given}
                                                             : Item{given, QStringLiteral("/StatusNotifierItem")};
                    {
                        QMutexLocker lock(&state_.mutex);
                        state_.items.push_back(item);
                    }
                    connection.send(message.createReply());
                    notify(connection, QStringLiteral("StatusNotifierItemRegistered"), item.service + item.path);
                    return true;
                }
                if (member == QLatin1String("RegisterStatusNotifierHost")) {
                    {
                        QMutexLocker lock(&state_.mutex);
                        state_.hosts << given;
                    }
                    connection.send(message.createReply());
                    notify(connection, QStringLiteral("StatusNotifierHostRegistered"), std::nullopt);
                    return true;
                }
                return false;
            }
            if (message.interface() == QLatin1String("org.freedesktop.DBus.Properties")) {
                const QVariantMap all = properties();
                if (member == QLatin1String("GetAll")) {
                    connection.send(message.createReply(all));
                    return true;
                }
                if (member == QLatin1String("Get")) {
                    const QString name = message.arguments().value(1).toString();
                    connection.send(all.contains(name)
                                        ? message.createReply(QVariant::fromValue(QDBusVariant(all.value(name))))
                                        : message.createErrorReply(QDBusError::UnknownProperty, name));
                    return true;
                }
            }
            return false;
        }

    private:
        QVariantMap properties() const {
            QMutexLocker lock(&state_.mutex);
            QStringList items;
            for (const Item& item : state_.items) items << item.service + item.path;
            return {{QStringLiteral("RegisteredStatusNotifierItems"), items},
                    {QStringLiteral("IsStatusNotifierHostRegistered"), !state_.hosts.isEmpty()},
                    {QStringLiteral("ProtocolVersion"), 0}};
        }

        static void notify(const QDBusConnection& connection, const QString& name,
                           const std::optional<QString>& argument) {
            QDBusMessage signal =
                QDBusMessage::createSignal(QString::fromLatin1(watcherPath), QString::fromLatin1(watcherService), name);
            if (argument) signal << *argument;
            connection.send(signal);
        }

        State& state_;
    };

    // An array of (width, height, ARGB32 pixels in network byte order).
    static std::vector<QImage> readImages(const QDBusArgument& argument) {
        std::vector<QImage> images;
        argument.beginArray();
        while (!argument.atEnd()) {
            int width = 0, height = 0;
            QByteArray pixels;
            argument.beginStructure();
            argument >> width >> height >> pixels;
            argument.endStructure();
            if (width <= 0 || height <= 0 || pixels.size() != qsizetype(width) * height * 4) continue;
            QImage image(width, height, QImage::Format_ARGB32);
            const auto* byte = reinterpret_cast<const uchar*>(pixels.constData());
            for (int y = 0; y < height; ++y)
                for (int x = 0; x < width; ++x, byte += 4)
                    image.setPixel(x, y, qRgba(byte[1], byte[2], byte[3], byte[0]));
            images.push_back(std::move(image));
        }
        argument.endArray();
        return images;
    }

    State state_;
    QString connectionName_;
    QDBusConnection connection_;
    QThread thread_;
    std::unique_ptr<WatcherObject> object_;
    bool registered_ = false;
};

}  // namespace tavlin::testing
