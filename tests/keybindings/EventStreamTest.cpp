#include "keybindings/EventStream.h"
#include "keybindings/KeyBindings.h"

#include "HotKeyFixtures.h"
#include "ModuleFixture.h"
#include "support/Printers.h"

#include <gtest/gtest.h>

namespace KeyBindings = tavlin::KeyBindings;
using KeyBindings::EventStream;
using KeyBindings::EventType;
using KeyBindings::Name;
using namespace Qt::StringLiterals;

namespace {

class EventStreamTest : public ModuleTest {
protected:
    EventStream::Handler record(const QString& label) {
        return
            [this, label](EventType type) { received << label + (type == EventType::keyDown ? u" down"_s : u" up"_s); };
    }

    QStringList received;
};

}  // namespace

TEST_F(EventStreamTest, AStreamJoinsOnTheNextTurnAndSeesPressesAndReleases) {
    Name::togglePanel.setShortcut(controlOptionK);
    const EventStream stream = KeyBindings::events(Name::togglePanel, record(u"a"_s));
    tap(controlAltK);
    EXPECT_TRUE(received.isEmpty()) << "a press before the stream joined";
    nextTurn();
    tap(controlAltK);
    EXPECT_EQ(received, (QStringList{u"a down"_s, u"a up"_s}));
}

TEST_F(EventStreamTest, ANameWithoutShortcutYieldsOnceOneIsStored) {
    const EventStream stream = KeyBindings::events(Name::togglePanel, record(u"a"_s));
    nextTurn();
    EXPECT_TRUE(backend.grabs.isEmpty());
    Name::togglePanel.setShortcut(controlOptionK);
    tap(controlAltK);
    EXPECT_EQ(received, (QStringList{u"a down"_s, u"a up"_s}));
}

TEST_F(EventStreamTest, EachStreamSeesEveryPressUntilItEnds) {
    Name::togglePanel.setShortcut(controlOptionK);
    EventStream first = KeyBindings::events(Name::togglePanel, record(u"first"_s));
    const EventStream second = KeyBindings::events(Name::togglePanel, record(u"second"_s));
    nextTurn();
    tap(controlAltK);
    EXPECT_EQ(received, (QStringList{u"first down"_s, u"second down"_s, u"first up"_s, u"second up"_s}));

    received.clear();
    first.end();
    EXPECT_FALSE(first.isOpen());
    tap(controlAltK);
    EXPECT_EQ(received, (QStringList{u"second down"_s, u"second up"_s})) << "at once, before it has left";
    nextTurn();
    EXPECT_EQ(backend.grabs, QList{controlAltK}) << "the other stream holds it";
}

TEST_F(EventStreamTest, AStreamOfOneTypeSeesOnlyThatType) {
    Name::togglePanel.setShortcut(controlOptionK);
    const EventStream releases = KeyBindings::events(EventType::keyUp, Name::togglePanel, record(u"a"_s));
    nextTurn();
    backend.press(controlAltK);
    EXPECT_TRUE(received.isEmpty());
    backend.release(controlAltK);
    EXPECT_EQ(received, QStringList{u"a up"_s});
}

TEST_F(EventStreamTest, EndingTheLastStreamReleasesTheGrab) {
    const Name other(u"other"_s);
    Name::togglePanel.setShortcut(controlOptionK);
    EventStream stream = KeyBindings::events(Name::togglePanel, record(u"a"_s));
    nextTurn();
    stream = EventStream();
    nextTurn();
    EXPECT_TRUE(backend.grabs.isEmpty());

    // Nor does the ended stream keep the shortcut grabbed for another Name
    // whose actions are removed.
    other.setShortcut(controlOptionK);
    KeyBindings::onKeyUp(other, [] {});
    KeyBindings::removeHandler(other);
    EXPECT_TRUE(backend.grabs.isEmpty());
}

TEST_F(EventStreamTest, ActionsRunBeforeStreamsAndRemovingThemLeavesAStreamedGrab) {
    Name::togglePanel.setShortcut(controlOptionK);
    KeyBindings::onKeyDown(Name::togglePanel, [this] { received << u"action"_s; });
    EventStream stream = KeyBindings::events(EventType::keyDown, Name::togglePanel, record(u"stream"_s));
    nextTurn();
    tap(controlAltK);
    EXPECT_EQ(received, (QStringList{u"action"_s, u"stream down"_s}));

    KeyBindings::removeHandler(Name::togglePanel);
    KeyBindings::removeAllHandlers();
    EXPECT_EQ(backend.grabs, QList{controlAltK});
    received.clear();
    tap(controlAltK);
    EXPECT_EQ(received, QStringList{u"stream down"_s});

    stream.end();
    nextTurn();
    EXPECT_TRUE(backend.grabs.isEmpty());
}

TEST_F(EventStreamTest, NothingIsYieldedWhilePaused) {
    Name::togglePanel.setShortcut(controlOptionK);
    const EventStream stream = KeyBindings::events(Name::togglePanel, record(u"a"_s));
    nextTurn();
    KeyBindings::setPaused(true);
    tap(controlAltK);
    EXPECT_TRUE(received.isEmpty());
    KeyBindings::setPaused(false);
    tap(controlAltK);
    EXPECT_EQ(received.size(), 2);
}

TEST_F(EventStreamTest, AHandlerMayEndItsOwnStream) {
    Name::togglePanel.setShortcut(controlOptionK);
    EventStream stream;
    stream = KeyBindings::events(Name::togglePanel, [&](EventType type) {
        received << (type == EventType::keyDown ? u"down"_s : u"up"_s);
        stream.end();
    });
    nextTurn();
    tap(controlAltK);
    EXPECT_EQ(received, QStringList{u"down"_s});
}

TEST_F(EventStreamTest, AMovedStreamGoesOn) {
    Name::togglePanel.setShortcut(controlOptionK);
    EventStream original = KeyBindings::events(Name::togglePanel, record(u"a"_s));
    const EventStream moved = std::move(original);
    EXPECT_FALSE(original.isOpen());  // NOLINT(bugprone-use-after-move): moved from on purpose
    nextTurn();
    tap(controlAltK);
    EXPECT_EQ(received, (QStringList{u"a down"_s, u"a up"_s}));
}
