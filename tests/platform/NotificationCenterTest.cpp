#include "platform/NotificationCenter.h"

#include "support/FakeNotificationServer.h"
#include "support/MainLoop.h"
#include "support/Printers.h"
#include "support/PrivateSessionBus.h"

#include <gtest/gtest.h>

#include <optional>

using namespace tavlin::platform;
using namespace Qt::StringLiterals;

namespace {

// The center on a bus of the test's own, its time limits on a manual clock.
class NotificationCenterTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!PrivateSessionBus::isAvailable()) GTEST_SKIP() << "dbus-daemon is not installed";
        ASSERT_TRUE(bus->isRunning());
    }

    FakeNotificationServer& startServer(
        FakeNotificationServer::Answers answers = FakeNotificationServer::Answers::always) {
        server.emplace(bus->connect(), answers);
        EXPECT_TRUE(server->isRegistered());
        return *server;
    }
    NotificationCenter& makeCenter() {
        center.emplace(bus->connect(), clock);
        return *center;
    }

    bool post(const QString& identifier, const QString& title = u"Title"_s, const QString& body = u"Body"_s) {
        return finishTask(center->add({identifier, title, body})).value_or(false);
    }
    // The replaces_id of each Notify so far.
    std::vector<uint> replacedIds() const {
        std::vector<uint> ids;
        for (const FakeNotificationServer::Call& call : server->calls(u"Notify"_s))
            ids.push_back(call.arguments.at(1).toUInt());
        return ids;
    }

    std::optional<PrivateSessionBus> bus{std::in_place};
    ManualClock clock;
    std::optional<FakeNotificationServer> server;
    std::optional<NotificationCenter> center;
};

}  // namespace

TEST_F(NotificationCenterTest, PostsSilentlyWithADefaultActionAndTheDesktopEntry) {
    startServer();
    makeCenter();
    ASSERT_TRUE(post(u"menu-bar-overflow"_s, u"Tavlin can’t show its tray icon"_s, u"Click here."_s));
    const std::vector<FakeNotificationServer::Call> calls = server->calls(u"Notify"_s);
    ASSERT_EQ(calls.size(), 1u);
    const QVariantMap hints{{u"desktop-entry"_s, u"com.quorvandell.tavlin"_s}, {u"suppress-sound"_s, true}};
    EXPECT_EQ(calls[0].arguments,
              (QVariantList{u"Tavlin"_s, 0u, u"com.quorvandell.tavlin"_s, u"Tavlin can’t show its tray icon"_s,
                            u"Click here."_s, QStringList{u"default"_s, u"Open"_s}, hints, -1}));
}

TEST_F(NotificationCenterTest, AnIdentifierPostedAgainReplacesAndARemovalCloses) {
    startServer();
    makeCenter();
    ASSERT_TRUE(post(u"a"_s));
    ASSERT_TRUE(post(u"b"_s));
    ASSERT_TRUE(post(u"a"_s));
    EXPECT_EQ(replacedIds(), (std::vector<uint>{0, 0, 1}));

    EXPECT_TRUE(finishTask(center->remove(u"a"_s)).value_or(false));
    const std::vector<FakeNotificationServer::Call> closes = server->calls(u"CloseNotification"_s);
    ASSERT_EQ(closes.size(), 1u);
    EXPECT_EQ(closes[0].arguments, QVariantList{1u});
    // Closed is forgotten: nothing to close, and a new post replaces nothing.
    EXPECT_EQ(finishTask(center->remove(u"a"_s)), false);
    EXPECT_EQ(server->calls(u"CloseNotification"_s).size(), 1u);
    ASSERT_TRUE(post(u"a"_s));
    EXPECT_EQ(replacedIds().back(), 0u);
}

TEST_F(NotificationCenterTest, ASecondPostWaitsForTheFirstToKnowWhatItReplaces) {
    startServer();
    makeCenter();
    const Task<bool> first = center->add({u"update"_s, u"Tavlin 2.1 is available"_s, u""_s});
    const Task<bool> second = center->add({u"update"_s, u"Tavlin 2.2 is available"_s, u""_s});
    const Task<bool> removal = center->remove(u"update"_s);
    EXPECT_EQ(finishTask(removal), true);
    EXPECT_TRUE(first.isDone() && second.isDone());
    EXPECT_EQ(replacedIds(), (std::vector<uint>{0, 1}));
    EXPECT_EQ(server->calls(u"CloseNotification"_s).size(), 1u);
}

TEST_F(NotificationCenterTest, ClicksComeBackUnderOurIdentifierUntilTheNotificationCloses) {
    startServer();
    makeCenter();
    QStringList clicks;  // "identifier action"
    QObject::connect(&*center, &NotificationCenter::actionInvoked,
                     [&](const QString& identifier, const QString& action) { clicks << identifier + u' ' + action; });
    ASSERT_TRUE(post(u"a"_s));  // number 1
    ASSERT_TRUE(post(u"b"_s));  // number 2

    server->invokeAction(7, u"default"_s);  // another program's notification
    server->invokeAction(2, u"default"_s);
    ASSERT_TRUE(runMainLoopUntil([&] { return !clicks.isEmpty(); }));
    EXPECT_EQ(clicks, QStringList{u"b default"_s});

    // Dismissed by the user: forgotten, so a late click and a new post find
    // nothing of it.
    server->dismiss(1);
    server->invokeAction(2, u"default"_s);  // after the dismissal on the wire
    ASSERT_TRUE(runMainLoopUntil([&] { return clicks.size() == 2; }));
    server->invokeAction(1, u"default"_s);
    ASSERT_TRUE(post(u"a"_s));
    EXPECT_EQ(replacedIds().back(), 0u);
    EXPECT_EQ(clicks, (QStringList{u"b default"_s, u"b default"_s}));
}

TEST_F(NotificationCenterTest, AuthorizedOnlyWhereAServerIsThereOrCanBeStarted) {
    makeCenter();
    EXPECT_EQ(finishTask(center->authorizationStatus()), NotificationAuthorization::notDetermined);
    EXPECT_FALSE(post(u"a"_s)) << "no server takes it";

    startServer();
    EXPECT_EQ(finishTask(center->authorizationStatus()), NotificationAuthorization::authorized);

    server.reset();
    center.reset();
    bus.emplace(PrivateSessionBus::Options{.activatableNames = {u"org.freedesktop.Notifications"_s}});
    makeCenter();
    EXPECT_EQ(finishTask(center->authorizationStatus()), NotificationAuthorization::authorized);

    NotificationCenter withoutBus(QDBusConnection(u"no such bus"_s), clock);
    EXPECT_EQ(finishTask(withoutBus.authorizationStatus()), NotificationAuthorization::notDetermined);
    EXPECT_EQ(finishTask(withoutBus.add({u"a"_s, u"Title"_s, u"Body"_s})), false);
}

TEST_F(NotificationCenterTest, AServerThatNeverAnswersFailsTheCallAtTheTimeLimit) {
    startServer(FakeNotificationServer::Answers::never);
    makeCenter();
    const Task<bool> posting = center->add({u"a"_s, u"Title"_s, u"Body"_s});
    ASSERT_TRUE(server->waitForCalls(u"Notify"_s, 1));
    EXPECT_FALSE(posting.isDone());
    clock.advance(NotificationCenter::callTimeLimit);
    ASSERT_TRUE(posting.isDone());
    EXPECT_FALSE(posting.result());
}
