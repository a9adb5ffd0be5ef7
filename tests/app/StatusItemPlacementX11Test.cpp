// The real Tavlin on an X display under openbox, with a session bus of the
// test's own: with a tray host its item registers and its menu and click
// work over D-Bus; without one it tells the user once, by a notification
// or by an alert at the panel's next opening.

#include "support/FakeNotificationServer.h"
#include "support/FakeStatusNotifierWatcher.h"
#include "support/HeadlessTavlin.h"
#include "support/PrivateSessionBus.h"
#include "support/SelectionOwner.h"
#include "support/TavlinProcess.h"
#include "support/TestFiles.h"
#include "support/XSession.h"

#include <gtest/gtest.h>
#include <QDBusObjectPath>
#include <QDateTime>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <QThread>

#include <chrono>
#include <optional>

using namespace Qt::StringLiterals;
using tavlin::testing::FakeStatusNotifierWatcher;
using tavlin::testing::SelectionOwner;
using tavlin::testing::waitUntil;
using tavlin::testing::XSession;

namespace {

const QString kNoSlot = u"status item has no slot in the tray — re-inserting"_s;
const QString kFull = u"tray is full — the status item cannot be placed"_s;
const QString kGivenSlot = u"status item was given a slot after re-inserting"_s;
const QString kRestart = u"restart Tavlin to show its icon there"_s;
const QString kNoTray = u"there is no tray on this desktop — the status item is shown when one starts"_s;
const QString kTrayThere = u"a tray is there — the status item is shown in it"_s;

// Xvfb and openbox, a bus, and Tavlin on them in a home of its own.
class StatusItemX11Test : public ::testing::Test {
protected:
    void SetUp() override {
        if (const QString missing = XSession::missing(); !missing.isEmpty()) GTEST_SKIP() << missing.toStdString();
        if (!PrivateSessionBus::isAvailable()) GTEST_SKIP() << "dbus-daemon is not installed";
        ASSERT_TRUE(x.start()) << "Xvfb did not start";
        ASSERT_TRUE(bus.isRunning());
    }

    // With `settings` stored, and `environment` ("NAME=value") added.
    void launch(const QByteArray& settings = R"({"mcpEnabled": false})", const QStringList& environment = {}) {
        writeTestFile(home.configHome() + u"/Tavlin/settings.json"_s, settings);
        tavlin.emplace(TavlinProcess::Options{
            .environment = home.environment() +
                           QStringList{u"DISPLAY="_s + x.display(), u"QT_QPA_PLATFORM=xcb"_s, bus.environmentEntry()} +
                           environment});
        launched = std::chrono::steady_clock::now();
        ASSERT_TRUE(tavlin->waitForError("Tavlin is running")) << tavlin->standardError().toStdString();
    }

    double secondsSinceLaunch(std::chrono::steady_clock::time_point time) const {
        return std::chrono::duration<double>(time - launched).count();
    }
    // Waits until `seconds` have passed since the launch.
    void waitUntilLaunchPlus(double seconds) const {
        while (secondsSinceLaunch(std::chrono::steady_clock::now()) < seconds) QThread::msleep(50);
    }
    // Standard error so far.
    QString errors() {
        tavlin->waitForError("\x01", 0);  // a text it never writes: reads what has come
        return tavlin->standardError();
    }

    // A method called with gdbus on the test's bus: its output, or nothing
    // when the call failed. The arguments follow "--", so that a negative
    // one is no option.
    QString gdbus(const QString& service, const QString& path, const QString& method,
                  const QStringList& arguments) const {
        QProcess tool;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"DBUS_SESSION_BUS_ADDRESS"_s, bus.address());
        tool.setProcessEnvironment(environment);
        tool.start(u"gdbus"_s, QStringList{u"call"_s, u"--session"_s, u"--dest"_s, service, u"--object-path"_s, path,
                                           u"--method"_s, method, u"--"_s} +
                                   arguments);
        if (!tool.waitForFinished(10000) || tool.exitCode() != 0) {
            ADD_FAILURE() << "gdbus " << method.toStdString() << ": " << tool.readAllStandardError().toStdString();
            return {};
        }
        return QString::fromUtf8(tool.readAllStandardOutput());
    }

