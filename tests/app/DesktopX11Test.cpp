// The real Tavlin as the desktop reaches it, on an X display under openbox
// and on a session bus of the test's own: text sent with gdbus, opening
// Tavlin again, the desktop entry's action on the primary selection, the
// menu keys typed by xdotool, and the bus starting Tavlin from its service
// file. The desktop has a tray: without one, the panel's first opening a
// few seconds after launch would show the notice of the missing tray
// instead, whenever a busy machine slows the test down to that.

#include "app/ApplicationService.h"
#include "support/FakeStatusNotifierWatcher.h"
#include "support/HeadlessTavlin.h"
#include "support/PrivateSessionBus.h"
#include "support/TavlinProcess.h"
#include "support/TestFiles.h"
#include "support/XSession.h"

#include <gtest/gtest.h>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QRegularExpression>

#include <functional>

#include <csignal>
#include <iostream>

using namespace Qt::StringLiterals;
using tavlin::app::ApplicationService;
using tavlin::testing::FakeStatusNotifierWatcher;
using tavlin::testing::waitUntil;
using tavlin::testing::XSession;

namespace {

const QString screenSize = u"1280x800x24"_s;
constexpr int screenCentreX = 640;

// The installed files' templates, as cmake --install fills them in for
// `binary`.
QString installedText(const QString& templateName, const QString& binary) {
    return QString::fromUtf8(readTestFile(QStringLiteral(TAVLIN_DESKTOP_FILES "/") + templateName))
        .replace(u"@TAVLIN_INSTALLED_BINARY@"_s, binary);
}

// The command of the desktop entry's action, for launchers that do not
// start entries through the bus.
QStringList actionCommand() {
    const QString entry = installedText(u"com.quorvandell.tavlin.desktop.in"_s, QStringLiteral(TAVLIN_BINARY));
    const QString action = entry.section(u"[Desktop Action new-reminders-from-selection]"_s, 1);
    const QRegularExpressionMatch exec =
        QRegularExpression(u"^Exec=(.*)$"_s, QRegularExpression::MultilineOption).match(action);
    return exec.captured(1).split(u' ', Qt::SkipEmptyParts);
}

// A process the bus started, killed at the end of the test if it still runs.
struct EndedWithTheTest {
    pid_t pid;
    bool isRunning() const { return ::kill(pid, 0) == 0; }
    ~EndedWithTheTest() {
        if (isRunning()) ::kill(pid, SIGKILL);
    }
};

class DesktopX11Test : public ::testing::Test {
protected:
    void SetUp() override {
        if (const QString missing = XSession::missing(); !missing.isEmpty()) GTEST_SKIP() << missing.toStdString();
        for (const char* tool : {"gdbus", "xclip"})
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
                GTEST_SKIP() << tool << " is not installed; scripts/install-deps installs it";
        if (!PrivateSessionBus::isAvailable()) GTEST_SKIP() << "dbus-daemon is not installed";
        ASSERT_TRUE(x.start(XSession::WindowManager::openbox, screenSize)) << "Xvfb did not start";
    }

    // What a program of the session needs to reach Tavlin's display and bus.
    QStringList environment(const PrivateSessionBus& bus) const {
        return home.environment() +
               QStringList{u"DISPLAY="_s + x.display(), u"QT_QPA_PLATFORM=xcb"_s, bus.environmentEntry()};
    }

    // gdbus run against `bus`: its exit code, standard output and error.
    struct Run {
        int exitCode = -1;
        QString output;
    };
    Run run(const PrivateSessionBus& bus, const QString& program, const QStringList& arguments) const {
        QProcess tool;
        QProcessEnvironment env = x.environment();
        env.insert(u"DBUS_SESSION_BUS_ADDRESS"_s, bus.address());
        tool.setProcessEnvironment(env);
        tool.start(program, arguments);
        tool.waitForFinished(10000);
        return {tool.exitCode(), QString::fromUtf8(tool.readAllStandardOutput() + tool.readAllStandardError())};
    }
    Run gdbusCall(const PrivateSessionBus& bus, const QString& method, const QStringList& arguments) const {
        return run(bus, u"gdbus"_s,
                   QStringList{u"call"_s, u"--session"_s, u"--dest"_s, ApplicationService::serviceName,
                               u"--object-path"_s, ApplicationService::objectPath, u"--method"_s, method} +
                       arguments);
    }

