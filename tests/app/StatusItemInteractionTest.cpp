// The tray item's clicks and menu, how it keeps itself shown when the
// desktop has no tray for it, and how it tells the user once.

#include "app/StatusItemController.h"
#include "app/StatusItemPlacementWatcher.h"
#include "app/UpdateController.h"

#include "NotificationsFixture.h"
#include "ScriptedUpdater.h"
#include "keybindings/KeyBindings.h"
#include "keybindings/Name.h"
#include "keybindings/Shortcut.h"
#include "platform/NotificationCenter.h"
#include "platform/TrayHost.h"
#include "store/ReminderStoreFixture.h"
#include "support/FakeHotKeyBackend.h"
#include "support/LogCapture.h"
#include "support/MainLoop.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QCursor>
#include <QLoggingCategory>
#include <QMenu>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>

#include <cmath>
#include <memory>
#include <optional>
#include <vector>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;
using tavlin::app::StatusItemController;
using tavlin::app::StatusItemPlacementWatcher;
using tavlin::platform::TrayHosts;

namespace {

// Trays as a test sets them, noting when it was asked.
class ScriptedTrayHost final : public tavlin::platform::TrayHost {
public:
    explicit ScriptedTrayHost(tavlin::platform::Clock& clock) : clock_(clock) {}

    TrayHosts present;
    std::vector<tavlin::platform::Clock::TimePoint> asked;

    tavlin::platform::Task<TrayHosts> hosts() override {
        asked.push_back(clock_.now());
        co_return present;
    }
    // A tray comes, and says so.
    void appear(TrayHosts now) {
        present = now;
        emit hostAppeared();
    }

private:
    tavlin::platform::Clock& clock_;
};

constexpr TrayHosts noTray{};
constexpr TrayHosts statusNotifierTray{.statusNotifierHost = true};

const char* const kStatusItemCategory = "com.quorvandell.tavlin.statusItem";
const QString kHidden = u"status item was hidden — forcing it back"_s;
const QString kNoSlot = u"status item has no slot in the tray — re-inserting"_s;
const QString kGivenSlot = u"status item was given a slot after re-inserting"_s;
const QString kNoTray = u"there is no tray on this desktop — the status item is shown when one starts"_s;

// The item over a store on the manual clock, with the panel's hot key kept
// in the same settings.
class StatusItemTest : public ReminderStoreFixture {
protected:
    StatusItemTest() {
        // A shown item on the offscreen platform looks for an X11 tray
        // that this platform cannot announce, and Qt says so.
        QLoggingCategory::setFilterRules(u"qt.core.qobject.connect.warning=false"_s);
    }
    ~StatusItemTest() override {
        controller.reset();
        QLoggingCategory::setFilterRules(QString());
        // The alert waits process-wide; no test leaves one to the next.
        (void)StatusItemPlacementWatcher::takePendingOverflowAlert();
    }

    StatusItemController& make(StatusItemController::Placement placement = {}, StatusItemController::Action check = {},
                               std::function<std::optional<QString>()> pending = {}) {
        controller = std::make_unique<StatusItemController>(
            makeStore(), settings, [this] { ++toggles; }, [this] { ++preferencesOpened; }, std::move(check),
            pending ? std::move(pending) : [] { return std::optional<QString>(); }, placement);
        return *controller;
    }

    // Placed by the scripted trays, on a display.
    StatusItemController& installed(TrayHosts present, tavlin::platform::NotificationCenter* notifications = nullptr) {
        trays.present = present;
        make({.trayHost = &trays, .notifications = notifications, .powerEvents = &power, .hasDisplay = true});
        // As the launch shows it.
        controller->statusItem().setVisible(true);
        controller->install();
        return *controller;
    }

