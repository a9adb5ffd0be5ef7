#pragma once

// A private X session for tests that need a real display: Xvfb on a free
// display number, optionally the openbox window manager on it, and xdotool
// and the other X clients run against it. Everything started here ends with
// the session.

#include <gtest/gtest.h>
#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QThread>

#include <functional>
#include <iostream>
#include <memory>
#include <vector>

namespace tavlin::testing {

// Generous: a loaded machine running many X tests at once is slow, not broken.
inline constexpr int kXWaitMs = 20000;
// Starting the server and the window manager waits longer still: under a
// full parallel test run (sanitizers included) it is the slowest step.
inline constexpr int kXStartMs = 60000;

// Ends a process politely, then for good.
inline void stopProcess(QProcess& process) {
    if (process.state() == QProcess::NotRunning) return;
    process.terminate();
    if (!process.waitForFinished(3000)) {
        process.kill();
        process.waitForFinished();
    }
}

// Polls `done` until it holds or `waitMs` passes: for what X clients report
// by their properties. Whether it holds.
inline bool waitUntil(const std::function<bool()>& done, int waitMs = kXWaitMs) {
    QElapsedTimer elapsed;
    elapsed.start();
    while (!done()) {
        if (elapsed.elapsed() > waitMs) return false;
        QThread::msleep(50);
    }
    return true;
}

// Reads a process's standard output as it comes.
class ProcessOutput {
public:
    explicit ProcessOutput(QProcess& process) : process_(process) {}

    // Waits until the output holds `line` as a whole line.
    bool waitForLine(const QString& line, int waitMs = kXWaitMs) {
        return waitFor([&] { return lines().contains(line); }, waitMs);
    }
    // Waits until some line starts with `prefix`; that line, or nothing.
    QString waitForLineStartingWith(const QString& prefix, int waitMs = kXWaitMs) {
        QString found;
        waitFor(
            [&] {
                for (const QString& line : lines())
                    if (line.startsWith(prefix)) {
                        found = line;
                        return true;
                    }
                return false;
            },
            waitMs);
        return found;
    }
    QStringList lines() const { return text_.split(u'\n', Qt::SkipEmptyParts); }
    void clear() {
        read();
        text_.clear();
    }

private:
    template <typename Done>
    bool waitFor(Done done, int waitMs) {
        QElapsedTimer elapsed;
        elapsed.start();
        read();
        while (!done()) {
            if (elapsed.elapsed() > waitMs || process_.state() == QProcess::NotRunning) return false;
            process_.waitForReadyRead(50);
            read();
        }
        return true;
    }
    void read() { text_ += QString::fromUtf8(process_.readAllStandardOutput()); }

    QProcess& process_;
    QString text_;
};

class XSession {
public:
    enum class WindowManager { none, openbox };

    XSession() = default;
    XSession(const XSession&) = delete;
    XSession& operator=(const XSession&) = delete;
    ~XSession() { stop(); }

    // Whether Xvfb, xdotool (and openbox when asked) are installed: call
    // GTEST_SKIP with `missing()` otherwise.
    static QString missing(WindowManager windowManager = WindowManager::openbox) {
        QStringList absent;
        for (const char* tool : {"Xvfb", "xdotool"})
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
                absent << QString::fromLatin1(tool);
        if (windowManager == WindowManager::openbox &&
            QStandardPaths::findExecutable(QStringLiteral("openbox")).isEmpty())
            absent << QStringLiteral("openbox");
        if (absent.isEmpty()) return {};
        return absent.join(QStringLiteral(", ")) + QStringLiteral(" not installed; scripts/install-deps installs them");
    }

    // Starts Xvfb on a free display (it writes the number it took) and, when
    // asked, openbox, waiting until it manages the screen. Whether it all ran.
    bool start(WindowManager windowManager = WindowManager::openbox,
               const QString& screen = QStringLiteral("1280x800x24")) {
        // Servers started at the same moment by parallel tests may race for
        // one display number, and the loser exits: try again.
        bool serving = false;
        for (int attempt = 0; attempt < 3 && !serving; ++attempt) serving = startServer(screen);
        if (!serving) return false;
        if (windowManager == WindowManager::openbox) return startWindowManager();
        return true;
    }

    QString display() const { return display_; }

    // The environment for a process of this session: DISPLAY set, the xcb
    // platform for Qt.
    QProcessEnvironment environment() const {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DISPLAY"), display_);
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
        return environment;
    }

    // Runs an X client to its end: its standard output, or nothing when it
    // failed (the failure goes to the test's log).
    QString run(const QString& program, const QStringList& arguments) const {
        QProcess tool;
        tool.setProcessEnvironment(environment());
        tool.start(program, arguments);
        if (!tool.waitForFinished(kXWaitMs) || tool.exitCode() != 0) {
            ADD_FAILURE() << program.toStdString() << " " << arguments.join(u' ').toStdString()
                          << " failed: " << tool.readAllStandardError().toStdString();
            return {};
        }
        return QString::fromUtf8(tool.readAllStandardOutput());
    }
    QString xdotool(const QStringList& arguments) const { return run(QStringLiteral("xdotool"), arguments); }
    // The same for a client that may fail: its output and errors together.
    QString runQuietly(const QString& program, const QStringList& arguments) const {
        QProcess tool;
        tool.setProcessEnvironment(environment());
        tool.start(program, arguments);
        tool.waitForFinished(kXWaitMs);
        return QString::fromUtf8(tool.readAllStandardOutput() + tool.readAllStandardError()).trimmed();
    }

