// The real Tavlin on a Wayland desktop: sway, headless, started here, and
// Tavlin on it natively, with a session bus of the test's own and a tray
// there (without one, the panel's first opening would show the notice of
// the missing tray). The panel is opened over the bus, takes the keyboard,
// files a line typed into it and closes on Escape; with the desktop's
// GlobalShortcuts portal there, the hot key is bound with it and its
// release toggles the panel.

#include "app/ApplicationService.h"
#include "support/FakeGlobalShortcutsPortal.h"
#include "support/FakeStatusNotifierWatcher.h"
#include "support/HeadlessTavlin.h"
#include "support/MainLoop.h"
#include "support/PrivateSessionBus.h"
#include "support/TavlinProcess.h"
#include "support/TestFiles.h"
#include "support/WaylandSession.h"

#include <gtest/gtest.h>
#include <QDirIterator>
#include <QFile>

using namespace Qt::StringLiterals;
using tavlin::app::ApplicationService;
using tavlin::testing::FakeGlobalShortcutsPortal;
using tavlin::testing::FakeStatusNotifierWatcher;
using tavlin::testing::waitUntil;
using tavlin::testing::WaylandSession;

namespace {

class DesktopWaylandTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (const QString missing = WaylandSession::missing(); !missing.isEmpty())
            GTEST_SKIP() << missing.toStdString();
        if (QStandardPaths::findExecutable(u"gdbus"_s).isEmpty()) GTEST_SKIP() << "gdbus is not installed";
        if (!PrivateSessionBus::isAvailable()) GTEST_SKIP() << "dbus-daemon is not installed";
        ASSERT_TRUE(bus.isRunning()) << "dbus-daemon did not start";
        ASSERT_TRUE(wayland.start()) << "sway did not start: " << wayland.log().toStdString();
        watcher = std::make_unique<FakeStatusNotifierWatcher>(bus.address());
        ASSERT_TRUE(watcher->isRegistered());
    }

    bool activate() const {
        QProcess gdbus;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"DBUS_SESSION_BUS_ADDRESS"_s, bus.address());
        gdbus.setProcessEnvironment(environment);
        gdbus.start(u"gdbus"_s, {u"call"_s, u"--session"_s, u"--dest"_s, ApplicationService::serviceName,
                                 u"--object-path"_s, ApplicationService::objectPath, u"--method"_s,
                                 u"org.freedesktop.Application.Activate"_s, u"{'activation-token': <'test-token'>}"_s});
        return gdbus.waitForFinished(tavlin::testing::kXWaitMs) && gdbus.exitCode() == 0;
    }

    // Whether a reminder of that title is in Tavlin's folder.
    static bool filed(const HeadlessTavlin& tavlin, const QString& title) {
        QDirIterator files(tavlin.remindersFolder(), {u"*.ics"_s}, QDir::Files, QDirIterator::Subdirectories);
        while (files.hasNext()) {
            QFile file(files.next());
            if (file.open(QIODevice::ReadOnly) && file.readAll().contains(("SUMMARY:" + title).toUtf8())) return true;
        }
        return false;
    }

    std::string state(HeadlessTavlin& tavlin) {
        tavlin.process().waitForError("\x01", 0);
        return (u"Tavlin said:\n"_s + tavlin.process().standardError() + u"\nsway said:\n"_s + wayland.log())
            .toStdString();
    }

    PrivateSessionBus bus;
    WaylandSession wayland;
    std::unique_ptr<FakeStatusNotifierWatcher> watcher;
};

}  // namespace

