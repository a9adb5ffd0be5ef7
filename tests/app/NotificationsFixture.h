#pragma once

#include "platform/NotificationCenter.h"
#include "support/FakeNotificationServer.h"
#include "support/PrivateSessionBus.h"

#include <gtest/gtest.h>

#include <optional>

// A bus of the test's own with a notification server on it, and Tavlin's
// notification center talking to it.
class NotificationsFixture : public ::testing::Test {
protected:
    void SetUp() override {
        if (!PrivateSessionBus::isAvailable()) GTEST_SKIP() << "dbus-daemon is not installed";
        ASSERT_TRUE(bus.isRunning());
        server.emplace(bus.connect());
        ASSERT_TRUE(server->isRegistered());
        notifications.emplace(bus.connect());
    }

    PrivateSessionBus bus;
    std::optional<FakeNotificationServer> server;
    std::optional<tavlin::platform::NotificationCenter> notifications;
};
