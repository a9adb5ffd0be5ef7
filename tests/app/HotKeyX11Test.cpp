// The real Tavlin on an X display under openbox, with a stored hot key
// pressed and let go by xdotool. The desktop has a tray: without one, an
// opening a few seconds after launch (a busy machine is that slow) would
// show the notice of the missing tray instead of the panel.

#include "support/FakeStatusNotifierWatcher.h"
#include "support/HeadlessTavlin.h"
#include "support/PrivateSessionBus.h"
#include "support/TavlinProcess.h"
#include "support/TestFiles.h"
#include "support/XSession.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using tavlin::testing::FakeStatusNotifierWatcher;
using tavlin::testing::XSession;

namespace {

// The process of the window that has the keyboard; 0 while none has.
qint64 activeWindowPid(const XSession& x) {
    QProcess xdotool;
    xdotool.setProcessEnvironment(x.environment());
    xdotool.start(u"xdotool"_s, {u"getactivewindow"_s, u"getwindowpid"_s});
    xdotool.waitForFinished();
    return xdotool.readAllStandardOutput().trimmed().toLongLong();
}

}  // namespace

TEST(HotKeyX11, ThePanelTogglesWhenTheHotKeyIsLetGo) {
    if (const QString missing = XSession::missing(); !missing.isEmpty()) GTEST_SKIP() << missing.toStdString();
    if (!PrivateSessionBus::isAvailable()) GTEST_SKIP() << "dbus-daemon is not installed";
    XSession x;
    ASSERT_TRUE(x.start()) << "Xvfb did not start";
    PrivateSessionBus bus;
    ASSERT_TRUE(bus.isRunning());
    const FakeStatusNotifierWatcher tray(bus.address());
    ASSERT_TRUE(tray.isRegistered());
    HeadlessTavlin home({.mcpEnabled = false});
    // ctrl+alt+k, as the settings window stores it.
    writeTestFile(
        home.configHome() + u"/Tavlin/settings.json"_s,
        R"({"mcpEnabled": false, "KeyBindings_togglePanel": {"carbonKeyCode": 40, "carbonModifiers": 6144}})");
    TavlinProcess tavlin(
        {.environment = home.environment() +
                        QStringList{u"DISPLAY="_s + x.display(), u"QT_QPA_PLATFORM=xcb"_s, bus.environmentEntry()}});
    ASSERT_TRUE(tavlin.waitForError("Tavlin is running")) << tavlin.standardError().toStdString();

    x.xdotool({u"keydown"_s, u"ctrl+alt+k"_s});
    EXPECT_FALSE(tavlin.waitForError("toggle: opening", 700)) << "the panel opened on the press";
    x.xdotool({u"keyup"_s, u"k"_s});
    x.xdotool({u"keyup"_s, u"ctrl+alt"_s});
    ASSERT_TRUE(tavlin.waitForError("toggle: opening")) << tavlin.standardError().toStdString();
    // Open and holding the keyboard: the next press closes it.
    QElapsedTimer elapsed;
    elapsed.start();
    while (activeWindowPid(x) != tavlin.processId() && elapsed.elapsed() < TavlinProcess::generousMs)
        QThread::msleep(50);
    ASSERT_EQ(activeWindowPid(x), tavlin.processId()) << "the panel did not get the keyboard";

    x.xdotool({u"key"_s, u"ctrl+alt+k"_s});
    EXPECT_TRUE(tavlin.waitForError("toggle: closing key panel")) << tavlin.standardError().toStdString();
    EXPECT_TRUE(tavlin.signalAndFinish(SIGTERM));
    EXPECT_EQ(tavlin.exitCode(), 0);
}
