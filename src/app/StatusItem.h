#pragma once

#include <QObject>
#include <QPoint>
#include <QRectF>
#include <QString>
#include <QSystemTrayIcon>

#include <functional>
#include <memory>
#include <optional>

class QMenu;

namespace tavlin::app {

// Whether the application runs on a display, where a tray item can be shown
// (not on the offscreen platform of headless runs).
bool runsOnDisplay();

// The item in the desktop's tray: its picture, its context menu and its
// clicks. The QSystemTrayIcon is made only when asked for (make()), since Qt
// decides by the trays there are then how it shows every item of the
// process. Main thread only.
class StatusItem : public QObject {
    Q_OBJECT

public:
    using Action = std::function<void()>;
    // Sets the item's icon and tooltip.
    using Painter = std::function<void(QSystemTrayIcon&)>;

    // `checkForUpdates` may be empty: there is no update check.
    StatusItem(Painter painter, Action togglePanel, Action openPreferences, Action checkForUpdates,
               std::function<std::optional<QString>()> pendingUpdateVersion, QObject* parent = nullptr);
    ~StatusItem() override;

    // Whether the QSystemTrayIcon was made.
    bool isMade() const { return bool(statusItem_); }
    // Makes the QSystemTrayIcon, painted and shown where there is a display.
    void make();
    // Made at once when asked for before it was.
    QSystemTrayIcon& statusItem();
    // Paints the item afresh, if it was made.
    void paint();
    // Hides and shows the item, so that a tray docks it anew.
    void showAfresh();

    // Where the tray put the item, else 1 × 1 at the pointer of the last
    // click on it; nothing before either is known.
    std::optional<QRectF> rect() const;

    // The tray's context menu, its items as of the last rebuild.
    QMenu& menu() const { return *menu_; }

    const Action& togglePanel() const { return togglePanel_; }
    const Action& openPreferences() const { return openPreferences_; }
    const Action& checkForUpdates() const { return checkForUpdates_; }
    const std::function<std::optional<QString>()>& pendingUpdateVersion() const { return pendingUpdateVersion_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void handleClick(QSystemTrayIcon::ActivationReason reason);
    // The menu's items afresh, as a new menu would have them.
    void rebuildMenu();

    Painter painter_;
    Action togglePanel_;
    Action openPreferences_;
    Action checkForUpdates_;
    std::function<std::optional<QString>()> pendingUpdateVersion_;
    // Declared before the item, which refers to it until it goes.
    std::unique_ptr<QMenu> menu_;
    std::unique_ptr<QSystemTrayIcon> statusItem_;
    std::optional<QPoint> lastClickPoint_;
};

}  // namespace tavlin::app
