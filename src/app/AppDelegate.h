#pragma once

#include "panel/PanelWindow.h"

#include <QDBusConnection>
#include <QObject>
#include <QRectF>
#include <QString>
#include <QStringList>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>

namespace tavlin::platform {
class Contacts;
class EventStore;
class Geocoder;
class HotKeyBackend;
class LocalLanguageModel;
class MapSearch;
class HTTPClient;
class MapSnapshotter;
class ScopedMapSnapshotter;
class NotificationCenter;
class TimeZoneChanges;
class AlarmScheduler;
class LocationManager;
class PowerEvents;
class ScopedLanguageModel;
class TrayHost;
class UserDefaults;
}  // namespace tavlin::platform

namespace tavlin::store {
class LocationProvider;
class PlaceResolver;
class ReminderStore;
class Settings;
}  // namespace tavlin::store

namespace tavlin::mcp {
class InstanceLock;
class MCPServer;
class MCPService;
class ReminderTools;
}  // namespace tavlin::mcp

namespace tavlin::KeyBindings {
class Module;
}  // namespace tavlin::KeyBindings

namespace tavlin::panel {
class PanelController;
}  // namespace tavlin::panel

namespace tavlin::preferences {
class PreferencesWindowController;
class SettingsTabSelection;
}  // namespace tavlin::preferences

namespace tavlin::app {

class ApplicationService;
class DailySummary;
class HotKeyController;
class MainMenu;
class StatusItemController;
class UpdateController;

// Tavlin's spine. At launch it keeps one Tavlin per user, builds every
// component in a fixed order, hands each the others and the shell's actions
// it needs, starts the long-running services and last hands the command line
// to the developer switches. It owns every component until the process ends;
// at the application's end the store carries out its pending deletions and
// the AI tools server stops, however the end was asked for.
//
// Components get the shell's actions as closures that hold the delegate
// weakly: once it is gone they do nothing and give nothing. Main thread only.
class AppDelegate : public QObject {
    Q_OBJECT

public:
    // How long a new Tavlin waits for the one it asked to quit.
    static constexpr std::chrono::milliseconds handoverLimit{5000};

    // What the process is given.
    struct Environment {
        // Launch then builds nothing at all.
        bool isRunningTests = false;
        // The program path first; a "--" argument lifts the one-instance rule.
        QStringList arguments;
        // A connection that is not connected: there is no session bus.
        QDBusConnection sessionBus{QString()};
        // Run last, when everything else has launched, with the delegate
        // whose components the switches drive.
        std::function<void(AppDelegate&)> developerSwitches;
        // The X server's key grabs when empty.
        std::function<std::unique_ptr<platform::HotKeyBackend>()> makeHotKeyBackend;
        // The panel's Qt window when empty.
        panel::PanelWindowFactory makePanelWindow;
        std::chrono::milliseconds handoverLimit = AppDelegate::handoverLimit;
        // The text of the desktop's primary selection (X11's PRIMARY), or
        // nothing where the desktop has none; Qt's when empty.
        std::function<std::optional<QString>()> readSelection;
    };

    // The steps of launch that have been taken, in the order they are taken.
    enum class LaunchStep {
        oneInstance,
        accessoryPolicy,
        mainMenu,
        services,
        settings,
        store,
        dailySummary,
        alarms,
        locationProvider,
        updateController,
        mcpServer,
        preferences,
        panel,
        statusItem,
        statusItemObserved,
        statusItemInstalled,
        statusButtonProvider,
        hotKey,
        notificationResponses,
        storeStarted,
        dailySummaryStarted,
        alarmsStarted,
        mcpServerObserved,
        developerSwitches,
    };
    Q_ENUM(LaunchStep)

    // The shell's actions as components receive them.
    struct Closures {
        std::function<void()> openPreferences;
        std::function<void()> togglePanel;    // as the tray item asks: not from the hot key
        std::function<void()> hotKeyPressed;  // from the hot key
        // Only while updates are configured; empty otherwise.
        std::function<void()> checkForUpdates;
        std::function<std::optional<QString>()> pendingUpdateVersion;
        // The tray item's rectangle on screen.
        std::function<std::optional<QRectF>()> statusButtonProvider;
        std::function<void(const QString&)> captureFromService;
        std::function<void()> syncMCPServer;
    };

    // The target of text sent to Tavlin from another program.
    struct ServiceProvider {
        static constexpr QLatin1StringView noTextMessage{"No text in the selection"};

        // Set by launch; until then text goes nowhere, without an error.
        std::function<void(const QString&)> onCapture;

        // Text with something in it goes to onCapture as it came, untrimmed;
        // text of only white space and line breaks is refused with
        // noTextMessage, and nothing happens.
        std::optional<QString> addToTavlin(const QString& text) const;
    };

    // Builds nothing yet.
    explicit AppDelegate(Environment environment, QObject* parent = nullptr);
    ~AppDelegate() override;

    // The launch, once the application's loop exists.
    void applicationDidFinishLaunching();

    // The one way to show or hide the panel: true from the hot key (and
    // the shell's other routes), false from a click on the tray item.
    void togglePanel(bool fromHotKey);
    // Text sent from another program: opens the panel afresh in the middle
    // of the screen, offering the reminders found in it.
    void captureFromService(const QString& text);

