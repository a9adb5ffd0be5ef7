#include "keybindings/GlobalHotKeys.h"
#include "keybindings/Key.h"

#include "HotKeyFixtures.h"
#include "support/FakeHotKeyBackend.h"
#include "support/LogCapture.h"
#include "support/Printers.h"

#include <gtest/gtest.h>
#include <QKeyEvent>
#include <QWindow>

#include <linux/input-event-codes.h>

using namespace tavlin::KeyBindings;
using tavlin::platform::KeyChord;
using namespace Qt::StringLiterals;
namespace X11 = tavlin::platform::X11Modifier;

namespace {

const Shortcut commandSpace(Key::space.rawValue, CarbonModifier::command);
const KeyChord superSpace{KEY_SPACE + 8, X11::super};

// A window that counts the key events it is given, as a menu would see them.
class KeyWindow : public QWindow {
public:
    int keyEvents = 0;

protected:
    void keyPressEvent(QKeyEvent*) override { ++keyEvents; }
    void keyReleaseEvent(QKeyEvent*) override { ++keyEvents; }
};

class GlobalHotKeysTest : public ::testing::Test {
protected:
    std::unique_ptr<FakeHotKeyBackend> ownedBackend = std::make_unique<FakeHotKeyBackend>();
    FakeHotKeyBackend& backend = *ownedBackend;
    GlobalHotKeys hotKeys{std::move(ownedBackend)};
    QStringList events;

    void add(const Shortcut& shortcut) {
        hotKeys.registerHotKey(
            shortcut, [this](const Shortcut& fired) { events << u"down "_s + fired.description(); },
            [this](const Shortcut& fired) { events << u"up "_s + fired.description(); });
    }
    // What the registration printed.
    std::string addPrinting(const Shortcut& shortcut) {
        testing::internal::CaptureStdout();
        add(shortcut);
        return testing::internal::GetCapturedStdout();
    }
    // True when the window (the menu) saw the event.
    bool sendToMenu(KeyWindow& menu, QEvent::Type type, quint32 evdevCode, Qt::KeyboardModifiers modifiers,
                    bool autoRepeat = false) {
        const int before = menu.keyEvents;
        sendKeyEvent(menu, type, evdevCode, modifiers, autoRepeat);
        return menu.keyEvents > before;
    }
};

}  // namespace

TEST_F(GlobalHotKeysTest, APressAndItsReleaseFireOnceEach) {
    struct Step {
        KeyChord chord;
        bool pressed;
    };
    struct Case {
        const char* name;
        std::vector<Step> steps;
        QStringList events;
    };
    const Case cases[] = {
        {"press and release", {{controlAltK, true}, {controlAltK, false}}, {u"down ⌃⌥K"_s, u"up ⌃⌥K"_s}},
        {"a held key repeats its press",
         {{controlAltK, true}, {controlAltK, true}, {controlAltK, true}, {controlAltK, false}},
         {u"down ⌃⌥K"_s, u"up ⌃⌥K"_s}},
        {"the modifiers let go first",
         {{controlAltK, true}, {{KEY_K + 8, X11::control}, false}, {{KEY_K + 8, 0}, false}},
         {u"down ⌃⌥K"_s, u"up ⌃⌥K"_s}},
        {"a release without its press", {{controlAltK, false}}, {}},
        {"the same key with other modifiers", {{{KEY_K + 8, X11::control}, true}}, {}},
        {"a key X numbers but Carbon does not", {{{KEY_COMPOSE + 8, 0}, true}}, {}},
    };
    add(controlOptionK);
    EXPECT_EQ(backend.grabs, QList{controlAltK});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        events.clear();
        for (const Step& step : c.steps) step.pressed ? backend.press(step.chord) : backend.release(step.chord);
        EXPECT_EQ(events, c.events);
    }
}

