#include "app/AppDelegate.h"

#include "app/UpdateController.h"
#include "mcp/MCPConfiguration.h"
#include "mcp/MCPServer.h"
#include "store/Settings.h"
#include "support/ScopedVariable.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QTemporaryDir>

using tavlin::mcp::MCPConfiguration;

namespace {

// A launch over temporary folders.
class AppDelegateTest : public ::testing::Test {
protected:
    void turnLoop() { QCoreApplication::processEvents(); }

    QTemporaryDir home;
    ScopedVariable data{"XDG_DATA_HOME", home.filePath("data").toUtf8()};
    ScopedVariable config{"XDG_CONFIG_HOME", home.filePath("config").toUtf8()};
    ScopedVariable reminders{"TAVLIN_REMINDERS_DIR", home.filePath("reminders").toUtf8()};
    tavlin::app::AppDelegate delegate;
};

}  // namespace

TEST_F(AppDelegateTest, StartsAndStopsTheServerWithItsSetting) {
    delegate.launch();
    tavlin::mcp::MCPServer& server = delegate.mcpServer();
    EXPECT_FALSE(server.hasListener());

    delegate.settings().setMcpEnabled(true);
    turnLoop();
    ASSERT_TRUE(server.port());
    EXPECT_EQ(MCPConfiguration::read(MCPConfiguration::filePath())->port, server.port());

    delegate.settings().setMcpEnabled(false);
    turnLoop();
    EXPECT_FALSE(server.hasListener());
    EXPECT_EQ(MCPConfiguration::read(MCPConfiguration::filePath())->port, std::nullopt);

    delegate.settings().setMcpEnabled(true);
    turnLoop();
    EXPECT_TRUE(server.port());
}

TEST_F(AppDelegateTest, HandsOutTheUpdateCheckOnlyWhereTheBuildIsConfiguredForUpdates) {
    delegate.launch();
    EXPECT_EQ(bool(delegate.checkForUpdates()), tavlin::app::UpdateConfiguration::ofThisBuild().isConfigured());
    EXPECT_EQ(delegate.pendingUpdateVersion(), std::nullopt);
}
