#include "app/AppDelegate.h"

#include "AppDelegateFixture.h"
#include "app/ApplicationService.h"
#include "app/DailySummary.h"
#include "app/StatusItemController.h"
#include "app/UpdateController.h"
#include "mcp/InstanceLock.h"
#include "mcp/MCPConfiguration.h"
#include "mcp/MCPServer.h"
#include "panel/PanelController.h"
#include "panel/PanelModel.h"
#include "platform/AlarmScheduler.h"
#include "preferences/PreferencesWindowController.h"
#include "preferences/SettingsTabSelection.h"
#include "store/ReminderStore.h"
#include "store/Settings.h"
#include "support/FakeHotKeyBackend.h"
#include "support/FakeNotificationServer.h"
#include "support/MainLoop.h"
#include "support/PrivateSessionBus.h"
#include "support/ScopedVariable.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTimer>

#include <linux/input-event-codes.h>
#include <functional>
#include <optional>
#include <vector>

using namespace Qt::StringLiterals;
using tavlin::app::AppDelegate;
using tavlin::app::ApplicationService;
using tavlin::mcp::InstanceLock;
using tavlin::mcp::MCPConfiguration;
using Step = AppDelegate::LaunchStep;

namespace {

using AppDelegateTest = AppDelegateFixture;

class AppDelegateWithServerTest : public AppDelegateTest {
protected:
    QByteArray settingsJSON() const override { return R"({"mcpEnabled": true, "dailySummaryEnabled": true})"; }

    // Another Tavlin's lock and configuration file, as if it ran.
    void playAnotherTavlin() {
        const QString lockPath = MCPConfiguration::instanceLockPath();
        ASSERT_EQ(MCPConfiguration::createPrivateFolder(QFileInfo(lockPath).absolutePath()), std::nullopt);
        others.lock = InstanceLock::acquire(lockPath);
        ASSERT_TRUE(others.lock);
        ASSERT_EQ(others.configuration.save(MCPConfiguration::filePath()), std::nullopt);
    }

    struct {
        std::unique_ptr<InstanceLock> lock;
        MCPConfiguration configuration{.token = MCPConfiguration::makeToken(), .port = 40123};
    } others;
};

}  // namespace

// The order carries meaning: the tray shows its first state before the
// store starts, the server follows its setting only once the daily summary
// runs, and the developer switches find everything running.
TEST_F(AppDelegateWithServerTest, LaunchTakesItsStepsInOrder) {
    std::vector<std::pair<Step, bool>> serverListeningAt;
    std::optional<bool> summaryArmedOnceStarted;
    std::optional<QRectF> trayItemBeforeItExists{QRectF(1, 1, 1, 1)};
    bool switchesFoundEverythingRunning = false;
    launch({.developerSwitches =
                [&](AppDelegate&) {
                    switchesFoundEverythingRunning = delegate->mcpServer().hasListener() &&
                                                     delegate->dailySummary().fireDate().has_value() &&
                                                     delegate->holdsInstanceLock();
                }},
           [&](Step step) {
               if (step == Step::panel)
                   trayItemBeforeItExists = delegate->panelController().shellHooks().statusButtonProvider();
               if (step == Step::storeStarted || step == Step::dailySummaryStarted || step == Step::mcpServerObserved)
                   serverListeningAt.emplace_back(step, delegate->mcpServer().hasListener());
               if (step == Step::dailySummaryStarted)
                   summaryArmedOnceStarted = delegate->dailySummary().fireDate().has_value();
           });

    EXPECT_EQ(steps, (std::vector<Step>{Step::oneInstance,
                                        Step::accessoryPolicy,
                                        Step::mainMenu,
                                        Step::services,
                                        Step::settings,
                                        Step::store,
                                        Step::dailySummary,
                                        Step::alarms,
                                        Step::locationProvider,
                                        Step::updateController,
                                        Step::mcpServer,
                                        Step::preferences,
                                        Step::panel,
                                        Step::statusItem,
                                        Step::statusItemObserved,
                                        Step::statusItemInstalled,
                                        Step::statusButtonProvider,
                                        Step::hotKey,
                                        Step::notificationResponses,
                                        Step::storeStarted,
                                        Step::dailySummaryStarted,
                                        Step::alarmsStarted,
                                        Step::mcpServerObserved,
                                        Step::developerSwitches}));
    EXPECT_EQ(serverListeningAt, (std::vector<std::pair<Step, bool>>{
                                     {Step::storeStarted, false},
                                     {Step::dailySummaryStarted, false},
                                     {Step::mcpServerObserved, true},
                                 }));
    EXPECT_EQ(summaryArmedOnceStarted, true);
    EXPECT_TRUE(switchesFoundEverythingRunning);
    EXPECT_EQ(trayItemBeforeItExists, std::nullopt);
    EXPECT_EQ(delegate->panelController().shellHooks().statusButtonProvider.target_type(),
              delegate->closures().statusButtonProvider.target_type())
        << "the tray item's own, once it exists";
    EXPECT_FALSE(QGuiApplication::quitOnLastWindowClosed());
}

