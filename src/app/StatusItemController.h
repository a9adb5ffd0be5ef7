#pragma once

#include "app/StatusItem.h"
#include "app/StatusItemPlacementWatcher.h"
#include "preferences/CountSegment.h"
#include "store/CountScope.h"

#include <QIcon>
#include <QImage>
#include <QObject>
#include <QRectF>
#include <QString>
#include <QSystemTrayIcon>

#include <functional>
#include <optional>
#include <vector>

class QMenu;

namespace tavlin::store {
class ReminderStore;
class Settings;
}  // namespace tavlin::store

namespace tavlin::app {

// The tray item's counts: the reminder counts the user chose, drawn as
// coloured segments, with the counts in words as its tooltip; an icon
// instead while Tavlin may not read the reminders yet, or may not at all.
//
// refresh() brings the item up to date; the launch runs it under
// ContinuousObservation, so that it follows every change of what it read.
// The pictures follow the application palette.
//
// The item itself (`StatusItem`: a click toggles the panel; the tray's
// context menu holds the settings, the update check, the web site and Quit)
// and the watcher that keeps it shown (`StatusItemPlacementWatcher`) are
// parts of it. Main thread only.
class StatusItemController : public QObject {
    Q_OBJECT

public:
    using Action = StatusItem::Action;
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

    static constexpr QLatin1StringView overflowNotificationIdentifier =
        StatusItemPlacementWatcher::overflowNotificationIdentifier;

    // `checkForUpdates` may be empty: there is no update check.
    StatusItemController(store::ReminderStore& store, store::Settings& settings, Action togglePanel,
                         Action openPreferences, Action checkForUpdates,
                         std::function<std::optional<QString>()> pendingUpdateVersion, Placement placement = {},
                         QObject* parent = nullptr);
    ~StatusItemController() override;

    // Starts keeping the item shown (StatusItemPlacementWatcher::install).
    void install() { placementWatcher_.install(); }
    void checkPlacement() { placementWatcher_.checkPlacement(); }

    // The item's rectangle on screen: where the tray put it, else 1 × 1 at
    // the pointer of the last click on it; nothing while no tray is there.
    std::optional<QRectF> statusButtonRect() const;

    // Shows the pending alert about a missing tray, if there is one, and
    // returns once it is dismissed; it is shown once. The panel calls it at
    // every opening.
    static void showOverflowAlert() { StatusItemPlacementWatcher::showOverflowAlert(); }

    // The tray's context menu, its items as of the last rebuild.
    QMenu& menu() const { return item_.menu(); }

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

    // The segments as the pill that the preferences' colour-style sample
    // shows (a preferences::SegmentRenderer), at pixel ratio 2.
    static QImage renderSegments(const std::vector<Segment>& segments, bool quiet);
    // What the tray gets for a display: the segments' tray pictures at every
    // size a tray asks for, or the connect or warning icon.
    static QIcon trayIcon(const Display& display);

    const Display& display() const { return display_; }
    // Made at once when asked for before a tray was found.
    QSystemTrayIcon& statusItem() { return item_.statusItem(); }

    const Action& togglePanel() const { return item_.togglePanel(); }
    const Action& openPreferences() const { return item_.openPreferences(); }
    const Action& checkForUpdates() const { return item_.checkForUpdates(); }
    const std::function<std::optional<QString>()>& pendingUpdateVersion() const { return item_.pendingUpdateVersion(); }

private:
    void renderCounts();
    void show(Display display);

    store::ReminderStore& store_;
    store::Settings& settings_;
    Display display_;
    // Declared before the watcher, which refers to it until it goes.
    StatusItem item_;
    StatusItemPlacementWatcher placementWatcher_;
};

}  // namespace tavlin::app
