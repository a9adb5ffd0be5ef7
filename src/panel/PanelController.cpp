#include "panel/PanelController.h"

#include "panel/PanelNotifications.h"
#include "platform/Log.h"
#include "platform/ReduceMotion.h"
#include "store/LocationProvider.h"
#include "store/ReminderStore.h"
#include "store/Settings.h"

#include <QElapsedTimer>
#include <QPointer>

#include <cmath>

using namespace Qt::StringLiterals;

namespace tavlin::panel {

using geometry::Placement;
using geometry::Point;
using geometry::Rect;

namespace {

// The panel's corners and its field's vertical padding: a little larger
// for the screen-centred panel.
double cornerRadius(Anchor anchor) { return anchor == Anchor::screenCenter ? 20 : 16; }
double searchFieldPadding(Anchor anchor) { return anchor == Anchor::screenCenter ? 16 : 10; }

QString text(bool value) { return value ? u"true"_s : u"false"_s; }

bool differs(double a, double b) { return std::abs(a - b) > geometry::tolerance; }

}  // namespace

PanelController::PanelController(store::ReminderStore& store, store::Settings& settings,
                                 store::LocationProvider& locationProvider, Environment environment, QObject* parent)
    : QObject(parent),
      store_(store),
      settings_(settings),
      locationProvider_(locationProvider),
      environment_(std::move(environment)),
      clock_(environment_.clock ? *environment_.clock : platform::Clock::main()) {
    if (!environment_.desktop) environment_.desktop = std::make_shared<QtPanelDesktop>();
    if (!environment_.reduceMotion) {
        environment_.reduceMotion = [] { return platform::reduceMotion(); };
        // The desktop answers later: ask now, so that the answer is known
        // by the first animation.
        platform::reduceMotion();
    }
    shell_.statusButtonProvider = [] { return std::optional<QRectF>(); };
    shell_.pendingUpdateVersion = [] { return std::optional<QString>(); };
}

PanelController::~PanelController() {
    if (!panel_) return;
    panel_->setCallbacks({});
    panel_->orderOut();
    if (!model_) return;
    model_->closing();
    // At once, not at the next turn: the store and the settings it reads
    // may go right after the controller.
    delete model_.release();
}

void PanelController::toggle(bool fromHotKey) {
    const Anchor anchor = fromHotKey ? Anchor::screenCenter : Anchor::statusItem;
    if (!panel_) {
        // The hot key never waits: the suppression is only for the tray
        // click that just closed the panel by taking the keyboard from it.
        if (!fromHotKey && isSuppressingOpen()) {
            qCInfo(lcPanel) << "toggle: open suppressed (status-item click closed the panel just now)";
            return;
        }
        qCInfo(lcPanel) << "toggle: opening";
        return open(std::nullopt, anchor);
    }
    const bool visible = panel_->isVisible();
    const bool key = panel_->isKey();
    if (visible && key) {
        qCInfo(lcPanel) << "toggle: closing key panel";
        return close();
    }
    if (visible && isPinned()) {
        if (!fromHotKey) {
            qCInfo(lcPanel) << "toggle: closing pinned panel via status item";
            return close();
        }
        qCInfo(lcPanel) << "toggle: focusing resting pinned panel";
        return panel_->makeKeyAndOrderFront();
    }
    qCCritical(lcPanel).noquote() << u"toggle: panel in bug state (visible=%1 key=%2) — recovering"_s.arg(text(visible),
                                                                                                          text(key));
    close();
    open(std::nullopt, anchor);
}

void PanelController::open(std::optional<QString> prefill, std::optional<Anchor> anchor) {
    if (panel_) return;
    QElapsedTimer elapsed;
    elapsed.start();
    std::vector<std::pair<QString, double>> timings;
    const auto mark = [&](const char* phase) {
        timings.emplace_back(QString::fromLatin1(phase), double(elapsed.nsecsElapsed()) / 1e6);
    };

    // The tray notice is modal: a panel opened while it is up would sit
    // behind it taking no input. The notice comes to the front instead, and
    // the opening that showed it goes on once it is answered.
    if (showingOverflowAlert_) {
        qCInfo(lcPanel) << "open: the tray notice is up; it comes first";
        if (shell_.showOverflowAlert) shell_.showOverflowAlert();
        return;
    }
    if (anchor) anchor_ = *anchor;
    if (shell_.showOverflowAlert) {
        const QPointer<PanelController> self(this);
        showingOverflowAlert_ = true;
        shell_.showOverflowAlert();
        // The notice runs a loop of its own until it is dismissed: the
        // controller may have gone meanwhile.
        if (!self) return;
        showingOverflowAlert_ = false;
        if (panel_) return;
    }
    mark("overflowNotice");
    store_.requestRefresh();
    mark("scheduleRefresh");
    requestLocationIfGrouping();
    mark("locationRefresh");
    panel_ = makePanel();
    mark("makePanel");
    model_ = ModelHandle(new PanelModel(rootViewInputs(prefill, anchor == Anchor::screenCenter),
                                        {.wallClock = environment_.wallClock,
                                         .clock = &clock_,
                                         .openUrl = environment_.openUrl,
                                         .quit = environment_.quit,
                                         .reduceMotion = environment_.reduceMotion}));
    mark("rootView");
    panel_->setRootView(*model_);
    mark("hostingView");
    panel_->installContent(cornerRadius(anchor_));
    mark("contentView");
    panel_->layoutContent();
    mark("layoutSubtree");
    if (const double height = panel_->contentHeight(); height > 0) {
        const Rect current = frame();
        setFrame({current.x, current.maxY() - height, panelWidth(), height});
    }
    mark("setContentSize");
    positionPanel();
    mark("position");
    panel_->makeKeyAndOrderFront();
    mark("makeKeyAndOrderFront");
    panel_->invalidateShadow();
    mark("invalidateShadow");
    lastOpenTimings_ = std::move(timings);
}

void PanelController::close() {
    // The undo offer for deleted reminders ends with the panel.
    store_.flushPendingDeletions();
    if (!panel_) return;
    qCInfo(lcPanel) << "close: tearing down panel";
    PanelWindowHandle window = std::move(panel_);
    ModelHandle model = std::move(model_);
    window->setCallbacks({});
    window->orderOut();
    window.reset();
    // The content goes with the window: an open edit is saved.
    if (model) model->closing();
    model.reset();
    // A drag or an animation of that window ends with it.
    userResize_.reset();
    isProgrammaticMove_ = false;
}

PanelWindowHandle PanelController::makePanel() {
    PanelWindowHandle window = environment_.makeWindow();
    window->setFrame(QRectF(0, 0, panelWidth(), geometry::initialHeight));
    const QPointer<PanelController> self(this);
    PanelWindow::Callbacks callbacks;
    callbacks.onCancel = [self] {
        if (self) self->close();
    };
    callbacks.wantsListKeys = [self] {
        return self && self->store_.authorization() == platform::AuthorizationStatus::fullAccess;
    };
    callbacks.onBackgroundLongPress = [self] {
        if (self) self->resetHome();
    };
    callbacks.activeResizeEdges = [self] { return self ? self->activeResizeEdges() : PanelResizeEdges(); };
    callbacks.beginUserResize = [self](PanelResizeEdges edges) {
        if (self) self->beginUserResize(edges);
    };
    callbacks.userResize = [self](PanelResizeEdges edges, QPointF delta) {
        if (self) self->userResize(edges, delta.x(), -delta.y());
    };
    callbacks.endUserResize = [self] {
        if (self) self->endUserResize();
    };
    callbacks.backgroundDragMoved = [self](QPointF topLeft) {
        if (self) self->backgroundDragMoved(topLeft);
    };
    callbacks.backgroundDragEnded = [self](QPointF topLeft) {
        if (self) self->backgroundDragEnded(topLeft);
    };
    callbacks.didBecomeKey = [self] {
        if (self) self->windowDidBecomeKey();
    };
    callbacks.didResignKey = [self] {
        if (self) self->windowDidResignKey();
    };
    callbacks.didResize = [self] {
        if (self) self->windowDidResize();
    };
    callbacks.didMove = [self] {
        if (self) self->windowDidMove();
    };
    window->setCallbacks(std::move(callbacks));
    return window;
}

PanelViewInputs PanelController::rootViewInputs(const std::optional<QString>& prefill, bool followsStoredWidth) {
    const QPointer<PanelController> self(this);
    PanelViewInputs inputs;
    inputs.store = &store_;
    inputs.settings = &settings_;
    inputs.locationProvider = &locationProvider_;
    inputs.onClose = [self] {
        if (self) self->close();
    };
    inputs.onOpenPreferences = [self] {
        if (!self) return;
        self->close();
        if (self->shell_.openPreferences) self->shell_.openPreferences();
    };
    if (shell_.checkForUpdates)
        inputs.onCheckForUpdates = [self, check = shell_.checkForUpdates] {
            if (self) self->close();
            check();
        };
    inputs.pendingUpdateVersion = shell_.pendingUpdateVersion;
    inputs.onHeightChange = [self](double height) {
        if (self) self->applyContentHeight(height);
    };
    inputs.onListMetricsChange = [self](ListMetrics metrics) {
        if (self) self->setListMetrics(metrics);
    };
    inputs.panelWidth = panelWidth();
    inputs.followsStoredWidth = followsStoredWidth;
    inputs.cornerRadius = cornerRadius(anchor_);
    inputs.searchFieldPadding = searchFieldPadding(anchor_);
    inputs.captureText = prefill;
    return inputs;
}

void PanelController::requestLocationIfGrouping() {
    if (settings_.groupNearbyEnabled()) locationProvider_.requestFixAtOnce();
}

double PanelController::panelWidth() const { return geometry::panelWidth(anchor_, settings_.pinnedPanelWidth()); }

void PanelController::positionPanel() {
    if (!panel_) return;
    const Rect current = frame();
    std::optional<Point> pinned;
    if (const auto stored = settings_.pinnedPanelTopLeft())
        pinned = geometry::clampedPinnedTopLeft(geometry::fromQt(QPointF(stored->x, stored->y)), current.size(),
                                                environment_.desktop->desktop().screens);
    placement_ = pinned ? Placement{*pinned, std::nullopt} : homeTopLeft();
    setFrame(geometry::placedFrame(placement_, current.width, current.height));
}

Placement PanelController::homeTopLeft() const {
    const geometry::Desktop desktop = environment_.desktop->desktop();
    const geometry::Size size = panel_ ? frame().size() : geometry::Size{panelWidth(), geometry::initialHeight};
    if (anchor_ == Anchor::screenCenter) return {geometry::screenCenterHome(size.width, desktop), std::nullopt};
    return geometry::statusItemHome(trayItem(), size, desktop);
}

void PanelController::applyContentHeight(double height) {
    if (!panel_ || height <= 0) return;
    lastContentHeight_ = height;
    if (userResize_) return;
    const double width = panelWidth();
    if (geometry::hasSize(frame(), width, height)) return;
    // The top-left corner stays, and the panel grows downward; above a tray
    // at the bottom of the screen the bottom edge stays instead.
    const Rect target = geometry::placedFrame(placement_, width, height);
    placement_.topLeft.y = target.maxY();
    setFrame(target);
    panel_->invalidateShadow();
}

void PanelController::setListMetrics(ListMetrics metrics) { listMetrics_ = metrics; }

PanelResizeEdges PanelController::activeResizeEdges() const { return geometry::activeResizeEdges(anchor_); }

void PanelController::beginUserResize(PanelResizeEdges edges) {
    if (!panel_) return;
    geometry::UserResize resize;
    resize.start = frame();
    resize.edges = edges;
    resize.chrome =
        geometry::chrome(lastContentHeight_, listMetrics_ ? std::optional(listMetrics_->frame) : std::nullopt);
    if (resize.chrome) resize.listContent = listMetrics_->content;
    // An unpinned screen-centred panel widens about its centre.
    if (!isPinned() && anchor_ == Anchor::screenCenter) resize.centerX = resize.start.midX();
    userResize_ = resize;
}

void PanelController::userResize(PanelResizeEdges edges, double dx, double dy) {
    if (!panel_ || !userResize_) return;
    geometry::UserResize resize = *userResize_;
    resize.edges = edges;
    const Rect target = geometry::userResizedFrame(resize, dx, dy);
    placement_.topLeft = {target.minX(), target.maxY()};
    if (placement_.heldBottom) placement_.heldBottom->bottom = target.minY();
    setFrame(target);
    using enum PanelResizeEdge;
    if ((edges & (left | right)) && differs(settings_.pinnedPanelWidth().value_or(0), target.width))
        settings_.setPinnedPanelWidth(target.width);
    if ((edges & (top | bottom)) && resize.chrome) {
        const double list = geometry::clampedListHeight(target.height - *resize.chrome);
        if (differs(settings_.pinnedPanelListHeight().value_or(geometry::assumedListHeight), list))
            settings_.setPinnedPanelListHeight(list);
    }
    panel_->invalidateShadow();
}

void PanelController::endUserResize() {
    if (panel_) {
        const Rect final = frame();
        const PanelResizeEdges edges = userResize_ ? userResize_->edges : PanelResizeEdges();
        const std::optional<double> chrome = userResize_ ? userResize_->chrome : std::nullopt;
        using enum PanelResizeEdge;
        if (edges & (left | right)) settings_.setPinnedPanelWidth(geometry::clampedWidth(final.width));
        if ((edges & (top | bottom)) && chrome)
            settings_.setPinnedPanelListHeight(geometry::clampedListHeight(final.height - *chrome));
        placement_.topLeft = {final.minX(), final.maxY()};
        if (placement_.heldBottom) placement_.heldBottom->bottom = final.minY();
        if (isPinned()) setPinnedTopLeft(placement_.topLeft);
        // After the drag's last event, the content's height holds again.
        clock_.schedule(std::chrono::nanoseconds::zero(), [self = QPointer<PanelController>(this)] {
            if (self && self->lastContentHeight_ > 0) self->applyContentHeight(self->lastContentHeight_);
        });
    }
    userResize_.reset();
}

void PanelController::resetHome() {
    if (!panel_ || !isPinned()) return;
    qCInfo(lcPanel) << "reset: long-press sends panel home and unpins it";
    setPinnedTopLeft(std::nullopt);
    placement_ = homeTopLeft();
    const Rect current = frame();
    const Rect target = geometry::placedFrame(placement_, current.width, current.height);
    isProgrammaticMove_ = true;
    const auto duration = environment_.reduceMotion() ? std::chrono::milliseconds::zero() : geometry::resetAnimation;
    panel_->animateFrame(geometry::toQt(target), duration, [self = QPointer<PanelController>(this)] {
        if (!self) return;
        self->isProgrammaticMove_ = false;
        if (self->panel_) self->panel_->invalidateShadow();
    });
}

void PanelController::windowDidBecomeKey() {
    qCDebug(lcPanel) << "the panel has the keyboard";
    if (panel_ && panel_->textHasFocus()) return;
    emit PanelNotifications::instance().tavlinPanelDidBecomeKey();
}

void PanelController::windowDidResignKey() {
    ++resignKeyCount_;
    // A pinned panel rests where it is.
    if (isPinned()) return;
    // The tray click that took the keyboard away must not reopen the panel
    // through toggle.
    if (const std::optional<Rect> item = trayItem();
        item && geometry::trayItemArea(*item).contains(environment_.desktop->desktop().pointer))
        suppressOpenUntil_ = clock_.now() + geometry::reopenSuppression;
    close();
}

void PanelController::windowDidResize() {
    if (!panel_ || userResize_) return;
    const Rect current = frame();
    const Point topLeft{current.minX(), current.maxY()};
    if (topLeft == placement_.topLeft) return;
    setFrame({placement_.topLeft.x, placement_.topLeft.y - current.height, current.width, current.height});
    panel_->invalidateShadow();
}

void PanelController::windowDidMove() {
    if (!panel_ || userResize_ || isProgrammaticMove_) return;
    const Rect current = frame();
    placement_ = {{current.minX(), current.maxY()}, std::nullopt};
}

void PanelController::backgroundDragMoved(QPointF topLeft) {
    if (!panel_ || userResize_) return;
    placement_ = {geometry::fromQt(topLeft), std::nullopt};
    const Rect current = frame();
    setFrame({placement_.topLeft.x, placement_.topLeft.y - current.height, current.width, current.height});
}

void PanelController::backgroundDragEnded(QPointF topLeft) {
    if (!panel_ || userResize_) return;
    backgroundDragMoved(topLeft);
    setPinnedTopLeft(placement_.topLeft);
}

bool PanelController::isPinned() const { return settings_.pinnedPanelTopLeft().has_value(); }

bool PanelController::isSuppressingOpen() const { return suppressOpenUntil_ && clock_.now() < *suppressOpenUntil_; }

std::optional<Rect> PanelController::trayItem() const {
    const std::optional<QRectF> item = shell_.statusButtonProvider ? shell_.statusButtonProvider() : std::nullopt;
    if (!item) return std::nullopt;
    return geometry::fromQt(*item);
}

Rect PanelController::frame() const { return geometry::fromQt(panel_->frame()); }

void PanelController::setFrame(const Rect& frame) {
    const bool saved = isProgrammaticMove_;
    isProgrammaticMove_ = true;
    panel_->setFrame(geometry::toQt(frame));
    isProgrammaticMove_ = saved;
}

void PanelController::setPinnedTopLeft(std::optional<Point> topLeft) {
    if (!topLeft) return settings_.setPinnedPanelTopLeft(std::nullopt);
    const QPointF point = geometry::toQt(*topLeft);
    settings_.setPinnedPanelTopLeft(store::ScreenPoint{point.x(), point.y()});
}

}  // namespace tavlin::panel