    // The windows whose title holds `name`.
    int windowsNamed(const QString& name) const {
        const QString found = x.runQuietly(u"xdotool"_s, {u"search"_s, u"--name"_s, name});
        return found.isEmpty() ? 0 : int(found.split(u'\n', Qt::SkipEmptyParts).size());
    }
    qint64 activeWindowPid() const {
        return x.runQuietly(u"xdotool"_s, {u"getactivewindow"_s, u"getwindowpid"_s}).toLongLong();
    }

    XSession x;
    PrivateSessionBus bus;
    HeadlessTavlin home{{.mcpEnabled = false}};
    std::optional<TavlinProcess> tavlin;
    std::chrono::steady_clock::time_point launched;
};

// The labels and separators of a DBusMenu layout as gdbus prints it.
QStringList menuItems(const QString& layout) {
    static const QRegularExpression item(uR"('label': <'([^']*)'>|'type': <'separator'>)"_s);
    QStringList items;
    for (const QRegularExpressionMatch& match : item.globalMatch(layout))
        items << (match.captured(1).isNull() ? u"-"_s : match.captured(1));
    return items;
}

}  // namespace

TEST_F(StatusItemX11Test, WithoutATrayOneNotificationTellsOfItAndNothingMore) {
    FakeNotificationServer server(bus.connect());
    ASSERT_TRUE(server.isRegistered());
    launch(R"({"mcpEnabled": false})", {u"QT_LOGGING_RULES=com.quorvandell.tavlin.statusItem.debug=true"_s});
    ASSERT_TRUE(server.waitForCalls(u"Notify"_s, 1, std::chrono::seconds(60))) << errors().toStdString();
    const FakeNotificationServer::Call notify = server.calls(u"Notify"_s).front();
    // Checked at 1 s, watched until 5.3 s; launch itself takes a moment
    // more, and on a loaded machine many.
    EXPECT_GT(secondsSinceLaunch(notify.time), 5.0);
    EXPECT_EQ(notify.arguments.value(0).toString(), u"Tavlin"_s);
    EXPECT_EQ(notify.arguments.value(3).toString(), u"Tavlin can’t show its tray icon"_s);
    EXPECT_EQ(notify.arguments.value(6).toMap().value(u"suppress-sound"_s), QVariant(true));

    // No tray is not a full one, and there is no item to re-insert.
    EXPECT_EQ(errors().count(kNoTray), 1) << errors().toStdString();

    // The check at 14 s (after those at the launch, 1 and 4 s) finds no
    // tray either, and watches it for 4.3 s more without telling of it again.
    ASSERT_TRUE(waitUntil([&] { return errors().count(u"placement checked: no tray"_s) == 4; }, 60000))
        << errors().toStdString();
    // Its watch ends without a tray.
    ASSERT_TRUE(waitUntil(
        [&] {
            const QString log = errors();
            qsizetype fourthCheck = -1;
            for (int i = 0; i < 4; ++i) fourthCheck = log.indexOf(u"placement checked: no tray"_s, fourthCheck + 1);
            return log.lastIndexOf(u"placement watched: still no tray"_s) > fourthCheck;
        },
        60000))
        << errors().toStdString();
    EXPECT_EQ(server.calls(u"Notify"_s).size(), 1u);
    EXPECT_EQ(errors().count(kNoTray), 1) << errors().toStdString();
    EXPECT_FALSE(errors().contains(kNoSlot)) << errors().toStdString();
    EXPECT_FALSE(errors().contains(kFull)) << errors().toStdString();
}

