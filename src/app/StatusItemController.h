#pragma once

#include "platform/Task.h"
#include "platform/TrayHost.h"
#include "preferences/CountSegment.h"
#include "store/CountScope.h"

#include <QIcon>
#include <QImage>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QRectF>
#include <QString>
#include <QSystemTrayIcon>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QMenu;

namespace tavlin::platform {
class NotificationCenter;
class PowerEvents;
}  // namespace tavlin::platform

namespace tavlin::store {
class ReminderStore;
class Settings;
}  // namespace tavlin::store

namespace tavlin::app {

// Whether the application runs on a display, where a tray item can be shown
// (not on the offscreen platform of headless runs).
bool runsOnDisplay();

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

// The tray item: the reminder counts the user chose, drawn as coloured
// segments, with the counts in words as its tooltip; an icon instead while
// Tavlin may not read the reminders yet, or may not at all.
//
// refresh() brings the item up to date; the launch runs it under
// ContinuousObservation, so that it follows every change of what it read.
// The pictures follow the application palette.
//
// A click toggles the panel; the tray's context menu holds the settings,
// the update check, the web site and Quit. install() keeps the item shown:
// when the desktop has no tray for it, it shows the item again and, if no
// tray comes within a few seconds, tells the user once, by a notification
// or, where notifications cannot be shown, by an alert at the panel's next
// opening. Main thread only.
class StatusItemController : public QObject {
    Q_OBJECT

public:
    using Action = std::function<void()>;
    using SegmentStyle = preferences::SegmentStyle;
    using Segment = preferences::CountSegment;

    // What the item shows.
    struct Display {
        enum class Picture { segments, connect, warning };

        Picture picture = Picture::connect;
        std::vector<Segment> segments;  // the counts, with Picture::segments
        bool quiet = false;             // their colour style
        QString toolTip;

        friend bool operator==(const Display&, const Display&) = default;
    };

    using Placement = StatusItemPlacement;

    static constexpr QLatin1StringView overflowNotificationIdentifier{"menu-bar-overflow"};

    // `checkForUpdates` may be empty: there is no update check.
    StatusItemController(store::ReminderStore& store, store::Settings& settings, Action togglePanel,
                         Action openPreferences, Action checkForUpdates,
                         std::function<std::optional<QString>()> pendingUpdateVersion, Placement placement = {},
                         QObject* parent = nullptr);
    ~StatusItemController() override;

    // Starts keeping the item shown: its place is checked about 1, 4 and
    // 14 s from now, and again when a screen comes, goes or changes, after
    // a wake, when the session becomes active again and when a tray appears.
    void install();
    // Shows a hidden item again; when the desktop has no tray, shows it
    // afresh and watches for a tray to take it.
    void checkPlacement();

    // The item's rectangle on screen: where the tray put it, else 1 × 1 at
    // the pointer of the last click on it; nothing while no tray is there.
    std::optional<QRectF> statusButtonRect() const;

    // The words of the alert that tells the user the item cannot be shown,
    // with the panel's hot key of this moment.
    static QString overflowMessage();
    // Shows the pending alert about a missing tray, if there is one, and
    // returns once it is dismissed; it is shown once. The panel calls it at
    // every opening.
    static void showOverflowAlert();
    // Takes the pending alert's text, leaving none.
    static std::optional<QString> takePendingOverflowAlert();

    // The tray's context menu, its items as of the last rebuild.
    QMenu& menu() const { return *menu_; }

    // Shows the connect icon before access was asked for, the warning icon
    // when it was refused, and the counts with full access.
    void refresh();

    // The counts of `primary` and `secondary` (none left out, a scope given
    // twice shown twice) and, with `showCompleted`, of the reminders done
    // today. Zero counts stay only beside a count that is not zero or when
    // nothing else is left; nothing to count at all gives the connect icon.
    // `count` is asked for the done count first, then for each scope.
    static Display countsDisplay(store::CountScope primary, store::CountScope secondary, bool showCompleted,
                                 const std::function<int(store::CountScope)>& count);

    // The segments side by side in one pill 16 px high, each as wide as its
    // digits and 13 px (at least 20), at pixel ratio 2. The preferences'
    // colour-style sample draws with it (a preferences::SegmentRenderer).
    static QImage renderSegments(const std::vector<Segment>& segments, bool quiet);
    // The same at any pixel ratio.
    static QImage pillImage(const std::vector<Segment>& segments, bool quiet, qreal devicePixelRatio);
    // The width of each segment of the pill, in logical pixels.
    static std::vector<qreal> segmentWidths(const std::vector<Segment>& segments);
    // The segments as rows of one rounded square `side` logical pixels wide,
    // for trays, which draw icons square: each row's digits as large as it
    // allows.
    static QImage trayImage(const std::vector<Segment>& segments, bool quiet, int side, qreal devicePixelRatio = 1);
    // What the tray gets for a display: the segments' tray pictures at every
    // size a tray asks for, or the theme's connect or warning icon (else a
    // drawing of ours in the palette's text colour).
    static QIcon trayIcon(const Display& display);

    const Display& display() const { return display_; }
    // Made at once when asked for before a tray was found.
    QSystemTrayIcon& statusItem();

    const Action& togglePanel() const { return togglePanel_; }
    const Action& openPreferences() const { return openPreferences_; }
    const Action& checkForUpdates() const { return checkForUpdates_; }
    const std::function<std::optional<QString>()>& pendingUpdateVersion() const { return pendingUpdateVersion_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void renderCounts();
    void show(Display display);
    void paint();
    void makeItem();

    void handleClick(QSystemTrayIcon::ActivationReason reason);
    // The menu's items afresh, as a new menu would have them.
    void rebuildMenu();

    platform::Task<> checkPlacementNow();
    // Makes the item where there is a tray now; whether there is one now.
    platform::Task<bool> makeItemInTray();
    void confirmSlot();
    static platform::Task<> recheckPlacement(QPointer<StatusItemController> self, platform::Clock& clock);
    static platform::Task<> confirmSlotOverTime(QPointer<StatusItemController> self, platform::Clock& clock);
    void reportOverflow();
    static platform::Task<> postOverflowReport(QPointer<platform::NotificationCenter> notifications, QString text);
    // The trays now, noted for statusButtonRect and for how Qt shows the item.
    platform::Task<platform::TrayHosts> askHosts();

    store::ReminderStore& store_;
    store::Settings& settings_;
    Action togglePanel_;
    Action openPreferences_;
    Action checkForUpdates_;
    std::function<std::optional<QString>()> pendingUpdateVersion_;
    Placement placement_;
    platform::Clock& clock_;
    // Declared before the item, which refers to it until it goes.
    std::unique_ptr<QMenu> menu_;
    std::unique_ptr<QSystemTrayIcon> statusItem_;

    std::optional<QPoint> lastClickPoint_;
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

    Display display_;
};

}  // namespace tavlin::app
