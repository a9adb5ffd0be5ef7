#include "keybindings/Key.h"
#include "keybindings/KeyBindings.h"
#include "keybindings/Recorder.h"
#include "keybindings/RecorderControl.h"

#include "HotKeyFixtures.h"
#include "ModuleFixture.h"
#include "support/MainLoop.h"
#include "support/Printers.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QFormLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QStyle>
#include <QToolButton>
#include <QWindow>

#include <linux/input-event-codes.h>

namespace KeyBindings = tavlin::KeyBindings;
using KeyBindings::Key;
using KeyBindings::Name;
using KeyBindings::Recorder;
using KeyBindings::RecorderControl;
using KeyBindings::RecorderPresenter;
using KeyBindings::Shortcut;
using tavlin::platform::KeyChord;
using namespace Qt::StringLiterals;
namespace X11 = tavlin::platform::X11Modifier;

namespace {

using Reports = QList<std::optional<Shortcut>>;

class FakePresenter final : public RecorderPresenter {
public:
    void beep() override { ++beeps; }
    int alert(QWidget*, const Alert& alert) override {
        alerts << alert;
        return answer;
    }

    int beeps = 0;
    QList<Alert> alerts;
    int answer = 0;  // the button chosen
};

// A key as the X server reports it: its Qt key, its physical key, the
// modifiers, and the lock bits of the native state (Caps Lock is 0x02).
struct KeyPress {
    int key;
    quint32 evdevCode;
    Qt::KeyboardModifiers modifiers = Qt::NoModifier;
    QString text = {};
    quint32 nativeModifiers = 0;
};

const KeyPress controlShiftO{Qt::Key_O, KEY_O, Qt::ControlModifier | Qt::ShiftModifier};
const KeyChord controlShiftOChord{KEY_O + 8, X11::control | X11::shift};

// A window with the recorder and a field after it.
class RecorderControlTest : public ModuleTest {
protected:
    RecorderControlTest() {
        window.resize(400, 200);
        control = makeControl(window);
        control->move(20, 20);
        next->move(20, 100);
        QObject::connect(&module, &KeyBindings::Module::recorderActiveStatusDidChange,
                         [this](bool isActive) { statuses << isActive; });
    }

    RecorderControl* makeControl(QWidget& parent) {
        auto* made = new RecorderControl(
            Name::togglePanel, [this](const std::optional<Shortcut>& shortcut) { reports << shortcut; }, &parent);
        auto fake = std::make_unique<FakePresenter>();
        presenter = fake.get();
        made->setPresenter(std::move(fake));
        return made;
    }

    // Shown, active, and past the turn on which the field refuses the focus.
    static void show(QWidget& shown) {
        shown.show();
        ASSERT_TRUE(runMainLoopUntil([&] { return shown.isActiveWindow(); }));
        nextTurn();
    }

    void startRecording() {
        if (!window.isVisible()) show(window);
        control->setFocus(Qt::MouseFocusReason);
        ASSERT_TRUE(control->isRecording());
    }

    // As the application delivers a key: the shortcut override to the
    // focused widget, then the press through the window. Whether the
    // override was taken (no shortcut of the application fires).
    bool press(const KeyPress& key) {
        QKeyEvent shortcutOverride(QEvent::ShortcutOverride, key.key, key.modifiers, key.evdevCode + 8, 0,
                                   key.nativeModifiers, key.text);
        if (QWidget* focus = QApplication::focusWidget()) QApplication::sendEvent(focus, &shortcutOverride);
        QKeyEvent event(QEvent::KeyPress, key.key, key.modifiers, key.evdevCode + 8, 0, key.nativeModifiers, key.text);
        QApplication::sendEvent(window.windowHandle(), &event);
        return shortcutOverride.isAccepted();
    }

    // A left-button release at a point of the window, to the widget there.
    void releaseMouseAt(QPoint point) {
        QWidget* target = window.childAt(point);
        if (!target) target = &window;
        const QPointF local = target->mapFrom(&window, QPointF(point));
        QMouseEvent release(QEvent::MouseButtonRelease, local, target->mapToGlobal(local), Qt::LeftButton, Qt::NoButton,
                            Qt::NoModifier);
        QApplication::sendEvent(target, &release);
    }

