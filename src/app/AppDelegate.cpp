#include "app/AppDelegate.h"

#include "app/ApplicationService.h"
#include "app/DailySummary.h"
#include "app/HotKeyController.h"
#include "app/MainMenu.h"
#include "app/ProgramEntry.h"
#include "app/StatusItemController.h"
#include "app/UpdateController.h"
#include "keybindings/KeyBindings.h"
#include "keybindings/Name.h"
#include "mcp/InstanceLock.h"
#include "mcp/MCPConfiguration.h"
#include "mcp/MCPServer.h"
#include "mcp/MCPService.h"
#include "mcp/ReminderTools.h"
#include "panel/PanelController.h"
#include "panel/PanelModel.h"
#include "panel/PanelNotifications.h"
#include "panel/widgets/KeyPanel.h"
#include "platform/AlarmScheduler.h"
#include "platform/Geocoder.h"
#include "platform/HotKeyBackend.h"
#include "platform/LocalLanguageModel.h"
#include "platform/LocationManager.h"
#include "platform/Log.h"
#include "platform/LoginItem.h"
#include "platform/MapSearch.h"
#include "platform/NominatimGeocoder.h"
#include "platform/NotificationCenter.h"
#include "platform/PhotonMapSearch.h"
#include "platform/PlaceServiceRequest.h"
#include "platform/PlaceServiceSettings.h"
#include "platform/PowerEvents.h"
#include "platform/Text.h"
#include "platform/TileMapSnapshotter.h"
#include "platform/TimeZoneChanges.h"
#include "platform/TrayHost.h"
#include "platform/UserDefaults.h"
#include "platform/VCardContacts.h"
#include "platform/eventstore/VdirEventStore.h"
#include "preferences/PreferencesWindow.h"
#include "preferences/PreferencesWindowController.h"
#include "preferences/SettingsTabSelection.h"
#include "store/ContinuousObservation.h"
#include "store/LocationProvider.h"
#include "store/PlaceResolver.h"
#include "store/ReminderStore.h"
#include "store/Settings.h"

#include <QApplication>
#include <QClipboard>
#include <QFileInfo>
#include <QPointer>

using namespace Qt::StringLiterals;

namespace tavlin::app {

using mcp::MCPConfiguration;

namespace {

QString applicationVersion() {
    const QString version = QCoreApplication::applicationVersion();
    return version.isEmpty() ? u"0"_s : version;
}

// The application's normal end, once the current event is handled (a bus
// call that asked for it gets its answer first).
void quitApplication() {
    QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit, Qt::QueuedConnection);
}

// The desktop's primary selection, where it has one.
std::optional<QString> primarySelection() {
    const QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard->supportsSelection()) return std::nullopt;
    return clipboard->text(QClipboard::Selection);
}

// The daily summary's question, for the settings.
platform::Task<bool> askForNotifications(QPointer<DailySummary> summary) {
    if (!summary) co_return false;
    const bool allowed = co_await summary->ensureNotificationAuthorization();
    co_return allowed;
}

}  // namespace

std::optional<QString> AppDelegate::ServiceProvider::addToTavlin(const QString& text) const {
    if (platform::trimmedWhitespaceAndNewlines(text).isEmpty()) return QString(noTextMessage);
    if (onCapture) onCapture(text);
    return std::nullopt;
}

AppDelegate::AppDelegate(Environment environment, QObject* parent)
    : QObject(parent), environment_(std::move(environment)) {
    if (!environment_.readSelection) environment_.readSelection = &primarySelection;
    makeClosures();
}

AppDelegate::~AppDelegate() {
    // The reverse of launch: each component goes before those it was given.
    hotKeyController_.reset();
    statusItemController_.reset();
    panelController_.reset();
    preferencesController_.reset();
    mcpServer_.reset();
    mcpService_.reset();
    reminderTools_.reset();
    updateController_.reset();
    locationProvider_.reset();
    alarms_.reset();
    dailySummary_.reset();
    store_.reset();
    settings_.reset();
}

void AppDelegate::makeClosures() {
    const QPointer self(this);
    closures_ = Closures{
        .openPreferences =
            [self] {
                if (self && self->preferencesController_) self->preferencesController_->show();
            },
        .togglePanel =
            [self] {
                if (self) self->togglePanel(false);
            },
        .hotKeyPressed =
            [self] {
                if (self) self->togglePanel(true);
            },
        .checkForUpdates = {},  // made once the update controller knows whether updates are configured
        .pendingUpdateVersion = [self] { return self ? self->pendingUpdateVersion() : std::nullopt; },
        .statusButtonProvider = [self] { return self ? self->statusButtonRect() : std::nullopt; },
        .captureFromService =
            [self](const QString& text) {
                if (self) self->captureFromService(text);
            },
        .syncMCPServer =
            [self] {
                if (self) self->syncMCPServer();
            },
    };
}