TEST_F(AppDelegateTest, ATestHostGetsNothingBuilt) {
    if (!PrivateSessionBus::isAvailable()) GTEST_SKIP() << "dbus-daemon is not installed";
    PrivateSessionBus bus;
    ASSERT_TRUE(bus.isRunning());
    bool switchesRan = false;
    launch({.isRunningTests = true, .sessionBus = bus.connect(), .developerSwitches = [&](AppDelegate&) {
                switchesRan = true;
            }});
    EXPECT_TRUE(steps.empty());
    EXPECT_FALSE(switchesRan);
    EXPECT_FALSE(delegate->holdsInstanceLock());
    EXPECT_FALSE(bus.connect().interface()->isServiceRegistered(ApplicationService::serviceName).value());
    EXPECT_FALSE(QFile::exists(MCPConfiguration::instanceLockPath()));
}

TEST_F(AppDelegateTest, StartsAndStopsTheServerWithItsSetting) {
    launch();
    tavlin::mcp::MCPServer& server = delegate->mcpServer();
    EXPECT_FALSE(server.hasListener());

    delegate->settings().setMcpEnabled(true);
    QCoreApplication::processEvents();
    ASSERT_TRUE(server.port());
    EXPECT_EQ(MCPConfiguration::read(MCPConfiguration::filePath())->port, server.port());

    delegate->settings().setMcpEnabled(false);
    QCoreApplication::processEvents();
    EXPECT_FALSE(server.hasListener());
    EXPECT_EQ(MCPConfiguration::read(MCPConfiguration::filePath())->port, std::nullopt);

    delegate->settings().setMcpEnabled(true);
    QCoreApplication::processEvents();
    EXPECT_TRUE(server.port());
}

// A Tavlin that runs beside the one holding the lock (a developer run, or
// one whose predecessor would not quit) serves, but leaves mcp.json alone.
TEST_F(AppDelegateWithServerTest, OnlyTheLockHolderWritesTheConfiguration) {
    ASSERT_NO_FATAL_FAILURE(playAnotherTavlin());

    launch({.arguments = {u"tavlin"_s, u"--parse"_s, u"x"_s}});
    EXPECT_FALSE(delegate->holdsInstanceLock());
    EXPECT_TRUE(delegate->mcpServer().hasListener());
    delegate->settings().setMcpEnabled(false);
    QCoreApplication::processEvents();
    EXPECT_EQ(MCPConfiguration::read(MCPConfiguration::filePath()), others.configuration);
}

// An old Tavlin that will not quit keeps its lock; the new one waits for it
// a moment, then runs all the same, without touching the old one's file.
TEST_F(AppDelegateWithServerTest, GoesOnWithoutTheLockWhenTheRunningTavlinWillNotQuit) {
    if (!PrivateSessionBus::isAvailable()) GTEST_SKIP() << "dbus-daemon is not installed";
    PrivateSessionBus bus;
    ASSERT_TRUE(bus.isRunning());
    QDBusConnection stubborn = bus.connect();  // owns the name, has no object to ask
    ASSERT_EQ(stubborn.interface()
                  ->registerService(ApplicationService::serviceName, QDBusConnectionInterface::DontQueueService,
                                    QDBusConnectionInterface::AllowReplacement)
                  .value(),
              QDBusConnectionInterface::ServiceRegistered);
    ASSERT_NO_FATAL_FAILURE(playAnotherTavlin());

    const QDBusConnection ours = bus.connect();
    QElapsedTimer elapsed;
    elapsed.start();
    launch({.sessionBus = ours, .handoverLimit = std::chrono::milliseconds(300)});
    EXPECT_GE(elapsed.elapsed(), 300);
    EXPECT_FALSE(delegate->holdsInstanceLock());
    EXPECT_EQ(stubborn.interface()->serviceOwner(ApplicationService::serviceName).value(), ours.baseService());
    EXPECT_TRUE(delegate->mcpServer().hasListener());
    EXPECT_EQ(MCPConfiguration::read(MCPConfiguration::filePath()), others.configuration);
}

TEST_F(AppDelegateTest, HandsOutTheUpdateCheckOnlyWhereTheBuildIsConfiguredForUpdates) {
    launch();
    const bool configured = tavlin::app::UpdateConfiguration::ofThisBuild().isConfigured();
    EXPECT_EQ(bool(delegate->closures().checkForUpdates), configured);
    EXPECT_EQ(bool(delegate->statusItemController().checkForUpdates()), configured);
    EXPECT_EQ(bool(delegate->panelController().shellHooks().checkForUpdates), configured);
    EXPECT_EQ(bool(delegate->preferencesController().services().checkForUpdates), configured);
    EXPECT_EQ(delegate->closures().pendingUpdateVersion(), std::nullopt);
}

