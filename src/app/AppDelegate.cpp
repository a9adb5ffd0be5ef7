#include "app/AppDelegate.h"

#include "app/DailySummary.h"
#include "app/StatusItemController.h"
#include "app/UpdateController.h"
#include "mcp/InstanceLock.h"
#include "mcp/MCPConfiguration.h"
#include "mcp/MCPServer.h"
#include "mcp/MCPService.h"
#include "mcp/ReminderTools.h"
#include "platform/Geocoder.h"
#include "platform/Log.h"
#include "platform/MapSearch.h"
#include "platform/NotificationCenter.h"
#include "platform/PowerEvents.h"
#include "platform/UserDefaults.h"
#include "platform/VCardContacts.h"
#include "platform/eventstore/VdirEventStore.h"
#include "store/ContinuousObservation.h"
#include "store/LocationProvider.h"
#include "store/PlaceResolver.h"
#include "store/ReminderStore.h"
#include "store/Settings.h"

#include <QCoreApplication>
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

// The lock that tells a --mcp bridge this Tavlin runs.
std::unique_ptr<mcp::InstanceLock> lockInstance() {
    const QString path = MCPConfiguration::instanceLockPath();
    if (const std::optional<QString> failure = MCPConfiguration::createPrivateFolder(QFileInfo(path).absolutePath()))
        qCWarning(lcApp).noquote() << *failure;
    std::unique_ptr<mcp::InstanceLock> lock = mcp::InstanceLock::acquire(path);
    if (!lock) qCWarning(lcApp).noquote() << u"Couldn't take %1; is another Tavlin running?"_s.arg(path);
    return lock;
}

}  // namespace

AppDelegate::AppDelegate(QObject* parent) : QObject(parent) {}

AppDelegate::~AppDelegate() = default;

void AppDelegate::launch() {
    instanceLock_ = lockInstance();

    defaults_ = std::make_unique<platform::UserDefaults>();
    settings_ = std::make_unique<store::Settings>(*defaults_);
    eventStore_ = std::make_unique<platform::VdirEventStore>();
    powerEvents_ = std::make_unique<platform::SessionPowerEvents>();
    contacts_ = std::make_unique<platform::VCardContacts>();
    mapSearch_ = std::make_unique<platform::UnavailableMapSearch>();
    geocoder_ = std::make_unique<platform::UnavailableGeocoder>();
    places_ = std::make_unique<store::PlaceResolver>(*contacts_, *mapSearch_, *geocoder_);
    store_ = std::make_unique<store::ReminderStore>(*eventStore_, *settings_, *powerEvents_, *places_);
    // Built now, started once the store has started.
    notifications_ = std::make_unique<platform::NotificationCenter>();
    dailySummary_ = std::make_unique<DailySummary>(*store_, *settings_, *notifications_, *powerEvents_);
    locationProvider_ = std::make_unique<store::LocationProvider>();
    updateController_ = std::make_unique<UpdateController>(*notifications_);
    checkForUpdates_ = updateController_->checkForUpdatesAction();

    reminderTools_ = std::make_unique<mcp::ReminderTools>(*store_, *settings_);
    mcpService_ = std::make_unique<mcp::MCPService>(applicationVersion(), mcp::ReminderTools::serverInstructions(),
                                                    reminderTools_->makeTools());
    const QString configurationPath = MCPConfiguration::filePath();
    mcpServer_ = std::make_unique<mcp::MCPServer>(*mcpService_, configurationPath,
                                                  MCPConfiguration::launchToken(configurationPath));

    // The tray item, drawn once at once and again after each change of what
    // it shows. The panel and the preferences are not built yet, so those
    // two actions do nothing for now.
    statusItemController_ = std::make_unique<StatusItemController>(
        *store_, *settings_, [] {}, [] {}, checkForUpdates_,
        [self = QPointer(this)] { return self ? self->pendingUpdateVersion() : std::nullopt; });
    store::ContinuousObservation::observe([item = QPointer(statusItemController_.get())] {
        if (item) item->refresh();
    });

    // After the store's own handler, which carries out its pending deletions.
    connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this, &AppDelegate::terminate);
    store_->start();
    dailySummary_->start();
    store::ContinuousObservation::observe([self = QPointer(this)] {
        if (self) self->syncMCPServer();
    });
}

std::optional<QString> AppDelegate::pendingUpdateVersion() const {
    return updateController_ ? updateController_->pendingUpdateVersion() : std::nullopt;
}

void AppDelegate::syncMCPServer() {
    if (!settings_->mcpEnabled()) return mcpServer_->stop();
    if (mcpServer_->hasListener()) return;
    mcpServer_->clearLastError();
    mcpServer_->start(mcp::MCPServer::defaultPort, true);
}

void AppDelegate::terminate() { mcpServer_->stop(); }

}  // namespace tavlin::app
