// The main menu's keys in every Tavlin window, offscreen, with the keys
// sent through the windows as the window system sends them: the shortcut
// override to the focused widget first, then the press.

#include "app/MainMenu.h"

#include "AppDelegateFixture.h"
#include "mcp/MCPConfiguration.h"
#include "mcp/MCPServer.h"
#include "panel/PanelController.h"
#include "panel/PanelNotifications.h"
#include "preferences/PreferencesWindowController.h"
#include "preferences/PreferencesWindowPort.h"
#include "store/ReminderStore.h"
#include "support/MainLoop.h"

#include <gtest/gtest.h>
#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>
#include <QWindow>

using namespace Qt::StringLiterals;
using tavlin::app::MainMenu;
using tavlin::panel::PanelNotifications;

namespace {

// A window of Tavlin's other than the panel: a field holding "one two",
// a button, and shortcuts of the window's own on the menu's keys, which
// must never fire.
class OtherWindow : public QWidget {
public:
    OtherWindow() {
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(field);
        layout->addWidget(button);
        field->setText(u"one two"_s);
        for (const QKeyCombination keys : {Qt::ControlModifier | Qt::Key_Backspace, Qt::ControlModifier | Qt::Key_H,
                                           Qt::ControlModifier | Qt::Key_Q}) {
            auto* action = new QAction(this);
            action->setShortcut(keys);
            action->setShortcutContext(Qt::ApplicationShortcut);
            addAction(action);
            QObject::connect(action, &QAction::triggered, [this] { ++shortcutsFired; });
        }
    }

    // Shown with the keyboard, the field focused.
    bool showActive() {
        show();
        activateWindow();
        if (!QTest::qWaitForWindowActive(this)) return false;
        field->setFocus();
        return true;
    }
    void key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(windowHandle(), Qt::Key(key), modifiers);
    }

    QLineEdit* field = new QLineEdit(this);
    QPushButton* button = new QPushButton(u"Button"_s, this);
    int shortcutsFired = 0;
};

class MainMenuTest : public ::testing::Test {
protected:
    QStringList take() { return std::exchange(heard, {}); }

    QStringList heard;
    MainMenu menu{{.hide = [this] { heard << u"hide"_s; },
                   .quit = [this] { heard << u"quit"_s; },
                   .deleteReminder = [this] { heard << u"delete"_s; }}};
    OtherWindow window;
};

// Counts the requests to delete the panel's selection while it lives.
class DeleteRequests {
public:
    DeleteRequests()
        : connection_(QObject::connect(&PanelNotifications::instance(), &PanelNotifications::tavlinDeleteSelection,
                                       [this] { ++count_; })) {}
    ~DeleteRequests() { QObject::disconnect(connection_); }
    int take() { return std::exchange(count_, 0); }

private:
    QMetaObject::Connection connection_;
    int count_ = 0;
};

class MainMenuInTavlinTest : public AppDelegateFixture {
protected:
    // The settings window, shown with the keyboard.
    QWidget* showPreferences() {
        delegate->closures().openPreferences();
        auto* window = dynamic_cast<QWidget*>(delegate->preferencesController().window());
        if (!window || !QTest::qWaitForWindowActive(window)) return nullptr;
        return window;
    }
};

class MainMenuQuitTest : public MainMenuInTavlinTest {
protected:
    QByteArray settingsJSON() const override { return R"({"mcpEnabled": true})"; }
};

}  // namespace

// Each key of the menu does its command once and goes no further: not to
// the field (where Ctrl+Backspace deletes a word), nor to a shortcut;
// whatever has the focus.
TEST_F(MainMenuTest, TakesItsKeysBeforeTheFieldAndEveryShortcut) {
    ASSERT_TRUE(window.showActive());
    const struct {
        int key;
        Qt::KeyboardModifiers modifiers;
        QStringList heard;
        QString field;
    } cases[] = {
        {Qt::Key_Backspace, Qt::ControlModifier, {u"delete"_s}, u"one two"_s},
        {Qt::Key_H, Qt::ControlModifier, {u"hide"_s}, u"one two"_s},
        {Qt::Key_Q, Qt::ControlModifier, {u"quit"_s}, u"one two"_s},
        // Not the menu's: the field's.
        {Qt::Key_Backspace, Qt::NoModifier, {}, u"one tw"_s},
        {Qt::Key_H, Qt::ControlModifier | Qt::ShiftModifier, {}, u"one two"_s},
        {Qt::Key_Q, Qt::ControlModifier | Qt::AltModifier, {}, u"one twoq"_s},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(QKeySequence(c.key | c.modifiers).toString().toStdString());
        window.field->setText(u"one two"_s);
        window.field->setFocus();
        window.key(c.key, c.modifiers);
        EXPECT_EQ(take(), c.heard);
        EXPECT_EQ(window.field->text(), c.field);
    }
    window.button->setFocus();
    window.key(Qt::Key_Backspace, Qt::ControlModifier);
    EXPECT_EQ(take(), QStringList{u"delete"_s});
    EXPECT_EQ(window.shortcutsFired, 0);
}

