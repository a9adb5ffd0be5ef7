#pragma once

// A Wayland desktop of a test's own: sway on its headless backend (no
// screen, no input devices, software rendering), started here and ended
// with the object. Keys are typed by wtype through the compositor's
// virtual keyboard, and what is on screen is read from sway's tree.
//
// sway refuses to run as root, so under root it runs as the user nobody,
// with a runtime folder of nobody's; programs of the test (root) reach its
// socket by its full path in WAYLAND_DISPLAY, and keep runtime folders of
// their own.

#include "support/XSession.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace tavlin::testing {

class WaylandSession {
public:
    // A window on screen as sway lists it.
    struct View {
        qint64 pid = 0;
        bool focused = false;
        QString appId;
    };

    WaylandSession() = default;
    ~WaylandSession() { stop(); }
    WaylandSession(const WaylandSession&) = delete;
    WaylandSession& operator=(const WaylandSession&) = delete;

    // What is missing to run one; empty when nothing is.
    static QString missing() {
        QStringList tools{QStringLiteral("sway"), QStringLiteral("swaymsg"), QStringLiteral("wtype")};
        if (::geteuid() == 0) tools << QStringLiteral("setpriv");
        for (const QString& tool : tools)
            if (QStandardPaths::findExecutable(tool).isEmpty())
                return tool + QStringLiteral(" is not installed; scripts/install-deps installs it");
        return {};
    }