void AppDelegate::applicationDidFinishLaunching() {
    if (environment_.isRunningTests) return;

    terminateOtherInstances();
    // An autostart entry that a Tavlin run from elsewhere wrote (a build
    // folder, before `make install`) starts this one from now on.
    if (holdsInstanceLock())
        if (const std::optional<platform::LoginItemError> failure = platform::LoginItem::mainApp().followExecutable())
            qCWarning(lcApp).noquote() << failure->message;
    took(LaunchStep::oneInstance);

    // Tavlin lives in the tray: no window at launch, and closing the last
    // one leaves it running. The panel is a tool window, so the taskbar
    // shows no entry for it.
    QApplication::setQuitOnLastWindowClosed(false);
    took(LaunchStep::accessoryPolicy);

    buildMainMenu();
    took(LaunchStep::mainMenu);

    // Text sent over the bus (AddToTavlin, the desktop entry's action).
    // On the next turn of the loop: the text comes in a bus call, which
    // replies first (the panel's opening may wait on the user).
    serviceProvider_.onCapture = [this, capture = closures_.captureFromService](const QString& text) {
        QMetaObject::invokeMethod(
            this, [capture, text] { capture(text); }, Qt::QueuedConnection);
    };
    took(LaunchStep::services);

    defaults_ = std::make_unique<platform::UserDefaults>();
    // The hot keys and the place services are kept with the other settings,
    // under keys of their own.
    settings_ = std::make_unique<store::Settings>(
        *defaults_, QStringList{QString::fromStdString(KeyBindings::Name::togglePanel.userDefaultsKey())} +
                        platform::PlaceServiceSettings::keys());
    installLanguageModel();
    keyBindings_ = std::make_unique<KeyBindings::Module>(*defaults_, environment_.makeHotKeyBackend
                                                                         ? environment_.makeHotKeyBackend()
                                                                         : platform::makeSystemHotKeyBackend());
    // Nor its hot key: a developer run grabs no key.
    if (ProgramEntry::liftsOneInstanceRule(environment_.arguments)) KeyBindings::setEnabled(false);
    took(LaunchStep::settings);

    buildStore();
    took(LaunchStep::store);

    notifications_ = std::make_unique<platform::NotificationCenter>(environment_.sessionBus);
    dailySummary_ = std::make_unique<DailySummary>(*store_, *settings_, *notifications_, *powerEvents_);
    took(LaunchStep::dailySummary);

    alarms_ = std::make_unique<platform::AlarmScheduler>(*eventStore_, *notifications_, *powerEvents_);
    alarmLocation_ = platform::makeSystemLocationManager();
    alarms_->setLocationManager(alarmLocation_.get());
    connect(alarms_.get(), &platform::AlarmScheduler::completionRequested, this, &AppDelegate::completeFromAlarm);
    connect(alarms_.get(), &platform::AlarmScheduler::showRequested, this, &AppDelegate::showFromAlarm);
    // Our own writes: the event store need not say so.
    connect(store_.get(), &store::ReminderStore::remindersChanged, alarms_.get(), &platform::AlarmScheduler::check);
    followTimeZoneChanges();
    took(LaunchStep::alarms);

    locationProvider_ = std::make_unique<store::LocationProvider>();
    took(LaunchStep::locationProvider);

    updateController_ = std::make_unique<UpdateController>(*notifications_);
    closures_.checkForUpdates = updateController_->checkForUpdatesAction();
    took(LaunchStep::updateController);

    buildMCPServer();
    took(LaunchStep::mcpServer);

    // No window yet: it is made when first shown, at the general tab.
    settingsTab_ = std::make_unique<preferences::SettingsTabSelection>();
    settingsTab_->setTab(preferences::SettingsTab::general);
    preferencesController_ = std::make_unique<preferences::PreferencesWindowController>(
        *store_, *settings_, [summary = QPointer(dailySummary_.get())] { return askForNotifications(summary); },
        *locationProvider_, *mcpServer_, closures_.checkForUpdates, *settingsTab_, *contacts_,
        &StatusItemController::renderSegments, preferences::PreferencesWindow::factory());
    took(LaunchStep::preferences);

    panelController_ = std::make_unique<panel::PanelController>(
        *store_, *settings_, *locationProvider_,
        panel::PanelController::Environment{.makeWindow = environment_.makePanelWindow
                                                              ? environment_.makePanelWindow
                                                              : panel::widgets::KeyPanel::factory()});
    panel::PanelController::ShellHooks& panelHooks = panelController_->shellHooks();
    panelHooks.openPreferences = closures_.openPreferences;
    panelHooks.checkForUpdates = closures_.checkForUpdates;
    panelHooks.pendingUpdateVersion = closures_.pendingUpdateVersion;
    // A notice that no tray shows the item, kept for the next opening.
    panelHooks.showOverflowAlert = &StatusItemController::showOverflowAlert;
    // Until the tray item exists, the panel has nothing to open under.
    panelHooks.statusButtonProvider = []() -> std::optional<QRectF> { return std::nullopt; };
    took(LaunchStep::panel);

    // The tray item, drawn at once, before the store has started, and again
    // after each change of what it shows.
    trayHost_ = std::make_unique<platform::DesktopTrayHost>(environment_.sessionBus);
    statusItemController_ = std::make_unique<StatusItemController>(
        *store_, *settings_, closures_.togglePanel, closures_.openPreferences, closures_.checkForUpdates,
        closures_.pendingUpdateVersion,
        StatusItemController::Placement{
            .trayHost = trayHost_.get(), .notifications = notifications_.get(), .powerEvents = powerEvents_.get()});
    took(LaunchStep::statusItem);
    store::ContinuousObservation::observe([item = QPointer(statusItemController_.get())] {
        if (item) item->refresh();
    });
    took(LaunchStep::statusItemObserved);

    // From here on the item keeps itself shown, and tells once when no tray
    // takes it.
    statusItemController_->install();
    took(LaunchStep::statusItemInstalled);

    panelController_->shellHooks().statusButtonProvider = closures_.statusButtonProvider;
    took(LaunchStep::statusButtonProvider);

    // The panel opens on the hot key's release, not on its press.
    hotKeyController_ = std::make_unique<HotKeyController>(closures_.hotKeyPressed);
    took(LaunchStep::hotKey);

    connect(notifications_.get(), &platform::NotificationCenter::actionInvoked, this,
            [this](const QString& identifier) { didReceiveNotificationResponse(identifier); });
    took(LaunchStep::notificationResponses);

    connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this, &AppDelegate::stopServices);
    store_->start();
    took(LaunchStep::storeStarted);

    dailySummary_->start();
    took(LaunchStep::dailySummaryStarted);

    // A switch run stands beside the user's Tavlin, which does the reminding.
    if (!ProgramEntry::liftsOneInstanceRule(environment_.arguments)) alarms_->start();
    took(LaunchStep::alarmsStarted);

    store::ContinuousObservation::observe(closures_.syncMCPServer);
    took(LaunchStep::mcpServerObserved);

    if (environment_.developerSwitches) environment_.developerSwitches(*this);
    took(LaunchStep::developerSwitches);
}