    // Before the window, whose recorders report to them until they go.
    Reports reports;
    QList<bool> statuses;
    QWidget window;
    RecorderControl* control = nullptr;
    QLineEdit* next = new QLineEdit(&window);
    FakePresenter* presenter = nullptr;  // the last control's
};

}  // namespace

TEST_F(RecorderControlTest, ShowsTheStoredShortcutAtTheSizeOfALineEdit) {
    EXPECT_EQ(control->text(), QString());
    EXPECT_EQ(control->placeholderText(), u"Record Shortcut"_s);
    Name::togglePanel.setShortcut(controlOptionK);
    EXPECT_EQ(control->text(), u"⌃⌥K"_s);
    EXPECT_EQ(control->sizeHint(), QSize(130, QLineEdit().sizeHint().height()));
    EXPECT_EQ(control->alignment(), Qt::AlignCenter);
    EXPECT_TRUE(control->isClearButtonEnabled());
}

TEST_F(RecorderControlTest, RecordingPausesHotKeysAndHidesTheCaret) {
    const int caretWidth = control->style()->pixelMetric(QStyle::PM_TextCursorWidth, nullptr, control);
    startRecording();
    EXPECT_TRUE(KeyBindings::isPaused());
    EXPECT_EQ(control->placeholderText(), u"Press Shortcut"_s);
    EXPECT_EQ(control->style()->pixelMetric(QStyle::PM_TextCursorWidth, nullptr, control), 0);
    EXPECT_EQ(statuses, QList{true});

    next->setFocus(Qt::TabFocusReason);
    EXPECT_FALSE(control->isRecording());
    EXPECT_FALSE(KeyBindings::isPaused());
    EXPECT_EQ(control->placeholderText(), u"Record Shortcut"_s);
    EXPECT_EQ(control->style()->pixelMetric(QStyle::PM_TextCursorWidth, nullptr, control), caretWidth);
    EXPECT_EQ(statuses, (QList{true, false}));
}

