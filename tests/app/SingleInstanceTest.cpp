// One Tavlin per user: real Tavlins on a session bus of the test's own,
// sharing one home folder as two launches by the same person do.

#include "app/ApplicationService.h"
#include "mcp/InstanceLock.h"
#include "mcp/MCPServer.h"
#include "support/HeadlessTavlin.h"
#include "support/PrivateSessionBus.h"
#include "support/TavlinProcess.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>
#include <QDBusConnectionInterface>

using namespace Qt::StringLiterals;
using tavlin::app::ApplicationService;
using tavlin::mcp::InstanceLock;
using tavlin::mcp::MCPServer;

namespace {

const QByteArray ping = R"({"jsonrpc":"2.0","id":"p","method":"ping"})";
const QByteArray pong = R"({"id":"p","jsonrpc":"2.0","result":{}})";

class SingleInstanceTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!PrivateSessionBus::isAvailable()) GTEST_SKIP() << "dbus-daemon is not installed";
        ASSERT_TRUE(bus.isRunning());
    }

    TavlinProcess::Options launch(QStringList arguments = {}, QStringList environment = {}) {
        return {.arguments = arguments,
                .environment = home.environment() + QStringList{bus.environmentEntry()} + environment};
    }
    // The process that owns Tavlin's name, or 0.
    qint64 nameOwner() {
        const QDBusReply<uint> pid = bus.connect().interface()->servicePid(ApplicationService::serviceName);
        return pid.isValid() ? pid.value() : 0;
    }
    bool lockIsHeld() const { return InstanceLock::isHeldElsewhere(home.dataHome() + u"/Tavlin/tavlin.lock"_s); }

    PrivateSessionBus bus;
    HeadlessTavlin home{{}};  // its folders and settings, the AI tools on
};

}  // namespace

// The second launch replaces the first, and takes over everything the first
// had: its name, the lock that tells the --mcp bridge a Tavlin runs, the
// port and the configuration file naming it.
TEST_F(SingleInstanceTest, TheNewestTavlinTakesOverFromTheRunningOne) {
    TavlinProcess first(launch());
    ASSERT_TRUE(first.waitForError("MCP server listening on")) << first.standardError().toStdString();
    EXPECT_EQ(nameOwner(), first.processId());
    const quint16 port = home.port();

    // The first ends because the second asked it to, and lets go of the
    // lock within the second's wait for it (how long a start takes on a
    // busy machine is no part of it).
    TavlinProcess second(launch());
    EXPECT_TRUE(first.finish()) << first.standardError().toStdString();
    EXPECT_EQ(first.exitCode(), 0);
    EXPECT_TRUE(first.standardError().contains(u"Asked to quit over the session bus"_s))
        << first.standardError().toStdString();

    ASSERT_TRUE(second.waitForError("MCP server listening on")) << second.standardError().toStdString();
    EXPECT_TRUE(second.standardError().contains(u"Asked the running Tavlin"_s)) << second.standardError().toStdString();
    EXPECT_EQ(nameOwner(), second.processId());
    EXPECT_TRUE(lockIsHeld());
    EXPECT_FALSE(second.standardError().contains(u"Couldn't take"_s)) << second.standardError().toStdString();
    // The default port passes on, unless another program on the machine
    // (another test run) took it in the moment between: the second then
    // says it found it taken.
    if (port == MCPServer::defaultPort && home.port() != port) {
        EXPECT_TRUE(second.standardError().contains(u"MCP listener on port %1 failed"_s.arg(port)))
            << second.standardError().toStdString();
    }
    EXPECT_EQ(home.post(ping), pong);
}

// A developer switch runs beside the user's Tavlin: it asks nothing of it
// and leaves its name, its lock and its configuration file as they were.
TEST_F(SingleInstanceTest, ADeveloperRunLeavesTheRunningTavlinAlone) {
    TavlinProcess running(launch());
    ASSERT_TRUE(running.waitForError("MCP server listening on")) << running.standardError().toStdString();
    const QByteArray configuration = readTestFile(home.configurationPath());

    TavlinProcess developerRun(launch({u"--parse"_s, u"x"_s}));
    EXPECT_TRUE(developerRun.finish()) << developerRun.standardError().toStdString();
    EXPECT_EQ(developerRun.exitCode(), 0);
    EXPECT_FALSE(developerRun.standardOutput().isEmpty());

    EXPECT_TRUE(running.isRunning());
    EXPECT_EQ(nameOwner(), running.processId());
    EXPECT_TRUE(lockIsHeld());
    EXPECT_EQ(readTestFile(home.configurationPath()), configuration);
    EXPECT_EQ(home.post(ping), pong);
}

// Under a test host Tavlin only runs its loop.
TEST_F(SingleInstanceTest, ATestHostStartsNothing) {
    TavlinProcess hosted(launch({}, {u"XCTestSessionIdentifier="_s}));
    ASSERT_TRUE(hosted.waitForError("Tavlin is running")) << hosted.standardError().toStdString();
    hosted.finish(500);
    EXPECT_TRUE(hosted.isRunning());
    EXPECT_EQ(nameOwner(), 0);
    EXPECT_FALSE(lockIsHeld());
    EXPECT_FALSE(QFile::exists(home.configurationPath()));
    EXPECT_TRUE(hosted.signalAndFinish(SIGTERM));
    EXPECT_EQ(hosted.exitCode(), 0);
}

TEST(SingleInstance, WithoutASessionBusRunsWithOneWarning) {
    HeadlessTavlin tavlin({});
    ASSERT_TRUE(tavlin.start()) << tavlin.process().standardError().toStdString();
    EXPECT_EQ(tavlin.process().standardError().count(u"No session bus"_s), 1)
        << tavlin.process().standardError().toStdString();
    EXPECT_EQ(tavlin.post(ping), pong);
}