void AppDelegate::terminateOtherInstances() {
    const QString lockPath = MCPConfiguration::instanceLockPath();
    if (const std::optional<QString> failure =
            MCPConfiguration::createPrivateFolder(QFileInfo(lockPath).absolutePath()))
        qCWarning(lcApp).noquote() << *failure;

    // A developer run stands beside the user's Tavlin and takes nothing from
    // it: neither the name nor the lock.
    if (ProgramEntry::liftsOneInstanceRule(environment_.arguments)) return;
    bool askedToQuit = false;
    if (!environment_.sessionBus.isConnected()) {
        qCWarning(lcApp) << "No session bus: another Tavlin that runs is not asked to quit";
    } else {
        applicationService_ = std::make_unique<ApplicationService>(environment_.sessionBus);
        // Each waits for the part of launch it needs; calls come only once
        // launch is done and the loop runs.
        applicationService_->setAddToTavlin([this](const QString& text) { return serviceProvider_.addToTavlin(text); });
        connect(applicationService_.get(), &ApplicationService::activateRequested, this,
                &AppDelegate::applicationShouldHandleReopen);
        connect(applicationService_.get(), &ApplicationService::newRemindersFromSelectionRequested, this,
                &AppDelegate::newRemindersFromSelection);
        connect(applicationService_.get(), &ApplicationService::quitRequested, this, &quitApplication);
        // The newest Tavlin wins, also against one that ignores the request.
        connect(applicationService_.get(), &ApplicationService::nameLost, this, &quitApplication);
        askedToQuit = applicationService_->askOwnerToQuit();
        applicationService_->claimName();
    }

    // The lock tells the --mcp bridge that a Tavlin runs, and its holder alone
    // writes mcp.json: wait for the old Tavlin to let go of it, else the
    // bridge would think none runs once it ends, and its stop would take our
    // port out of the file.
    instanceLock_ =
        mcp::InstanceLock::acquire(lockPath, askedToQuit ? environment_.handoverLimit : std::chrono::milliseconds(0));
    if (!instanceLock_) qCWarning(lcApp).noquote() << u"Couldn't take %1; is another Tavlin running?"_s.arg(lockPath);
}

