#include "keybindings/ActionShortcuts.h"
#include "keybindings/Key.h"
#include "keybindings/WidgetShortcuts.h"

#include "HotKeyFixtures.h"
#include "ModuleFixture.h"
#include "support/Printers.h"

#include <gtest/gtest.h>
#include <QAction>
#include <QWidget>

namespace KeyBindings = tavlin::KeyBindings;
using KeyBindings::EventType;
using KeyBindings::Key;
using KeyBindings::Name;
using KeyBindings::Shortcut;
using namespace Qt::StringLiterals;

namespace {

const Shortcut f5(Key::f5, Qt::NoModifier);
const QKeySequence controlAltKSequence(u"Ctrl+Alt+K"_s);

class ActionShortcutsTest : public ModuleTest {
protected:
    QAction action;
    const Name other{u"other"_s};
};

}  // namespace

TEST_F(ActionShortcutsTest, AnActionShowsAShortcutWhileItHasAQtForm) {
    KeyBindings::setShortcut(&action, controlOptionK);
    EXPECT_EQ(action.shortcut(), controlAltKSequence);
    KeyBindings::setShortcut(&action, Shortcut(Key::keypad1, Qt::ControlModifier));
    EXPECT_TRUE(action.shortcut().isEmpty()) << "a keypad key";
    KeyBindings::setShortcut(&action, controlOptionK);
    KeyBindings::setShortcut(&action, std::nullopt);
    EXPECT_TRUE(action.shortcut().isEmpty());
}

TEST_F(ActionShortcutsTest, ABoundActionFollowsItsNameOnTheNextTurn) {
    Name::togglePanel.setShortcut(controlOptionK);
    KeyBindings::bindShortcut(&action, Name::togglePanel);
    EXPECT_EQ(action.shortcut(), controlAltKSequence) << "at once";

    Name::togglePanel.setShortcut(f5);
    EXPECT_EQ(action.shortcut(), controlAltKSequence) << "not yet";
    nextTurn();
    EXPECT_EQ(action.shortcut(), QKeySequence(Qt::Key_F5));

    Name::togglePanel.setShortcut(std::nullopt);
    nextTurn();
    EXPECT_TRUE(action.shortcut().isEmpty());
}

TEST_F(ActionShortcutsTest, BindingAgainEndsTheEarlierBinding) {
    Name::togglePanel.setShortcut(controlOptionK);
    other.setShortcut(f5);
    KeyBindings::bindShortcut(&action, Name::togglePanel);
    KeyBindings::bindShortcut(&action, other);
    EXPECT_EQ(action.shortcut(), QKeySequence(Qt::Key_F5));
    Name::togglePanel.setShortcut(Shortcut(Key::f6, Qt::NoModifier));
    nextTurn();
    EXPECT_EQ(action.shortcut(), QKeySequence(Qt::Key_F5)) << "no longer follows the first Name";

    KeyBindings::bindShortcut(&action, std::nullopt);
    EXPECT_TRUE(action.shortcut().isEmpty());
    other.setShortcut(controlOptionK);
    nextTurn();
    EXPECT_TRUE(action.shortcut().isEmpty()) << "follows nothing";
}

TEST_F(ActionShortcutsTest, AGlobalShortcutYieldsToARecorderAndFollowsOnlyItsName) {
    Name::togglePanel.setShortcut(controlOptionK);
    KeyBindings::globalShortcut(&action, Name::togglePanel);
    EXPECT_EQ(action.shortcut(), controlAltKSequence);
    Name::togglePanel.setShortcut(f5);
    EXPECT_EQ(action.shortcut(), QKeySequence(Qt::Key_F5)) << "at once";

    emit module.recorderActiveStatusDidChange(true);
    EXPECT_TRUE(action.shortcut().isEmpty());
    emit module.recorderActiveStatusDidChange(false);
    EXPECT_EQ(action.shortcut(), QKeySequence(Qt::Key_F5));

    action.setShortcut(QKeySequence(u"Ctrl+Q"_s));
    other.setShortcut(controlOptionK);
    EXPECT_EQ(action.shortcut(), QKeySequence(u"Ctrl+Q"_s)) << "another Name's change is not read";
}

TEST_F(ActionShortcutsTest, AWidgetHearsItsShortcutWhileShown) {
    Name::togglePanel.setShortcut(controlOptionK);
    QStringList heard;
    auto* widget = new QWidget;
    KeyBindings::onGlobalShortcut(widget, Name::togglePanel,
                                  [&](EventType type) { heard << (type == EventType::keyDown ? u"down"_s : u"up"_s); });
    KeyBindings::onGlobalShortcut(widget, Name::togglePanel, EventType::keyUp, [&] { heard << u"released"_s; });
    nextTurn();
    tap(controlAltK);
    EXPECT_TRUE(heard.isEmpty()) << "not shown yet";

    widget->show();
    nextTurn();
    tap(controlAltK);
    heard.sort();
    EXPECT_EQ(heard, (QStringList{u"down"_s, u"released"_s, u"up"_s}));

    heard.clear();
    widget->hide();
    tap(controlAltK);
    EXPECT_TRUE(heard.isEmpty());
    nextTurn();
    EXPECT_TRUE(backend.grabs.isEmpty()) << "the streams left";

    widget->show();
    nextTurn();
    delete widget;
    nextTurn();
    EXPECT_TRUE(backend.grabs.isEmpty()) << "ended with the widget";
}