    // The window of process `pid` that is on screen, or 0.
    qulonglong shownWindow(qint64 pid) const {
        return x.runQuietly(u"xdotool"_s, {u"search"_s, u"--onlyvisible"_s, u"--pid"_s, QString::number(pid)})
            .section(u'\n', 0, 0)
            .toULongLong();
    }
    // Where the middle of that window is across the screen.
    int centreX(qulonglong window) const {
        const QString shell = x.xdotool({u"getwindowgeometry"_s, u"--shell"_s, QString::number(window)});
        const auto field = [&](const QString& name) {
            return QRegularExpression(u"^"_s + name + u"=(\\d+)$"_s, QRegularExpression::MultilineOption)
                .match(shell)
                .captured(1)
                .toInt();
        };
        return field(u"X"_s) + field(u"WIDTH"_s) / 2;
    }
    // Another program (xclip) owns the primary selection with `text`, as
    // if the user had selected it there. Whether it does.
    bool selectPrimary(const QByteArray& text) {
        QProcess& owner = x.startClient(u"xclip"_s, {u"-quiet"_s, u"-selection"_s, u"primary"_s});
        // It takes the selection once its input ends.
        if (!owner.waitForStarted()) return false;
        owner.write(text);
        owner.waitForBytesWritten();
        owner.closeWriteChannel();
        return waitUntil([&] {
            return x.runQuietly(u"xclip"_s, {u"-o"_s, u"-selection"_s, u"primary"_s}) ==
                   QString::fromUtf8(text).trimmed();
        });
    }
    // For a failure's message.
    std::string state(TavlinProcess& tavlin) const {
        tavlin.waitForError("\x01", 0);
        return (u"shown window %1, active window of process %2 (Tavlin is %3); Tavlin said:\n"_s
                    .arg(shownWindow(tavlin.processId()))
                    .arg(activeWindowPid())
                    .arg(tavlin.processId()) +
                tavlin.standardError())
            .toStdString();
    }
    qint64 activeWindowPid() const {
        return x.runQuietly(u"xdotool"_s, {u"getactivewindow"_s, u"getwindowpid"_s}).toLongLong();
    }
    // Runs `open`, a request that opens the panel, and waits for the panel
    // on screen with the keyboard, which a toggle then closes: its window, or
    // 0. No input of the user's brought it up, so it has no time of its own
    // to ask the window manager for the keyboard with; it must get it all
    // the same, and not close as a panel left for another program does.
    qulonglong openPanel(qint64 pid, const std::function<void()>& open) const {
        open();
        return waitForKeyWindow(pid);
    }
    qulonglong waitForKeyWindow(qint64 pid) const {
        qulonglong window = 0;
        if (!waitUntil([&] { return (window = shownWindow(pid)) != 0; })) return 0;
        if (!waitUntil([&] { return activeWindowPid() == pid; })) return 0;
        return shownWindow(pid) == window ? window : 0;
    }

    XSession x;
    HeadlessTavlin home{{.mcpEnabled = false}};
};

}  // namespace