// Floating due times and alarms are read in the user's zone; when the system
// changes it, the process's zone follows and the store and the alarms look
// at their days and times again.
void AppDelegate::followTimeZoneChanges() {
    timeZoneChanges_ = std::make_unique<platform::TimeZoneChanges>();
    connect(timeZoneChanges_.get(), &platform::TimeZoneChanges::changed, this, [this](const platform::TimeZone& zone) {
        qCInfo(lcApp).noquote() << "the time zone is now" << zone.identifier();
        platform::TimeZone::setCurrent(zone);
        store_->setTimeZone(zone);
        alarms_->setTimeZone(zone);
        dailySummary_->setTimeZone(zone);
        if (panelController_) panelController_->setTimeZone(zone);
    });
}

void AppDelegate::buildMainMenu() {
    mainMenu_ = std::make_unique<MainMenu>(MainMenu::Actions{
        .hide = [this] { hideApplication(); },
        .quit = &quitApplication,
        .deleteReminder = [this] { deleteSelectedReminder(); },
    });
}

// Quick-add lines are read by a model only where the settings name one: a
// model server's answers go nowhere else, and without one the rules read
// alone. The availability is found out in the background.
void AppDelegate::installLanguageModel() {
    const std::optional<platform::LocalLanguageModel::Configuration> configuration =
        platform::LocalLanguageModel::configuration(settings_->languageModelURL(), settings_->languageModelName());
    if (!configuration) {
        qCDebug(lcApp) << "no language model named: quick-add lines are read by the rules alone";
        return;
    }
    languageModel_ = std::make_unique<platform::LocalLanguageModel>(*configuration);
    languageModelInPlace_ = std::make_unique<platform::ScopedLanguageModel>(*languageModel_);
}

void AppDelegate::buildStore() {
    eventStore_ = std::make_unique<platform::VdirEventStore>();
    powerEvents_ =
        std::make_unique<platform::SessionPowerEvents>(QDBusConnection::systemBus(), environment_.sessionBus);
    contacts_ = std::make_unique<platform::VCardContacts>();
    buildPlaceServices();
    places_ = std::make_unique<store::PlaceResolver>(*contacts_, *mapSearch_, *geocoder_);
    // Not started yet: the tray item shows its first state before.
    store_ = std::make_unique<store::ReminderStore>(*eventStore_, *settings_, *powerEvents_, *places_);
}

void AppDelegate::buildPlaceServices() {
    const platform::PlaceServiceSettings services = platform::PlaceServiceSettings::read(*defaults_);
    placesHTTP_ = std::make_unique<platform::HTTPClient>(platform::PlaceServiceRequest::userAgent());
    // Found places come first near where the user was last seen.
    const auto nearby = [this]() -> std::optional<platform::GeoLocation> {
        const std::optional<platform::Location> fix = locationProvider_ ? locationProvider_->current() : std::nullopt;
        if (!fix) return std::nullopt;
        return platform::GeoLocation{fix->latitude, fix->longitude};
    };
    mapSearch_ = std::make_unique<platform::PhotonMapSearch>(
        *placesHTTP_,
        platform::PhotonMapSearch::Options{
            .endpoint = services.placeSearch, .enabled = services.networkPlacesEnabled, .nearby = nearby});
    geocoder_ = std::make_unique<platform::NominatimGeocoder>(
        *placesHTTP_,
        platform::NominatimGeocoder::Options{.endpoint = services.geocoder,
                                             .enabled = services.networkPlacesEnabled,
                                             .nearby = nearby,
                                             .cacheFile = platform::NominatimGeocoder::standardCacheFile()});
    maps_ = std::make_unique<platform::TileMapSnapshotter>(
        *placesHTTP_,
        platform::TileMapSnapshotter::Options{.mapTiles = services.mapTiles, .enabled = services.networkPlacesEnabled});
    mapsInstalled_ = std::make_unique<platform::ScopedMapSnapshotter>(*maps_);
}

