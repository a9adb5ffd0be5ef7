#pragma once

#include "panel/PanelDesktop.h"
#include "panel/PanelGeometry.h"
#include "panel/PanelModel.h"
#include "panel/PanelViewInputs.h"
#include "panel/PanelWindow.h"
#include "platform/Clock.h"
#include "platform/Task.h"
#include "store/ReminderStore.h"

#include <QObject>
#include <QRectF>
#include <QString>
#include <QUrl>

#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace tavlin::panel {

// Owns the floating quick-add panel: opens it (a new window and a new root
// view each time), closes it, places it under the tray item or at its home
// near the top centre of a screen or where the user pinned it, follows the
// height of its content, lets the user resize it by its edges and pin it by
// dragging its background, and closes it when it loses the keyboard to
// another program unless it is pinned.
//
// The shell makes one for the life of the process. Geometry is worked out
// in the desktop's coordinates with y upward (PanelGeometry.h); the window,
// the screens, the tray item and the stored pinned point speak Qt's. Every
// frame change the controller makes is bracketed by isProgrammaticMove; a
// window's Move events never pin it (X11 reports them late, after our own
// moves): only the end of a background drag does. Main thread only.
class PanelController : public QObject {
    Q_OBJECT

public:
    using Anchor = panel::Anchor;

    // What the shell lends the panel; each may stay empty until the shell
    // has it.
    struct ShellHooks {
        // The tray item's rectangle on screen (1 × 1: only the point of the
        // click is known), or nothing.
        std::function<std::optional<QRectF>()> statusButtonProvider;
        // Shows the pending notice that the tray has no room for the item,
        // if there is one, and returns when it is dismissed; called again
        // while it is up, brings it to the front.
        std::function<void()> showOverflowAlert;
        std::function<void()> openPreferences;
        std::function<void()> checkForUpdates;  // empty without an updater
        std::function<std::optional<QString>()> pendingUpdateVersion;
    };

    struct Environment {
        PanelWindowFactory makeWindow;
        std::shared_ptr<const PanelDesktop> desktop;  // Qt's when empty
        platform::Clock* clock = nullptr;             // the main clock when empty
        std::function<bool()> reduceMotion;           // the desktop's setting when empty
        // For the panel's model: the time of day and the user's calendar,
        // the desktop's handler of links, and the application's way out
        // (the system's, the desktop's and the normal quit when empty).
        store::WallClock wallClock;
        std::function<void(const QUrl&)> openUrl;
        std::function<void()> quit;
    };

    PanelController(store::ReminderStore& store, store::Settings& settings, store::LocationProvider& locationProvider,
                    Environment environment, QObject* parent = nullptr);
    ~PanelController() override;

    ShellHooks& shellHooks() { return shell_; }

    // The shell's one way in: true for the hot key (and the shell's other
    // routes), false for a click on the tray item.
    void toggle(bool fromHotKey);
    // Nothing while a panel is open. An absent anchor keeps the current one.
    void open(std::optional<QString> prefill = std::nullopt, std::optional<Anchor> anchor = std::nullopt);
    // Carries out the store's pending deletions, then tears the panel and
    // its model down.
    void close();
    // The panel opened next reads floating times and days in `zone` (the
    // system's zone changed); an open one keeps its own until it closes.
    void setTimeZone(const platform::TimeZone& zone) { environment_.wallClock.calendar.setTimeZone(zone); }

    // Where the time of the last opening went: each phase with the
    // milliseconds since the opening began.
    const std::vector<std::pair<QString, double>>& lastOpenTimings() const { return lastOpenTimings_; }

    // Placement and size.
    double panelWidth() const;
    void positionPanel();
    geometry::Placement homeTopLeft() const;
    void applyContentHeight(double height);
    void setListMetrics(ListMetrics metrics);
    PanelResizeEdges activeResizeEdges() const;
    void beginUserResize(PanelResizeEdges edges);
    // dx and dy in the desktop's coordinates with y upward.
    void userResize(PanelResizeEdges edges, double dx, double dy);
    void endUserResize();
    // A long press on a pinned panel unpins it and sends it home.
    void resetHome();