TEST_F(GlobalHotKeysTest, ARefusedRegistrationIsPrintedAndKeepsNothing) {
    struct Case {
        const char* name;
        Shortcut shortcut;
        std::string line;
    };
    const Case cases[] = {
        {"held by another program", controlOptionK, "Error registering hotkey ⌃⌥K: 10\n"},
        {"the function modifier, which X lacks",
         Shortcut(Key::a.rawValue, CarbonModifier::command | CarbonModifier::function),
         "Error registering hotkey ⌘\U0001F310\uFE0EA: 2\n"},
        {"the Fn key, which X cannot number", Shortcut(Key::function.rawValue, CarbonModifier::command),
         "Error registering hotkey ⌘\uFFFD: 2\n"},
        {"an unknown key code", Shortcut(300, 0), "Error registering hotkey \uFFFD: 2\n"},
    };
    backend.heldByOthers = {controlAltK};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(addPrinting(c.shortcut), c.line);
        EXPECT_EQ(hotKeys.hotKeyId(c.shortcut), std::nullopt);
    }
    EXPECT_TRUE(backend.grabs.isEmpty());
    add(commandSpace);
    EXPECT_EQ(hotKeys.hotKeyId(commandSpace), 5) << "each attempt uses up an id";
}

TEST_F(GlobalHotKeysTest, ASecondRegistrationOfAShortcutIsRefused) {
    add(controlOptionK);
    EXPECT_EQ(addPrinting(controlOptionK), "Error registering hotkey ⌃⌥K: 10\n");
    EXPECT_EQ(hotKeys.hotKeyId(controlOptionK), 1);
    backend.press(controlAltK);
    EXPECT_EQ(events, QStringList{u"down ⌃⌥K"_s});
}

TEST_F(GlobalHotKeysTest, UnregisteringReleasesTheKeyEvenWhileItIsHeld) {
    add(controlOptionK);
    add(commandSpace);
    backend.press(controlAltK);
    hotKeys.unregisterHotKey(controlOptionK);
    backend.release(controlAltK);
    backend.press(controlAltK);
    EXPECT_EQ(events, QStringList{u"down ⌃⌥K"_s});
    EXPECT_EQ(backend.grabs, QList{superSpace});
    EXPECT_EQ(hotKeys.hotKeyId(controlOptionK), std::nullopt);
}

TEST_F(GlobalHotKeysTest, ACallbackMayUnregisterItsOwnHotKey) {
    hotKeys.registerHotKey(
        controlOptionK, [this](const Shortcut& fired) { hotKeys.unregisterHotKey(fired); },
        [this](const Shortcut&) { events << u"up"_s; });
    backend.press(controlAltK);
    backend.release(controlAltK);
    EXPECT_TRUE(events.isEmpty());
    EXPECT_TRUE(backend.grabs.isEmpty());
}

TEST_F(GlobalHotKeysTest, AMenuTakesTheGrabsAndItsKeyEventsAreMatched) {
    add(controlOptionK);
    hotKeys.updateEventHandler(true, true);
    EXPECT_TRUE(backend.grabs.isEmpty()) << "suspended while the menu holds the keyboard";
    EXPECT_EQ(hotKeys.hotKeyId(controlOptionK), 1);

    KeyWindow menu;
    const auto controlAlt = Qt::ControlModifier | Qt::AltModifier;
    EXPECT_FALSE(sendToMenu(menu, QEvent::KeyPress, KEY_K, controlAlt));
    EXPECT_FALSE(sendToMenu(menu, QEvent::KeyRelease, KEY_K, controlAlt, /*autoRepeat=*/true));
    EXPECT_FALSE(sendToMenu(menu, QEvent::KeyPress, KEY_K, controlAlt, /*autoRepeat=*/true));
    EXPECT_FALSE(sendToMenu(menu, QEvent::KeyRelease, KEY_K, Qt::NoModifier)) << "modifiers let go first";
    EXPECT_EQ(events, (QStringList{u"down ⌃⌥K"_s, u"up ⌃⌥K"_s}));

    EXPECT_TRUE(sendToMenu(menu, QEvent::KeyPress, KEY_K, Qt::ControlModifier)) << "not a hot key";
    EXPECT_TRUE(sendToMenu(menu, QEvent::KeyPress, KEY_DOWN, Qt::NoModifier));

    hotKeys.updateEventHandler(true, false);
    EXPECT_EQ(backend.grabs, QList{controlAltK});
    EXPECT_EQ(hotKeys.hotKeyId(controlOptionK), 1) << "grabbed again under its old id";
    EXPECT_TRUE(sendToMenu(menu, QEvent::KeyPress, KEY_K, controlAlt)) << "no fallback without a menu";
}

