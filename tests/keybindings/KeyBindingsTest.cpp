#include "keybindings/Key.h"
#include "keybindings/KeyBindings.h"

#include "HotKeyFixtures.h"
#include "ModuleFixture.h"
#include "support/Printers.h"

#include <gtest/gtest.h>
#include <QTemporaryDir>
#include <QWindow>

#include <linux/input-event-codes.h>

namespace KeyBindings = tavlin::KeyBindings;
using KeyBindings::Key;
using KeyBindings::Name;
using KeyBindings::Shortcut;
using KeyBindings::CarbonModifier::command;
using KeyBindings::CarbonModifier::shift;
using nlohmann::json;
using tavlin::platform::KeyChord;
using tavlin::platform::UserDefaults;
using namespace Qt::StringLiterals;
namespace X11 = tavlin::platform::X11Modifier;

namespace {

const Shortcut commandShiftSpace(Key::space.rawValue, command | shift);
const KeyChord superShiftSpace{KEY_SPACE + 8, X11::super | X11::shift};

class KeyBindingsTest : public ModuleTest {
protected:
    QStringList actions;

    void recordKeyUp(const Name& name, const QString& label) {
        KeyBindings::onKeyUp(name, [this, label] { actions << label; });
    }
};

}  // namespace

TEST_F(KeyBindingsTest, StoresTheShortcutAsAnObjectAndGrabsItAtOnce) {
    KeyBindings::setShortcut(controlOptionK, Name::togglePanel);

    const json stored = {{"carbonKeyCode", 40}, {"carbonModifiers", 6144}};
    EXPECT_EQ(defaults.object("KeyBindings_togglePanel"), stored);
    EXPECT_EQ(UserDefaults(defaults.filePath()).object("KeyBindings_togglePanel"), stored) << "written to the file";
    EXPECT_EQ(KeyBindings::getShortcut(Name::togglePanel), controlOptionK);
    EXPECT_EQ(Name::togglePanel.shortcut(), controlOptionK);
    EXPECT_EQ(backend.grabs, QList{controlAltK}) << "grabbed with no action attached";
    EXPECT_EQ(changes, QStringList{u"togglePanel"_s});
}

TEST_F(KeyBindingsTest, OnlyAStoredObjectIsAShortcut) {
    struct Case {
        const char* name;
        json value;
    };
    const Case cases[] = {
        {"the JSON text as a string", R"({"carbonKeyCode":40,"carbonModifiers":6144})"},
        {"the false of a cleared name", false},
        {"an object lacking a field", {{"carbonKeyCode", 40}}},
        {"a number", 40},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        defaults.set("KeyBindings_togglePanel", c.value);
        EXPECT_EQ(KeyBindings::getShortcut(Name::togglePanel), std::nullopt);
        recordKeyUp(Name::togglePanel, u"toggle"_s);
        EXPECT_TRUE(backend.grabs.isEmpty());
    }
}

TEST_F(KeyBindingsTest, ReplacingAShortcutMovesTheGrab) {
    Name::togglePanel.setShortcut(controlOptionK);
    Name::togglePanel.setShortcut(commandShiftSpace);
    EXPECT_EQ(backend.grabs, QList{superShiftSpace});
    Name::togglePanel.setShortcut(commandShiftSpace);
    EXPECT_EQ(backend.grabs, QList{superShiftSpace}) << "released and grabbed again";
    EXPECT_EQ(changes.size(), 3);
}

