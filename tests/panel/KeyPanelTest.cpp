#include "panel/PanelNotifications.h"
#include "panel/widgets/KeyPanel.h"
#include "platform/SyntheticKeys.h"

#include "PanelModelFixture.h"

#include "support/MainLoop.h"

#include <gtest/gtest.h>
#include <QAction>
#include <QClipboard>
#include <QCursor>
#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QWindow>

#include <chrono>
#include <vector>

using namespace std::chrono_literals;
using namespace Qt::StringLiterals;
using namespace tavlin::panel;
using tavlin::panel::widgets::KeyPanel;
using tavlin::panel::widgets::PanelRootView;

namespace {

// A widget that takes the focus and notes the keys that reach it.
class KeyRecorder : public QWidget {
public:
    explicit KeyRecorder(QWidget* parent) : QWidget(parent) { setFocusPolicy(Qt::StrongFocus); }
    std::vector<int> keys;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        // The modifiers' own presses are of no interest here.
        if (event->key() < Qt::Key_Shift || event->key() > Qt::Key_Alt) keys.push_back(event->key());
    }
};

// A field and a list-like widget over a background that notes the presses
// and wheel turns that reach it.
class TestRootView : public PanelRootView {
public:
    explicit TestRootView(QWidget* parent)
        : PanelRootView(parent), field(new QLineEdit(this)), list(new KeyRecorder(this)) {
        field->setGeometry(40, 40, 300, 30);
        list->setGeometry(40, 100, 300, 60);
    }
    bool handleExitCommand() override {
        ++exitCommands;
        return takesEscape;
    }
    bool commandReturn(Qt::KeyboardModifiers) override {
        ++commandReturns;
        return takesCommandReturn;
    }
    QSize sizeHint() const override { return {520, 300}; }

    QLineEdit* field;
    KeyRecorder* list;
    bool takesEscape = false;
    int exitCommands = 0;
    bool takesCommandReturn = true;
    int commandReturns = 0;
    int presses = 0;
    int wheels = 0;

protected:
    void mousePressEvent(QMouseEvent*) override { ++presses; }
    void wheelEvent(QWheelEvent*) override { ++wheels; }
};

class KeyPanelTest : public PanelModelFixture {
protected:
    void SetUp() override {
        PanelWindow::Callbacks callbacks;
        callbacks.onCancel = [this] { heard << u"cancel"_s; };
        callbacks.wantsListKeys = [this] { return wantsListKeys; };
        callbacks.onBackgroundLongPress = [this] { heard << u"long press"_s; };
        callbacks.activeResizeEdges = [this] { return activeEdges; };
        callbacks.beginUserResize = [this](PanelResizeEdges edges) { heard << u"begin %1"_s.arg(edges.toInt()); };
        callbacks.userResize = [this](PanelResizeEdges edges, QPointF delta) {
            heard << u"resize %1 %2,%3"_s.arg(edges.toInt()).arg(delta.x()).arg(delta.y());
        };
        callbacks.endUserResize = [this] { heard << u"end"_s; };
        callbacks.backgroundDragMoved = [this](QPointF p) { heard << u"drag %1,%2"_s.arg(p.x()).arg(p.y()); };
        callbacks.backgroundDragEnded = [this](QPointF p) { heard << u"dropped %1,%2"_s.arg(p.x()).arg(p.y()); };
        callbacks.didResignKey = [this] { heard << u"resigned"_s; };
        panel.setCallbacks(std::move(callbacks));
        panel.setRootView(makeModel());
        panel.installContent(16);
        panel.layoutContent();
        panel.setFrame(QRectF(100, 100, 520, 300));
        panel.makeKeyAndOrderFront();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&panel));
        root = static_cast<TestRootView*>(panel.rootView());
        for (const auto& signal : {&PanelNotifications::tavlinDeleteSelection})
            connections.push_back(
                QObject::connect(&PanelNotifications::instance(), signal, [this] { heard << u"delete"_s; }));
        connections.push_back(QObject::connect(&PanelNotifications::instance(), &PanelNotifications::tavlinListKey,
                                               [this](PanelListKey key) { heard << u"list %1"_s.arg(int(key)); }));
    }
    void TearDown() override {
        for (const auto& connection : connections) QObject::disconnect(connection);
    }

    QWindow* window() { return panel.windowHandle(); }
    void key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(window(), Qt::Key(key), modifiers);
    }
    KeyPanel panel{[](PanelModel&, QWidget* parent) { return new TestRootView(parent); }, false};
    TestRootView* root = nullptr;
    bool wantsListKeys = true;
    PanelResizeEdges activeEdges =
        PanelResizeEdge::top | PanelResizeEdge::bottom | PanelResizeEdge::left | PanelResizeEdge::right;
    std::vector<QMetaObject::Connection> connections;
};