TEST_F(DesktopWaylandTest, ThePanelOpensOverTheBusTakesTheKeyboardFilesALineAndClosesOnEscape) {
    HeadlessTavlin tavlin{
        {.mcpEnabled = false, .environment = wayland.environment() + QStringList{bus.environmentEntry()}}};
    ASSERT_TRUE(tavlin.start()) << state(tavlin);
    EXPECT_TRUE(tavlin.process().waitForError("gives Tavlin no global shortcut", tavlin::testing::kXWaitMs))
        << "no portal on this bus: " << state(tavlin);
    const qint64 pid = tavlin.process().processId();

    // A keyboard that Tavlin takes up before it types anything: keys of a
    // keyboard that comes while it is busy could come before it listens.
    ASSERT_TRUE(wayland.addKeyboard());
    ASSERT_TRUE(activate());
    const auto focused = [&] {
        const std::vector<WaylandSession::View> views = wayland.viewsOf(pid);
        return views.size() == 1 && views.front().focused;
    };
    ASSERT_TRUE(waitUntil(focused)) << state(tavlin);

    ASSERT_TRUE(wayland.type({u"buy oat milk"_s, u"-k"_s, u"Return"_s}));
    EXPECT_TRUE(waitUntil([&] { return filed(tavlin, u"buy oat milk"_s); })) << state(tavlin);
    EXPECT_TRUE(focused()) << state(tavlin);

    ASSERT_TRUE(wayland.type({u"-k"_s, u"Escape"_s}));
    EXPECT_TRUE(waitUntil([&] { return wayland.viewsOf(pid).empty(); })) << state(tavlin);
    EXPECT_TRUE(tavlin.process().isRunning());
}

TEST_F(DesktopWaylandTest, TheHotKeyIsTheDesktopsShortcutAndItsReleaseTogglesThePanel) {
    // The fake portal answers on this thread: the test runs the main loop
    // while it waits.
    FakeGlobalShortcutsPortal portal(bus.address(), 2);
    ASSERT_TRUE(portal.isRegistered());
    HeadlessTavlin tavlin{{.mcpEnabled = false,
                           .environment = wayland.environment() +
                                          QStringList{bus.environmentEntry(),
                                                      u"QT_LOGGING_RULES=com.quorvandell.tavlin.panel.debug=true"_s}}};
    // Ctrl+Alt+K, as the settings window stores it.
    writeTestFile(
        tavlin.configHome() + u"/Tavlin/settings.json"_s,
        R"({"mcpEnabled": false, "KeyBindings_togglePanel": {"carbonKeyCode": 40, "carbonModifiers": 6144}})");
    // Up before the portal answers: the hot key is bound meanwhile.
    ASSERT_TRUE(tavlin.start()) << state(tavlin);
    // A keyboard for the panel to take.
    ASSERT_TRUE(wayland.addKeyboard());
    ASSERT_TRUE(runMainLoopUntil([&] { return portal.bound.contains(u"open-tavlin"_s); }, std::chrono::seconds(20)))
        << state(tavlin);
    EXPECT_EQ(portal.bound[u"open-tavlin"_s].value(u"preferred_trigger"_s).toString(), u"CTRL+ALT+k"_s);
    const qint64 pid = tavlin.process().processId();

    // The press alone does nothing; the release opens the panel.
    portal.activate(u"open-tavlin"_s);
    EXPECT_FALSE(runMainLoopUntil([&] { return !wayland.viewsOf(pid).empty(); }, std::chrono::milliseconds(300)));
    portal.deactivate(u"open-tavlin"_s);
    const auto focused = [&] {
        const std::vector<WaylandSession::View> views = wayland.viewsOf(pid);
        return views.size() == 1 && views.front().focused;
    };
    EXPECT_TRUE(runMainLoopUntil(focused, std::chrono::seconds(20))) << state(tavlin);
    // Told by the compositor, which the portal does not wait for.
    ASSERT_TRUE(tavlin.process().waitForError("the panel has the keyboard", tavlin::testing::kXWaitMs))
        << state(tavlin);
    portal.activate(u"open-tavlin"_s);
    portal.deactivate(u"open-tavlin"_s);
    EXPECT_TRUE(runMainLoopUntil([&] { return wayland.viewsOf(pid).empty(); }, std::chrono::seconds(20)))
        << state(tavlin);
    EXPECT_FALSE(tavlin.process().standardError().contains(u"tavlin[keys] warning"_s)) << state(tavlin);
}
