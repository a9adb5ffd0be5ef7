#include "platform/PowerEvents.h"

#include "support/MainLoop.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QProcess>
#include <QStandardPaths>

#include <vector>

using namespace tavlin::platform;
using namespace Qt::StringLiterals;

namespace {

// A private message bus, standing in for both the system and the session
// bus, with a connection that plays logind and the screen saver.
class PowerEventsTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (QStandardPaths::findExecutable(u"dbus-daemon"_s).isEmpty())
            GTEST_SKIP() << "dbus-daemon is not installed (Debian package dbus-daemon)";
        daemon.start(u"dbus-daemon"_s, {u"--session"_s, u"--nofork"_s, u"--print-address"_s});
        ASSERT_TRUE(daemon.waitForReadyRead(10000)) << daemon.readAllStandardError().toStdString();
        const QString address = QString::fromUtf8(daemon.readLine()).trimmed();
        listener = QDBusConnection::connectToBus(address, u"listener"_s);
        services = QDBusConnection::connectToBus(address, u"services"_s);
        ASSERT_TRUE(listener.isConnected());
        ASSERT_TRUE(services.registerService(u"org.freedesktop.login1"_s));
        ASSERT_TRUE(services.registerService(u"org.freedesktop.ScreenSaver"_s));
    }

    void TearDown() override {
        QDBusConnection::disconnectFromBus(u"listener"_s);
        QDBusConnection::disconnectFromBus(u"services"_s);
        daemon.kill();
        daemon.waitForFinished();
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
    }

    QProcess daemon;
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

TEST(SessionPowerEvents, WithoutAnyBusNothingFails) {
    SessionPowerEvents events(QDBusConnection(u"no such bus"_s), QDBusConnection(u"no such bus"_s));
    int heard = 0;
    QObject::connect(&events, &PowerEvents::systemDidWake, [&] { ++heard; });
    QCoreApplication::processEvents();
    EXPECT_EQ(heard, 0);
}
