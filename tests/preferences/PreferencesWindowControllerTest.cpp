#include "preferences/PreferencesWindowController.h"

#include "platform/ReduceMotion.h"
#include "preferences/PreferencesView.h"
#include "preferences/PreferencesWindow.h"
#include "preferences/SettingsTabSelection.h"
#include "support/LogCapture.h"
#include "support/MainLoop.h"
#include "support/PreferencesWorld.h"
#include "support/Printers.h"

#include <gtest/gtest.h>
#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QTest>
#include <QToolBar>
#include <QWindow>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;
using tavlin::platform::ManualClock;
using tavlin::preferences::PreferencesWindow;
using tavlin::preferences::PreferencesWindowController;
using tavlin::preferences::PreferencesWindowPort;
using tavlin::preferences::SettingsTab;
using tavlin::preferences::SettingsTabSelection;
using tavlin::testing::PreferencesWorld;

namespace {

constexpr const char* kPreferencesCategory = "com.quorvandell.tavlin.preferences";

// A window that does what it is told and says so; whether it gets the
// keyboard is the test's choice.
class FakeWindow final : public PreferencesWindowPort {
public:
    // Where the keyboard goes: at makeKeyAndOrderFront, at the retry's makeKey, or never.
    enum class KeyAt { show, retry, never };
    KeyAt keyAt = KeyAt::show;

    QRect content;
    QMargins decorationAndToolbar{1, 28 + 52, 1, 1};
    std::optional<QRect> available = QRect(0, 30, 1440, 870);
    bool visible = false, key = false;
    QString title, selectedItem;
    int activations = 0, makeKeys = 0, ordersFront = 0, centerings = 0;
    std::vector<bool> floatingChanges;
    std::vector<std::pair<QRect, bool>> fits;  // every geometry set, and whether animated

    QRect contentGeometry() const override { return content; }
    QMargins chrome() const override { return decorationAndToolbar; }
    std::optional<QRect> availableGeometry() const override { return available; }
    void setContentGeometry(const QRect& rect, bool animate) override {
        content = rect;
        fits.emplace_back(rect, animate);
    }
    void center() override {
        ++centerings;
        content.moveCenter(available ? available->center() : QPoint(400, 300));
    }
    void setTitle(const QString& text) override { title = text; }
    void setSelectedItem(const QString& identifier) override { selectedItem = identifier; }
    bool isVisible() const override { return visible; }
    bool isKey() const override { return key; }
    bool isApplicationActive() const override { return key; }
    void activateApplication() override { ++activations; }
    void makeKeyAndOrderFront() override {
        visible = true;
        if (keyAt == KeyAt::show) key = true;
    }
    void makeKey() override {
        ++makeKeys;
        if (keyAt == KeyAt::retry) key = true;
    }
    void orderFrontRegardless() override { ++ordersFront; }
    void setFloating(bool floating) override { floatingChanges.push_back(floating); }
};

class PreferencesWindowControllerTest : public ::testing::Test {
protected:
    // The desktop's motion setting is the test's, never the machine's.
    PreferencesWindowControllerTest() { tavlin::platform::setReduceMotionOverride(false); }
    ~PreferencesWindowControllerTest() override { tavlin::platform::setReduceMotionOverride(std::nullopt); }

    PreferencesWindowController& makeController() {
        controller = std::make_unique<PreferencesWindowController>(
            world.store, world.settings, world.notifications.function(), world.location, world.server, nullptr,
            selection, world.contacts, world.renderer.renderer(),
            [this](PreferencesWindowController&) {
                ++windowsMade;
                auto made = std::make_unique<FakeWindow>();
                made->keyAt = keyAt;
                made->decorationAndToolbar = chrome;
                made->available = available;
                window = made.get();
                return made;
            },
            clock);
        return *controller;
    }

    FakeWindow::KeyAt keyAt = FakeWindow::KeyAt::show;
    QMargins chrome{1, 80, 1, 1};
    std::optional<QRect> available = QRect(0, 30, 1440, 870);
    ManualClock clock;
    PreferencesWorld world;
    SettingsTabSelection selection;
    std::unique_ptr<PreferencesWindowController> controller;
    FakeWindow* window = nullptr;
    int windowsMade = 0;
};

}  // namespace

