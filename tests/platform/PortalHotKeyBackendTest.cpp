#include "platform/PortalHotKeyBackend.h"

#include "support/FakeGlobalShortcutsPortal.h"
#include "support/MainLoop.h"
#include "support/PrivateSessionBus.h"

#include <gtest/gtest.h>
#include <QStringList>

#include <memory>
#include <optional>
#include <vector>

using namespace tavlin::platform;
using namespace Qt::StringLiterals;
using tavlin::testing::FakeGlobalShortcutsPortal;

namespace {

// Ctrl+Alt+K: K is the X keycode 45 on every PC keyboard.
constexpr KeyChord kControlAltK{45, X11Modifier::control | X11Modifier::alt};
constexpr KeyChord kSuperSpace{65, X11Modifier::super};

class PortalHotKeyBackendTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!PrivateSessionBus::isAvailable())
            GTEST_SKIP() << "dbus-daemon is not installed (Debian package dbus-daemon)";
        ASSERT_TRUE(bus.isRunning()) << "dbus-daemon did not start";
    }

    void startPortal(uint version) {
        portal = std::make_unique<FakeGlobalShortcutsPortal>(bus.address(), version);
        ASSERT_TRUE(portal->isRegistered());
    }
    void startBackend() {
        backend = std::make_unique<PortalHotKeyBackend>(bus.connect());
        backend->setKeyHandler([this](KeyChord chord, bool pressed) { keys.push_back({chord, pressed}); });
        backend->setRefusalHandler([this](KeyChord, const QString& reason) { refusals << reason; });
        backend->setChangeHandler([this] { ++changes; });
    }
    // A portal of `version` with the backend's session open and Ctrl+Alt+K bound.
    void bindControlAltK(uint version = 2) {
        startPortal(version);
        startBackend();
        ASSERT_TRUE(runMainLoopUntil([&] { return backend->hasGlobalShortcuts(); }));
        ASSERT_EQ(backend->grab(kControlAltK), HotKeyBackend::grabbed);
        ASSERT_TRUE(runMainLoopUntil([&] { return backend->triggerDescription(kControlAltK).has_value(); }));
    }

    struct Key {
        KeyChord chord;
        bool pressed;
        friend bool operator==(const Key&, const Key&) = default;
    };

    PrivateSessionBus bus;
    std::unique_ptr<FakeGlobalShortcutsPortal> portal;
    std::unique_ptr<PortalHotKeyBackend> backend;
    std::vector<Key> keys;
    QStringList refusals;
    int changes = 0;
};

TEST(PortalTriggerTest, AChordIsWrittenInTheShortcutsNotation) {
    const struct {
        KeyChord chord;
        std::optional<QString> trigger;
    } cases[] = {
        {kControlAltK, u"CTRL+ALT+k"_s},
        {kSuperSpace, u"LOGO+space"_s},
        {{67, X11Modifier::shift | X11Modifier::control}, u"CTRL+SHIFT+F1"_s},
        {{36, X11Modifier::alt}, u"ALT+Return"_s},
        {{8, X11Modifier::alt}, std::nullopt},  // no key has the first keycode
    };
    for (const auto& [chord, trigger] : cases)
        EXPECT_EQ(PortalHotKeyBackend::preferredTrigger(chord), trigger) << chord.keyCode;
}

TEST_F(PortalHotKeyBackendTest, TheChordIsBoundAsThePreferredTriggerAndItsSignalsAreThePressAndRelease) {
    bindControlAltK(1);
    EXPECT_EQ(backend->version(), 1u);
    ASSERT_TRUE(portal->bound.contains(u"open-tavlin"_s));
    EXPECT_EQ(portal->bound[u"open-tavlin"_s].value(u"preferred_trigger"_s).toString(), u"CTRL+ALT+k"_s);
    EXPECT_EQ(portal->bound[u"open-tavlin"_s].value(u"description"_s).toString(), u"Open Tavlin"_s);
    EXPECT_EQ(backend->triggerDescription(kControlAltK), u"CTRL+ALT+k"_s);
    EXPECT_EQ(backend->triggerDescription(kSuperSpace), std::nullopt);

    portal->activate(u"open-tavlin"_s);
    portal->deactivate(u"open-tavlin"_s);
    ASSERT_TRUE(runMainLoopUntil([&] { return keys.size() == 2; }));
    EXPECT_EQ(keys, (std::vector<Key>{{kControlAltK, true}, {kControlAltK, false}}));

    // Ungrabbed (a menu is open), the shortcut stays bound and fires nothing.
    backend->ungrab(kControlAltK);
    portal->activate(u"open-tavlin"_s);
    portal->activate(u"another-program's"_s);
    // Signals come in order: once this one is in, so are those.
    portal->changeTrigger(u"open-tavlin"_s, u"Ctrl+Alt+K"_s);
    ASSERT_TRUE(runMainLoopUntil([&] { return backend->triggerDescription(kControlAltK) == u"Ctrl+Alt+K"_s; }));
    ASSERT_EQ(backend->grab(kControlAltK), HotKeyBackend::grabbed);
    portal->activate(u"open-tavlin"_s);
    ASSERT_TRUE(runMainLoopUntil([&] { return keys.size() == 3; }));
    EXPECT_EQ(keys.back(), (Key{kControlAltK, true}));
    EXPECT_EQ(portal->bindRequests, 1);
}