    double now() const { return std::chrono::duration<double>(clock.now() - started).count(); }
    // When the trays were asked, in seconds from the start, to the millisecond.
    std::vector<double> askedAt() const {
        std::vector<double> seconds;
        for (const auto& time : trays.asked)
            seconds.push_back(std::round(std::chrono::duration<double>(time - started).count() * 1000) / 1000);
        return seconds;
    }
    // Steps the clock to `seconds` from the start.
    void runTo(double seconds) {
        advance(started + std::chrono::round<std::chrono::nanoseconds>(std::chrono::duration<double>(seconds)) -
                clock.now());
    }

    // The menu's items: their texts, "-" for a separator.
    static QStringList items(const QMenu& menu) {
        QStringList texts;
        for (const QAction* action : menu.actions()) texts << (action->isSeparator() ? u"-"_s : action->text());
        return texts;
    }

    const tavlin::platform::Clock::TimePoint started = clock.now();
    ScriptedTrayHost trays{clock};
    tavlin::KeyBindings::Module keyBindings{defaults, std::make_unique<FakeHotKeyBackend>()};
    LogCapture log{kStatusItemCategory, QtInfoMsg};
    std::unique_ptr<StatusItemController> controller;
    int toggles = 0;
    int preferencesOpened = 0;
};

// Dismisses the next alert the moment it runs, noting what it showed.
struct AlertWatch {
    int shown = 0;
    QString text;
    QString informativeText;
    bool staysOnTop = false;

    void dismissNext() {
        QTimer::singleShot(0, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            ++shown;
            text = box->text();
            informativeText = box->informativeText();
            staysOnTop = box->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
            box->done(0);
        });
    }
};

}  // namespace

// ---------------------------------------------------------------- clicks

TEST_F(StatusItemTest, ALeftClickTogglesThePanelAndTheRightClickLeavesItToTheMenu) {
    StatusItemController& item = make();
    struct Case {
        QSystemTrayIcon::ActivationReason reason;
        int toggles;
    };
    const Case cases[]{{QSystemTrayIcon::Trigger, 1},
                       {QSystemTrayIcon::Context, 1},
                       {QSystemTrayIcon::MiddleClick, 1},
                       {QSystemTrayIcon::DoubleClick, 1},
                       {QSystemTrayIcon::Trigger, 2}};
    for (const Case& c : cases) {
        emit item.statusItem().activated(c.reason);
        EXPECT_EQ(toggles, c.toggles) << "after reason " << int(c.reason);
    }
}

TEST_F(StatusItemTest, WithoutTheTraysGeometryThePanelOpensAtTheLastClickWhileATrayIsThere) {
    StatusItemController& item = installed(statusNotifierTray);
    EXPECT_EQ(item.statusButtonRect(), std::nullopt) << "no click yet";
    QCursor::setPos(QPoint(640, 12));
    emit item.statusItem().activated(QSystemTrayIcon::Trigger);
    EXPECT_EQ(item.statusButtonRect(), QRectF(640, 12, 1, 1));

    // The tray goes; the next look at it finds none.
    trays.present = noTray;
    runTo(1);
    EXPECT_EQ(item.statusButtonRect(), std::nullopt);
}

// ---------------------------------------------------------------- the menu

TEST_F(StatusItemTest, TheMenuOffersTheUpdateOnlyWithACheckAndNamesAPendingVersion) {
    struct Case {
        const char* name;
        bool canCheck;
        std::optional<QString> pending;
        QStringList items;
    };
    const QStringList tail{u"-"_s, u"Visit Tavlin Website"_s, u"-"_s, u"Quit Tavlin"_s};
    const Case cases[]{
        {"no check for updates", false, u"2.1"_s, QStringList{u"Settings…"_s} + tail},
        {"a check, nothing pending", true, std::nullopt, QStringList{u"Settings…"_s, u"Check for Updates…"_s} + tail},
        {"a check, 2.1 pending", true, u"2.1"_s, QStringList{u"Settings…"_s, u"Update to 2.1…"_s} + tail},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        int checks = 0;
        StatusItemController& item =
            make({}, c.canCheck ? StatusItemController::Action([&] { ++checks; }) : nullptr, [&] { return c.pending; });
        emit item.menu().aboutToShow();
        EXPECT_EQ(items(item.menu()), c.items);
        EXPECT_EQ(item.statusItem().contextMenu(), &item.menu());

        const QList<QAction*> actions = item.menu().actions();
        actions.front()->trigger();
        if (c.canCheck) actions.at(1)->trigger();
        EXPECT_EQ(checks, c.canCheck ? 1 : 0);
        EXPECT_EQ(actions.back()->shortcut(), QKeySequence(u"Ctrl+Q"_s));
    }
    EXPECT_EQ(preferencesOpened, 3);
}