TEST_F(StatusItemX11Test, ATrayHostGetsTheItemItsMenuAndItsClicks) {
    FakeNotificationServer server(bus.connect());
    const FakeStatusNotifierWatcher watcher(bus.address());
    ASSERT_TRUE(watcher.isRegistered());
    launch();
    const std::optional<FakeStatusNotifierWatcher::Item> item = watcher.waitForItem(15000);
    ASSERT_TRUE(item) << errors().toStdString();

    const QString menu = watcher.property(*item, u"Menu"_s).value<QDBusObjectPath>().path();
    ASSERT_FALSE(menu.isEmpty());
    const QString layout =
        gdbus(item->service, menu, u"com.canonical.dbusmenu.GetLayout"_s, {u"0"_s, u"-1"_s, u"[]"_s});
    EXPECT_EQ(menuItems(layout),
              (QStringList{u"Settings…"_s, u"-"_s, u"Visit Tavlin Website"_s, u"-"_s, u"Quit Tavlin"_s}))
        << layout.toStdString();

    const auto activate = [&] {
        gdbus(item->service, item->path, u"org.kde.StatusNotifierItem.Activate"_s, {u"0"_s, u"0"_s});
    };
    activate();
    ASSERT_TRUE(tavlin->waitForError("toggle: opening")) << errors().toStdString();
    // A host's call brings no X user time, so whether the window manager
    // gives the panel the keyboard is its own choice; a host that holds an
    // activation token hands it over, as the test does here.
    if (!waitUntil([&] { return activeWindowPid() == tavlin->processId(); }, 3000)) {
        const QString panel = x.runQuietly(
            u"xdotool"_s, {u"search"_s, u"--onlyvisible"_s, u"--pid"_s, QString::number(tavlin->processId())});
        x.runQuietly(u"xdotool"_s, {u"windowactivate"_s, panel.section(u'\n', 0, 0)});
    }
    ASSERT_TRUE(waitUntil([&] { return activeWindowPid() == tavlin->processId(); }))
        << "the panel has no keyboard; active: " << x.activeWindowName().toStdString();
    activate();
    EXPECT_TRUE(tavlin->waitForError("toggle: closing key panel")) << errors().toStdString();

    waitUntilLaunchPlus(6.5);
    EXPECT_TRUE(server.calls(u"Notify"_s).empty());
    EXPECT_FALSE(errors().contains(kNoSlot)) << errors().toStdString();
}

TEST_F(StatusItemX11Test, ATrayComingAfterTavlinGetsTheItemAndGetsItAgainWhenItRestarts) {
    FakeNotificationServer server(bus.connect());
    launch(R"({"mcpEnabled": false})", {u"QT_LOGGING_RULES=com.quorvandell.tavlin.platform.debug=true"_s});
    // The login race: the tray starts once Tavlin has found none.
    ASSERT_TRUE(tavlin->waitForError(kNoTray.toUtf8(), 15000)) << errors().toStdString();
    std::optional<FakeStatusNotifierWatcher> watcher(std::in_place, bus.address());
    ASSERT_TRUE(watcher->isRegistered());
    const std::optional<FakeStatusNotifierWatcher::Item> item = watcher->waitForItem(20000);
    ASSERT_TRUE(item) << "no item registered: " << errors().toStdString();
    EXPECT_TRUE(tavlin->waitForError(kTrayThere.toUtf8())) << errors().toStdString();

    // The tray restarts: the item registers with the new watcher.
    watcher.reset();
    watcher.emplace(bus.address());
    ASSERT_TRUE(watcher->isRegistered());
    EXPECT_EQ(watcher->waitForItem(20000), item) << errors().toStdString();

    EXPECT_EQ(server.calls(u"Notify"_s).size(), 1u) << "the one of the missing tray";
    EXPECT_FALSE(errors().contains(kRestart)) << errors().toStdString();
    EXPECT_EQ(errors().count(kNoTray), 1) << errors().toStdString();
}

