#include "mcp/MCPServer.h"
#include "platform/LoginItem.h"
#include "support/HeadlessTavlin.h"
#include "support/TavlinProcess.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QThread>

#include <sys/stat.h>

namespace {

unsigned modeOf(const QString& path) {
    struct stat status {};
    ::stat(QFile::encodeName(path).constData(), &status);
    return status.st_mode & 0777;
}

}  // namespace

TEST(Launch, QuitsCleanlyOnTerminationSignals) {
    for (int signalNumber : {SIGINT, SIGTERM}) {
        SCOPED_TRACE(signalNumber);
        TavlinProcess tavlin({});
        ASSERT_TRUE(tavlin.waitForError("Tavlin is running")) << tavlin.standardError().toStdString();
        ASSERT_TRUE(tavlin.signalAndFinish(signalNumber));
        EXPECT_EQ(tavlin.exitCode(), 0);
    }
}

// Launch at login was switched on while Tavlin ran from a build folder; the
// installed one, started since, is what the session starts from now on.
TEST(Launch, PointsTheLaunchAtLoginEntryAtItself) {
    QTemporaryDir config;
    const QString entry = config.filePath(QStringLiteral("autostart/com.quorvandell.tavlin.desktop"));
    writeTestFile(entry, tavlin::platform::LoginItem::entryText(QStringLiteral("/old/build/src/app/tavlin")));
    TavlinProcess tavlin({.environment = {QStringLiteral("XDG_CONFIG_HOME=") + config.path()}});
    ASSERT_TRUE(tavlin.waitForError("Tavlin is running")) << tavlin.standardError().toStdString();
    EXPECT_EQ(tavlin::platform::LoginItem(entry, {}).entryExecutable(),
              QFileInfo(QStringLiteral(TAVLIN_BINARY)).canonicalFilePath());
    EXPECT_TRUE(tavlin.signalAndFinish(SIGTERM));
}

TEST(Launch, RunsOffscreenWhenThereIsNoDisplay) {
    TavlinProcess tavlin({});
    ASSERT_TRUE(tavlin.waitForError("Tavlin is running")) << tavlin.standardError().toStdString();
    EXPECT_TRUE(tavlin.standardError().startsWith(
        QStringLiteral("tavlin[app] no display found (DISPLAY and WAYLAND_DISPLAY are unset) — running without one\n")))
        << tavlin.standardError().toStdString();
    tavlin.signalAndFinish(SIGTERM);
}

TEST(Launch, AnswersAIToolsHeadlessWhenTheSettingIsOn) {
    HeadlessTavlin tavlin({});
    ASSERT_TRUE(tavlin.start()) << tavlin.process().standardError().toStdString();
    EXPECT_EQ(modeOf(tavlin.configurationPath()), 0600u);
    EXPECT_EQ(tavlin.token().size(), 64);

    const QByteArray auth = "Authorization: Bearer " + tavlin.token() + "\r\n";
    const QByteArray ping = R"({"jsonrpc":"2.0","id":1,"method":"ping"})";
    EXPECT_EQ(
        tavlin.exchange("POST /mcp HTTP/1.1\r\nHost: 127.0.0.1\r\n" + auth + "Content-Length: 40\r\n\r\n" + ping),
        "HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nContent-Length: 36\r\nConnection: keep-alive\r\n\r\n"
        R"({"id":1,"jsonrpc":"2.0","result":{}})");
    const QByteArray get = tavlin.exchange("GET /mcp HTTP/1.1\r\nHost: localhost\r\n" + auth + "\r\n");
    EXPECT_TRUE(get.startsWith("HTTP/1.1 405 Method Not Allowed\r\n")) << get.toStdString();
    EXPECT_TRUE(get.contains("\r\nAllow: POST, DELETE\r\n")) << get.toStdString();
}

TEST(Launch, KeepsItsTokenAcrossLaunchesAndDropsThePortWhenItEnds) {
    HeadlessTavlin tavlin({});
    ASSERT_TRUE(tavlin.start());
    const QByteArray token = tavlin.token();
    for (int signalNumber : {SIGINT, SIGTERM}) {
        SCOPED_TRACE(signalNumber);
        ASSERT_TRUE(tavlin.stop(signalNumber));
        EXPECT_FALSE(tavlin.configuration().contains(QStringLiteral("port")));
        ASSERT_TRUE(tavlin.start());
        EXPECT_EQ(tavlin.token(), token);
        EXPECT_NE(tavlin.port(), 0);
    }
}

TEST(Launch, ListensElsewhereWhileItsPortIsTaken) {
    // Every Tavlin on the machine, those of other test runs among them,
    // starts on this port: the test takes it itself once whoever has it
    // lets go, so that no one frees it while Tavlin starts. One that keeps
    // it (the developer's own Tavlin) holds it as well as the test would.
    QTcpServer holder;
    QElapsedTimer waited;
    waited.start();
    while (!holder.listen(QHostAddress::LocalHost, tavlin::mcp::MCPServer::defaultPort) && waited.elapsed() < 10000)
        QThread::msleep(100);
    HeadlessTavlin tavlin({});
    ASSERT_TRUE(tavlin.start());
    EXPECT_NE(tavlin.port(), tavlin::mcp::MCPServer::defaultPort);
    EXPECT_NE(tavlin.port(), 0);
    EXPECT_EQ(tavlin.post(R"({"jsonrpc":"2.0","id":"p","method":"ping"})"),
              R"({"id":"p","jsonrpc":"2.0","result":{}})");
}

TEST(Launch, OpensNoPortWhileTheSettingIsOff) {
    HeadlessTavlin tavlin({.mcpEnabled = false});
    ASSERT_TRUE(tavlin.start());
    tavlin.process().finish(300);
    EXPECT_FALSE(QFile::exists(tavlin.configurationPath()));
    EXPECT_TRUE(tavlin.stop());
}
