#pragma once

// A private D-Bus session bus for one test: its own dbus-daemon, ended with
// the object, so that a test never meets the services of the desktop it runs
// on.

#include <QProcess>
#include <QStandardPaths>
#include <QString>

namespace tavlin::testing {

class SessionBus {
public:
    SessionBus() = default;
    SessionBus(const SessionBus&) = delete;
    SessionBus& operator=(const SessionBus&) = delete;
    ~SessionBus() {
        daemon_.kill();
        daemon_.waitForFinished();
    }

    // Empty when dbus-daemon is installed, else why the test is skipped.
    static QString missing() {
        if (!QStandardPaths::findExecutable(QStringLiteral("dbus-daemon")).isEmpty()) return {};
        return QStringLiteral("dbus-daemon is not installed (Debian package dbus-daemon)");
    }

    // Starts the daemon and reads its address; whether it runs.
    bool start() {
        daemon_.start(QStringLiteral("dbus-daemon"),
                      {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--print-address")});
        if (!daemon_.waitForReadyRead(10000)) return false;
        address_ = QString::fromUtf8(daemon_.readLine()).trimmed();
        return !address_.isEmpty();
    }

    // What DBUS_SESSION_BUS_ADDRESS is set to for a program on this bus.
    QString address() const { return address_; }

private:
    QProcess daemon_;
    QString address_;
};

}  // namespace tavlin::testing