TEST_F(PreferencesWindowControllerTest, TheFirstShowMakesTheWindowAtTheGeneralEstimateCentred) {
    makeController();
    EXPECT_EQ(controller->window(), nullptr) << "no window before the first show";
    controller->show();
    ASSERT_EQ(windowsMade, 1);
    EXPECT_EQ(window->title, u"General"_s);
    EXPECT_EQ(window->selectedItem, u"settings.general"_s);
    ASSERT_EQ(window->fits.size(), 1u);
    EXPECT_EQ(window->fits[0], std::pair(QRect(0, 0, 460, 600), false));
    EXPECT_EQ(window->centerings, 1);
    EXPECT_EQ(window->content.size(), QSize(460, 600));
    EXPECT_TRUE(window->visible);
    EXPECT_EQ(window->activations, 1);
    EXPECT_EQ(window->ordersFront, 1);
}

TEST_F(PreferencesWindowControllerTest, TargetHeightIsTheTabsHeightWithinTheScreensRoom) {
    struct Case {
        const char* name;
        int chromeTop, chromeBottom;
        std::optional<int> screen;  // the available height; nothing without a screen
        SettingsTab tab;
        std::optional<qreal> measured;
        int target;
    };
    const Case cases[] = {
        {"general's estimate", 80, 1, 870, SettingsTab::general, std::nullopt, 600},
        {"reminders' estimate", 80, 1, 870, SettingsTab::reminders, std::nullopt, 640},
        {"AI tools' estimate", 80, 1, 870, SettingsTab::mcp, std::nullopt, 300},
        {"a measured height, rounded up", 80, 1, 870, SettingsTab::general, 412.2, 413},
        {"never below 220", 80, 1, 870, SettingsTab::mcp, 90, 220},
        {"no more than the room: screen less chrome less 40", 80, 1, 600, SettingsTab::reminders, std::nullopt, 479},
        {"the room below 220 still gives 220", 80, 1, 300, SettingsTab::general, 500, 220},
        {"without a screen, 800 high", 80, 1, std::nullopt, SettingsTab::reminders, 900, 679},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        chrome = QMargins(0, c.chromeTop, 0, c.chromeBottom);
        available = c.screen ? std::optional(QRect(0, 0, 1000, *c.screen)) : std::nullopt;
        selection.setTab(c.tab);
        makeController().show();
        if (c.measured) controller->contentHeightChanged(c.tab, *c.measured);
        EXPECT_EQ(controller->targetHeight(), c.target);
        EXPECT_EQ(window->content.height(), c.target);
    }
}

TEST_F(PreferencesWindowControllerTest, ReportsFitTheSelectedTabOnlyWhenTheyChangeIt) {
    makeController().show();
    window->fits.clear();

    controller->contentHeightChanged(SettingsTab::general, 500);
    ASSERT_EQ(window->fits.size(), 1u);
    EXPECT_EQ(window->fits[0].first.height(), 500);
    EXPECT_TRUE(window->fits[0].second) << "animated on screen";

    for (const qreal ignored : {0.0, -20.0, 500.0}) controller->contentHeightChanged(SettingsTab::general, ignored);
    EXPECT_EQ(window->fits.size(), 1u) << "nothing, a negative height and the same value are ignored";
    EXPECT_EQ(controller->measuredHeight(SettingsTab::general), 500);

    controller->contentHeightChanged(SettingsTab::reminders, 380);
    EXPECT_EQ(window->fits.size(), 1u) << "another tab's height is kept for later";
    EXPECT_EQ(controller->measuredHeight(SettingsTab::reminders), 380);

    // Within the threshold the window stays; a pixel more moves it.
    controller->contentHeightChanged(SettingsTab::general, 499.6);
    EXPECT_EQ(window->fits.size(), 1u) << "499.6 rounds up to the height it has";
    controller->contentHeightChanged(SettingsTab::general, 500.2);
    ASSERT_EQ(window->fits.size(), 2u);
    EXPECT_EQ(window->fits[1].first.height(), 501);

    // Off screen nothing is animated.
    window->visible = false;
    controller->contentHeightChanged(SettingsTab::general, 450);
    EXPECT_FALSE(window->fits.back().second);
}

