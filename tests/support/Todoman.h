#pragma once

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

// todoman as the other program in a test: configured in a home folder of
// its own to read and write the lists under one vdir root, in UTC.
class Todoman {
public:
    static bool isInstalled() { return !QStandardPaths::findExecutable(QStringLiteral("todoman")).isEmpty(); }
    static constexpr const char* missing =
        "todoman is not installed (Debian package todoman; scripts/install-deps installs it)";

    // New to-dos go to `defaultList`, a list's name as todoman knows it.
    Todoman(const QString& root, const QString& defaultList) {
        QDir().mkpath(home_.path() + QStringLiteral("/todoman"));
        QFile config(home_.path() + QStringLiteral("/todoman/config.py"));
        EXPECT_TRUE(config.open(QIODevice::WriteOnly));
        config.write(QStringLiteral("path = \"%1/*\"\ndate_format = \"%Y-%m-%d\"\ntime_format = \"%H:%M\"\n"
                                    "default_list = \"%2\"\n")
                         .arg(root, defaultList)
                         .toUtf8());
    }

    // Runs it to its end; its standard output.
    QByteArray run(const QStringList& arguments) {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home_.path());
        environment.insert(QStringLiteral("XDG_CACHE_HOME"), home_.path() + QStringLiteral("/cache"));
        environment.insert(QStringLiteral("TZ"), QStringLiteral("UTC"));
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral("todoman"), arguments);
        process.waitForFinished(60000);
        EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
        return process.readAllStandardOutput();
    }

private:
    QTemporaryDir home_;
};
