#pragma once

#include <QObject>

#include <functional>
#include <memory>
#include <optional>

namespace tavlin::platform {
class Contacts;
class Geocoder;
class MapSearch;
class NotificationCenter;
class PowerEvents;
class EventStore;
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

namespace tavlin::app {

class DailySummary;
class UpdateController;
class StatusItemController;

// Builds the application's components at launch, in their order, wires them
// and owns them for the life of the process. At the application's end the
// store carries out its pending deletions and the AI tools server stops.
class AppDelegate : public QObject {
    Q_OBJECT

public:
    explicit AppDelegate(QObject* parent = nullptr);
    ~AppDelegate() override;

    // Builds the settings, the reminder store over the reminders folder, the
    // AI tools and their server, and the tray item, which shows its first
    // state before the store starts; starts the store, and starts and stops
    // the server as the setting mcpEnabled goes on and off.
    void launch();

    store::Settings& settings() const { return *settings_; }
    store::ReminderStore& store() const { return *store_; }
    mcp::MCPServer& mcpServer() const { return *mcpServer_; }
    DailySummary& dailySummary() const { return *dailySummary_; }
    UpdateController& updateController() const { return *updateController_; }

    // What the menus and the settings are given: the update check, which
    // exists only when updates are configured, and the version it found.
    const std::function<void()>& checkForUpdates() const { return checkForUpdates_; }
    std::optional<QString> pendingUpdateVersion() const;
    StatusItemController& statusItemController() const { return *statusItemController_; }

private:
    void syncMCPServer();
    void terminate();

    std::unique_ptr<mcp::InstanceLock> instanceLock_;
    std::unique_ptr<platform::UserDefaults> defaults_;
    std::unique_ptr<store::Settings> settings_;
    std::unique_ptr<platform::EventStore> eventStore_;
    std::unique_ptr<platform::PowerEvents> powerEvents_;
    std::unique_ptr<platform::Contacts> contacts_;
    std::unique_ptr<platform::MapSearch> mapSearch_;
    std::unique_ptr<platform::Geocoder> geocoder_;
    std::unique_ptr<store::PlaceResolver> places_;
    std::unique_ptr<store::ReminderStore> store_;
    std::unique_ptr<platform::NotificationCenter> notifications_;
    std::unique_ptr<DailySummary> dailySummary_;
    std::unique_ptr<store::LocationProvider> locationProvider_;
    std::unique_ptr<UpdateController> updateController_;
    std::function<void()> checkForUpdates_;
    std::unique_ptr<mcp::ReminderTools> reminderTools_;
    std::unique_ptr<mcp::MCPService> mcpService_;
    std::unique_ptr<mcp::MCPServer> mcpServer_;
    std::unique_ptr<StatusItemController> statusItemController_;
};

}  // namespace tavlin::app
