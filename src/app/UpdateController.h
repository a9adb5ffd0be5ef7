#pragma once

#include "platform/Task.h"
#include "platform/Updater.h"
#include "store/ObservationTracking.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

namespace tavlin::platform {
class NotificationCenter;
}  // namespace tavlin::platform

namespace tavlin::app {

// Where updates come from, as the build was given it.
struct UpdateConfiguration {
    QString feedURL;
    QString publicKey;

    // The values of TAVLIN_UPDATE_FEED_URL and TAVLIN_UPDATE_PUBLIC_KEY.
    static UpdateConfiguration ofThisBuild();
    // Both given, and neither still a placeholder holding "REPLACE".
    bool isConfigured() const;
};

// Software updates: starts the updater when the build is configured for
// them, offers the check that the menus and the settings call, and
// announces an update that a scheduled check found, in the menus
// (pendingUpdateVersion) and by a notification. What the user asked for
// himself the updater shows on its own. Main thread only.
class UpdateController : public QObject, public platform::UpdaterUserDriverDelegate {
    Q_OBJECT

public:
    static constexpr QLatin1StringView notificationIdentifier{"sparkle-update-available"};

    UpdateController(platform::NotificationCenter& notifications,
                     std::unique_ptr<platform::Updater> updater = std::make_unique<platform::PackageManagerUpdater>(),
                     UpdateConfiguration configuration = UpdateConfiguration::ofThisBuild(), QObject* parent = nullptr);
    ~UpdateController() override;

    bool isConfigured() const { return isConfigured_; }
    // The version a scheduled check found and the user has not yet turned
    // to; nothing otherwise.
    const std::optional<QString>& pendingUpdateVersion() const {
        return store::observed(this, pendingUpdateVersion_, &UpdateController::pendingUpdateVersionChanged);
    }

    // Always reaches the updater, configured or not.
    platform::Task<> checkForUpdates();
    // The check as the menus and the settings are given it: nothing unless
    // updates are configured. It holds the controller weakly.
    std::function<void()> checkForUpdatesAction();

    bool supportsGentleScheduledUpdateReminders() const override { return true; }
    bool shouldHandleShowingScheduledUpdate(const platform::UpdateItem& update, bool immediateFocus) override;
    void willHandleShowingUpdate(bool handleShowingUpdate, const platform::UpdateItem& update,
                                 const platform::UpdateState& state) override;
    void didReceiveUserAttention(const platform::UpdateItem& update) override;
    void willFinishUpdateSession() override;

signals:
    void pendingUpdateVersionChanged();

private:
    platform::Task<> postUpdateNotification(QString version);

    platform::NotificationCenter& notifications_;
    std::unique_ptr<platform::Updater> updater_;
    bool isConfigured_ = false;
    std::optional<QString> pendingUpdateVersion_;
};

}  // namespace tavlin::app
