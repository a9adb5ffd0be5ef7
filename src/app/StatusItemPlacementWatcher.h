#pragma once

#include "app/StatusItem.h"
#include "platform/Task.h"
#include "platform/TrayHost.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <optional>

namespace tavlin::platform {
class NotificationCenter;
class PowerEvents;
}  // namespace tavlin::platform

namespace tavlin::app {

// What keeping the tray item shown stands on.
struct StatusItemPlacement {
    // The desktop's trays; without them nothing is checked.
    platform::TrayHost* trayHost = nullptr;
    // Where the report of a missing tray is posted; without it the report
    // waits for the panel as an alert.
    platform::NotificationCenter* notifications = nullptr;
    // Wake and the session's return bring a check.
    platform::PowerEvents* powerEvents = nullptr;
    platform::Clock* clock = nullptr;  // the main clock when empty
    // Without a display there is no item to place: nothing is checked and
    // nothing reported.
    bool hasDisplay = runsOnDisplay();
};

// Keeps the tray item shown: when the desktop has no tray for it, it shows
// the item again and, if no tray comes within a few seconds, tells the user
// once, by a notification or, where notifications cannot be shown, by an
// alert at the panel's next opening. Placed on a display, the item is made
// only once a tray is there. Main thread only.
class StatusItemPlacementWatcher : public QObject {
    Q_OBJECT

public:
    static constexpr QLatin1StringView overflowNotificationIdentifier{"menu-bar-overflow"};

    StatusItemPlacementWatcher(StatusItem& item, StatusItemPlacement placement, QObject* parent = nullptr);
    ~StatusItemPlacementWatcher() override;

    // Whether the item waits for a tray before it is made; else it is made
    // at once, and nothing is checked.
    bool waitsForTray() const { return placement_.trayHost && placement_.hasDisplay; }

    // Starts keeping the item shown: its place is checked about 1, 4 and
    // 14 s from now, and again when a screen comes, goes or changes, after
    // a wake, when the session becomes active again and when a tray appears.
    void install();
    // Shows a hidden item again; when the desktop has no tray, shows it
    // afresh and watches for a tray to take it.
    void checkPlacement();

    // The last answer about the trays said there is none.
    bool knowsNoTray() const { return lastHosts_ && !lastHosts_->any(); }
    // Whether Qt shows the item as a StatusNotifierItem, once known.
    std::optional<bool> itemIsStatusNotifier() const { return itemIsStatusNotifier_; }

    // The words of the alert that tells the user the item cannot be shown,
    // with the panel's hot key of this moment.
    static QString overflowMessage();
    // Shows the pending alert about a missing tray, if there is one, and
    // returns once it is dismissed; it is shown once.
    static void showOverflowAlert();
    // Takes the pending alert's text, leaving none.
    static std::optional<QString> takePendingOverflowAlert();

private:
    platform::Task<> checkPlacementNow();
    // Makes the item where there is a tray now; whether there is one now.
    platform::Task<bool> makeItemInTray();
    void confirmSlot();
    static platform::Task<> recheckPlacement(QPointer<StatusItemPlacementWatcher> self, platform::Clock& clock);
    static platform::Task<> confirmSlotOverTime(QPointer<StatusItemPlacementWatcher> self, platform::Clock& clock);
    void reportOverflow();
    static platform::Task<> postOverflowReport(QPointer<platform::NotificationCenter> notifications, QString text);
    // The trays now, noted for knowsNoTray and for how Qt shows the item.
    platform::Task<platform::TrayHosts> askHosts();

    StatusItem& item_;
    StatusItemPlacement placement_;
    platform::Clock& clock_;
    // The last answer about the trays, and whether Qt shows the item as a
    // StatusNotifierItem: it decides that once per process, by the trays
    // there were when the item was made.
    std::optional<platform::TrayHosts> lastHosts_;
    std::optional<bool> itemIsStatusNotifier_;
    bool isInstalled_ = false;
    // A confirmation of the item's slot runs; at most one at a time.
    bool isConfirmingSlot_ = false;
    // The missing tray was reported; never again in this process.
    bool hasReportedOverflow_ = false;
    bool hasToldToRestart_ = false;
};

}  // namespace tavlin::app