TEST_F(StatusItemX11Test, AnX11SystemTrayIsFoundAndHeardOfWhenItComes) {
    FakeNotificationServer server(bus.connect());
    launch(R"({"mcpEnabled": false})", {u"QT_LOGGING_RULES=com.quorvandell.tavlin.platform.debug=true;"
                                        u"com.quorvandell.tavlin.statusItem.debug=true"_s});
    ASSERT_TRUE(server.waitForCalls(u"Notify"_s, 1, std::chrono::seconds(60))) << errors().toStdString();
    {
        const SelectionOwner tray(x.display(), "_NET_SYSTEM_TRAY_S0", SelectionOwner::Announce::yes);
        EXPECT_TRUE(tavlin->waitForError("an X11 system tray announced itself")) << errors().toStdString();
        // Checked at 1 and 4 s without the tray; when it came, and at 14 s,
        // with it.
        EXPECT_TRUE(waitUntil([&] { return errors().count(u"placement checked: a tray is there"_s) == 2; }, 60000))
            << errors().toStdString();
    }
    EXPECT_TRUE(errors().contains(kTrayThere)) << errors().toStdString();
    EXPECT_FALSE(errors().contains(kNoSlot)) << errors().toStdString();
    EXPECT_FALSE(errors().contains(kRestart)) << errors().toStdString();
}

TEST_F(StatusItemX11Test, AnX11TrayGetsThePictureDockedAfreshWhenItsRowsChange) {
    SelectionOwner tray(x.display(), "_NET_SYSTEM_TRAY_S0", SelectionOwner::Announce::yes);
    launch();
    ASSERT_TRUE(tavlin->waitForError(kTrayThere.toUtf8())) << errors().toStdString();
    ASSERT_TRUE(waitUntil([&] { return tray.dockRequests() == 1; })) << errors().toStdString();

    // Done today: the done count joins the two zeros as a third row.
    const QString inbox = home.remindersFolder() + u"/inbox"_s;
    writeTestFile(inbox + u"/displayname"_s, "Inbox");
    writeTestFile(inbox + u"/done.ics"_s,
                  "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Tavlin//test//EN\r\nBEGIN:VTODO\r\nUID:done\r\n"
                  "SUMMARY:done\r\nSTATUS:COMPLETED\r\nCOMPLETED:" +
                      QDateTime::currentDateTimeUtc().toString(u"yyyyMMdd'T'HHmmss'Z'"_s).toLatin1() +
                      "\r\nEND:VTODO\r\nEND:VCALENDAR\r\n");
    EXPECT_TRUE(waitUntil([&] { return tray.dockRequests() == 2; })) << errors().toStdString();
}

TEST_F(StatusItemX11Test, WithoutNotificationsThePanelsNextOpeningShowsTheAlertOnce) {
    // ctrl+alt+k, as the settings window stores it.
    launch(R"({"mcpEnabled": false, "KeyBindings_togglePanel": {"carbonKeyCode": 40, "carbonModifiers": 6144}})");
    ASSERT_TRUE(tavlin->waitForError(kNoTray.toUtf8(), 15000)) << errors().toStdString();
    waitUntilLaunchPlus(7);

    const QString alert = u"tray icon"_s;
    x.xdotool({u"key"_s, u"ctrl+alt+k"_s});
    ASSERT_TRUE(waitUntil([&] { return windowsNamed(alert) == 1; })) << errors().toStdString();
    EXPECT_TRUE(waitUntil([&] { return x.activeWindowName().contains(alert); })) << x.activeWindowName().toStdString();
    x.xdotool({u"key"_s, u"Return"_s});
    EXPECT_TRUE(waitUntil([&] { return windowsNamed(alert) == 0; }));
    EXPECT_TRUE(waitUntil([&] { return activeWindowPid() == tavlin->processId(); })) << "the panel has no keyboard";

    // Closed, and opened again: the alert was shown once.
    x.xdotool({u"key"_s, u"ctrl+alt+k"_s});
    ASSERT_TRUE(tavlin->waitForError("close: tearing down panel")) << errors().toStdString();
    x.xdotool({u"key"_s, u"ctrl+alt+k"_s});
    EXPECT_TRUE(waitUntil([&] { return errors().count(u"toggle: opening"_s) == 2; })) << errors().toStdString();
    // An alert shown again would hold the keyboard before the panel.
    EXPECT_TRUE(waitUntil([&] {
        return activeWindowPid() == tavlin->processId() && !x.activeWindowName().contains(alert);
    })) << x.activeWindowName().toStdString();
    EXPECT_EQ(windowsNamed(alert), 0);
}
