#include "platform/PowerEvents.h"

#include "support/MainLoop.h"
#include "support/PrivateSessionBus.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVirtualObject>

#include <vector>

using namespace tavlin::platform;
using namespace Qt::StringLiterals;

namespace {

// logind's manager, as far as finding a session goes: every session asked
// for is session _31.
class SessionManager final : public QDBusVirtualObject {
public:
    static inline const QString sessionPath = u"/org/freedesktop/login1/session/_31"_s;

    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        if (message.member() != u"GetSession"_s) return false;
        asked << message.arguments().value(0).toString();
        connection.send(message.createReply(QVariant::fromValue(QDBusObjectPath(sessionPath))));
        return true;
    }

    QStringList asked;
};

// A private message bus, standing in for both the system and the session
// bus, with a connection that plays logind and the screen saver.
class PowerEventsTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!PrivateSessionBus::isAvailable())
            GTEST_SKIP() << "dbus-daemon is not installed (Debian package dbus-daemon)";
        ASSERT_TRUE(bus.isRunning()) << "dbus-daemon did not start";
        listener = bus.connect();
        services = bus.connect();
        ASSERT_TRUE(listener.isConnected());
        ASSERT_TRUE(services.registerService(u"org.freedesktop.login1"_s));
        ASSERT_TRUE(services.registerService(u"org.freedesktop.ScreenSaver"_s));
    }

    // A change of a session's properties, as logind announces it.
    void sendSessionChange(const QString& path, const QVariantMap& changed) {
        QDBusMessage signal =
            QDBusMessage::createSignal(path, u"org.freedesktop.DBus.Properties"_s, u"PropertiesChanged"_s);
        signal << u"org.freedesktop.login1.Session"_s << changed << QStringList();
        ASSERT_TRUE(services.send(signal));
    }

    void send(const char* path, const char* interface, const char* name, bool argument) {
        QDBusMessage signal = QDBusMessage::createSignal(QString::fromLatin1(path), QString::fromLatin1(interface),
                                                         QString::fromLatin1(name));
        signal << argument;
        ASSERT_TRUE(services.send(signal));
    }

    void waitFor(std::size_t count) {
        runMainLoopUntil([&] { return heard.size() >= count; });
    }

    void listen(const PowerEvents& events) {
        QObject::connect(&events, &PowerEvents::systemDidWake, [this] { heard.push_back("system woke"); });
        QObject::connect(&events, &PowerEvents::displayDidSleep, [this] { heard.push_back("display slept"); });
        QObject::connect(&events, &PowerEvents::displayDidWake, [this] { heard.push_back("display woke"); });
        QObject::connect(&events, &PowerEvents::sessionDidBecomeActive, [this] { heard.push_back("session active"); });
    }

    PrivateSessionBus bus;
    QDBusConnection listener{u""_s};
    QDBusConnection services{u""_s};
    std::vector<std::string> heard;
};

}  // namespace

TEST_F(PowerEventsTest, LogindsWakeAndTheScreenSaverBecomeTheEvents) {
    SessionPowerEvents events(listener, listener);
    listen(events);
    send("/org/freedesktop/login1", "org.freedesktop.login1.Manager", "PrepareForSleep", true);
    send("/org/freedesktop/login1", "org.freedesktop.login1.Manager", "PrepareForSleep", false);
    send("/org/freedesktop/ScreenSaver", "org.freedesktop.ScreenSaver", "ActiveChanged", true);
    send("/org/freedesktop/ScreenSaver", "org.freedesktop.ScreenSaver", "ActiveChanged", false);
    waitFor(3);
    EXPECT_EQ(heard, (std::vector<std::string>{"system woke", "display slept", "display woke"}));
}

TEST_F(PowerEventsTest, OurSessionTurningActiveIsTheSessionsReturn) {
    SessionManager manager;
    ASSERT_TRUE(services.registerVirtualObject(u"/org/freedesktop/login1"_s, &manager));
    SessionPowerEvents events(listener, listener);
    listen(events);
    ASSERT_TRUE(runMainLoopUntil([&] { return !manager.asked.isEmpty(); }));
    EXPECT_EQ(manager.asked, QStringList{u"auto"_s});
    // Until the answer is in, changes go unheard.
    ASSERT_TRUE(runMainLoopUntil([&] {
        sendSessionChange(SessionManager::sessionPath, {{u"Active"_s, true}});
        return !heard.empty();
    }));
    // The bus keeps a sender's order: once the wake is heard, so is every
    // change sent before it.
    send("/org/freedesktop/login1", "org.freedesktop.login1.Manager", "PrepareForSleep", false);
    ASSERT_TRUE(runMainLoopUntil([&] { return heard.back() == "system woke"; }));
    heard.clear();

    sendSessionChange(u"/org/freedesktop/login1/session/_7"_s, {{u"Active"_s, true}});  // another user's
    sendSessionChange(SessionManager::sessionPath, {{u"Active"_s, false}});
    sendSessionChange(SessionManager::sessionPath, {{u"IdleHint"_s, true}});
    sendSessionChange(SessionManager::sessionPath, {{u"Active"_s, true}});
    send("/org/freedesktop/login1", "org.freedesktop.login1.Manager", "PrepareForSleep", false);
    waitFor(2);
    EXPECT_EQ(heard, (std::vector<std::string>{"session active", "system woke"}));
}

TEST(SessionPowerEvents, WithoutAnyBusNothingFails) {
    SessionPowerEvents events(QDBusConnection(u"no such bus"_s), QDBusConnection(u"no such bus"_s));
    int heard = 0;
    QObject::connect(&events, &PowerEvents::systemDidWake, [&] { ++heard; });
    QCoreApplication::processEvents();
    EXPECT_EQ(heard, 0);
}