TEST_F(AppDelegateTest, ClosuresDoNothingOnceTheDelegateIsGone) {
    launch();
    const AppDelegate::Closures closures = delegate->closures();
    delegate.reset();
    closures.openPreferences();
    closures.togglePanel();
    closures.hotKeyPressed();
    if (closures.checkForUpdates) closures.checkForUpdates();
    closures.captureFromService(u"buy milk"_s);
    closures.syncMCPServer();
    EXPECT_EQ(closures.pendingUpdateVersion(), std::nullopt);
    EXPECT_EQ(closures.statusButtonProvider(), std::nullopt);
}

// Whoever ends Tavlin over the bus, it ends as always: the deletion the
// user could still undo is carried out and the server stops.
TEST_F(AppDelegateWithServerTest, EndsTheNormalWayWhenAskedOverTheBus) {
    if (!PrivateSessionBus::isAvailable()) GTEST_SKIP() << "dbus-daemon is not installed";
    const std::vector<std::pair<const char*, std::function<void(QDBusConnection)>>> ways{
        {"ActivateAction(\"quit\")",
         [](QDBusConnection other) {
             QDBusMessage call =
                 QDBusMessage::createMethodCall(ApplicationService::serviceName, ApplicationService::objectPath,
                                                ApplicationService::interfaceName, u"ActivateAction"_s);
             call.setArguments({u"quit"_s, QVariantList(), QVariantMap()});
             other.asyncCall(call);
         }},
        {"the name taken by a newer Tavlin",
         [](QDBusConnection other) {
             other.interface()->registerService(ApplicationService::serviceName,
                                                QDBusConnectionInterface::ReplaceExistingService,
                                                QDBusConnectionInterface::AllowReplacement);
         }},
    };
    for (const auto& [way, end] : ways) {
        SCOPED_TRACE(way);
        writeReminder();  // again after the last round
        PrivateSessionBus bus;
        ASSERT_TRUE(bus.isRunning());
        launch({.sessionBus = bus.connect()});
        ASSERT_TRUE(runMainLoopUntil([&] { return !delegate->store().reminders().empty(); }));
        delegate->store().queueDeletion(delegate->store().reminders().front());
        ASSERT_TRUE(QFile::exists(reminderFile()));
        ASSERT_TRUE(MCPConfiguration::read(MCPConfiguration::filePath())->port);

        end(bus.connect());
        EXPECT_EQ(runUntilQuit(), 0);
        EXPECT_FALSE(QFile::exists(reminderFile()));
        EXPECT_EQ(MCPConfiguration::read(MCPConfiguration::filePath())->port, std::nullopt);
        delegate.reset();
    }
}

TEST_F(AppDelegateTest, AnswersAnUnknownActionWithAnErrorAndKeepsRunning) {
    if (!PrivateSessionBus::isAvailable()) GTEST_SKIP() << "dbus-daemon is not installed";
    PrivateSessionBus bus;
    ASSERT_TRUE(bus.isRunning());
    launch({.sessionBus = bus.connect()});
    QDBusMessage call = QDBusMessage::createMethodCall(ApplicationService::serviceName, ApplicationService::objectPath,
                                                       ApplicationService::interfaceName, u"ActivateAction"_s);
    call.setArguments({u"open-sesame"_s, QVariantList(), QVariantMap()});
    QDBusPendingCall reply = bus.connect().asyncCall(call);
    ASSERT_TRUE(runMainLoopUntil([&] { return reply.isFinished(); }));
    EXPECT_EQ(reply.error().type(), QDBusError::InvalidArgs);
    EXPECT_EQ(runUntilQuit(300), 99);
}

// The panel toggles when the hot key is let go, never while it is held, so
// the key that opened the panel does not type into it.
TEST_F(AppDelegateTest, TheHotKeyTogglesThePanelOnItsRelease) {
    // ctrl+alt+k, stored as the settings window stores it.
    writeTestFile(
        home.filePath(u"config/Tavlin/settings.json"_s),
        R"({"mcpEnabled": false, "KeyBindings_togglePanel": {"carbonKeyCode": 40, "carbonModifiers": 6144}})");
    const tavlin::platform::KeyChord controlAltK{
        KEY_K + 8, tavlin::platform::X11Modifier::control | tavlin::platform::X11Modifier::alt};
    FakeHotKeyBackend* backend = nullptr;
    launch({.makeHotKeyBackend = [&backend] {
        auto made = std::make_unique<FakeHotKeyBackend>();
        backend = made.get();
        return made;
    }});
    ASSERT_TRUE(backend);
    ASSERT_EQ(backend->grabs, QList{controlAltK});
    const tavlin::panel::PanelController& panel = delegate->panelController();

    backend->press(controlAltK);
    EXPECT_FALSE(panel.panel()) << "not on the press";
    backend->release(controlAltK);
    ASSERT_TRUE(panel.panel());
    EXPECT_EQ(panel.anchor(), tavlin::panel::Anchor::screenCenter);
    ASSERT_TRUE(runMainLoopUntil([&] { return panel.panel()->isKey(); }));

    backend->press(controlAltK);
    EXPECT_TRUE(panel.panel());
    backend->release(controlAltK);
    EXPECT_FALSE(panel.panel());
}

