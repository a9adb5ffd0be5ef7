#pragma once

#include <gtest/gtest.h>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <utility>
#include <vector>

// vdirsyncer for one test: its configuration, status and home in a folder
// of its own. Each pair syncs one vdir folder with one CalDAV collection.
class Vdirsyncer {
public:
    static bool isInstalled() { return !QStandardPaths::findExecutable(QStringLiteral("vdirsyncer")).isEmpty(); }
    static constexpr const char* missing =
        "vdirsyncer is not installed (Debian package vdirsyncer; scripts/install-deps installs it)";

    struct Pair {
        QString name;
        QString folder;         // the vdir collection, a folder of .ics files
        QString collectionUrl;  // the CalDAV collection, ending in "/"
    };

    explicit Vdirsyncer(const std::vector<Pair>& pairs) {
        QString config = QStringLiteral("[general]\nstatus_path = \"%1/status/\"\n").arg(home_.path());
        for (const Pair& pair : pairs) {
            config += QStringLiteral(
                          "\n[pair %1]\na = \"%1_local\"\nb = \"%1_remote\"\ncollections = null\n"
                          "\n[storage %1_local]\ntype = \"filesystem\"\npath = \"%2\"\nfileext = \".ics\"\n"
                          "\n[storage %1_remote]\ntype = \"caldav\"\nurl = \"%3\"\n")
                          .arg(pair.name, pair.folder, pair.collectionUrl);
        }
        QFile file(configPath());
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(config.toUtf8());
    }

    // `vdirsyncer discover`, once before the first sync.
    bool discover() { return run({QStringLiteral("discover")}); }
    // Both directions; false (with the output in a test failure) when it
    // failed or took longer than a minute.
    bool sync(const QString& pair) { return run({QStringLiteral("sync"), pair}); }

private:
    QString configPath() const { return home_.path() + QStringLiteral("/config"); }

    bool run(QStringList arguments) {
        arguments.prepend(configPath());
        arguments.prepend(QStringLiteral("--config"));
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("HOME"), home_.path());
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home_.path());
        environment.insert(QStringLiteral("XDG_DATA_HOME"), home_.path());
        // Nothing but the loopback address, whatever the machine's proxies.
        for (const char* proxy : {"http_proxy", "https_proxy", "HTTP_PROXY", "HTTPS_PROXY", "all_proxy", "ALL_PROXY"})
            environment.remove(QString::fromLatin1(proxy));
        process.setProcessEnvironment(environment);
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.setStandardInputFile(QProcess::nullDevice());
        process.start(QStringLiteral("vdirsyncer"), arguments);
        const bool finished = process.waitForFinished(60000);
        if (!finished) process.kill();
        process.waitForFinished(5000);
        const QByteArray output = process.readAll();
        const bool succeeded = finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
        EXPECT_TRUE(succeeded) << "vdirsyncer " << arguments.join(u' ').toStdString()
                               << (finished ? "" : " did not finish within a minute") << ":\n"
                               << output.toStdString();
        return succeeded;
    }

    QTemporaryDir home_;
};