TEST_F(KeyBindingsTest, ClearingRemovesTheKeyOrStoresFalseAgainstADefault) {
    KeyBindings::setShortcut(std::nullopt, Name::togglePanel);
    EXPECT_TRUE(changes.isEmpty()) << "nothing stored, nothing to clear";
    EXPECT_TRUE(defaults.keys().isEmpty());

    Name::togglePanel.setShortcut(controlOptionK);
    Name::togglePanel.setShortcut(std::nullopt);
    EXPECT_TRUE(defaults.object("KeyBindings_togglePanel").is_null());
    EXPECT_TRUE(backend.grabs.isEmpty());

    const Name withDefault(u"capture"_s, commandShiftSpace);
    withDefault.setShortcut(std::nullopt);
    EXPECT_EQ(defaults.object("KeyBindings_capture"), json(false));
    EXPECT_TRUE(backend.grabs.isEmpty());
    EXPECT_EQ(changes, (QStringList{u"togglePanel"_s, u"togglePanel"_s, u"capture"_s, u"capture"_s}));
}

TEST_F(KeyBindingsTest, ADefaultIsStoredOnlyOnAFreshInstallation) {
    const Name first(u"capture"_s, commandShiftSpace);
    EXPECT_EQ(first.shortcut(), commandShiftSpace);
    EXPECT_EQ(backend.grabs, QList{superShiftSpace});

    first.setShortcut(controlOptionK);
    EXPECT_EQ(Name(u"capture"_s, commandShiftSpace).shortcut(), controlOptionK) << "changed by the user";
    first.setShortcut(std::nullopt);
    EXPECT_EQ(Name(u"capture"_s, commandShiftSpace).shortcut(), std::nullopt) << "cleared by the user";

    KeyBindings::reset({first});
    EXPECT_EQ(first.shortcut(), commandShiftSpace);
    EXPECT_EQ(backend.grabs, QList{superShiftSpace});
}

TEST_F(KeyBindingsTest, ANameWithoutDefaultWritesAndGrabsNothing) {
    const Name name(u"togglePanel"_s);
    EXPECT_TRUE(defaults.keys().isEmpty());
    EXPECT_TRUE(backend.grabs.isEmpty());
    EXPECT_EQ(name.defaultShortcut(), std::nullopt);
}

TEST_F(KeyBindingsTest, NamesAreEqualByTheirRawValue) {
    const Name plain(u"capture"_s);
    const Name withDefault(u"capture"_s, commandShiftSpace);
    EXPECT_EQ(plain, withDefault);
    QHash<Name, int> table{{plain, 1}};
    EXPECT_EQ(table.value(withDefault), 1);
    EXPECT_NE(plain, Name(u"Capture"_s));
}

TEST_F(KeyBindingsTest, ActionsRunInOrderOnPressAndRelease) {
    Name::togglePanel.setShortcut(controlOptionK);
    KeyBindings::onKeyDown(Name::togglePanel, [this] { actions << u"down 1"_s; });
    KeyBindings::onKeyDown(Name::togglePanel, [this] { actions << u"down 2"_s; });
    recordKeyUp(Name::togglePanel, u"up"_s);
    tap(controlAltK);
    EXPECT_EQ(actions, (QStringList{u"down 1"_s, u"down 2"_s, u"up"_s}));
}

TEST_F(KeyBindingsTest, AttachingAnActionGrabsAShortcutStoredEarlier) {
    defaults.set("KeyBindings_togglePanel", controlOptionK.toJson());
    EXPECT_TRUE(backend.grabs.isEmpty());
    recordKeyUp(Name::togglePanel, u"toggle"_s);
    EXPECT_EQ(backend.grabs, QList{controlAltK});
    tap(controlAltK);
    EXPECT_EQ(actions, QStringList{u"toggle"_s});
}

TEST_F(KeyBindingsTest, AShortcutChangedBehindTheModulesBackNoLongerRuns) {
    Name::togglePanel.setShortcut(controlOptionK);
    recordKeyUp(Name::togglePanel, u"toggle"_s);
    defaults.set("KeyBindings_togglePanel", commandShiftSpace.toJson());
    tap(controlAltK);
    EXPECT_TRUE(actions.isEmpty());
}

