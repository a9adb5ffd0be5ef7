// The undo bar's window over a store: its time carries out a pending
// deletion, an undo stops the time first, and a window gone before its time
// carries nothing out.

#include "panel/UndoWindow.h"

#include "store/ReminderStoreFixture.h"

#include <gtest/gtest.h>

using namespace std::chrono_literals;
using namespace tavlin::panel;

namespace {

class UndoWindowTest : public ReminderStoreFixture {
protected:
    void SetUp() override { storeWith({reminder("a"), reminder("b")}); }

    std::vector<tavlin::platform::Reminder> pendingA() {
        std::vector<tavlin::platform::Reminder> a{store->reminders().front()};
        store->queueDeletions(a);
        return a;
    }
};

}  // namespace

TEST_F(UndoWindowTest, ItsTimeCarriesOutAPendingDeletionAndAnUndoBringsItBack) {
    UndoWindow window(*store, clock);
    window.present(pendingA(), UndoItem::Kind::deleted);
    advance(4s);
    ASSERT_TRUE(window.undoItem());
    EXPECT_EQ(store->pendingDeletions().size(), 1u);
    advance(1s);
    EXPECT_EQ(window.undoItem(), std::nullopt);
    EXPECT_TRUE(window.undoBarTimedOut());
    EXPECT_TRUE(store->pendingDeletions().empty());
    EXPECT_EQ(backend.contents().reminders.size(), 1u);

    window.present(pendingA(), UndoItem::Kind::deleted);
    EXPECT_FALSE(window.undoBarTimedOut());
    window.undo();
    EXPECT_EQ(window.undoItem(), std::nullopt);
    advance(10s);
    EXPECT_EQ(store->reminders().size(), 1u) << "the deletion came back, and no time is left to carry it out";
    EXPECT_EQ(backend.contents().reminders.size(), 1u);
}

TEST_F(UndoWindowTest, AWindowGoneBeforeItsTimeCarriesNothingOut) {
    auto window = std::make_unique<UndoWindow>(*store, clock);
    window->present(pendingA(), UndoItem::Kind::deleted);
    window.reset();
    advance(10s);
    EXPECT_EQ(store->pendingDeletions().size(), 1u) << "what pends is the closing's to carry out";
}
