#include "app/UpdateController.h"

#include "NotificationsFixture.h"
#include "ScriptedUpdater.h"
#include "support/MainLoop.h"
#include "support/Printers.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>

using namespace tavlin;
using namespace Qt::StringLiterals;
using app::UpdateConfiguration;
using app::UpdateController;

namespace {

const UpdateConfiguration configured{u"https://example.invalid/feed"_s, u"c2lnbmluZyBrZXk="_s};

class UpdateControllerTest : public NotificationsFixture {
protected:
    UpdateController& make(const UpdateConfiguration& configuration = configured) {
        auto owned = std::make_unique<ScriptedUpdater>();
        updater = owned.get();
        controller.emplace(*notifications, std::move(owned), configuration);
        QObject::connect(&*controller, &UpdateController::pendingUpdateVersionChanged, [this] { ++versionChanges; });
        return *controller;
    }

    ScriptedUpdater* updater = nullptr;
    std::optional<UpdateController> controller;
    int versionChanges = 0;
};

}  // namespace

TEST(UpdateConfiguration, IsConfiguredOnlyWithBothValuesAndNoPlaceholder) {
    struct Case {
        const char* feed;
        const char* key;
        bool configured;
    };
    const Case cases[] = {
        {"", "", false},
        {"https://example.invalid/feed", "", false},
        {"", "c2lnbmluZyBrZXk=", false},
        {"https://example.invalid/REPLACE_ME", "c2lnbmluZyBrZXk=", false},
        {"https://example.invalid/feed", "REPLACE_ME", false},
        {"https://example.invalid/feed", "replace-me", true},  // the test is case-sensitive
        {"https://example.invalid/feed", "c2lnbmluZyBrZXk=", true},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(std::string(row.feed) + " | " + row.key);
        EXPECT_EQ((UpdateConfiguration{QString::fromLatin1(row.feed), QString::fromLatin1(row.key)}.isConfigured()),
                  row.configured);
    }
}

TEST_F(UpdateControllerTest, StartsTheUpdaterAndOffersTheCheckOnlyWhenConfigured) {
    for (const bool isConfigured : {false, true}) {
        SCOPED_TRACE(isConfigured);
        make(isConfigured ? configured : UpdateConfiguration{u"https://example.invalid/feed"_s, u"REPLACE_ME"_s});
        EXPECT_EQ(controller->isConfigured(), isConfigured);
        EXPECT_EQ(updater->starts, isConfigured ? 1 : 0);
        const std::function<void()> action = controller->checkForUpdatesAction();
        EXPECT_EQ(bool(action), isConfigured);
        if (action) action();
        EXPECT_EQ(updater->checks, isConfigured ? 1 : 0);
        // Asked directly, the check reaches the updater all the same.
        const platform::Task<> check = controller->checkForUpdates();
        EXPECT_TRUE(check.isDone());
        EXPECT_EQ(updater->checks, isConfigured ? 2 : 1);
        EXPECT_EQ(updater->starts, isConfigured ? 1 : 0) << "started once, at creation";
    }
}

TEST_F(UpdateControllerTest, LetsTheUpdaterShowItsFindingsGentlyAndInFocus) {
    make();
    EXPECT_TRUE(controller->supportsGentleScheduledUpdateReminders());
    EXPECT_TRUE(controller->shouldHandleShowingScheduledUpdate({u"2.1"_s}, true));
    EXPECT_FALSE(controller->shouldHandleShowingScheduledUpdate({u"2.1"_s}, false));
}

TEST_F(UpdateControllerTest, AScheduledFindIsPendingAndAnnouncedUnderOneNotification) {
    make();
    updater->find("2.1", false);
    EXPECT_EQ(controller->pendingUpdateVersion(), u"2.1"_s);
    EXPECT_EQ(versionChanges, 1);
    ASSERT_TRUE(server->waitForCalls(u"Notify"_s, 1));
    const QVariantList first = server->calls(u"Notify"_s).at(0).arguments;
    EXPECT_EQ(first.at(1), 0u);
    EXPECT_EQ(first.at(3), u"Tavlin 2.1 is available"_s);
    EXPECT_EQ(first.at(4), u"Click to install the update."_s);
    EXPECT_EQ(first.at(6).toMap().value(u"suppress-sound"_s), true);

    updater->find("2.2", false);
    EXPECT_EQ(controller->pendingUpdateVersion(), u"2.2"_s);
    ASSERT_TRUE(server->waitForCalls(u"Notify"_s, 2));
    const QVariantList second = server->calls(u"Notify"_s).at(1).arguments;
    EXPECT_EQ(second.at(1), 1u) << "replaces the first";
    EXPECT_EQ(second.at(3), u"Tavlin 2.2 is available"_s);
}

TEST_F(UpdateControllerTest, WhatTheUserAskedForIsNeitherPendingNorAnnounced) {
    make();
    updater->find("2.1", true);
    EXPECT_EQ(controller->pendingUpdateVersion(), std::nullopt);
    EXPECT_EQ(versionChanges, 0);
    // A scheduled find after it is the first thing the server hears of.
    updater->find("2.2", false);
    ASSERT_TRUE(server->waitForCalls(u"Notify"_s, 1));
    const std::vector<FakeNotificationServer::Call> posted = server->calls(u"Notify"_s);
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(posted[0].arguments.at(3), u"Tavlin 2.2 is available"_s);
}

TEST_F(UpdateControllerTest, AttentionClosesTheAnnouncementAndTheSessionsEndOnlyClearsIt) {
    make();
    updater->find("2.1", false);
    ASSERT_TRUE(server->waitForCalls(u"Notify"_s, 1));
    updater->userDriverDelegate()->didReceiveUserAttention({u"2.1"_s});
    EXPECT_EQ(controller->pendingUpdateVersion(), std::nullopt);
    ASSERT_TRUE(server->waitForCalls(u"CloseNotification"_s, 1));
    EXPECT_EQ(server->calls(u"CloseNotification"_s).at(0).arguments, QVariantList{1u});

    updater->find("2.2", false);
    ASSERT_TRUE(server->waitForCalls(u"Notify"_s, 2));
    updater->userDriverDelegate()->willFinishUpdateSession();
    EXPECT_EQ(controller->pendingUpdateVersion(), std::nullopt);
    EXPECT_EQ(versionChanges, 4);
    // Posting under the same identifier again waits for anything still
    // under way for it: the notification of 2.2 is still shown (number 2).
    ASSERT_EQ(finishTask(notifications->add({QString(UpdateController::notificationIdentifier), u"again"_s, u""_s})),
              true);
    EXPECT_EQ(server->calls(u"Notify"_s).back().arguments.at(1), 2u);
    EXPECT_EQ(server->calls(u"CloseNotification"_s).size(), 1u);
}