TEST_F(KeyBindingsTest, NamesSharingAShortcutShareOneHotKey) {
    const Name other(u"other"_s);
    Name::togglePanel.setShortcut(controlOptionK);
    other.setShortcut(controlOptionK);
    recordKeyUp(Name::togglePanel, u"toggle"_s);
    recordKeyUp(other, u"other"_s);
    EXPECT_EQ(backend.grabs, QList{controlAltK});

    tap(controlAltK);
    actions.sort();
    EXPECT_EQ(actions, (QStringList{u"other"_s, u"toggle"_s}));

    KeyBindings::removeHandler(other);
    EXPECT_TRUE(backend.grabs.isEmpty()) << "released for both";
}

TEST_F(KeyBindingsTest, WhilePausedNoActionRuns) {
    Name::togglePanel.setShortcut(controlOptionK);
    recordKeyUp(Name::togglePanel, u"toggle"_s);
    KeyBindings::setPaused(true);
    tap(controlAltK);
    EXPECT_TRUE(actions.isEmpty());
    KeyBindings::setPaused(false);
    tap(controlAltK);
    EXPECT_EQ(actions, QStringList{u"toggle"_s});
}

TEST_F(KeyBindingsTest, RemovingAllHandlersReleasesOnlyTheHandledShortcuts) {
    const Name unhandled(u"unhandled"_s);
    Name::togglePanel.setShortcut(controlOptionK);
    unhandled.setShortcut(commandShiftSpace);
    recordKeyUp(Name::togglePanel, u"toggle"_s);
    KeyBindings::removeAllHandlers();
    EXPECT_EQ(backend.grabs, QList{superShiftSpace});
    recordKeyUp(Name::togglePanel, u"again"_s);
    tap(controlAltK);
    EXPECT_EQ(actions, QStringList{u"again"_s}) << "the old actions are gone";
}

TEST_F(KeyBindingsTest, NamesAndTheModuleSwitchOnAndOff) {
    Name::togglePanel.setShortcut(controlOptionK);
    recordKeyUp(Name::togglePanel, u"toggle"_s);
    EXPECT_TRUE(KeyBindings::isEnabled(Name::togglePanel));

    KeyBindings::disable({Name::togglePanel});
    EXPECT_FALSE(KeyBindings::isEnabled(Name::togglePanel));
    EXPECT_TRUE(backend.grabs.isEmpty());
    KeyBindings::enable({Name::togglePanel});
    EXPECT_EQ(backend.grabs, QList{controlAltK});

    KeyBindings::setEnabled(false);
    EXPECT_FALSE(KeyBindings::isEnabled(Name::togglePanel));
    EXPECT_TRUE(backend.grabs.isEmpty());
    tap(controlAltK);
    KeyBindings::setEnabled(true);
    EXPECT_EQ(backend.grabs, QList{controlAltK});
    tap(controlAltK);
    EXPECT_EQ(actions, QStringList{u"toggle"_s});
}

TEST_F(KeyBindingsTest, ARefusedGrabIsNotReportedAsEnabled) {
    backend.heldByOthers = {controlAltK};
    testing::internal::CaptureStdout();
    Name::togglePanel.setShortcut(controlOptionK);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Error registering hotkey ⌃⌥K: 10\n");
    EXPECT_EQ(Name::togglePanel.shortcut(), controlOptionK) << "stored all the same";
    EXPECT_FALSE(KeyBindings::isEnabled(Name::togglePanel));
}

TEST_F(KeyBindingsTest, ResetGoesBackToEachDefault) {
    const Name withDefault(u"capture"_s, commandShiftSpace);
    withDefault.setShortcut(controlOptionK);
    defaults.set("KeyBindings_broken", "not a shortcut");
    changes.clear();

    KeyBindings::reset({withDefault, Name(u"broken"_s), Name(u"absent"_s)});
    EXPECT_EQ(withDefault.shortcut(), commandShiftSpace);
    EXPECT_EQ(defaults.object("KeyBindings_broken"), json("not a shortcut")) << "an undecodable value stays";
    EXPECT_EQ(changes, QStringList{u"capture"_s});
}