TEST_F(GlobalHotKeysTest, AKeyTakenWhileTheMenuWasOpenIsGivenUp) {
    add(controlOptionK);
    add(commandSpace);
    hotKeys.updateEventHandler(true, true);
    backend.heldByOthers = {controlAltK};
    testing::internal::CaptureStdout();
    hotKeys.updateEventHandler(true, false);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Error registering hotkey ⌃⌥K: 10\n");
    EXPECT_EQ(backend.grabs, QList{superSpace});
    EXPECT_EQ(hotKeys.hotKeyId(controlOptionK), std::nullopt);
    EXPECT_EQ(hotKeys.hotKeyId(commandSpace), 2);
}

TEST_F(GlobalHotKeysTest, SwitchedOffNothingIsGrabbedAndNothingFires) {
    add(controlOptionK);
    add(commandSpace);
    backend.press(controlAltK);
    hotKeys.updateEventHandler(false, false);
    EXPECT_TRUE(backend.grabs.isEmpty());
    backend.release(controlAltK);
    backend.press(superSpace);
    EXPECT_EQ(events, QStringList{u"down ⌃⌥K"_s});

    hotKeys.updateEventHandler(true, false);
    EXPECT_EQ(backend.grabs, (QList{controlAltK, superSpace}));
    EXPECT_EQ(hotKeys.hotKeyId(controlOptionK), 1);
    EXPECT_EQ(hotKeys.hotKeyId(commandSpace), 2);
}

TEST_F(GlobalHotKeysTest, ARegistrationThatCannotFireTakesNoKeyUntilItCan) {
    struct Case {
        const char* name;
        bool isEnabled;
        bool isMenuOpen;
    };
    for (const Case& c : {Case{"switched off", false, false}, Case{"a menu open", true, true}}) {
        SCOPED_TRACE(c.name);
        auto backendOwned = std::make_unique<FakeHotKeyBackend>();
        FakeHotKeyBackend& fake = *backendOwned;
        GlobalHotKeys suspended(std::move(backendOwned));
        suspended.updateEventHandler(c.isEnabled, c.isMenuOpen);
        suspended.registerHotKey(controlOptionK, {}, {});
        EXPECT_TRUE(fake.grabs.isEmpty());
        EXPECT_EQ(suspended.hotKeyId(controlOptionK), 1);
        suspended.updateEventHandler(true, false);
        EXPECT_EQ(fake.grabs, QList{controlAltK});
    }
}

TEST_F(GlobalHotKeysTest, AsksWhetherAnotherProgramHoldsOnlyKeysItDoesNotHold) {
    backend.heldByOthers = {controlAltK};
    EXPECT_TRUE(hotKeys.isHeldElsewhere(controlOptionK));
    EXPECT_FALSE(hotKeys.isHeldElsewhere(commandSpace));
    EXPECT_EQ(backend.probes, (QList{controlAltK, superSpace}));

    backend.probes.clear();
    add(commandSpace);
    hotKeys.updateEventHandler(true, true);
    EXPECT_FALSE(hotKeys.isHeldElsewhere(commandSpace)) << "registered here, grabbed or not";
    EXPECT_FALSE(hotKeys.isHeldElsewhere(Shortcut(Key::a.rawValue, CarbonModifier::function))) << "no X form";
    EXPECT_TRUE(backend.probes.isEmpty());
}

TEST_F(GlobalHotKeysTest, RefusalsAreWarnedOfInWordsAndTheDesktopsLaterRefusalDropsTheHotKey) {
    LogCapture log("com.quorvandell.tavlin.keys", QtWarningMsg);
    backend.heldByOthers = {superSpace};
    (void)addPrinting(commandSpace);
    EXPECT_EQ(log.take(), QStringList{u"couldn’t register ⌘Space as a global shortcut: another program holds it"_s});

    add(controlOptionK);
    ASSERT_EQ(hotKeys.hotKeyId(controlOptionK), 2);
    backend.refuseLater(controlAltK, u"the desktop did not bind it: the request was cancelled"_s);
    EXPECT_EQ(log.take(), QStringList{u"couldn’t register ⌃⌥K as a global shortcut: the desktop did not bind it: the "
                                      u"request was cancelled"_s});
    EXPECT_EQ(hotKeys.hotKeyId(controlOptionK), std::nullopt);
    backend.press(controlAltK);
    EXPECT_TRUE(events.isEmpty());
}