TEST_F(PreferencesWindowControllerTest, AFitKeepsTheTopAndTheBottomOnTheScreen) {
    makeController().show();
    window->content = QRect(300, 500, 470, 300);  // too wide, low on the screen
    controller->contentHeightChanged(SettingsTab::general, 320);
    EXPECT_EQ(window->content, QRect(300, 500, 460, 320)) << "top kept, width back to 460";

    controller->contentHeightChanged(SettingsTab::general, 450);
    // The frame's bottom (content bottom + 1) at the screen's bottom, 899.
    EXPECT_EQ(window->content, QRect(300, 899 - 1 - 450 + 1, 460, 450));
}

TEST_F(PreferencesWindowControllerTest, ATabSwitchFitsItsMeasuredHeightAtOnceElseItsEstimateLater) {
    makeController().show();
    window->fits.clear();

    controller->selectTab(u"settings.reminders"_s);
    EXPECT_EQ(selection.tab(), SettingsTab::reminders);
    EXPECT_EQ(window->title, u"Reminders"_s);
    EXPECT_EQ(window->selectedItem, u"settings.reminders"_s);
    EXPECT_TRUE(window->fits.empty()) << "not measured: waits for the tab's report";
    clock.advance(100ms);
    controller->contentHeightChanged(SettingsTab::reminders, 510);
    ASSERT_EQ(window->fits.size(), 1u);
    EXPECT_EQ(window->fits[0].first.height(), 510);
    clock.advance(100ms);
    EXPECT_EQ(window->fits.size(), 1u) << "the report came first: no estimate afterwards";

    controller->selectTab(u"settings.mcp"_s);
    clock.advance(149ms);
    EXPECT_EQ(window->fits.size(), 1u);
    clock.advance(1ms);
    ASSERT_EQ(window->fits.size(), 2u);
    EXPECT_EQ(window->fits[1], std::pair(QRect(window->fits[0].first.topLeft(), QSize(460, 300)), true));

    controller->selectTab(u"settings.reminders"_s);
    ASSERT_EQ(window->fits.size(), 3u) << "measured before: at once, animated";
    EXPECT_EQ(window->fits[2].first.height(), 510);
    EXPECT_TRUE(window->fits[2].second);

    controller->selectTab(u"settings.nothing"_s);
    controller->selectTab(u"reminders"_s);
    EXPECT_EQ(selection.tab(), SettingsTab::reminders);
    EXPECT_EQ(window->fits.size(), 3u) << "an identifier of no tab does nothing";
}

TEST_F(PreferencesWindowControllerTest, WithReducedMotionEveryFitIsImmediate) {
    tavlin::platform::setReduceMotionOverride(true);
    makeController().show();
    window->fits.clear();

    controller->contentHeightChanged(SettingsTab::general, 500);
    controller->selectTab(u"settings.mcp"_s);
    clock.advance(150ms);
    controller->contentHeightChanged(SettingsTab::mcp, 260);
    controller->selectTab(u"settings.general"_s);

    std::vector<std::pair<int, bool>> fits;
    for (const auto& [rect, animated] : window->fits) fits.emplace_back(rect.height(), animated);
    EXPECT_EQ(fits, (std::vector<std::pair<int, bool>>{{500, false}, {300, false}, {260, false}, {500, false}}))
        << "a report, an estimate, a report and a measured tab, none animated";
}