    // The desktop opens Tavlin again (its menu entry, a second start through
    // the bus): the panel toggles as the hot key toggles it. Nothing in a
    // test host. Always false: nothing else is to be done.
    bool applicationShouldHandleReopen();
    // The desktop entry's action: the primary selection, read now, as if it
    // were sent to AddToTavlin. Where there is none, or nothing in it,
    // nothing opens and a warning is logged.
    void newRemindersFromSelection();
    // The main menu's commands.
    void hideApplication();
    void deleteSelectedReminder();
    // A click on one of Tavlin's notifications, by its identifier; answered
    // at the next turn of the loop, once launch has built the components:
    // "menu-bar-overflow" toggles the panel as the hot key does,
    // "sparkle-update-available" runs the update check, anything else does
    // nothing.
    void didReceiveNotificationResponse(const QString& identifier);
    // The end: pending deletions are carried out, then the server stops.
    void stopServices();

    const Closures& closures() const { return closures_; }
    const ServiceProvider& serviceProvider() const { return serviceProvider_; }
    bool isRunningTests() const { return environment_.isRunningTests; }

    // The components, once launch has built them.
    store::Settings& settings() const { return *settings_; }
    store::ReminderStore& store() const { return *store_; }
    StatusItemController& statusItemController() const { return *statusItemController_; }
    panel::PanelController& panelController() const { return *panelController_; }
    preferences::PreferencesWindowController& preferencesController() const { return *preferencesController_; }
    DailySummary& dailySummary() const { return *dailySummary_; }
    platform::AlarmScheduler& alarms() const { return *alarms_; }
    store::LocationProvider& locationProvider() const { return *locationProvider_; }
    platform::Contacts& contacts() const { return *contacts_; }
    UpdateController& updateController() const { return *updateController_; }
    mcp::MCPServer& mcpServer() const { return *mcpServer_; }
    // Whether this Tavlin holds the instance lock, and so owns mcp.json.
    bool holdsInstanceLock() const { return instanceLock_ != nullptr; }

signals:
    void launchStepTaken(tavlin::app::AppDelegate::LaunchStep step);

private:
    void makeClosures();
    // Keeps one Tavlin per user: asks the running one to quit, takes its
    // name on the session bus and waits a moment for its instance lock.
    void terminateOtherInstances();
    void buildMainMenu();
    void followTimeZoneChanges();
    void respondToNotification(const QString& identifier);
    // An alarm's answers: the reminder completed as the panel completes it,
    // or the panel opened with it selected.
    void completeFromAlarm(const QString& identifier);
    void showFromAlarm(const QString& identifier);
    void buildStore();
    void buildPlaceServices();
    void installLanguageModel();
    void buildMCPServer();
    void syncMCPServer();
    std::optional<QString> pendingUpdateVersion() const;
    std::optional<QRectF> statusButtonRect() const;
    void took(LaunchStep step) { emit launchStepTaken(step); }

    Environment environment_;
    Closures closures_;

    // What the components stand on, declared first so that it outlives
    // them: the session bus, the instance lock, the platform's services.
    std::unique_ptr<ApplicationService> applicationService_;
    std::unique_ptr<MainMenu> mainMenu_;
    std::unique_ptr<mcp::InstanceLock> instanceLock_;
    std::unique_ptr<platform::UserDefaults> defaults_;
    std::unique_ptr<KeyBindings::Module> keyBindings_;
    std::unique_ptr<platform::EventStore> eventStore_;
    std::unique_ptr<platform::PowerEvents> powerEvents_;
    std::unique_ptr<platform::Contacts> contacts_;
    // The network's place services, over one HTTP client.
    std::unique_ptr<platform::HTTPClient> placesHTTP_;
    std::unique_ptr<platform::MapSearch> mapSearch_;
    std::unique_ptr<platform::Geocoder> geocoder_;
    std::unique_ptr<platform::MapSnapshotter> maps_;
    std::unique_ptr<platform::ScopedMapSnapshotter> mapsInstalled_;
    std::unique_ptr<store::PlaceResolver> places_;
    std::unique_ptr<platform::NotificationCenter> notifications_;
    std::unique_ptr<platform::LocationManager> alarmLocation_;  // fixes for the alarms at a place
    std::unique_ptr<preferences::SettingsTabSelection> settingsTab_;
    std::unique_ptr<platform::TrayHost> trayHost_;
    // The model server the settings name, in place of the system's model.
    std::unique_ptr<platform::LocalLanguageModel> languageModel_;
    std::unique_ptr<platform::ScopedLanguageModel> languageModelInPlace_;

    // The components, each filled once by launch at its step.
    std::unique_ptr<store::Settings> settings_;
    std::unique_ptr<store::ReminderStore> store_;
    std::unique_ptr<StatusItemController> statusItemController_;
    std::unique_ptr<panel::PanelController> panelController_;
    std::unique_ptr<HotKeyController> hotKeyController_;
    std::unique_ptr<DailySummary> dailySummary_;
    std::unique_ptr<platform::AlarmScheduler> alarms_;
    std::unique_ptr<platform::TimeZoneChanges> timeZoneChanges_;
    std::unique_ptr<store::LocationProvider> locationProvider_;
    std::unique_ptr<preferences::PreferencesWindowController> preferencesController_;
    std::unique_ptr<UpdateController> updateController_;
    std::unique_ptr<mcp::ReminderTools> reminderTools_;  // the server's tools and service
    std::unique_ptr<mcp::MCPService> mcpService_;
    std::unique_ptr<mcp::MCPServer> mcpServer_;
    ServiceProvider serviceProvider_;
};

}  // namespace tavlin::app
