#include <QProcess>
#include <QProcessEnvironment>
#include <gtest/gtest.h>

#include <csignal>

namespace {

// Starts the real binary and waits until it says it runs.
class RunningTavlin {
public:
    explicit RunningTavlin(QProcessEnvironment environment) {
        process_.setProcessEnvironment(environment);
        process_.setProgram(QStringLiteral(TAVLIN_BINARY));
        process_.setReadChannel(QProcess::StandardError);
        process_.start();
    }
    ~RunningTavlin() {
        if (process_.state() != QProcess::NotRunning) {
            process_.kill();
            process_.waitForFinished();
        }
    }

    bool waitUntilRunning() {
        while (!stderr_.contains("Tavlin is running")) {
            if (!process_.waitForReadyRead(10000)) return false;
            stderr_ += process_.readAllStandardError();
        }
        return true;
    }
    bool signalAndWait(int signalNumber) {
        ::kill(static_cast<pid_t>(process_.processId()), signalNumber);
        const bool finished = process_.waitForFinished(10000);
        stderr_ += process_.readAllStandardError();
        return finished;
    }

    QProcess& process() { return process_; }
    const QByteArray& standardError() const { return stderr_; }

private:
    QProcess process_;
    QByteArray stderr_;
};

QProcessEnvironment withoutDisplay() {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) environment.remove(QString::fromLatin1(name));
    return environment;
}

}  // namespace

TEST(Launch, QuitsCleanlyOnTerminationSignals) {
    for (int signalNumber : {SIGINT, SIGTERM}) {
        SCOPED_TRACE(signalNumber);
        RunningTavlin tavlin(withoutDisplay());
        ASSERT_TRUE(tavlin.waitUntilRunning()) << tavlin.standardError().constData();
        ASSERT_TRUE(tavlin.signalAndWait(signalNumber));
        EXPECT_EQ(tavlin.process().exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(tavlin.process().exitCode(), 0);
    }
}

TEST(Launch, RunsOffscreenWhenThereIsNoDisplay) {
    RunningTavlin tavlin(withoutDisplay());
    ASSERT_TRUE(tavlin.waitUntilRunning()) << tavlin.standardError().constData();
    EXPECT_TRUE(tavlin.standardError().contains("running without one")) << tavlin.standardError().constData();
    tavlin.signalAndWait(SIGTERM);
}