TEST_F(KeyBindingsTest, ResetAllRemovesEveryStoredShortcut) {
    defaults.set("primaryScope", "overdue");
    KeyBindings::resetAll();
    EXPECT_TRUE(changes.isEmpty()) << "no shortcut stored, nothing to do";

    const Name withDefault(u"capture"_s, commandShiftSpace);
    const Name cleared(u"cleared"_s, controlOptionK);
    cleared.setShortcut(std::nullopt);
    Name::togglePanel.setShortcut(controlOptionK);
    changes.clear();

    KeyBindings::resetAll();
    EXPECT_EQ(defaults.keys(), (QStringList{u"KeyBindings_cleared"_s, u"primaryScope"_s}));
    EXPECT_TRUE(backend.grabs.isEmpty());
    changes.sort();
    EXPECT_EQ(changes, (QStringList{u"capture"_s, u"togglePanel"_s}));
    EXPECT_EQ(Name(u"capture"_s, commandShiftSpace).shortcut(), commandShiftSpace) << "made again, it has its default";
}

TEST_F(KeyBindingsTest, AnOpenPopupTakesTheGrabsAndHotKeysStillWork) {
    Name::togglePanel.setShortcut(controlOptionK);
    recordKeyUp(Name::togglePanel, u"toggle"_s);

    QWindow menu;
    menu.setFlags(Qt::Popup);
    QWindow submenu;
    submenu.setFlags(Qt::Popup);
    QWindow toolTip;
    toolTip.setFlags(Qt::ToolTip);

    toolTip.show();
    EXPECT_FALSE(KeyBindings::isMenuOpen()) << "a tooltip holds no keyboard";
    menu.show();
    submenu.show();
    EXPECT_TRUE(KeyBindings::isMenuOpen());
    EXPECT_TRUE(backend.grabs.isEmpty());

    sendKeyEvent(submenu, QEvent::KeyPress, KEY_K, Qt::ControlModifier | Qt::AltModifier);
    sendKeyEvent(submenu, QEvent::KeyRelease, KEY_K, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(actions, QStringList{u"toggle"_s});

    submenu.hide();
    EXPECT_TRUE(KeyBindings::isMenuOpen()) << "the menu is still open";
    menu.hide();
    EXPECT_FALSE(KeyBindings::isMenuOpen());
    EXPECT_EQ(backend.grabs, QList{controlAltK});
}

TEST_F(KeyBindingsTest, AnActionMayCloseTheMenuItsKeyCameThrough) {
    QWindow menu;
    menu.setFlags(Qt::Popup);
    Name::togglePanel.setShortcut(controlOptionK);
    KeyBindings::onKeyDown(Name::togglePanel, [&menu] { menu.hide(); });
    recordKeyUp(Name::togglePanel, u"toggle"_s);
    menu.show();

    sendKeyEvent(menu, QEvent::KeyPress, KEY_K, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_FALSE(KeyBindings::isMenuOpen());
    EXPECT_EQ(backend.grabs, QList{controlAltK});
    backend.release(controlAltK);
    EXPECT_EQ(actions, QStringList{u"toggle"_s}) << "the release comes through the grab";
}

TEST(KeyBindingsWithoutX11Test, RefusesEveryGrabAndWorksOtherwise) {
    QTemporaryDir folder;
    UserDefaults defaults(folder.filePath(u"settings.json"_s));
    KeyBindings::Module module(defaults, tavlin::platform::makeSystemHotKeyBackend());
    testing::internal::CaptureStdout();
    Name::togglePanel.setShortcut(controlOptionK);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Error registering hotkey ⌃⌥K: -1\n");
    EXPECT_EQ(Name::togglePanel.shortcut(), controlOptionK);
    EXPECT_FALSE(KeyBindings::isEnabled(Name::togglePanel));
}