// Text sent from another program always opens a fresh panel in the middle
// of the screen, also when the panel was open under the tray item.
TEST_F(AppDelegateTest, ACaptureOpensAFreshPanelInTheMiddle) {
    launch();
    tavlin::panel::PanelController& panel = delegate->panelController();
    delegate->togglePanel(false);
    ASSERT_TRUE(panel.panel());
    EXPECT_EQ(panel.anchor(), tavlin::panel::Anchor::statusItem);
    const tavlin::panel::PanelWindow* before = panel.panel();

    delegate->closures().captureFromService(u"call the plumber tomorrow"_s);
    ASSERT_TRUE(panel.panel());
    EXPECT_NE(panel.panel(), before);
    EXPECT_EQ(panel.anchor(), tavlin::panel::Anchor::screenCenter);
}

// A click on an alarm's notification opens the panel on its reminder, and
// "Mark as Completed" completes it as the panel would.
TEST_F(AppDelegateTest, AnAlarmsResponsesOpenThePanelOnItsReminderOrCompleteIt) {
    writeTestFile(home.filePath(u"reminders/inbox/second.ics"_s),
                  crlf("BEGIN:VCALENDAR\nVERSION:2.0\nPRODID:-//test//EN\nBEGIN:VTODO\nUID:second\nSUMMARY:Second\n"
                       "STATUS:NEEDS-ACTION\nEND:VTODO\nEND:VCALENDAR\n"));
    launch();
    ASSERT_TRUE(runMainLoopUntil([&] { return delegate->store().reminders().size() == 2; }));
    emit delegate->alarms().showRequested(u"second"_s);
    const tavlin::panel::PanelModel* model = delegate->panelController().model();
    ASSERT_TRUE(model);
    ASSERT_TRUE(model->rowSelection().selectedIndex());
    EXPECT_EQ(model->list().flatRows().at(static_cast<std::size_t>(*model->rowSelection().selectedIndex())).id(),
              u"second"_s);

    emit delegate->alarms().completionRequested(u"errand"_s);
    EXPECT_TRUE(runMainLoopUntil([&] { return readTestFile(reminderFile()).contains("STATUS:COMPLETED"); }));
}

// The settings window is made when it is first asked for, at the general
// tab, by the tray's or the panel's action alike.
TEST_F(AppDelegateTest, OpensTheSettingsWhenAskedAtTheGeneralTab) {
    launch();
    tavlin::preferences::PreferencesWindowController& preferences = delegate->preferencesController();
    EXPECT_FALSE(preferences.window()) << "none at launch";
    delegate->panelController().shellHooks().openPreferences();
    ASSERT_TRUE(preferences.window());
    EXPECT_EQ(preferences.tabSelection().tab(), tavlin::preferences::SettingsTab::general);
}

// The settings draw their colour-style samples with the tray's own pictures,
// and ask the daily summary whether notifications can be shown.
TEST_F(AppDelegateTest, TheSettingsGetTheTraysPicturesAndTheSummarysQuestion) {
    if (!PrivateSessionBus::isAvailable()) GTEST_SKIP() << "dbus-daemon is not installed";
    PrivateSessionBus bus;
    ASSERT_TRUE(bus.isRunning());
    launch({.sessionBus = bus.connect()});
    const tavlin::preferences::PreferencesServices& services = delegate->preferencesController().services();

    using tavlin::preferences::SegmentStyle;
    const std::vector<tavlin::preferences::CountSegment> segments{{u"3"_s, SegmentStyle::alarm},
                                                                  {u"12"_s, SegmentStyle::neutral}};
    ASSERT_TRUE(services.renderSegments);
    EXPECT_EQ(services.renderSegments(segments, true),
              tavlin::app::StatusItemController::renderSegments(segments, true));

    EXPECT_EQ(finishTask(services.ensureNotificationAuthorization()), false) << "no notification server yet";
    FakeNotificationServer server(bus.connect());
    ASSERT_TRUE(server.isRegistered());
    EXPECT_EQ(finishTask(services.ensureNotificationAuthorization()), true);
}
