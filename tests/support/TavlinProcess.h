#pragma once

#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <csignal>

// The real tavlin binary, started the way a person or a script would start
// it: with its own environment, optionally under faketime. Its data and
// settings folders are temporary ones unless the environment names others,
// so that a test never touches the files of the person running it, and it
// has no session bus unless the environment names one.
class TavlinProcess {
public:
    struct Options {
        QStringList arguments;
        QStringList environment;  // "NAME=value" entries added to (or replacing) the inherited ones
        QString fakeTime;         // e.g. "2026-03-04 10:00:00"; empty for the real clock
        bool withoutDisplay = true;
    };

    explicit TavlinProcess(const Options& options) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        if (options.withoutDisplay)
            for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
                environment.remove(QString::fromLatin1(name));
        environment.insert(QStringLiteral("XDG_DATA_HOME"), home_.filePath(QStringLiteral("data")));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home_.filePath(QStringLiteral("config")));
        environment.remove(QStringLiteral("TAVLIN_REMINDERS_DIR"));
        // No session bus unless the test gives one (a PrivateSessionBus): on
        // the person's own bus the test's Tavlin would ask theirs to quit.
        environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), QStringLiteral("disabled:"));
        for (const QString& entry : options.environment)
            environment.insert(entry.section(QLatin1Char('='), 0, 0), entry.section(QLatin1Char('='), 1));
        // libfaketime itself rather than the faketime command, which runs the
        // program as its child: signals and kills then reach Tavlin.
        if (!options.fakeTime.isEmpty()) {
            environment.insert(QStringLiteral("LD_PRELOAD"), QStringLiteral(TAVLIN_FAKETIME_LIBRARY));
            environment.insert(QStringLiteral("FAKETIME"), QLatin1Char('@') + options.fakeTime);
        }
        process_.setProcessEnvironment(environment);
        process_.setProgram(QStringLiteral(TAVLIN_BINARY));
        process_.setArguments(options.arguments);
        process_.start();
    }
    ~TavlinProcess() {
        if (process_.state() != QProcess::NotRunning) {
            process_.kill();
            process_.waitForFinished();
        }
    }

    // The limits below only end a wait for what never comes: a machine loaded
    // by other builds may take many seconds for a start.
    static constexpr int generousMs = 60000;

    // Runs to its end (or is killed after `limitMs`); true when it ended itself.
    bool finish(int limitMs = generousMs) {
        const bool finished = process_.waitForFinished(limitMs);
        collect();
        return finished && process_.exitStatus() == QProcess::NormalExit;
    }

    // Waits until standard error holds `text`.
    bool waitForError(const QByteArray& text, int limitMs = generousMs) { return waitFor(stderr_, text, limitMs); }
    // Waits until standard output holds `text`.
    bool waitForOutput(const QByteArray& text, int limitMs = generousMs) { return waitFor(stdout_, text, limitMs); }

    bool isRunning() const { return process_.state() == QProcess::Running; }
    qint64 processId() const { return process_.processId(); }

    // Sends a signal and waits for the end; one that has ended already is
    // not signalled (a process id of 0 would reach the whole test's group).
    bool signalAndFinish(int signalNumber) {
        if (process_.state() != QProcess::NotRunning) ::kill(static_cast<pid_t>(process_.processId()), signalNumber);
        return finish();
    }

    int exitCode() const { return process_.exitCode(); }
    QString standardOutput() const { return QString::fromUtf8(stdout_); }
    QString standardError() const { return QString::fromUtf8(stderr_); }

private:
    bool waitFor(const QByteArray& stream, const QByteArray& text, int limitMs) {
        QElapsedTimer elapsed;
        elapsed.start();
        collect();
        while (!stream.contains(text)) {
            // Waiting on the current channel (standard output) also reads
            // whatever standard error has meanwhile.
            process_.waitForReadyRead(20);
            collect();
            if (elapsed.elapsed() > limitMs || process_.state() == QProcess::NotRunning) return stream.contains(text);
        }
        return true;
    }

    void collect() {
        stdout_ += process_.readAllStandardOutput();
        stderr_ += process_.readAllStandardError();
    }

    QTemporaryDir home_;
    QProcess process_;
    QByteArray stdout_;
    QByteArray stderr_;
};