    // What the window reports.
    void windowDidBecomeKey();
    void windowDidResignKey();
    void windowDidResize();
    // The window manager put the panel elsewhere: it stays there, unpinned.
    void windowDidMove();
    void backgroundDragMoved(QPointF topLeft);
    void backgroundDragEnded(QPointF topLeft);

    // The state, for tests and the developer switches.
    PanelWindow* panel() const { return panel_.get(); }
    // The model of the open panel; none while it is closed.
    PanelModel* model() const { return model_.get(); }
    Anchor anchor() const { return anchor_; }
    geometry::Point desiredTopLeft() const { return placement_.topLeft; }
    bool isPinned() const;
    bool isProgrammaticMove() const { return isProgrammaticMove_; }
    bool isUserResizing() const { return userResize_.has_value(); }
    bool isSuppressingOpen() const;
    double lastContentHeight() const { return lastContentHeight_; }
    std::optional<ListMetrics> listMetrics() const { return listMetrics_; }
    int resignKeyCount() const { return resignKeyCount_; }

    // What the developer switches read of the panel and of the window
    // system (PanelDiagnostics.h has the lines' format). They change nothing
    // of the controller; the printing ones flush after their lines.
    QString debugState(const PanelWindow& panel) const;
    // The panel's focus widget: "none", or its class, with the text of a
    // text input.
    QString describeResponder() const;
    // "[tag] panel: …": the panel, the application's activation, the
    // program in front, the focus, the keyboard losses, and the panel
    // windows left behind by earlier openings.
    void activationState(const QString& tag) const;
    // "panel: …": where the panel is and wants to be, the tray item, and the
    // panel's screen; "panel: none" without a panel.
    void printGeometry() const;
    // Types at the keyboard, whoever has it, and lets the loop deliver it.
    platform::Task<> typeText(QString text) const;
    // Whether the panel takes typing and menu shortcuts when Tavlin may not
    // be the active program: reports the keyboard, types "hi", then selects
    // all and pastes "pasted" with Ctrl+A and Ctrl+V handed to the panel,
    // reporting the field after each. "keyboard: no panel" without a panel.
    platform::Task<> typeAndReport();

private:
    // A model may be closed from inside one of its own calls (Escape): it
    // goes at the next turn of the main loop.
    struct ModelDisposal {
        void operator()(PanelModel* model) const {
            if (model) model->deleteLater();
        }
    };
    using ModelHandle = std::unique_ptr<PanelModel, ModelDisposal>;

    PanelWindowHandle makePanel();
    PanelViewInputs rootViewInputs(const std::optional<QString>& prefill, bool followsStoredWidth);
    void requestLocationIfGrouping();
    std::optional<geometry::Rect> trayItem() const;
    geometry::Rect frame() const;
    // The text of the panel's focused text input; nothing when the focus
    // is elsewhere.
    std::optional<QString> focusedText() const;
    // Sets the frame as a move of the controller's own.
    void setFrame(const geometry::Rect& frame);
    void setPinnedTopLeft(std::optional<geometry::Point> topLeft);

    store::ReminderStore& store_;
    store::Settings& settings_;
    store::LocationProvider& locationProvider_;
    Environment environment_;
    platform::Clock& clock_;
    ShellHooks shell_;

    PanelWindowHandle panel_;
    ModelHandle model_;
    Anchor anchor_ = Anchor::statusItem;
    geometry::Placement placement_;  // desiredTopLeft, and a held bottom edge
    std::optional<platform::Clock::TimePoint> suppressOpenUntil_;
    bool isProgrammaticMove_ = false;
    double lastContentHeight_ = 0;
    std::optional<ListMetrics> listMetrics_;
    std::optional<geometry::UserResize> userResize_;
    int resignKeyCount_ = 0;
    bool showingOverflowAlert_ = false;
    std::vector<std::pair<QString, double>> lastOpenTimings_;
};

}  // namespace tavlin::panel