QString listKeyHeard(PanelListKey key) { return u"list %1"_s.arg(int(key)); }

}  // namespace

TEST_F(KeyPanelTest, ListKeysAreTakenFromTheFocusedListOnly) {
    struct Case {
        int key;
        Qt::KeyboardModifiers modifiers;
        std::optional<PanelListKey> listKey;
    };
    const Case cases[] = {
        {Qt::Key_Down, Qt::NoModifier, PanelListKey::down},
        {Qt::Key_Down, Qt::ShiftModifier, PanelListKey::extendDown},
        {Qt::Key_Up, Qt::NoModifier, PanelListKey::up},
        {Qt::Key_Space, Qt::NoModifier, PanelListKey::space},
        {Qt::Key_Enter, Qt::KeypadModifier, PanelListKey::return_},
        {Qt::Key_Return, Qt::NoModifier, PanelListKey::return_},
        {Qt::Key_Down, Qt::AltModifier, std::nullopt},
        {Qt::Key_Down, Qt::ControlModifier, std::nullopt},
        {Qt::Key_Space, Qt::ShiftModifier, std::nullopt},
        {Qt::Key_Return, Qt::ShiftModifier, std::nullopt},
    };
    root->list->setFocus();
    for (const Case& c : cases) {
        root->list->keys.clear();
        key(c.key, c.modifiers);
        if (c.listKey) {
            EXPECT_EQ(take(), QStringList{listKeyHeard(*c.listKey)}) << c.key;
            EXPECT_TRUE(root->list->keys.empty()) << c.key;
        } else {
            EXPECT_EQ(take(), QStringList()) << c.key;
            EXPECT_EQ(root->list->keys, std::vector<int>{c.key});
        }
    }

    // Without full access nothing is taken.
    wantsListKeys = false;
    root->list->keys.clear();
    key(Qt::Key_Down);
    EXPECT_TRUE(take().isEmpty());
    EXPECT_EQ(root->list->keys, std::vector<int>{Qt::Key_Down});
}

TEST_F(KeyPanelTest, AFocusedFieldGetsEveryKey) {
    root->field->setFocus();
    root->field->setText(u"ab"_s);
    key(Qt::Key_Left);
    key(Qt::Key_Space);
    key(Qt::Key_Down);
    key(Qt::Key_Return);
    EXPECT_TRUE(take().isEmpty());
    EXPECT_EQ(root->field->text(), u"a b"_s);
}

