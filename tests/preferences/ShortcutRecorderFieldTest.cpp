#include "preferences/ShortcutRecorderField.h"

#include "keybindings/Key.h"
#include "keybindings/KeyBindings.h"
#include "support/FakeHotKeyBackend.h"

#include <gtest/gtest.h>
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>

#include <linux/input-event-codes.h>

namespace KeyBindings = tavlin::KeyBindings;
using KeyBindings::Key;
using KeyBindings::Name;
using KeyBindings::Shortcut;
using tavlin::platform::KeyChord;
using tavlin::platform::UserDefaults;
using tavlin::preferences::ShortcutRecorderField;
namespace Carbon = KeyBindings::CarbonModifier;
namespace X11 = tavlin::platform::X11Modifier;
using namespace Qt::StringLiterals;

namespace {

const Shortcut controlOptionK(Key::k.rawValue, Carbon::control | Carbon::option);
const KeyChord controlAltK{KEY_K + 8, X11::control | X11::alt};

// A key press as X delivers it: the key's X keycode (evdev + 8) as the
// native scan code, which synthetic test events lack.
struct Press {
    quint32 evdevCode;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers = Qt::NoModifier;
};

void press(QObject& receiver, const Press& key) {
    QKeyEvent event(QEvent::KeyPress, key.key, key.modifiers, key.evdevCode + 8, 0, 0);
    QCoreApplication::sendEvent(&receiver, &event);
}

class ShortcutRecorderFieldTest : public ::testing::Test {
protected:
    ShortcutRecorderFieldTest() {
        KeyBindings::setShortcut(controlOptionK, Name::togglePanel);
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(lineEdit);
        layout->addWidget(field);
        field->recorder().setBeep([this] { ++beeps; });
        window.show();
    }

    // What is stored now, read back from the file.
    nlohmann::json stored() const { return UserDefaults(defaults.filePath()).object("KeyBindings_togglePanel"); }
    QString buttonText() const { return field->recordButton().text(); }
    bool removeShown() const { return field->removeButton().isVisible(); }

    QTemporaryDir folder;
    UserDefaults defaults{folder.filePath(u"settings.json"_s)};
    std::unique_ptr<FakeHotKeyBackend> ownedBackend = std::make_unique<FakeHotKeyBackend>();
    FakeHotKeyBackend& backend = *ownedBackend;
    KeyBindings::Module module{defaults, std::move(ownedBackend)};
    QWidget window;
    QLineEdit* lineEdit = new QLineEdit;
    ShortcutRecorderField* field = new ShortcutRecorderField(Name::togglePanel);
    int beeps = 0;
};

}  // namespace

TEST_F(ShortcutRecorderFieldTest, ShowsTheStoredShortcutWithARemoveButton) {
    EXPECT_EQ(buttonText(), u"⌃⌥K"_s);
    EXPECT_GE(field->recordButton().width(), 130);
    EXPECT_TRUE(removeShown());
    EXPECT_EQ(field->removeButton().accessibleName(), u"Remove shortcut"_s);

    field->recordButton().click();
    EXPECT_EQ(buttonText(), u"Press shortcut…"_s);
    EXPECT_FALSE(removeShown()) << "not while recording";
    field->recordButton().click();

    field->removeButton().click();
    EXPECT_EQ(buttonText(), u"Record Shortcut"_s);
    EXPECT_FALSE(removeShown());
    EXPECT_TRUE(stored().is_null());
    EXPECT_TRUE(backend.grabs.isEmpty());
}