void AppDelegate::buildMCPServer() {
    reminderTools_ = std::make_unique<mcp::ReminderTools>(*store_, *settings_);
    mcpService_ = std::make_unique<mcp::MCPService>(applicationVersion(), mcp::ReminderTools::serverInstructions(),
                                                    reminderTools_->makeTools());
    const QString configurationPath = MCPConfiguration::filePath();
    mcpServer_ = std::make_unique<mcp::MCPServer>(*mcpService_, configurationPath,
                                                  MCPConfiguration::launchToken(configurationPath));
    mcpServer_->setWritesConfiguration(holdsInstanceLock());
}

void AppDelegate::togglePanel(bool fromHotKey) {
    if (panelController_) panelController_->toggle(fromHotKey);
}

void AppDelegate::captureFromService(const QString& text) {
    if (!panelController_) return;
    // A fresh panel, so that it offers what the new text holds.
    if (panelController_->panel()) panelController_->close();
    panelController_->open(text, panel::Anchor::screenCenter);
}

bool AppDelegate::applicationShouldHandleReopen() {
    if (!environment_.isRunningTests) togglePanel(true);
    return false;
}

void AppDelegate::newRemindersFromSelection() {
    if (environment_.isRunningTests) return;
    const std::optional<QString> selection = environment_.readSelection();
    if (!selection) {
        qCWarning(lcApp) << "No reminders from the selection: this desktop has no primary selection";
        return;
    }
    if (const std::optional<QString> error = serviceProvider_.addToTavlin(*selection))
        qCWarning(lcApp).noquote() << u"No reminders from the selection: %1"_s.arg(*error);
}

void AppDelegate::hideApplication() {
    if (panelController_) panelController_->close();
    for (QWidget* window : QApplication::topLevelWidgets()) {
        // A window outside the window manager's care (the tray icon's own,
        // in the old X11 tray) is part of the desktop, not one to hide.
        if (window->isVisible() && !window->windowFlags().testFlag(Qt::BypassWindowManagerHint)) window->hide();
    }
}

void AppDelegate::deleteSelectedReminder() { emit panel::PanelNotifications::instance().tavlinDeleteSelection(); }

void AppDelegate::didReceiveNotificationResponse(const QString& identifier) {
    // The notification server is answered before anything is done.
    QMetaObject::invokeMethod(
        this, [this, identifier] { respondToNotification(identifier); }, Qt::QueuedConnection);
}

void AppDelegate::respondToNotification(const QString& identifier) {
    // Nothing is built in a test host, nor before launch.
    if (!panelController_) return;
    if (identifier == StatusItemController::overflowNotificationIdentifier) return togglePanel(true);
    if (updateController_ && identifier == UpdateController::notificationIdentifier)
        platform::detach(updateController_->checkForUpdates());
}

void AppDelegate::completeFromAlarm(const QString& identifier) {
    if (!store_) return;
    if (const std::optional<platform::Reminder> reminder = eventStore_->reminder(identifier))
        store_->setCompleted(*reminder, true);
}

void AppDelegate::showFromAlarm(const QString& identifier) {
    if (!panelController_) return;
    if (!panelController_->model()) togglePanel(true);
    panel::PanelModel* model = panelController_->model();
    if (!model || identifier.isEmpty()) return;
    const std::vector<panel::RowItem> rows = model->list().flatRows();
    const auto row = std::find_if(rows.begin(), rows.end(), [&](const panel::RowItem& item) {
        return item.reminder() && item.reminder()->identifier == identifier;
    });
    if (row != rows.end())
        model->rowSelection().setSelection(panel::ListSelection::only(static_cast<int>(row - rows.begin())));
}

void AppDelegate::stopServices() {
    // The user's last deletion is carried out whatever happens to the server.
    if (store_) store_->flushPendingDeletions();
    if (mcpServer_) mcpServer_->stop();
}

std::optional<QString> AppDelegate::pendingUpdateVersion() const {
    return updateController_ ? updateController_->pendingUpdateVersion() : std::nullopt;
}

std::optional<QRectF> AppDelegate::statusButtonRect() const {
    return statusItemController_ ? statusItemController_->statusButtonRect() : std::nullopt;
}

void AppDelegate::syncMCPServer() {
    if (!settings_->mcpEnabled()) return mcpServer_->stop();
    if (mcpServer_->hasListener()) return;
    mcpServer_->clearLastError();
    mcpServer_->start(mcp::MCPServer::defaultPort, true);
}

}  // namespace tavlin::app