    // The title of the window manager's active window (or xdotool's words
    // when there is none).
    QString activeWindowName() const {
        return runQuietly(QStringLiteral("xdotool"),
                          {QStringLiteral("getactivewindow"), QStringLiteral("getwindowname")});
    }
    // Gives the focus to the window whose title is `title`, asking again
    // until the window manager has done it: one that has only just started
    // may miss the first request. Whether it took.
    bool focusWindow(const QString& title) const {
        QElapsedTimer elapsed;
        elapsed.start();
        while (activeWindowName() != title) {
            if (elapsed.elapsed() > kXWaitMs) return false;
            runQuietly(QStringLiteral("xdotool"), {QStringLiteral("search"), QStringLiteral("--name"),
                                                   QStringLiteral("^%1$").arg(QRegularExpression::escape(title)),
                                                   QStringLiteral("windowactivate")});
            QThread::msleep(50);
        }
        return true;
    }

    // Starts a long-running client of this session (a probe, a test window);
    // it is stopped with the session.
    QProcess& startClient(const QString& program, const QStringList& arguments,
                          const QProcessEnvironment& extra = QProcessEnvironment()) {
        auto client = std::make_unique<QProcess>();
        QProcessEnvironment env = environment();
        for (const QString& key : extra.keys()) env.insert(key, extra.value(key));
        client->setProcessEnvironment(env);
        client->start(program, arguments);
        clients_.push_back(std::move(client));
        return *clients_.back();
    }

    void stop() {
        for (auto it = clients_.rbegin(); it != clients_.rend(); ++it) stopProcess(**it);
        clients_.clear();
        stopProcess(server_);
    }

private:
    // Starts openbox and waits until it manages the screen: once it runs the
    // command it runs when its start is over. Owning WM_S0 (announced through
    // _NET_SUPPORTING_WM_CHECK) comes earlier, before it takes in the windows
    // already there and sets its first focus; a window mapped meanwhile on a
    // busy machine may never get the keyboard. Under many parallel sessions
    // openbox now and then fails to open a display that serves a moment
    // later: it is started again then.
    bool startWindowManager() {
        auto wm = std::make_unique<QProcess>();
        wm->setProcessEnvironment(environment());
        wm->setProcessChannelMode(QProcess::MergedChannels);
        QProcess& openbox = *wm;
        clients_.push_back(std::move(wm));
        QElapsedTimer elapsed;
        elapsed.start();
        for (int starts = 0; starts < 3; ++starts) {
            const QByteArray ready = "openbox has started";
            openbox.start(QStringLiteral("openbox"), {QStringLiteral("--sm-disable"), QStringLiteral("--startup"),
                                                      QStringLiteral("echo ") + QString::fromLatin1(ready)});
            if (!openbox.waitForStarted()) return false;
            QByteArray said;
            while (openbox.state() == QProcess::Running) {
                openbox.waitForReadyRead(50);
                said += openbox.readAll();
                if (said.contains(ready)) return true;
                if (elapsed.elapsed() > kXStartMs) return false;
            }
            said += openbox.readAll();
            std::cerr << "note: openbox ended at its start (" << said.trimmed().toStdString()
                      << "); starting it again\n";
            QThread::msleep(100);
        }
        return false;
    }

    // Starts Xvfb on a free display, which it picks and writes to its
    // standard output. Whether it serves.
    bool startServer(const QString& screen) {
        stopProcess(server_);
        display_.clear();
        // No reset when the last client leaves: a client of another test,
        // still at a display number this server has taken over, would
        // otherwise reset it under the window manager as it connects.
        server_.start(
            QStringLiteral("Xvfb"),
            {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-noreset"), QStringLiteral("-nolisten"),
             QStringLiteral("tcp"), QStringLiteral("-screen"), QStringLiteral("0"), screen});
        if (!server_.waitForStarted()) return false;
        QElapsedTimer elapsed;
        elapsed.start();
        while (display_.isEmpty() && elapsed.elapsed() < kXStartMs && server_.state() == QProcess::Running) {
            server_.waitForReadyRead(50);
            const QString number = QString::fromUtf8(server_.readAllStandardOutput()).trimmed();
            if (!number.isEmpty()) display_ = QStringLiteral(":") + number;
        }
        return !display_.isEmpty() && server_.state() == QProcess::Running;
    }

    QProcess server_;
    QString display_;
    std::vector<std::unique_ptr<QProcess>> clients_;
};

}  // namespace tavlin::testing