TEST_F(StatusItemTest, TheMenuFollowsAnUpdateFoundWhileItIsClosed) {
    ScriptedUpdater* updater = new ScriptedUpdater;
    tavlin::platform::NotificationCenter noServer{QDBusConnection(u"no bus"_s)};
    tavlin::app::UpdateController updates(
        noServer, std::unique_ptr<ScriptedUpdater>(updater),
        tavlin::app::UpdateConfiguration{u"https://example.invalid/feed"_s, u"c2lnbmluZyBrZXk="_s});
    StatusItemController& item =
        make({}, updates.checkForUpdatesAction(), [&] { return updates.pendingUpdateVersion(); });
    EXPECT_EQ(items(item.menu()).at(1), u"Check for Updates…"_s);

    // Some trays never say they are about to show the menu.
    updater->find("2.1", false);
    clock.runDueActions();
    EXPECT_EQ(items(item.menu()).at(1), u"Update to 2.1…"_s);
    item.menu().actions().at(1)->trigger();
    EXPECT_EQ(updater->checks, 1);

    // A check the user asked for leaves the menu as it was.
    updater->find("2.2", true);
    clock.runDueActions();
    EXPECT_EQ(items(item.menu()).at(1), u"Update to 2.1…"_s);
}

// ---------------------------------------------------------------- the notice's words

TEST_F(StatusItemTest, TheNoticeNamesTheHotKeyOrElseTheApplicationsMenu) {
    EXPECT_EQ(StatusItemPlacementWatcher::overflowMessage(),
              u"Your desktop has no system tray, so Tavlin's icon is hidden. Open Tavlin from your applications menu "
              u"to use it, or add a system tray to your panel."_s);
    using namespace tavlin::KeyBindings;
    setShortcut(Shortcut(Key::f1.rawValue, CarbonModifier::control | CarbonModifier::option), Name::togglePanel);
    EXPECT_EQ(StatusItemPlacementWatcher::overflowMessage(),
              u"Your desktop has no system tray, so Tavlin's icon is hidden. Press ⌃⌥F1 to use it, or add a system "
              u"tray to your panel."_s);
}

// ---------------------------------------------------------------- keeping it shown

TEST_F(StatusItemTest, WithoutATrayItIsShownAfreshAtOneSecondAndReportedAtFivePointThree) {
    StatusItemController& item = installed(noTray);
    runTo(5.29);
    EXPECT_EQ(askedAt(), (std::vector<double>{0, 1, 1.05, 1.3, 2.3, 4}));
    EXPECT_EQ(log.take(), (QStringList{kNoSlot, kNoSlot})) << "re-shown at 1 s and 4 s";
    EXPECT_EQ(StatusItemPlacementWatcher::takePendingOverflowAlert(), std::nullopt);

    runTo(5.3);
    EXPECT_EQ(log.take(), QStringList{kNoTray}) << "no tray is not a full one";
    // No notification center: the panel shows it at its next opening.
    EXPECT_EQ(StatusItemPlacementWatcher::takePendingOverflowAlert(), StatusItemPlacementWatcher::overflowMessage());
    EXPECT_TRUE(item.statusItem().isVisible());

    // The last check at 14 s finds no tray again: shown afresh and watched,
    // but never reported twice.
    runTo(30);
    EXPECT_EQ(askedAt().size(), 12u);
    EXPECT_EQ(askedAt().back(), 18.3);
    EXPECT_EQ(log.take(), QStringList{kNoSlot});
    EXPECT_EQ(StatusItemPlacementWatcher::takePendingOverflowAlert(), std::nullopt);
}