TEST_F(KeyPanelTest, CtrlBackspaceDeletesTheSelectionOncePerPressWhateverHasTheFocus) {
    int shortcuts = 0;
    QAction deleteReminder(&panel);
    deleteReminder.setShortcut(QKeySequence(Qt::ControlModifier | Qt::Key_Backspace));
    deleteReminder.setShortcutContext(Qt::ApplicationShortcut);
    panel.addAction(&deleteReminder);
    QObject::connect(&deleteReminder, &QAction::triggered, [&] { ++shortcuts; });

    root->field->setFocus();
    root->field->setText(u"one two"_s);
    key(Qt::Key_Backspace, Qt::ControlModifier);
    key(Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(take(), (QStringList{u"delete"_s, u"delete"_s}));
    EXPECT_EQ(root->field->text(), u"one two"_s);
    EXPECT_EQ(shortcuts, 0);

    root->list->setFocus();
    key(Qt::Key_Backspace, Qt::ControlModifier);
    EXPECT_EQ(take(), QStringList{u"delete"_s});
    EXPECT_TRUE(root->list->keys.empty());

    // Other Backspaces are the field's.
    root->field->setFocus();
    key(Qt::Key_Backspace);
    EXPECT_EQ(root->field->text(), u"one tw"_s);
    key(Qt::Key_Backspace, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(take(), QStringList());
}

TEST_F(KeyPanelTest, EscapeGoesToTheViewFirstThenCancels) {
    root->field->setFocus();
    key(Qt::Key_Escape);
    EXPECT_EQ(root->exitCommands, 1);
    EXPECT_EQ(take(), QStringList{u"cancel"_s});
    root->takesEscape = true;
    key(Qt::Key_Escape);
    EXPECT_EQ(root->exitCommands, 2);
    EXPECT_TRUE(take().isEmpty());

    // The developer switches' synthetic Escape takes the same way.
    root->takesEscape = false;
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    EXPECT_TRUE(panel.routeEvent(&escape));
    EXPECT_EQ(take(), QStringList{u"cancel"_s});
}

TEST_F(KeyPanelTest, ADragOfAnActiveEdgeResizesAndTheContentSeesNothing) {
    // 5 in from the left, 12 up from the bottom: the corner.
    QTest::mousePress(window(), Qt::LeftButton, {}, QPoint(5, 288));
    QTest::mouseMove(window(), QPoint(25, 318));
    QTest::mouseRelease(window(), Qt::LeftButton, {}, QPoint(25, 318));
    const int bottomLeft = (PanelResizeEdge::bottom | PanelResizeEdge::left).toInt();
    EXPECT_EQ(take(), (QStringList{u"begin %1"_s.arg(bottomLeft), u"resize %1 20,30"_s.arg(bottomLeft), u"end"_s}));
    EXPECT_EQ(root->presses, 0);

    // Away from the active edges the press reaches the content.
    activeEdges = PanelResizeEdge::top | PanelResizeEdge::bottom;
    QTest::mouseClick(window(), Qt::LeftButton, {}, QPoint(5, 150));
    EXPECT_EQ(root->presses, 1);
    EXPECT_TRUE(take().isEmpty());
}

TEST_F(KeyPanelTest, TheWheelOverAnEdgeReachesTheContent) {
    const QPoint edge(4, 150);
    QWheelEvent wheel(edge, window()->mapToGlobal(edge), {}, {0, -120}, Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                      false);
    QCoreApplication::sendEvent(window(), &wheel);
    EXPECT_EQ(root->wheels, 1);
}

TEST_F(KeyPanelTest, ABackgroundDragMovesThePanelPastFourPoints) {
    const QPoint press(200, 250);
    QTest::mousePress(window(), Qt::LeftButton, {}, press);
    QTest::mouseMove(window(), press + QPoint(3, 0));
    EXPECT_TRUE(take().isEmpty());
    QTest::mouseMove(window(), press + QPoint(30, 20));
    QTest::mouseRelease(window(), Qt::LeftButton, {}, press + QPoint(40, 20));
    EXPECT_EQ(take(), (QStringList{u"drag 130,120"_s, u"drag 140,120"_s, u"dropped 140,120"_s}));

    // A press on the field is the field's.
    QTest::mousePress(window(), Qt::LeftButton, {}, QPoint(60, 50));
    QTest::mouseMove(window(), QPoint(120, 90));
    QTest::mouseRelease(window(), Qt::LeftButton, {}, QPoint(120, 90));
    EXPECT_TRUE(take().isEmpty());
}

TEST_F(KeyPanelTest, ALongPressOnTheBackgroundOnly) {
    struct Case {
        const char* name;
        QPoint press;
        bool doubleClick;
        bool fires;
    };
    const Case cases[] = {
        {"the background", {200, 250}, false, true},
        {"an edge", {260, 296}, false, false},
        {"the field", {60, 50}, false, false},
        {"the second press of a double click", {200, 250}, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QCursor::setPos(window()->mapToGlobal(c.press));
        if (c.doubleClick) {
            QTest::mouseDClick(window(), Qt::LeftButton, {}, c.press);
        } else {
            QTest::mousePress(window(), Qt::LeftButton, {}, c.press);
        }
        clock.advance(600ms);
        EXPECT_EQ(take().contains(u"long press"_s), c.fires);
        QTest::mouseRelease(window(), Qt::LeftButton, {}, c.press);
        take();
    }
}

TEST_F(KeyPanelTest, OurOwnMenusAndDialogsDoNotTakeThePanelAway) {
    QDialog dialog(&panel);
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    dialog.hide();
    panel.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&panel));
    EXPECT_TRUE(take().isEmpty());

    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    EXPECT_EQ(take(), QStringList{u"resigned"_s});
}

// A window manager may take the keyboard back before it hands it to a panel
// just ordered front; that is not the user leaving the panel.
TEST_F(KeyPanelTest, ADeactivationBeforeThePanelHadTheKeyboardKeepsItOpen) {
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    panel.orderOut();
    take();

    panel.makeKeyAndOrderFront();
    QEvent deactivate(QEvent::WindowDeactivate);
    QCoreApplication::sendEvent(&panel, &deactivate);
    EXPECT_TRUE(take().isEmpty());

    ASSERT_TRUE(QTest::qWaitForWindowActive(&panel));
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    EXPECT_EQ(take(), QStringList{u"resigned"_s});
}

TEST_F(KeyPanelTest, AnOpaquePanelIsCutToItsCorners) {
    struct Case {
        bool translucent;
        double radius;
        bool masked;
    };
    for (const Case& c : {Case{false, 16, true}, Case{false, 0, false}, Case{true, 20, false}}) {
        KeyPanel panel({}, c.translucent);
        panel.setRootView(makeModel({.panelWidth = 440, .cornerRadius = c.radius}));
        panel.installContent(c.radius);
        panel.setFrame(QRectF(0, 0, 440, 200));
        EXPECT_EQ(panel.isTranslucent(), c.translucent);
        EXPECT_EQ(!panel.mask().isEmpty(), c.masked) << c.translucent << " " << c.radius;
        if (c.masked) {
            EXPECT_FALSE(panel.mask().contains(QPoint(0, 0)));
        }
    }
}

TEST_F(KeyPanelTest, CtrlReturnGoesToTheViewBeforeTheField) {
    int submits = 0;
    QObject::connect(root->field, &QLineEdit::returnPressed, [&] { ++submits; });
    root->field->setFocus();
    key(Qt::Key_Return, Qt::ControlModifier);
    key(Qt::Key_Enter, Qt::ControlModifier | Qt::ShiftModifier | Qt::KeypadModifier);
    EXPECT_EQ(root->commandReturns, 2);
    EXPECT_EQ(submits, 0);

    // A held key asks once.
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Return, Qt::ControlModifier, u"\r"_s, true);
    QCoreApplication::sendEvent(window(), &repeat);
    EXPECT_EQ(root->commandReturns, 2);
    EXPECT_EQ(submits, 0);

    // Plain Return is the field's, and so is Ctrl+Return the view leaves.
    key(Qt::Key_Return);
    EXPECT_EQ(root->commandReturns, 2);
    EXPECT_EQ(submits, 1);
    root->takesCommandReturn = false;
    key(Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(root->commandReturns, 3);
    EXPECT_EQ(submits, 2);
}

// What the developer diagnostics read of the real window, and the keys they
// hand it: typed text reaches the focused field, and Ctrl+A then Ctrl+V
// take the path of menu shortcuts to it.
TEST_F(KeyPanelTest, TheDiagnosticsReadTheFocusAndTypeIntoIt) {
    EXPECT_NE(panel.windowNumber(), 0u);
    EXPECT_TRUE(panel.hasShadow());
    EXPECT_EQ(panel.alphaValue(), 1.0);
    EXPECT_TRUE(panel.hasContent());

    root->list->setFocus();
    ASSERT_TRUE(panel.firstResponder());
    EXPECT_EQ(panel.firstResponder()->className, u"QWidget"_s);
    EXPECT_EQ(panel.firstResponder()->text, std::nullopt);

    root->field->setText(u"x"_s);
    root->field->setFocus();
    tavlin::platform::Task<> typing = tavlin::platform::typeText(u"ab"_s);
    advance(tavlin::platform::typingSettleTime);
    ASSERT_TRUE(typing.isDone());
    EXPECT_EQ(panel.firstResponder()->className, u"QLineEdit"_s);
    EXPECT_EQ(panel.firstResponder()->text, u"xab"_s);

    QGuiApplication::clipboard()->setText(u"pasted"_s);
    panel.sendShortcutKey(Qt::Key_A, Qt::ControlModifier, u"a"_s);
    panel.sendShortcutKey(Qt::Key_V, Qt::ControlModifier, u"v"_s);
    EXPECT_EQ(root->field->text(), u"pasted"_s);
}