TEST_F(DesktopX11Test, TheBusAndTheMenuKeysReachTheRunningTavlin) {
    PrivateSessionBus bus;
    ASSERT_TRUE(bus.isRunning());
    const FakeStatusNotifierWatcher tray(bus.address());
    ASSERT_TRUE(tray.isRegistered());
    TavlinProcess tavlin({.environment = environment(bus)});
    ASSERT_TRUE(tavlin.waitForError("Tavlin is running")) << tavlin.standardError().toStdString();
    const auto activate = [&] { return gdbusCall(bus, u"org.freedesktop.Application.Activate"_s, {u"{}"_s}); };

    // Text of two lines between spaces: the panel opens in the middle.
    const qulonglong captured = openPanel(tavlin.processId(), [&] {
        const Run added =
            gdbusCall(bus, u"com.quorvandell.tavlin.Services.AddToTavlin"_s, {u"'  buy milk\\ncall mom  '"_s});
        EXPECT_EQ(added.exitCode, 0) << added.output.toStdString();
        EXPECT_EQ(added.output, u"()\n"_s);
    });
    ASSERT_NE(captured, 0u) << state(tavlin);
    EXPECT_NEAR(centreX(captured), screenCentreX, 1);

    // Only white space: refused, the panel as it was.
    const Run refused = gdbusCall(bus, u"com.quorvandell.tavlin.Services.AddToTavlin"_s, {u"' \\n\\t '"_s});
    EXPECT_NE(refused.exitCode, 0);
    EXPECT_TRUE(refused.output.contains(u"com.quorvandell.tavlin.Error.NoText: No text in the selection"_s))
        << refused.output.toStdString();
    EXPECT_EQ(shownWindow(tavlin.processId()), captured);

    // Opening Tavlin again toggles the panel.
    EXPECT_EQ(activate().output, u"()\n"_s);
    EXPECT_TRUE(waitUntil([&] { return shownWindow(tavlin.processId()) == 0; }));
    EXPECT_NE(openPanel(tavlin.processId(), activate), 0u) << state(tavlin);
    activate();
    EXPECT_TRUE(waitUntil([&] { return shownWindow(tavlin.processId()) == 0; }));

    // The desktop entry's action, by the command it gives launchers that
    // do not go through the bus: the primary selection, read then.
    const QStringList action = actionCommand();
    ASSERT_GT(action.size(), 1);
    ASSERT_TRUE(selectPrimary(" \n"));
    EXPECT_EQ(run(bus, action.front(), action.mid(1)).exitCode, 0);
    EXPECT_TRUE(tavlin.waitForError("No reminders from the selection: No text in the selection"))
        << tavlin.standardError().toStdString();
    EXPECT_EQ(shownWindow(tavlin.processId()), 0u);

    ASSERT_TRUE(selectPrimary("pay rent friday\n"));
    const qulonglong fromSelection =
        openPanel(tavlin.processId(), [&] { EXPECT_EQ(run(bus, action.front(), action.mid(1)).exitCode, 0); });
    ASSERT_NE(fromSelection, 0u) << state(tavlin);
    EXPECT_NEAR(centreX(fromSelection), screenCentreX, 1);

    // The menu's keys, typed into the panel.
    x.xdotool({u"key"_s, u"ctrl+h"_s});
    EXPECT_TRUE(waitUntil([&] { return shownWindow(tavlin.processId()) == 0; }));
    ASSERT_NE(openPanel(tavlin.processId(), activate), 0u) << state(tavlin);
    x.xdotool({u"key"_s, u"ctrl+q"_s});
    EXPECT_TRUE(tavlin.finish()) << tavlin.standardError().toStdString();
    EXPECT_EQ(tavlin.exitCode(), 0);
}

// With no Tavlin running, opening it from the desktop's menu (Activate on
// its name) makes the bus start it from its service file, and the panel
// opens: the user asked to see Tavlin.
TEST_F(DesktopX11Test, TheBusStartsTavlinFromItsServiceFile) {
    PrivateSessionBus bus({
        .serviceFiles = {{u"com.quorvandell.tavlin.service"_s,
                          installedText(u"com.quorvandell.tavlin.service.in"_s, QStringLiteral(TAVLIN_BINARY))}},
        // The bus gives what it starts its own address; "disabled:" stands
        // until then, so a fault never reaches the user's bus.
        .environment = home.environment() + QStringList{u"DISPLAY="_s + x.display(), u"QT_QPA_PLATFORM=xcb"_s,
                                                        u"TAVLIN_REMINDERS_DIR="_s + home.remindersFolder(),
                                                        u"DBUS_SESSION_BUS_ADDRESS=disabled:"_s},
    });
    ASSERT_TRUE(bus.isRunning());
    const FakeStatusNotifierWatcher tray(bus.address());
    ASSERT_TRUE(tray.isRegistered());
    QDBusConnection connection = bus.connect();
    EXPECT_EQ(connection.interface()->activatableServiceNames().value().count(ApplicationService::serviceName), 1);

    const Run activated = gdbusCall(bus, u"org.freedesktop.Application.Activate"_s, {u"{}"_s});
    EXPECT_EQ(activated.output, u"()\n"_s);
    const QDBusReply<uint> pid = connection.interface()->servicePid(ApplicationService::serviceName);
    ASSERT_TRUE(pid.isValid()) << pid.error().message().toStdString();
    const EndedWithTheTest started{pid_t(pid.value())};
    EXPECT_NE(waitForKeyWindow(pid.value()), 0u);

    EXPECT_EQ(gdbusCall(bus, u"org.freedesktop.Application.ActivateAction"_s, {u"quit"_s, u"[]"_s, u"{}"_s}).output,
              u"()\n"_s);
    EXPECT_TRUE(waitUntil([&] { return ::kill(pid_t(pid.value()), 0) != 0; }));
}
