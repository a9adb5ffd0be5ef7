#include "platform/eventstore/MemoryEventStore.h"

#include "support/ReminderPrinters.h"

#include <gtest/gtest.h>

using namespace tavlin::platform;
using namespace Qt::StringLiterals;

namespace {

class MemoryEventStoreTest : public ::testing::Test {
protected:
    MemoryEventStore store{{.lists = {{u"work"_s, u"Work"_s}, {u"home"_s, u"Home"_s}}}};
    const StoreError refused{.domain = u"test"_s, .code = 7, .description = u"Refused."_s};

    Reminder saved(const QString& title) {
        Reminder reminder = store.newReminder();
        reminder.title = title;
        reminder.listIdentifier = u"work"_s;
        EXPECT_EQ(store.save(reminder), std::nullopt);
        return reminder;
    }
};

TEST_F(MemoryEventStoreTest, InjectedFailuresRefuseAndChangeNothing) {
    const Reminder original = saved(u"Original"_s);
    Reminder edited = original;
    edited.title = u"Edited"_s;

    store.setSaveFailure(refused);
    EXPECT_EQ(store.save(edited), refused);
    EXPECT_EQ(store.reminder(original.identifier), original);
    store.setSaveFailure(std::nullopt);

    store.setListMoveFailure(refused);
    edited.listIdentifier = u"home"_s;
    EXPECT_EQ(store.save(edited), refused);
    edited.listIdentifier = u"work"_s;
    EXPECT_EQ(store.save(edited), std::nullopt);  // only a move is refused
    store.setListMoveFailure(std::nullopt);

    store.setRemoveFailure(refused);
    EXPECT_EQ(store.remove(edited), refused);
    EXPECT_TRUE(store.reminder(edited.identifier));
}

TEST_F(MemoryEventStoreTest, AChangeByAnotherProcessEmitsChangedOnce) {
    const Reminder reminder = saved(u"Mine"_s);
    int changes = 0;
    QObject::connect(&store, &EventStore::changed, [&] { ++changes; });
    store.changeByAnotherProcess([&](MemoryEventStore::Contents& contents) {
        contents.reminders.front().completed = true;
        contents.lists.pop_back();
    });
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(store.fetchIncompleteReminders().empty());
    EXPECT_EQ(store.lists().size(), 1u);
}

TEST_F(MemoryEventStoreTest, AccessFollowsTheRequestOutcome) {
    store.setAuthorizationStatus(AuthorizationStatus::notDetermined);
    store.setAccessRequestOutcome(AuthorizationStatus::denied, refused);
    EXPECT_EQ(store.requestFullAccess(), refused);
    EXPECT_EQ(store.authorizationStatus(), AuthorizationStatus::denied);
    store.setDefaultListIdentifier(u"home"_s);
    EXPECT_EQ(store.defaultListForNewReminders()->title, u"Home"_s);
}

}  // namespace