TEST_F(ShortcutRecorderFieldTest, RecordingTakesTheNextCombination) {
    const nlohmann::json unchanged = controlOptionK.toJson();
    struct Case {
        const char* name;
        std::vector<Press> presses;
        bool clickAgain;
        nlohmann::json stored;  // null: none
        QString text;
        bool recording;
        int beeps;
    };
    const Case cases[] = {
        {"Super+Shift+Space",
         {{KEY_SPACE, Qt::Key_Space, Qt::MetaModifier | Qt::ShiftModifier}},
         false,
         {{"carbonKeyCode", 49}, {"carbonModifiers", 768}},
         u"⇧⌘Space"_s,
         false,
         0},
        {"A", {{KEY_A, Qt::Key_A}}, false, unchanged, u"Press shortcut…"_s, true, 1},
        {"Shift+A", {{KEY_A, Qt::Key_A, Qt::ShiftModifier}}, false, unchanged, u"Press shortcut…"_s, true, 1},
        {"Backspace alone clears",
         {{KEY_BACKSPACE, Qt::Key_Backspace}},
         false,
         nullptr,
         u"Record Shortcut"_s,
         false,
         0},
        {"Escape alone restores", {{KEY_ESC, Qt::Key_Escape}}, false, unchanged, u"⌃⌥K"_s, false, 0},
        {"the button again restores", {}, true, unchanged, u"⌃⌥K"_s, false, 0},
        {"Ctrl+Escape records",
         {{KEY_ESC, Qt::Key_Escape, Qt::ControlModifier}},
         false,
         {{"carbonKeyCode", 53}, {"carbonModifiers", 4096}},
         Shortcut(53, Carbon::control).description(),
         false,
         0},
        {"Ctrl+Backspace records",
         {{KEY_BACKSPACE, Qt::Key_Backspace, Qt::ControlModifier}},
         false,
         {{"carbonKeyCode", 51}, {"carbonModifiers", 4096}},
         Shortcut(51, Carbon::control).description(),
         false,
         0},
        {"Shift+Backspace beeps",
         {{KEY_BACKSPACE, Qt::Key_Backspace, Qt::ShiftModifier}},
         false,
         unchanged,
         u"Press shortcut…"_s,
         true,
         1},
        {"lone modifiers",
         {{KEY_LEFTCTRL, Qt::Key_Control, Qt::ControlModifier},
          {KEY_LEFTSHIFT, Qt::Key_Shift, Qt::ControlModifier | Qt::ShiftModifier},
          {KEY_LEFTMETA, Qt::Key_Meta, Qt::MetaModifier},
          {KEY_RIGHTALT, Qt::Key_AltGr, Qt::NoModifier},
          {KEY_CAPSLOCK, Qt::Key_CapsLock, Qt::NoModifier}},
         false,
         unchanged,
         u"Press shortcut…"_s,
         true,
         0},
        {"Ctrl, then Alt, then J",
         {{KEY_LEFTCTRL, Qt::Key_Control, Qt::ControlModifier},
          {KEY_LEFTALT, Qt::Key_Alt, Qt::ControlModifier | Qt::AltModifier},
          {KEY_J, Qt::Key_J, Qt::ControlModifier | Qt::AltModifier}},
         false,
         {{"carbonKeyCode", 38}, {"carbonModifiers", 6144}},
         u"⌃⌥J"_s,
         false,
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        KeyBindings::setShortcut(controlOptionK, Name::togglePanel);
        field->recorder().load();
        beeps = 0;
        field->recordButton().click();
        ASSERT_TRUE(field->recorder().isRecording());
        EXPECT_TRUE(backend.grabs.isEmpty()) << "the hot key is released while recording";
        EXPECT_EQ(stored(), unchanged) << "and stays stored";

        for (const Press& key : c.presses) press(*lineEdit, key);
        if (c.clickAgain) field->recordButton().click();

        EXPECT_EQ(stored(), c.stored);
        EXPECT_EQ(buttonText(), c.text);
        EXPECT_EQ(field->recorder().isRecording(), c.recording);
        EXPECT_EQ(beeps, c.beeps);
        EXPECT_EQ(lineEdit->text(), QString());
        if (c.recording) field->recorder().cancelRecording();
        // Whatever is stored now is grabbed.
        const auto shortcut = Shortcut::fromJson(stored());
        EXPECT_EQ(backend.grabs.size(), shortcut ? 1 : 0);
        EXPECT_EQ(removeShown(), shortcut.has_value());
    }
}

// Ctrl+Alt+M is another program's: storing it would give a hot key that
// never fires, so the field says so and waits for another combination.
TEST_F(ShortcutRecorderFieldTest, ACombinationAnotherProgramHoldsIsNamedAndNotStored) {
    backend.heldByOthers.append(KeyChord{KEY_M + 8, X11::control | X11::alt});
    const nlohmann::json unchanged = controlOptionK.toJson();
    EXPECT_FALSE(field->takenNote().isVisibleTo(&window));
    field->recordButton().click();
    press(*lineEdit, {KEY_M, Qt::Key_M, Qt::ControlModifier | Qt::AltModifier});
    EXPECT_TRUE(field->recorder().isRecording());
    EXPECT_EQ(stored(), unchanged);
    EXPECT_EQ(buttonText(), u"Press shortcut…"_s);
    EXPECT_EQ(beeps, 1);
    EXPECT_TRUE(field->takenNote().isVisibleTo(&window));
    EXPECT_EQ(field->takenNote().text(), u"⌃⌥M: Another program or the desktop already uses this shortcut."_s);

    // Another combination is free, and is stored; the note goes.
    press(*lineEdit, {KEY_J, Qt::Key_J, Qt::ControlModifier | Qt::AltModifier});
    EXPECT_FALSE(field->recorder().isRecording());
    EXPECT_EQ(buttonText(), u"⌃⌥J"_s);
    EXPECT_FALSE(field->takenNote().isVisibleTo(&window));
}

TEST_F(ShortcutRecorderFieldTest, NoKeyReachesTheWindowWhileRecording) {
    int triggered = 0;
    auto* action = new QAction(&window);
    action->setShortcut(QKeySequence(u"Ctrl+K"_s));
    window.addAction(action);
    QObject::connect(action, &QAction::triggered, [&] { ++triggered; });
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    lineEdit->setFocus();

    field->recordButton().click();
    lineEdit->setFocus();
    QTest::keyClicks(lineEdit, u"ab"_s);
    QTest::keyClick(lineEdit, Qt::Key_K, Qt::ControlModifier);
    EXPECT_EQ(lineEdit->text(), QString());
    EXPECT_EQ(triggered, 0);
    EXPECT_TRUE(field->recorder().isRecording());

    field->recorder().cancelRecording();
    QTest::keyClicks(lineEdit, u"ab"_s);
    QTest::keyClick(lineEdit, Qt::Key_K, Qt::ControlModifier);
    EXPECT_EQ(lineEdit->text(), u"ab"_s) << "the keys arrive again";
    EXPECT_EQ(triggered, 1);
}

TEST_F(ShortcutRecorderFieldTest, LeavingTheScreenOrQuittingWhileRecordingKeepsTheShortcut) {
    field->recordButton().click();
    window.hide();
    EXPECT_FALSE(field->recorder().isRecording()) << "hiding cancels";
    EXPECT_EQ(backend.grabs, QList{controlAltK});

    window.show();
    field->recordButton().click();
    ASSERT_TRUE(backend.grabs.isEmpty());
    delete field;
    EXPECT_EQ(stored(), controlOptionK.toJson());
    EXPECT_EQ(backend.grabs, QList{controlAltK}) << "grabbed again";
    press(*lineEdit, {KEY_A, Qt::Key_A});
    EXPECT_EQ(beeps, 0);
}

TEST_F(ShortcutRecorderFieldTest, ComingOnScreenLoadsTheStoredShortcut) {
    window.hide();
    KeyBindings::setShortcut(std::nullopt, Name::togglePanel);
    window.show();
    EXPECT_EQ(buttonText(), u"Record Shortcut"_s);
    EXPECT_FALSE(removeShown());
}

TEST_F(ShortcutRecorderFieldTest, WhereTheDesktopChoseTheKeyTheFieldShowsItAndItsButtonAsksTheDesktop) {
    backend.desktopTrigger = u"Meta+Space"_s;
    backend.announceChange();
    EXPECT_EQ(buttonText(), u"Meta+Space"_s);
    field->recordButton().click();
    EXPECT_EQ(backend.changeRequests, 1);
    EXPECT_FALSE(field->recorder().isRecording());
    EXPECT_EQ(buttonText(), u"Meta+Space"_s);

    field->removeButton().click();
    EXPECT_EQ(buttonText(), u"Record Shortcut"_s);
    field->recordButton().click();
    EXPECT_TRUE(field->recorder().isRecording()) << "without a shortcut the field records one";
}
