#include "platform/ReduceMotion.h"

#include "support/MainLoop.h"
#include "support/PrivateSessionBus.h"

#include <gtest/gtest.h>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusVariant>

using namespace Qt::StringLiterals;
using tavlin::platform::DesktopMotionPreference;

namespace {

using SettingGroups = QMap<QString, QVariantMap>;

// The desktop portal's settings, as much of them as the tests need.
class FakePortalSettings : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Settings")

public:
    SettingGroups settings;
    QStringList asked;

public slots:
    SettingGroups ReadAll(const QStringList& groups) {
        asked = groups;
        SettingGroups answer;
        for (const QString& group : groups)
            if (settings.contains(group)) answer.insert(group, settings.value(group));
        return answer;
    }
};

// A session bus of the test's own, with or without the portal on it.
class ReduceMotionTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!PrivateSessionBus::isAvailable())
            GTEST_SKIP() << "dbus-daemon is not installed (Debian package dbus-daemon)";
        ASSERT_TRUE(bus.isRunning()) << "dbus-daemon did not start";
        qDBusRegisterMetaType<SettingGroups>();
        listener = bus.connect();
        portalBus = bus.connect();
        ASSERT_TRUE(listener.isConnected());
    }

    void startPortal() {
        ASSERT_TRUE(
            portalBus.registerObject(u"/org/freedesktop/portal/desktop"_s, &portal, QDBusConnection::ExportAllSlots));
        ASSERT_TRUE(portalBus.registerService(u"org.freedesktop.portal.Desktop"_s));
    }
    // Waits for the preference's first answer (or the bus's refusal).
    bool answered(DesktopMotionPreference& preference) {
        bool changed = false;
        QObject::connect(&preference, &DesktopMotionPreference::changed, [&] { changed = true; });
        runMainLoopUntil([&] { return changed; });
        return changed;
    }
    void announce(const QString& group, const QString& key, const QVariant& value) {
        QDBusMessage signal = QDBusMessage::createSignal(u"/org/freedesktop/portal/desktop"_s,
                                                         u"org.freedesktop.portal.Settings"_s, u"SettingChanged"_s);
        signal << group << key << QVariant::fromValue(QDBusVariant(value));
        ASSERT_TRUE(portalBus.send(signal));
    }

    PrivateSessionBus bus;
    QDBusConnection listener{u""_s};
    QDBusConnection portalBus{u""_s};
    FakePortalSettings portal;
};

}  // namespace

TEST_F(ReduceMotionTest, TheDesktopsAnswers) {
    struct Case {
        const char* name;
        SettingGroups settings;
        bool reduce;
    };
    const Case cases[] = {
        {"GNOME's animations off", {{u"org.gnome.desktop.interface"_s, {{u"enable-animations"_s, false}}}}, true},
        {"GNOME's animations on", {{u"org.gnome.desktop.interface"_s, {{u"enable-animations"_s, true}}}}, false},
        {"the portal's reduced motion", {{u"org.freedesktop.appearance"_s, {{u"reduced-motion"_s, 1u}}}}, true},
        {"no preference", {{u"org.freedesktop.appearance"_s, {{u"reduced-motion"_s, 0u}}}}, false},
    };
    startPortal();
    for (const Case& c : cases) {
        portal.settings = c.settings;
        DesktopMotionPreference preference(listener);
        EXPECT_TRUE(answered(preference)) << c.name;
        EXPECT_EQ(preference.reduceMotion(), c.reduce) << c.name;
    }
    EXPECT_EQ(portal.asked, (QStringList{u"org.gnome.desktop.interface"_s, u"org.freedesktop.appearance"_s}));
}

TEST_F(ReduceMotionTest, FollowsTheSettingAsItChanges) {
    startPortal();
    DesktopMotionPreference preference(listener);
    ASSERT_TRUE(runMainLoopUntil([&] { return !portal.asked.isEmpty(); }));
    EXPECT_FALSE(preference.reduceMotion());
    announce(u"org.gnome.desktop.interface"_s, u"enable-animations"_s, false);
    EXPECT_TRUE(answered(preference));
    EXPECT_TRUE(preference.reduceMotion());
    announce(u"org.gnome.desktop.interface"_s, u"enable-animations"_s, true);
    EXPECT_TRUE(answered(preference));
    EXPECT_FALSE(preference.reduceMotion());
}

TEST_F(ReduceMotionTest, WithoutAPortalAnimationsStayOn) {
    DesktopMotionPreference preference(listener);
    runMainLoopUntil([] { return false; }, std::chrono::milliseconds(200));
    EXPECT_FALSE(preference.reduceMotion());
    DesktopMotionPreference withoutBus(QDBusConnection(u"no such bus"_s));
    EXPECT_FALSE(withoutBus.reduceMotion());
}

TEST(ReduceMotion, AnOverrideStandsForTheDesktop) {
    tavlin::platform::setReduceMotionOverride(true);
    EXPECT_TRUE(tavlin::platform::reduceMotion());
    tavlin::platform::setReduceMotionOverride(false);
    EXPECT_FALSE(tavlin::platform::reduceMotion());
    tavlin::platform::setReduceMotionOverride(std::nullopt);
}

#include "ReduceMotionTest.moc"