TEST_F(StatusItemTest, ATrayThatTakesTheItemWhileItIsWatchedEndsTheWatch) {
    installed(noTray);
    runTo(1.2);
    // The tray takes the item without a word, as a tray that has room again.
    trays.present = {.xembedTray = true};
    runTo(30);
    EXPECT_EQ(askedAt(), (std::vector<double>{0, 1, 1.05, 1.3, 4, 14}));
    EXPECT_EQ(log.take(), (QStringList{kNoSlot, kGivenSlot}));
    EXPECT_EQ(StatusItemPlacementWatcher::takePendingOverflowAlert(), std::nullopt);
}

TEST_F(StatusItemTest, TwoFindingsAtOnceStartOneWatch) {
    installed(noTray);
    runTo(1);
    power.wakeSystem();
    runTo(1.05);
    EXPECT_EQ(askedAt(), (std::vector<double>{0, 1, 1, 1.05}));
    EXPECT_EQ(log.take(), (QStringList{kNoSlot, kNoSlot}));
}

TEST_F(StatusItemTest, ScreensWakeTheSessionAndANewTrayEachBringACheckThatShowsAHiddenItem) {
    StatusItemController& item = installed(statusNotifierTray);
    QScreen* screen = QGuiApplication::primaryScreen();
    struct Case {
        const char* name;
        std::function<void()> happen;
    };
    const Case cases[]{
        {"wake", [&] { power.wakeSystem(); }},
        {"the session active again", [&] { emit power.sessionDidBecomeActive(); }},
        {"a tray appears", [&] { trays.appear(statusNotifierTray); }},
        {"a screen changes", [&] { emit screen->geometryChanged(screen->geometry()); }},
        {"another primary screen", [&] { emit qApp->primaryScreenChanged(screen); }},
        {"a screen goes", [&] { emit qApp->screenRemoved(screen); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        item.statusItem().setVisible(false);
        trays.asked.clear();
        c.happen();
        EXPECT_EQ(trays.asked.size(), 1u);
        EXPECT_TRUE(item.statusItem().isVisible());
        EXPECT_EQ(log.take(), QStringList{kHidden});
    }
}

TEST_F(StatusItemTest, ATrayOfTheOtherKindComingLaterIsToldOnceToNeedARestart) {
    // Made without any tray, the item docks only in an X11 system tray.
    installed(noTray);
    runTo(2);
    (void)log.take();
    trays.appear(statusNotifierTray);
    trays.appear(statusNotifierTray);
    runTo(30);
    const QStringList lines = log.take();
    EXPECT_EQ(lines,
              (QStringList{u"a tray came after Tavlin started — restart Tavlin to show its icon there"_s, kGivenSlot}));
    EXPECT_EQ(StatusItemPlacementWatcher::takePendingOverflowAlert(), std::nullopt) << "a tray is there";
}

TEST_F(StatusItemTest, WithoutADisplayNothingIsCheckedAndNothingReported) {
    // The offscreen platform of every headless run.
    make({.trayHost = &trays, .powerEvents = &power});
    controller->install();
    power.wakeSystem();
    runTo(30);
    EXPECT_TRUE(trays.asked.empty());
    EXPECT_TRUE(log.take().isEmpty());
    EXPECT_EQ(StatusItemPlacementWatcher::takePendingOverflowAlert(), std::nullopt);
}

// ---------------------------------------------------------------- the report

TEST_F(StatusItemTest, ThePendingAlertIsShownOnceOnTop) {
    installed(noTray);
    runTo(5.3);
    AlertWatch alert;
    alert.dismissNext();
    StatusItemController::showOverflowAlert();
    EXPECT_EQ(alert.shown, 1);
    EXPECT_EQ(alert.text, u"Tavlin can’t show its tray icon"_s);
    EXPECT_EQ(alert.informativeText, StatusItemPlacementWatcher::overflowMessage());
    EXPECT_TRUE(alert.staysOnTop);

    alert.dismissNext();
    StatusItemController::showOverflowAlert();
    runMainLoopUntil([] { return false; }, 50ms);
    EXPECT_EQ(alert.shown, 1);
}

namespace {

// The item over a notification server on a bus of the test's own.
class StatusItemReportTest : public StatusItemTest {
protected:
    void SetUp() override {
        if (!PrivateSessionBus::isAvailable()) GTEST_SKIP() << "dbus-daemon is not installed";
        ASSERT_TRUE(bus.isRunning());
    }

    PrivateSessionBus bus;
};

}  // namespace

TEST_F(StatusItemReportTest, WithNotificationsTheReportIsOneNotificationAndNoAlert) {
    FakeNotificationServer server(bus.connect());
    tavlin::platform::NotificationCenter notifications(bus.connect(), clock);
    installed(noTray, &notifications);
    runTo(5.29);
    runMainLoopUntil([] { return false; }, 100ms);
    EXPECT_TRUE(server.calls(u"Notify"_s).empty());

    runTo(5.3);
    ASSERT_TRUE(server.waitForCalls(u"Notify"_s, 1));
    const QVariantList arguments = server.calls(u"Notify"_s).front().arguments;
    ASSERT_EQ(arguments.size(), 8);
    EXPECT_EQ(arguments.at(0).toString(), u"Tavlin"_s);
    EXPECT_EQ(arguments.at(3).toString(), u"Tavlin can’t show its tray icon"_s);
    EXPECT_EQ(arguments.at(4).toString(),
              u"Your desktop has no system tray, so Tavlin's icon is hidden. Click here to "
              u"open Tavlin, or add a system tray to your panel."_s);
    EXPECT_EQ(arguments.at(6).toMap().value(u"suppress-sound"_s), QVariant(true));

    // Clicked, it comes back under its identifier: once the server's number
    // for it has come back too, which the server may not wait for.
    QString clicked;
    QObject::connect(&notifications, &tavlin::platform::NotificationCenter::actionInvoked,
                     [&](const QString& identifier) { clicked = identifier; });
    runMainLoopUntil([&] {
        if (clicked.isEmpty()) server.invokeAction(1, u"default"_s);
        return !clicked.isEmpty();
    });
    EXPECT_EQ(clicked, u"menu-bar-overflow"_s);

    runTo(30);
    runMainLoopUntil([] { return false; }, 100ms);
    EXPECT_EQ(server.calls(u"Notify"_s).size(), 1u);
    EXPECT_EQ(StatusItemPlacementWatcher::takePendingOverflowAlert(), std::nullopt);
}

TEST_F(StatusItemReportTest, ANotificationTheServerNeverTakesIsNotShownAsAnAlert) {
    FakeNotificationServer server(bus.connect(), FakeNotificationServer::Answers::never);
    tavlin::platform::NotificationCenter notifications(bus.connect(), clock);
    installed(noTray, &notifications);
    runTo(5.3);
    ASSERT_TRUE(server.waitForCalls(u"Notify"_s, 1));
    advance(tavlin::platform::NotificationCenter::callTimeLimit);
    runMainLoopUntil([] { return false; }, 100ms);
    EXPECT_EQ(StatusItemPlacementWatcher::takePendingOverflowAlert(), std::nullopt);
}

TEST_F(StatusItemReportTest, WithoutANotificationServerTheReportWaitsForThePanel) {
    tavlin::platform::NotificationCenter notifications(bus.connect(), clock);
    installed(noTray, &notifications);
    runTo(5.3);
    std::optional<QString> pending;
    runMainLoopUntil([&] {
        if (!pending) pending = StatusItemPlacementWatcher::takePendingOverflowAlert();
        return pending.has_value();
    });
    EXPECT_EQ(pending, StatusItemPlacementWatcher::overflowMessage());
}