TEST_F(RecorderControlTest, KeysWhileRecording) {
    const Shortcut stored = controlOptionK;
    struct Case {
        const char* name;
        KeyPress key;
        std::optional<Shortcut> shortcut;  // stored afterwards
        int beeps;
        bool recording;  // afterwards
    };
    const Case cases[] = {
        {"F5 alone", {Qt::Key_F5, KEY_F5}, Shortcut(Key::f5, Qt::NoModifier), 0, false},
        {"Shift+F5", {Qt::Key_F5, KEY_F5, Qt::ShiftModifier}, Shortcut(Key::f5, Qt::ShiftModifier), 0, false},
        {"A alone beeps", {Qt::Key_A, KEY_A, Qt::NoModifier, u"a"_s}, stored, 1, true},
        {"Shift+A beeps", {Qt::Key_A, KEY_A, Qt::ShiftModifier, u"A"_s}, stored, 1, true},
        {"Alt+A", {Qt::Key_A, KEY_A, Qt::AltModifier}, Shortcut(Key::a, Qt::AltModifier), 0, false},
        {"Shift+Tab beeps", {Qt::Key_Backtab, KEY_TAB, Qt::ShiftModifier}, stored, 1, true},
        {"Escape with Caps Lock ends recording", {Qt::Key_Escape, KEY_ESC, Qt::NoModifier, {}, 0x02}, stored, 0, false},
        {"Meta+Escape", {Qt::Key_Escape, KEY_ESC, Qt::MetaModifier}, Shortcut(Key::escape, Qt::MetaModifier), 0, false},
        {"Backspace alone clears and goes on", {Qt::Key_Backspace, KEY_BACKSPACE}, std::nullopt, 0, true},
        {"Delete alone clears and goes on", {Qt::Key_Delete, KEY_DELETE}, std::nullopt, 0, true},
        {"Shift+Backspace beeps", {Qt::Key_Backspace, KEY_BACKSPACE, Qt::ShiftModifier}, stored, 1, true},
        {"Ctrl+Backspace",
         {Qt::Key_Backspace, KEY_BACKSPACE, Qt::ControlModifier},
         Shortcut(Key::delete_, Qt::ControlModifier),
         0,
         false},
        {"a modifier pressed alone", {Qt::Key_Control, KEY_LEFTCTRL, Qt::ControlModifier}, stored, 0, true},
        {"F12 alone, held by the desktop", {Qt::Key_F12, KEY_F12}, Shortcut(Key::f12, Qt::NoModifier), 0, false},
    };
    backend.heldByOthers = {KeyChord{KEY_F12 + 8, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Name::togglePanel.setShortcut(stored);
        startRecording();
        presenter->beeps = 0;
        reports.clear();

        EXPECT_TRUE(press(c.key)) << "the shortcut override is taken";
        EXPECT_EQ(KeyBindings::getShortcut(Name::togglePanel), c.shortcut);
        EXPECT_EQ(control->text(), c.shortcut ? c.shortcut->description() : QString());
        EXPECT_EQ(reports, c.shortcut == stored ? Reports{} : Reports{c.shortcut});
        EXPECT_EQ(presenter->beeps, c.beeps);
        EXPECT_EQ(control->isRecording(), c.recording);
        EXPECT_EQ(KeyBindings::isPaused(), c.recording);
    }
    EXPECT_TRUE(presenter->alerts.isEmpty());
}

TEST_F(RecorderControlTest, TabMovesTheFocusOnAlsoWithCapsLock) {
    Name::togglePanel.setShortcut(controlOptionK);
    startRecording();
    press({Qt::Key_Tab, KEY_TAB, Qt::NoModifier, u"\t"_s, 0x02});
    EXPECT_TRUE(next->hasFocus());
    EXPECT_FALSE(control->isRecording());
    EXPECT_EQ(Name::togglePanel.shortcut(), controlOptionK);
}

TEST_F(RecorderControlTest, OnlyWhileRecordingAreKeysTakenFromTheApplication) {
    show(window);
    next->setFocus();
    EXPECT_FALSE(press({Qt::Key_Q, KEY_Q, Qt::ControlModifier}));
    EXPECT_EQ(next->text(), QString());
}

TEST_F(RecorderControlTest, AClickNearTheFieldKeepsRecordingAndOneFartherAwayEndsIt) {
    struct Case {
        const char* name;
        QPoint point;  // in the window
        bool recording;
    };
    show(window);
    const QRect field = control->geometry();
    const Case cases[] = {
        {"inside", field.center(), true},
        {"3 px to the left", QPoint(field.left() - 3, field.center().y()), true},
        {"3 px below", QPoint(field.center().x(), field.bottom() + 3), true},
        {"4 px to the left", QPoint(field.left() - 4, field.center().y()), false},
        {"on the next field", next->geometry().center(), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        startRecording();
        releaseMouseAt(c.point);
        EXPECT_EQ(control->isRecording(), c.recording);
    }
}

TEST_F(RecorderControlTest, TheClearButtonClearsAndRecordingGoesOn) {
    Name::togglePanel.setShortcut(controlOptionK);
    startRecording();
    auto* clearButton = control->findChild<QToolButton*>();
    ASSERT_NE(clearButton, nullptr);
    for (const auto& [type, buttons] :
         {std::pair{QEvent::MouseButtonPress, Qt::LeftButton}, std::pair{QEvent::MouseButtonRelease, Qt::NoButton}}) {
        const QPointF middle = clearButton->rect().center();
        QMouseEvent event(type, middle, clearButton->mapToGlobal(middle), Qt::LeftButton, buttons, Qt::NoModifier);
        QApplication::sendEvent(clearButton, &event);
    }
    EXPECT_EQ(Name::togglePanel.shortcut(), std::nullopt);
    EXPECT_EQ(control->text(), QString());
    EXPECT_EQ(reports, Reports{std::nullopt});
    EXPECT_TRUE(control->isRecording());
}

TEST_F(RecorderControlTest, AShortcutOfTheMenuBarIsRefused) {
    auto* menuBar = new QMenuBar(&window);
    QMenu* file = menuBar->addMenu(u"&File"_s);
    file->addAction(u"&Quit"_s)->setShortcut(QKeySequence(u"Ctrl+Q"_s));
    QMenu* recent = file->addMenu(u"Open &Recent"_s);
    recent->addAction(u"&Clear && Forget"_s)->setShortcut(QKeySequence(u"Ctrl+Shift+O"_s));
    // Taken elsewhere too: the menu's alert is the only one.
    backend.heldByOthers = {controlShiftOChord};
    startRecording();
    statuses.clear();

    press(controlShiftO);
    ASSERT_EQ(presenter->alerts.size(), 1);
    EXPECT_EQ(presenter->alerts[0].text,
              u"This shortcut can’t be used because the menu item “Clear & Forget” already uses it."_s);
    EXPECT_TRUE(backend.probes.isEmpty());
    EXPECT_EQ(Name::togglePanel.shortcut(), std::nullopt);
    EXPECT_EQ(statuses, (QList{false, true})) << "recording ends for the alert and starts again";
    EXPECT_TRUE(control->isRecording());
}

TEST_F(RecorderControlTest, AShortcutAnotherProgramHoldsIsStoredOnlyWhenForced) {
    backend.heldByOthers = {controlAltK};
    const KeyPress controlAltKPress{Qt::Key_K, KEY_K, Qt::ControlModifier | Qt::AltModifier};
    startRecording();

    press(controlAltKPress);
    ASSERT_EQ(presenter->alerts.size(), 1);
    const RecorderPresenter::Alert& alert = presenter->alerts[0];
    EXPECT_EQ(alert.text, u"Another program or the desktop already uses this shortcut."_s);
    EXPECT_EQ(alert.informativeText, u"The desktop’s own shortcuts can be changed in its keyboard settings."_s);
    EXPECT_EQ(alert.buttons, (QStringList{u"OK"_s, u"Use Anyway"_s}));
    EXPECT_EQ(Name::togglePanel.shortcut(), std::nullopt);
    EXPECT_TRUE(control->isRecording());

    presenter->answer = 1;
    testing::internal::CaptureStdout();
    press(controlAltKPress);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Error registering hotkey ⌃⌥K: 10\n");
    EXPECT_EQ(Name::togglePanel.shortcut(), controlOptionK);
    EXPECT_EQ(control->text(), u"⌃⌥K"_s);
    EXPECT_FALSE(control->isRecording());
}

TEST_F(RecorderControlTest, FollowsItsNameOnly) {
    RecorderControl* second = makeControl(window);
    const Name other(u"other"_s);
    startRecording();
    press({Qt::Key_K, KEY_K, Qt::ControlModifier | Qt::AltModifier});
    EXPECT_EQ(second->text(), u"⌃⌥K"_s) << "another recorder's store";

    other.setShortcut(Shortcut(Key::f5, Qt::NoModifier));
    EXPECT_EQ(second->text(), u"⌃⌥K"_s);

    second->setText(u"unchanged"_s);
    second->setShortcutName(Name(u"togglePanel"_s, Shortcut(Key::f6, Qt::NoModifier)));
    EXPECT_EQ(second->text(), u"unchanged"_s) << "the same raw value";
    second->setShortcutName(other);
    EXPECT_EQ(second->text(), u"F5"_s);
}

TEST_F(RecorderControlTest, NeverStartsRecordingWhenItsWindowIsShownOrActivated) {
    QWidget alone;
    RecorderControl* field = makeControl(alone);
    alone.show();
    ASSERT_TRUE(runMainLoopUntil([&] { return alone.isActiveWindow(); }));
    EXPECT_FALSE(field->hasFocus());
    EXPECT_FALSE(field->isRecording());

    nextTurn();
    field->setFocus(Qt::MouseFocusReason);
    EXPECT_TRUE(field->isRecording());

    // Another window: recording ends, and does not come back with the window.
    QWidget elsewhere;
    elsewhere.show();
    ASSERT_TRUE(runMainLoopUntil([&] { return elsewhere.isActiveWindow(); }));
    EXPECT_FALSE(field->isRecording());
    EXPECT_FALSE(KeyBindings::isPaused());
    alone.activateWindow();
    ASSERT_TRUE(runMainLoopUntil([&] { return alone.isActiveWindow(); }));
    EXPECT_FALSE(field->isRecording());
    EXPECT_EQ(statuses.first(), true);
    EXPECT_EQ(statuses.last(), false);
}

TEST_F(RecorderControlTest, EndsWhenHiddenAndWhenDestroyed) {
    startRecording();
    control->hide();
    EXPECT_FALSE(control->isRecording());
    EXPECT_FALSE(KeyBindings::isPaused());

    control->show();
    startRecording();
    statuses.clear();
    delete control;
    EXPECT_FALSE(KeyBindings::isPaused()) << "else every hot key would stay dead";
    EXPECT_EQ(statuses.last(), false);
}

TEST_F(RecorderControlTest, AnIdleRecorderThatEndsLeavesTheRecordingOnePaused) {
    RecorderControl* idle = makeControl(window);
    startRecording();
    statuses.clear();
    idle->hide();
    EXPECT_TRUE(KeyBindings::isPaused()) << "else hot keys would fire while recording";
    EXPECT_EQ(statuses, QList{false}) << "an end without a start is still told";
    EXPECT_TRUE(control->isRecording());
}

TEST_F(RecorderControlTest, RecordersInAFormLineUpAfterTheirLabels) {
    QWidget form;
    auto* layout = new QFormLayout(&form);
    auto* short_ = new Recorder(u"Panel"_s, Name::togglePanel);
    auto* long_ = new Recorder(u"A much longer label"_s, Name(u"other"_s));
    auto* labelWidget = new QLabel(u"Widget"_s);
    auto* withWidget = new Recorder(labelWidget, Name(u"third"_s));
    auto* emptyLabel = new Recorder(QString(), Name(u"fourth"_s));
    for (Recorder* recorder : QList{short_, long_, withWidget, emptyLabel}) recorder->addRowTo(*layout);
    form.show();
    ASSERT_TRUE(runMainLoopUntil([&] { return form.isActiveWindow(); }));

    EXPECT_EQ(emptyLabel->label(), nullptr) << "an empty label takes no space";
    EXPECT_EQ(layout->labelForField(emptyLabel), nullptr);
    EXPECT_EQ(layout->labelForField(withWidget), labelWidget);
    const int left = short_->control()->mapTo(&form, QPoint()).x();
    for (Recorder* recorder : QList{long_, withWidget, emptyLabel})
        EXPECT_EQ(recorder->control()->mapTo(&form, QPoint()).x(), left);
    EXPECT_GT(left, long_->label()->geometry().right());
}

TEST_F(RecorderControlTest, ARecorderKeepsItsFirstOnChangeForANewName) {
    Reports seen;
    QWidget window2;
    auto* recorder = new Recorder(
        Name(u"first"_s), [&](const std::optional<Shortcut>& s) { seen << s; }, &window2);
    auto fake = std::make_unique<FakePresenter>();
    recorder->control()->setPresenter(std::move(fake));
    Name(u"second"_s).setShortcut(controlOptionK);
    recorder->setName(Name(u"second"_s));
    EXPECT_EQ(recorder->control()->text(), u"⌃⌥K"_s);

    show(window2);
    recorder->control()->setFocus(Qt::MouseFocusReason);
    QKeyEvent f5(QEvent::KeyPress, Qt::Key_F5, Qt::NoModifier, KEY_F5 + 8, 0, 0);
    QApplication::sendEvent(window2.windowHandle(), &f5);
    EXPECT_EQ(seen, Reports{Shortcut(Key::f5, Qt::NoModifier)});
    EXPECT_EQ(Name(u"second"_s).shortcut(), Shortcut(Key::f5, Qt::NoModifier));
}