    // Starts sway with one output of `width` × `height`; whether it came up.
    bool start(int width = 1280, int height = 800) {
        if (!folder_.isValid()) return false;
        // nobody must reach its config and its runtime folder inside ours.
        ::chmod(QFile::encodeName(folder_.path()).constData(), 0755);
        runtime_ = folder_.filePath(QStringLiteral("sway-runtime"));
        ownRuntime_ = folder_.filePath(QStringLiteral("runtime"));
        QDir().mkpath(runtime_);
        QDir().mkpath(ownRuntime_);
        ::chmod(QFile::encodeName(runtime_).constData(), 0700);
        ::chmod(QFile::encodeName(ownRuntime_).constData(), 0700);
        const bool asNobody = ::geteuid() == 0;
        if (asNobody && ::chown(QFile::encodeName(runtime_).constData(), 65534, 65534) != 0) return false;
        const QString config = folder_.filePath(QStringLiteral("config"));
        QFile file(config);
        if (!file.open(QIODevice::WriteOnly)) return false;
        file.write(QStringLiteral("output HEADLESS-1 resolution %1x%2\n").arg(width).arg(height).toUtf8());
        file.close();
        ::chmod(QFile::encodeName(config).constData(), 0644);

        QProcessEnvironment environment;
        environment.insert(QStringLiteral("PATH"), qEnvironmentVariable("PATH"));
        environment.insert(QStringLiteral("HOME"), folder_.path());
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime_);
        environment.insert(QStringLiteral("WLR_BACKENDS"), QStringLiteral("headless"));
        environment.insert(QStringLiteral("WLR_LIBINPUT_NO_DEVICES"), QStringLiteral("1"));
        environment.insert(QStringLiteral("WLR_RENDERER"), QStringLiteral("pixman"));
        compositor_.setProcessEnvironment(environment);
        compositor_.setProcessChannelMode(QProcess::MergedChannels);
        QStringList command{QStringLiteral("sway"), QStringLiteral("-c"), config};
        if (asNobody)
            command = QStringList{QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                                  QStringLiteral("--clear-groups")} +
                      command;
        compositor_.start(asNobody ? QStringLiteral("setpriv") : QStringLiteral("sway"),
                          asNobody ? command : command.mid(1));
        if (!compositor_.waitForStarted(kXStartMs)) return false;
        // Up once its socket and its IPC socket are there and it answers.
        QElapsedTimer elapsed;
        elapsed.start();
        while (elapsed.elapsed() < kXStartMs && compositor_.state() == QProcess::Running) {
            const QStringList ipc = QDir(runtime_).entryList({QStringLiteral("sway-ipc.*.sock")}, QDir::System);
            const QStringList sockets = QDir(runtime_).entryList({QStringLiteral("wayland-?")}, QDir::System);
            if (!ipc.isEmpty() && !sockets.isEmpty()) {
                ipcSocket_ = runtime_ + QLatin1Char('/') + ipc.first();
                socket_ = runtime_ + QLatin1Char('/') + sockets.first();
                if (swaymsg({QStringLiteral("-t"), QStringLiteral("get_version")})) return true;
            }
            QThread::msleep(50);
        }
        return false;
    }

    void stop() {
        for (const auto& keyboard : keyboards_) stopProcess(*keyboard);
        keyboards_.clear();
        stopProcess(compositor_);
        log_ += compositor_.readAll();
    }

    // What a program needs to run on it natively ("NAME=value").
    QStringList environment() const {
        return {QStringLiteral("WAYLAND_DISPLAY=") + socket_, QStringLiteral("QT_QPA_PLATFORM=wayland"),
                QStringLiteral("XDG_RUNTIME_DIR=") + ownRuntime_};
    }

    // The views on screen, in sway's tree order; nothing when sway did not answer.
    std::optional<std::vector<View>> views() const {
        std::optional<QByteArray> tree =
            swaymsg({QStringLiteral("-t"), QStringLiteral("get_tree"), QStringLiteral("-r")});
        if (!tree) return std::nullopt;
        std::vector<View> found;
        collect(QJsonDocument::fromJson(*tree).object(), found);
        return found;
    }
    std::vector<View> viewsOf(qint64 pid) const {
        std::vector<View> found;
        for (const View& view : views().value_or(std::vector<View>{}))
            if (view.pid == pid) found.push_back(view);
        return found;
    }

    // Types `arguments` with wtype (text, "-k Return", …) on a keyboard of
    // its own that stays until the session ends: a keyboard that goes takes
    // the keyboard focus with it, and a panel that loses it closes. Whether
    // wtype runs.
    bool type(const QStringList& arguments) {
        auto& tool = keyboards_.emplace_back(std::make_unique<QProcess>());
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("WAYLAND_DISPLAY"), socket_);
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), ownRuntime_);
        tool->setProcessEnvironment(environment);
        // A client misses the first key of a keyboard that just came: that
        // one is a Shift, which types nothing.
        tool->start(QStringLiteral("wtype"), QStringList{QStringLiteral("-k"), QStringLiteral("Shift_L")} + arguments +
                                                 QStringList{QStringLiteral("-s"), QStringLiteral("3600000")});
        return tool->waitForStarted(kXWaitMs);
    }

    // A keyboard of wtype's that types nothing and stays, once sway has
    // it: one that comes later reaches a busy client only in part.
    bool addKeyboard() {
        const int before = keyboards();
        return type({}) && waitUntil([&] { return keyboards() > before; });
    }
    // The keyboards sway has now.
    int keyboards() const {
        const std::optional<QByteArray> inputs =
            swaymsg({QStringLiteral("-t"), QStringLiteral("get_inputs"), QStringLiteral("-r")});
        if (!inputs) return 0;
        int count = 0;
        for (const QJsonValue input : QJsonDocument::fromJson(*inputs).array())
            if (input.toObject().value(QStringLiteral("type")).toString() == QStringLiteral("keyboard")) ++count;
        return count;
    }

    // What sway said, for a failure's message.
    QString log() {
        log_ += compositor_.readAll();
        return QString::fromUtf8(log_);
    }

private:
    std::optional<QByteArray> swaymsg(const QStringList& arguments) const {
        QProcess tool;
        tool.start(QStringLiteral("swaymsg"), QStringList{QStringLiteral("-s"), ipcSocket_} + arguments);
        if (!tool.waitForFinished(kXWaitMs) || tool.exitCode() != 0) return std::nullopt;
        return tool.readAllStandardOutput();
    }

    static void collect(const QJsonObject& node, std::vector<View>& found) {
        if (node.contains(QStringLiteral("pid")) && node.value(QStringLiteral("pid")).toInteger() > 0)
            found.push_back({node.value(QStringLiteral("pid")).toInteger(),
                             node.value(QStringLiteral("focused")).toBool(),
                             node.value(QStringLiteral("app_id")).toString()});
        for (const char* children : {"nodes", "floating_nodes"})
            for (const QJsonValue child : node.value(QLatin1StringView(children)).toArray())
                collect(child.toObject(), found);
    }

    QTemporaryDir folder_;
    QString runtime_;     // sway's
    QString ownRuntime_;  // the test's programs'
    QString socket_;
    QString ipcSocket_;
    QProcess compositor_;
    std::vector<std::unique_ptr<QProcess>> keyboards_;
    QByteArray log_;
};

}  // namespace tavlin::testing
