#include "support/HeadlessTavlin.h"

#include "mcp/MCPConfiguration.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QProcess>

using namespace Qt::StringLiterals;

namespace {

struct BridgeRun {
    QByteArray output;
    QByteArray errors;
    int exitCode = -1;
};

// tavlin --mcp as an AI client starts it: with HOME and PATH alone.
BridgeRun runBridge(const QString& home, const QByteArray& input) {
    QProcess bridge;
    QProcessEnvironment environment;
    environment.insert(u"HOME"_s, home);
    environment.insert(u"PATH"_s, qEnvironmentVariable("PATH"));
    bridge.setProcessEnvironment(environment);
    bridge.start(QStringLiteral(TAVLIN_BINARY), {u"--mcp"_s});
    bridge.write(input);
    bridge.closeWriteChannel();
    if (!bridge.waitForFinished(30000)) bridge.kill();
    return {bridge.readAllStandardOutput(), bridge.readAllStandardError(), bridge.exitCode()};
}

// The processes that hold Tavlin's lock in `home`: a Tavlin the bridge started.
std::vector<pid_t> holdersOfLock(const QString& home) {
    const QString lock = home + u"/.local/share/Tavlin/tavlin.lock"_s;
    std::vector<pid_t> holders;
    for (const QString& pid : QDir(u"/proc"_s).entryList(QDir::Dirs)) {
        const QDir descriptors(u"/proc/"_s + pid + u"/fd"_s);
        for (const QString& fd : descriptors.entryList(QDir::Files | QDir::System))
            if (QFile::symLinkTarget(descriptors.filePath(fd)) == lock) holders.push_back(pid.toInt());
    }
    return holders;
}

const QByteArray ping = R"({"jsonrpc":"2.0","id":5,"method":"ping"})";
const QByteArray initialized = R"({"jsonrpc":"2.0","method":"notifications/initialized"})";

}  // namespace

TEST(BridgeEndToEnd, RelaysLinesToTheRunningServer) {
    HeadlessTavlin tavlin({});
    ASSERT_TRUE(tavlin.start());
    const BridgeRun run = runBridge(tavlin.home(), "\n   \n" + initialized + "\n" + ping + "\n");
    EXPECT_EQ(run.output, R"({"id":5,"jsonrpc":"2.0","result":{}})"
                          "\n");
    EXPECT_EQ(run.errors, "");
    EXPECT_EQ(run.exitCode, 0);
}

TEST(BridgeEndToEnd, AStaleTokenIsAnsweredOnBehalfOfTheServer) {
    HeadlessTavlin tavlin({});
    ASSERT_TRUE(tavlin.start());
    ASSERT_EQ(
        tavlin::mcp::MCPConfiguration({.token = u"stale"_s, .port = tavlin.port()}).save(tavlin.configurationPath()),
        std::nullopt);
    const QByteArray refused = "Tavlin refused the token in mcp.json. Quit and reopen Tavlin, then try again.";
    const BridgeRun request = runBridge(tavlin.home(), ping + "\n");
    EXPECT_EQ(request.output, R"({"error":{"code":-32000,"message":")" + refused +
                                  R"("},"id":5,"jsonrpc":"2.0"})"
                                  "\n");
    EXPECT_EQ(request.errors, "tavlin --mcp: " + refused + "\n");
    const BridgeRun notification = runBridge(tavlin.home(), initialized + "\n");
    EXPECT_EQ(notification.output, "");
    EXPECT_EQ(notification.errors, "tavlin --mcp: " + refused + "\n");
}

TEST(BridgeEndToEnd, StartsTavlinWhenNoneRuns) {
    HeadlessTavlin home({});  // settings with the AI tools on; not started
    const BridgeRun run = runBridge(home.home(), ping + "\n" + ping + "\n");
    const std::vector<pid_t> launched = holdersOfLock(home.home());
    for (pid_t pid : launched) ::kill(pid, SIGTERM);
    EXPECT_EQ(launched.size(), 1u);
    EXPECT_EQ(run.output, R"({"id":5,"jsonrpc":"2.0","result":{}})"
                          "\n"
                          R"({"id":5,"jsonrpc":"2.0","result":{}})"
                          "\n");
    EXPECT_EQ(run.errors, "tavlin --mcp: Launched Tavlin; waiting for its MCP server…\n");
}