TEST_F(PortalHotKeyBackendTest, TheDesktopsOwnKeyIsShownAndFollowedAndTheUserIsSentToChangeIt) {
    startPortal(2);
    portal->chosenTrigger = u"Meta+Space"_s;
    startBackend();
    ASSERT_TRUE(runMainLoopUntil([&] { return backend->hasGlobalShortcuts(); }));
    ASSERT_EQ(backend->grab(kControlAltK), HotKeyBackend::grabbed);
    ASSERT_TRUE(runMainLoopUntil([&] { return backend->triggerDescription(kControlAltK) == u"Meta+Space"_s; }));

    const int before = changes;
    portal->changeTrigger(u"open-tavlin"_s, u"Ctrl+Alt+T"_s);
    ASSERT_TRUE(runMainLoopUntil([&] { return backend->triggerDescription(kControlAltK) == u"Ctrl+Alt+T"_s; }));
    EXPECT_GT(changes, before);

    EXPECT_TRUE(backend->askToChangeTrigger(kControlAltK));
    EXPECT_TRUE(runMainLoopUntil([&] { return portal->configureRequests == 1; }));
    EXPECT_FALSE(backend->askToChangeTrigger(kSuperSpace));
}

TEST_F(PortalHotKeyBackendTest, VersionOneIsAskedToChangeTheKeyByBindingAgain) {
    bindControlAltK(1);
    EXPECT_TRUE(backend->askToChangeTrigger(kControlAltK));
    EXPECT_TRUE(runMainLoopUntil([&] { return portal->bindRequests == 2; }));
    EXPECT_EQ(portal->configureRequests, 0);
}

TEST_F(PortalHotKeyBackendTest, ARefusedBindingIsReportedInWordsAndHoldsNothing) {
    startPortal(2);
    portal->refuseWith = 1;
    startBackend();
    ASSERT_EQ(backend->grab(kControlAltK), HotKeyBackend::grabbed);
    ASSERT_TRUE(runMainLoopUntil([&] { return !refusals.isEmpty(); }));
    EXPECT_EQ(refusals, QStringList{u"the desktop did not bind it: the request was cancelled"_s});
    portal->activate(u"open-tavlin"_s);
    EXPECT_FALSE(runMainLoopUntil([&] { return !keys.empty(); }, std::chrono::milliseconds(200)));
    EXPECT_EQ(backend->triggerDescription(kControlAltK), std::nullopt);
    // Another chord may be grabbed afterwards.
    portal->refuseWith = 0;
    EXPECT_EQ(backend->grab(kSuperSpace), HotKeyBackend::grabbed);
    EXPECT_TRUE(runMainLoopUntil([&] { return backend->triggerDescription(kSuperSpace) == u"LOGO+space"_s; }));
}

TEST_F(PortalHotKeyBackendTest, WithoutAPortalAGrabWaitingForItIsRefusedAndLaterOnesAtOnce) {
    startBackend();
    ASSERT_EQ(backend->grab(kControlAltK), HotKeyBackend::grabbed);
    EXPECT_FALSE(backend->hasGlobalShortcuts());
    ASSERT_TRUE(runMainLoopUntil([&] { return !refusals.isEmpty(); }));
    EXPECT_EQ(refusals, QStringList{u"this desktop gives no global shortcuts"_s});
    EXPECT_GE(changes, 1);
    EXPECT_EQ(backend->grab(kSuperSpace), HotKeyBackend::noKeyGrabs);
    EXPECT_FALSE(backend->hasGlobalShortcuts());
}

TEST_F(PortalHotKeyBackendTest, TavlinKeepsOneShortcutWithTheDesktop) {
    bindControlAltK();
    EXPECT_EQ(backend->grab(kSuperSpace), HotKeyBackend::badAccess);
    // A new chord replaces the old one under the same id once that is let go.
    backend->ungrab(kControlAltK);
    ASSERT_EQ(backend->grab(kSuperSpace), HotKeyBackend::grabbed);
    ASSERT_TRUE(runMainLoopUntil([&] { return portal->bindRequests == 2; }));
    EXPECT_EQ(portal->bound[u"open-tavlin"_s].value(u"preferred_trigger"_s).toString(), u"LOGO+space"_s);
    portal->activate(u"open-tavlin"_s);
    ASSERT_TRUE(runMainLoopUntil([&] { return !keys.empty(); }));
    EXPECT_EQ(keys.front(), (Key{kSuperSpace, true}));
}

}  // namespace
