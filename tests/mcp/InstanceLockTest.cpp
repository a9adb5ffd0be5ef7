#include "mcp/InstanceLock.h"

#include <gtest/gtest.h>
#include <QTemporaryDir>

#include <chrono>
#include <thread>

using namespace std::chrono_literals;
using tavlin::mcp::InstanceLock;

TEST(InstanceLock, OneHolderAtATime) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("tavlin.lock"));
    EXPECT_FALSE(InstanceLock::isHeldElsewhere(path));
    {
        const std::unique_ptr<InstanceLock> held = InstanceLock::acquire(path);
        ASSERT_TRUE(held);
        EXPECT_TRUE(InstanceLock::isHeldElsewhere(path));
        EXPECT_FALSE(InstanceLock::acquire(path));
    }
    EXPECT_FALSE(InstanceLock::isHeldElsewhere(path));
    EXPECT_TRUE(InstanceLock::acquire(path));
    EXPECT_FALSE(InstanceLock::acquire(folder.filePath(QStringLiteral("missing/tavlin.lock")), 1s));
}

// The next Tavlin waits for the one it asked to quit, but not for ever.
TEST(InstanceLock, WaitsForTheHolderToLetGoWithinALimit) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("tavlin.lock"));
    std::unique_ptr<InstanceLock> old = InstanceLock::acquire(path);
    ASSERT_TRUE(old);

    const auto before = std::chrono::steady_clock::now();
    EXPECT_FALSE(InstanceLock::acquire(path, 200ms));
    EXPECT_GE(std::chrono::steady_clock::now() - before, 200ms);

    std::thread quitting([&old] {
        std::this_thread::sleep_for(150ms);
        old.reset();
    });
    EXPECT_TRUE(InstanceLock::acquire(path, 10s));
    quitting.join();
}
