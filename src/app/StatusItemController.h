#pragma once

#include "preferences/CountSegment.h"
#include "store/CountScope.h"

#include <QIcon>
#include <QImage>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QSystemTrayIcon;

namespace tavlin::store {
class ReminderStore;
class Settings;
}  // namespace tavlin::store

namespace tavlin::app {

// The tray item: the reminder counts the user chose, drawn as coloured
// segments, with the counts in words as its tooltip; an icon instead while
// Tavlin may not read the reminders yet, or may not at all.
//
// refresh() brings the item up to date; the launch runs it under
// ContinuousObservation, so that it follows every change of what it read.
// The pictures follow the application palette. Main thread only.
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

    // `checkForUpdates` may be empty: there is no update check.
    StatusItemController(store::ReminderStore& store, store::Settings& settings, Action togglePanel,
                         Action openPreferences, Action checkForUpdates,
                         std::function<std::optional<QString>()> pendingUpdateVersion, QObject* parent = nullptr);
    ~StatusItemController() override;

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
    QSystemTrayIcon& statusItem() const { return *statusItem_; }

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

    store::ReminderStore& store_;
    store::Settings& settings_;
    Action togglePanel_;
    Action openPreferences_;
    Action checkForUpdates_;
    std::function<std::optional<QString>()> pendingUpdateVersion_;
    std::unique_ptr<QSystemTrayIcon> statusItem_;
    // Whether a check of the item's place runs, and whether a full tray was
    // reported: set by the placement checks.
    [[maybe_unused]] bool isConfirmingSlot_ = false;
    [[maybe_unused]] bool hasReportedOverflow_ = false;

    Display display_;
};

}  // namespace tavlin::app