TEST_F(MainMenuTest, LeavesTheEditingKeysToTheField) {
    ASSERT_TRUE(window.showActive());
    window.key(Qt::Key_A, Qt::ControlModifier);
    window.key(Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(window.field->text(), u""_s);
    window.key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(window.field->text(), u"one two"_s);
    window.key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(window.field->text(), u""_s);
    window.key(Qt::Key_V, Qt::ControlModifier);
    window.key(Qt::Key_C, Qt::ControlModifier);
    window.key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(window.field->text(), u"one twoone two"_s);
    EXPECT_EQ(take(), QStringList());
}

// A held Ctrl+Backspace deletes one selection, not one per repeat.
TEST_F(MainMenuTest, AHeldKeyDoesItsCommandOnce) {
    ASSERT_TRUE(window.showActive());
    QTest::keyPress(window.windowHandle(), Qt::Key_Control);
    for (const bool repeat : {false, true, true, true})
        QTest::simulateEvent(window.windowHandle(), true, Qt::Key_Backspace, Qt::ControlModifier, QString(), repeat);
    QTest::simulateEvent(window.windowHandle(), false, Qt::Key_Backspace, Qt::ControlModifier, QString(), false);
    QTest::keyRelease(window.windowHandle(), Qt::Key_Control);
    EXPECT_EQ(take(), QStringList{u"delete"_s});
    EXPECT_EQ(window.field->text(), u"one two"_s);
}

// Delete Reminder asks the panel to delete its selection from any window,
// with no panel open too, and once per press while the panel's own window
// takes the key in the panel.
TEST_F(MainMenuInTavlinTest, CtrlBackspaceAsksOncePerPressWithOrWithoutThePanel) {
    launch();
    DeleteRequests requests;
    OtherWindow other;
    ASSERT_TRUE(other.showActive());
    other.key(Qt::Key_Backspace, Qt::ControlModifier);
    EXPECT_EQ(requests.take(), 1) << "no panel open";
    EXPECT_EQ(other.field->text(), u"one two"_s);

    tavlin::panel::PanelController& panel = delegate->panelController();
    delegate->togglePanel(true);
    ASSERT_TRUE(panel.panel());
    auto* panelWindow = dynamic_cast<QWidget*>(panel.panel());
    ASSERT_TRUE(panelWindow && QTest::qWaitForWindowActive(panelWindow));
    QTest::keyClick(panelWindow->windowHandle(), Qt::Key_Backspace, Qt::ControlModifier);
    EXPECT_EQ(requests.take(), 1) << "in the panel";

    ASSERT_TRUE(other.showActive());
    other.key(Qt::Key_Backspace, Qt::ControlModifier);
    EXPECT_EQ(requests.take(), 1) << "in another window while the panel is open";
    EXPECT_EQ(other.field->text(), u"one two"_s);
}

TEST_F(MainMenuInTavlinTest, CtrlHClosesThePanelAndHidesTavlinsWindows) {
    launch();
    QWidget* preferences = showPreferences();
    ASSERT_TRUE(preferences);
    delegate->togglePanel(true);
    ASSERT_TRUE(delegate->panelController().panel());

    QTest::keyClick(preferences->windowHandle(), Qt::Key_H, Qt::ControlModifier);
    EXPECT_FALSE(delegate->panelController().panel());
    EXPECT_FALSE(preferences->isVisible());
    EXPECT_FALSE(delegate->preferencesController().window()->isVisible());
}

// Quit is the normal end: the deletion the user could still undo is
// carried out before the server gives up its port.
TEST_F(MainMenuQuitTest, CtrlQEndsTavlinWithThePendingDeletionCarriedOutFirst) {
    using tavlin::mcp::MCPConfiguration;
    launch();
    tavlin::store::ReminderStore& store = delegate->store();
    ASSERT_TRUE(runMainLoopUntil([&] { return !store.reminders().empty(); }));
    ASSERT_TRUE(delegate->mcpServer().port());
    store.queueDeletion(store.reminders().front());
    std::optional<bool> reminderThereAtPortRelease;
    QObject::connect(&delegate->mcpServer(), &tavlin::mcp::MCPServer::portChanged, [&] {
        if (!delegate->mcpServer().port()) reminderThereAtPortRelease = QFile::exists(reminderFile());
    });

    QWidget* preferences = showPreferences();
    ASSERT_TRUE(preferences);
    // Pressed while the application's loop runs, which the quit ends.
    QTimer::singleShot(0, [&] { QTest::keyClick(preferences->windowHandle(), Qt::Key_Q, Qt::ControlModifier); });
    EXPECT_EQ(runUntilQuit(), 0);
    EXPECT_EQ(reminderThereAtPortRelease, false);
    EXPECT_EQ(MCPConfiguration::read(MCPConfiguration::filePath())->port, std::nullopt);
}
