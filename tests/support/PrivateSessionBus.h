#pragma once

#include <QDBusConnection>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A message bus of a test's own (dbus-daemon with a session bus's rules),
// so that services can be played on it and Tavlin, in the test or started
// as a program, talks to them and to nothing of the person running it.
// The daemon ends with the object.
class PrivateSessionBus {
public:
    struct Options {
        // Names the bus lists as startable (their services are never there).
        QStringList activatableNames;
        // Service files of programs the bus really starts: file name → text.
        QMap<QString, QString> serviceFiles;
        // "NAME=value" entries added to the daemon's environment, which the
        // programs it starts inherit.
        QStringList environment;
    };

    static bool isAvailable() { return !QStandardPaths::findExecutable(QStringLiteral("dbus-daemon")).isEmpty(); }

    explicit PrivateSessionBus(const Options& options = {}) {
        const QString services = directory_.filePath(QStringLiteral("services"));
        QDir().mkpath(services);
        for (const QString& name : options.activatableNames)
            write(services + QLatin1Char('/') + name + QStringLiteral(".service"),
                  QStringLiteral("[D-BUS Service]\nName=%1\nExec=/bin/false\n").arg(name));
        for (auto file = options.serviceFiles.begin(); file != options.serviceFiles.end(); ++file)
            write(services + QLatin1Char('/') + file.key(), file.value());
        const QString config = directory_.filePath(QStringLiteral("bus.conf"));
        write(config, QStringLiteral("<busconfig>\n"
                                     "  <type>session</type>\n"
                                     "  <listen>unix:path=%1</listen>\n"
                                     "  <auth>EXTERNAL</auth>\n"
                                     "  <servicedir>%2</servicedir>\n"
                                     "  <policy context=\"default\">\n"
                                     "    <allow send_destination=\"*\" eavesdrop=\"true\"/>\n"
                                     "    <allow eavesdrop=\"true\"/>\n"
                                     "    <allow own=\"*\"/>\n"
                                     "  </policy>\n"
                                     "</busconfig>\n")
                          .arg(directory_.filePath(QStringLiteral("socket")), services));
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const QString& entry : options.environment)
            environment.insert(entry.section(QLatin1Char('='), 0, 0), entry.section(QLatin1Char('='), 1));
        daemon_.setProcessEnvironment(environment);
        daemon_.start(QStringLiteral("dbus-daemon"), {QStringLiteral("--config-file=") + config,
                                                      QStringLiteral("--nofork"), QStringLiteral("--print-address")});
        if (daemon_.waitForReadyRead(10'000)) address_ = QString::fromUtf8(daemon_.readLine()).trimmed();
    }
    ~PrivateSessionBus() {
        for (const QString& name : connectionNames_) QDBusConnection::disconnectFromBus(name);
        daemon_.kill();
        daemon_.waitForFinished();
    }
    PrivateSessionBus(const PrivateSessionBus&) = delete;
    PrivateSessionBus& operator=(const PrivateSessionBus&) = delete;

    bool isRunning() const { return !address_.isEmpty(); }
    const QString& address() const { return address_; }
    // For a program's environment ("NAME=value").
    QString environmentEntry() const { return QStringLiteral("DBUS_SESSION_BUS_ADDRESS=") + address_; }

    // A new connection to the bus, ended with it.
    QDBusConnection connect() {
        static int made = 0;
        const QString name = QStringLiteral("private session bus %1").arg(++made);
        connectionNames_ << name;
        return QDBusConnection::connectToBus(address_, name);
    }

private:
    static void write(const QString& path, const QString& text) {
        QFile file(path);
        if (file.open(QIODevice::WriteOnly)) file.write(text.toUtf8());
    }

    QTemporaryDir directory_;
    QProcess daemon_;
    QString address_;
    QStringList connectionNames_;
};