TEST_F(PreferencesWindowControllerTest, ActivationIsCheckedTwiceAndFloatsTheWindowOnlyAsALastResort) {
    struct Case {
        const char* name;
        FakeWindow::KeyAt keyAt;
        QStringList log;
        std::vector<bool> floating;
        int retries;
    };
    const Case cases[] = {
        {"key at once: both checks still run",
         FakeWindow::KeyAt::show,
         {u"show: requested activation, appActive=true key=true"_s,
          u"activation granted: window is key, no escalation needed"_s, u"escalation succeeded: window is key"_s},
         {},
         0},
        {"key after the retry",
         FakeWindow::KeyAt::retry,
         {u"show: requested activation, appActive=false key=false"_s, u"not key yet: retried cooperative activation"_s,
          u"escalation succeeded: window is key"_s},
         {},
         1},
        {"never key: floats",
         FakeWindow::KeyAt::never,
         {u"show: requested activation, appActive=false key=false"_s, u"not key yet: retried cooperative activation"_s,
          u"activation unobtainable: floating window until it becomes key"_s},
         {true},
         1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        keyAt = c.keyAt;
        LogCapture log(kPreferencesCategory, QtInfoMsg);
        makeController().show();
        clock.advance(1s);
        EXPECT_EQ(log.take(), c.log);
        EXPECT_EQ(window->floatingChanges, c.floating);
        EXPECT_EQ(window->makeKeys, c.retries);
        EXPECT_EQ(controller->windowLevel(), c.floating.empty() ? 0 : 3);
    }
}

TEST_F(PreferencesWindowControllerTest, BecomingKeyCancelsTheSecondCheck) {
    keyAt = FakeWindow::KeyAt::never;
    LogCapture log(kPreferencesCategory, QtInfoMsg);
    makeController().show();
    clock.advance(150ms);
    window->key = true;
    controller->windowDidBecomeKey();
    clock.advance(1s);
    const QStringList lines = log.take();
    EXPECT_EQ(lines.size(), 2) << lines.join(u" | "_s).toStdString();
    EXPECT_TRUE(window->floatingChanges.empty());
    EXPECT_EQ(clock.pendingActions(), 0u);
}

TEST_F(PreferencesWindowControllerTest, FloatingEndsWhenTheWindowGetsTheKeyboardOrCloses) {
    keyAt = FakeWindow::KeyAt::never;
    makeController().show();
    clock.advance(1s);
    ASSERT_EQ(controller->windowLevel(), 3);

    // Shown again while floating: checked again, not raised again.
    controller->show();
    clock.advance(1s);
    EXPECT_EQ(window->floatingChanges, std::vector<bool>{true});
    EXPECT_EQ(controller->windowLevel(), 3);

    controller->windowDidBecomeKey();
    EXPECT_EQ(window->floatingChanges, (std::vector<bool>{true, false}));
    EXPECT_EQ(controller->windowLevel(), 0);

    controller->show();
    clock.advance(1s);
    ASSERT_EQ(controller->windowLevel(), 3);
    controller->show();  // the checks of this show are pending when it closes
    window->visible = false;
    controller->windowWillClose();
    EXPECT_EQ(window->floatingChanges, (std::vector<bool>{true, false, true, false}));
    EXPECT_EQ(controller->windowLevel(), 0);
    EXPECT_EQ(clock.pendingActions(), 0u) << "closing cancels the checks";
}

TEST_F(PreferencesWindowControllerTest, ClosingAndShowingAgainKeepsTheWindowTabAndHeights) {
    makeController().show();
    controller->contentHeightChanged(SettingsTab::general, 480);
    controller->selectTab(u"settings.mcp"_s);
    controller->contentHeightChanged(SettingsTab::mcp, 260);
    FakeWindow* first = window;

    window->visible = false;
    controller->windowWillClose();
    controller->show();
    EXPECT_EQ(windowsMade, 1);
    EXPECT_EQ(controller->window(), first);
    EXPECT_TRUE(window->visible);
    EXPECT_EQ(selection.tab(), SettingsTab::mcp);
    EXPECT_EQ(controller->measuredHeight(SettingsTab::general), 480);
    EXPECT_EQ(window->content.height(), 260);
}

TEST_F(PreferencesWindowControllerTest, DelayedWorkDoesNothingOnceTheControllerIsGone) {
    makeController().show();
    controller->selectTab(u"settings.reminders"_s);
    controller.reset();
    clock.advance(1s);  // neither the checks nor the estimate fit reach a controller that is gone
    SUCCEED();
}

// The real window, offscreen.
TEST(PreferencesWindowTest, ToolbarOfTabsOverTheViewHiddenOnClose) {
    PreferencesWorld world(PreferencesWorld::numberedLists(2));
    SettingsTabSelection selection;
    PreferencesWindowController controller(world.store, world.settings, world.notifications.function(), world.location,
                                           world.server, nullptr, selection, world.contacts, world.renderer.renderer(),
                                           PreferencesWindow::factory());
    controller.show();
    auto* window = dynamic_cast<PreferencesWindow*>(controller.window());
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowTitle(), u"General"_s);
    EXPECT_EQ(window->width(), 460);
    EXPECT_EQ(window->minimumSize(), window->maximumSize()) << "not resizable by the user";
    EXPECT_TRUE(window->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(window->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));

    auto* toolbar = window->findChild<QToolBar*>(u"tavlin-settings-tabs"_s);
    ASSERT_NE(toolbar, nullptr);
    EXPECT_FALSE(toolbar->isMovable());
    EXPECT_EQ(toolbar->contextMenuPolicy(), Qt::PreventContextMenu);
    EXPECT_EQ(toolbar->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
    QStringList names, labels;
    for (QAction* action : toolbar->actions()) {
        names << action->objectName();
        labels << action->text();
        EXPECT_TRUE(action->isCheckable());
        EXPECT_FALSE(action->icon().isNull());
    }
    EXPECT_EQ(names, (QStringList{u"settings.general"_s, u"settings.reminders"_s, u"settings.mcp"_s}));
    EXPECT_EQ(labels, (QStringList{u"General"_s, u"Reminders"_s, u"MCP"_s}));
    EXPECT_TRUE(toolbar->actions().at(0)->isChecked());

    // The view measures the general tab and the window takes its height.
    ASSERT_TRUE(runMainLoopUntil([&] { return controller.measuredHeight(SettingsTab::general).has_value(); }));
    ASSERT_TRUE(runMainLoopUntil([&] { return window->contentGeometry().height() == controller.targetHeight(); }));

    toolbar->actions().at(1)->trigger();
    EXPECT_EQ(window->windowTitle(), u"Reminders"_s);
    EXPECT_TRUE(toolbar->actions().at(1)->isChecked());
    EXPECT_FALSE(toolbar->actions().at(0)->isChecked());
    ASSERT_TRUE(runMainLoopUntil([&] { return controller.measuredHeight(SettingsTab::reminders).has_value(); }));
    ASSERT_TRUE(runMainLoopUntil([&] { return window->contentGeometry().height() == controller.targetHeight(); }));
    EXPECT_EQ(window->view().width(), 460);

    window->close();
    EXPECT_FALSE(window->isVisible());
    controller.show();
    EXPECT_EQ(controller.window(), window);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), u"Reminders"_s);
}

TEST(PreferencesWindowTest, EscapeAndControlWCloseTheWindow) {
    PreferencesWorld world(PreferencesWorld::numberedLists(2));
    SettingsTabSelection selection;
    PreferencesWindowController controller(world.store, world.settings, world.notifications.function(), world.location,
                                           world.server, nullptr, selection, world.contacts, world.renderer.renderer(),
                                           PreferencesWindow::factory());
    const std::pair<Qt::Key, Qt::KeyboardModifiers> keys[] = {{Qt::Key_Escape, Qt::NoModifier},
                                                              {Qt::Key_W, Qt::ControlModifier}};
    for (const auto& [key, modifiers] : keys) {
        SCOPED_TRACE(QKeySequence(key | modifiers).toString().toStdString());
        controller.show();
        QWidget* window = dynamic_cast<PreferencesWindow*>(controller.window());
        ASSERT_NE(window, nullptr);
        window->activateWindow();
        ASSERT_TRUE(runMainLoopUntil([&] { return window->isActiveWindow(); }));
        QTest::keyClick(window, key, modifiers);
        EXPECT_FALSE(window->isVisible());
    }
}
