#include "preferences/PreferencesWindowController.h"

#include "platform/Log.h"
#include "platform/ReduceMotion.h"
#include "preferences/SettingsTabSelection.h"

#include <QPointer>

#include <cmath>

using namespace Qt::StringLiterals;

namespace tavlin::preferences {

namespace {

QString text(bool value) { return value ? u"true"_s : u"false"_s; }

}  // namespace

PreferencesWindowController::PreferencesWindowController(
    store::ReminderStore& store, store::Settings& settings, NotificationAuthorization ensureNotificationAuthorization,
    store::LocationProvider& locationProvider, mcp::MCPServer& mcpServer, std::function<void()> checkForUpdates,
    SettingsTabSelection& tabSelection, platform::Contacts& contacts, SegmentRenderer renderSegments,
    WindowFactory makeWindow, platform::Clock& clock)
    : services_{.store = store,
                .settings = settings,
                .ensureNotificationAuthorization = std::move(ensureNotificationAuthorization),
                .locationProvider = locationProvider,
                .mcpServer = mcpServer,
                .contacts = contacts,
                .renderSegments = std::move(renderSegments),
                .checkForUpdates = std::move(checkForUpdates)},
      tabSelection_(tabSelection),
      makeWindow_(std::move(makeWindow)),
      clock_(clock) {}

PreferencesWindowController::~PreferencesWindowController() {
    cancelEscalations();
    if (pendingEstimateFit_) pendingEstimateFit_->cancel();
}

void PreferencesWindowController::show() {
    if (!window_) {
        window_ = makeWindow_(*this);
        const SettingsTab tab = tabSelection_.tab();
        window_->setTitle(title(tab));
        window_->setSelectedItem(toolbarIdentifier(tab));
        window_->setContentGeometry(QRect(0, 0, contentWidth, targetHeight()), false);
        window_->center();
    }
    cancelEscalations();
    window_->activateApplication();
    window_->makeKeyAndOrderFront();
    window_->orderFrontRegardless();
    qCInfo(lcPreferences).noquote() << u"show: requested activation, appActive=%1 key=%2"_s.arg(
        text(window_->isApplicationActive()), text(window_->isKey()));
    scheduleEscalation(firstActivationCheck, &PreferencesWindowController::ensureKeyWindow);
    scheduleEscalation(secondActivationCheck, &PreferencesWindowController::escalateActivation);
}

void PreferencesWindowController::scheduleEscalation(std::chrono::milliseconds delay,
                                                     void (PreferencesWindowController::*check)()) {
    escalations_.push_back(clock_.schedule(delay, [self = QPointer(this), check] {
        if (self) (self->*check)();
    }));
}

void PreferencesWindowController::cancelEscalations() {
    for (platform::ScheduledAction& escalation : escalations_) escalation.cancel();
    escalations_.clear();
}

void PreferencesWindowController::ensureKeyWindow() {
    if (!window_ || !window_->isVisible()) return;
    if (window_->isKey()) {
        qCInfo(lcPreferences) << "activation granted: window is key, no escalation needed";
        return;
    }
    window_->activateApplication();
    qCWarning(lcPreferences) << "not key yet: retried cooperative activation";
    window_->makeKey();
    window_->orderFrontRegardless();
}

void PreferencesWindowController::escalateActivation() {
    if (!window_ || !window_->isVisible()) return;
    if (window_->isKey()) {
        qCInfo(lcPreferences) << "escalation succeeded: window is key";
        return;
    }
    qCCritical(lcPreferences) << "activation unobtainable: floating window until it becomes key";
    if (!isTemporarilyFloating_) {
        isTemporarilyFloating_ = true;
        window_->setFloating(true);
    }
    window_->orderFrontRegardless();
}

void PreferencesWindowController::endEscalation() {
    cancelEscalations();
    if (!isTemporarilyFloating_) return;
    isTemporarilyFloating_ = false;
    if (window_) window_->setFloating(false);
}

int PreferencesWindowController::targetHeight() const {
    int chrome = 0;
    int visible = fallbackScreenHeight;
    if (window_) {
        const QMargins margins = window_->chrome();
        chrome = margins.top() + margins.bottom();
        if (const std::optional<QRect> available = window_->availableGeometry()) visible = available->height();
    }
    const int room = visible - chrome - bottomMargin;
    const std::optional<qreal> measured = measuredHeight(tabSelection_.tab());
    const int value = measured ? static_cast<int>(std::ceil(*measured)) : heightEstimate(tabSelection_.tab());
    return std::min(std::max(room, minimumContentHeight), std::max(value, minimumContentHeight));
}

void PreferencesWindowController::fitWindowHeight(bool animate) {
    if (!window_) return;
    const int target = targetHeight();
    const QRect content = window_->contentGeometry();
    if (std::abs(content.height() - target) <= fitThreshold) return;
    // The top stays where it is; the bottom moves, but not off the screen.
    QRect fitted(content.left(), content.top(), contentWidth, target);
    if (const std::optional<QRect> available = window_->availableGeometry()) {
        const int frameBottom = fitted.bottom() + window_->chrome().bottom();
        if (frameBottom > available->bottom()) fitted.translate(0, available->bottom() - frameBottom);
    }
    // Without motion the window takes its new height at once.
    window_->setContentGeometry(fitted, animate && !platform::reduceMotion());
}

void PreferencesWindowController::contentHeightChanged(SettingsTab tab, qreal height) {
    if (!(height > 0)) return;
    const auto known = measuredHeights_.find(tab);
    if (known != measuredHeights_.end() && known->second == height) return;
    measuredHeights_[tab] = height;
    if (tab != tabSelection_.tab()) return;
    if (pendingEstimateFit_) {
        pendingEstimateFit_->cancel();
        pendingEstimateFit_.reset();
    }
    fitWindowHeight(window_ && window_->isVisible());
}

void PreferencesWindowController::selectTab(const QString& toolbarIdentifier) {
    const auto tab = std::find_if(allSettingsTabs.begin(), allSettingsTabs.end(), [&](SettingsTab candidate) {
        return preferences::toolbarIdentifier(candidate) == toolbarIdentifier;
    });
    if (tab == allSettingsTabs.end()) return;
    tabSelection_.setTab(*tab);
    if (window_) {
        window_->setTitle(title(*tab));
        window_->setSelectedItem(toolbarIdentifier);
    }
    if (pendingEstimateFit_) {
        pendingEstimateFit_->cancel();
        pendingEstimateFit_.reset();
    }
    if (measuredHeights_.contains(*tab)) {
        fitWindowHeight(true);
        return;
    }
    // The tab may measure itself at once: its report then fits first.
    pendingEstimateFit_ = clock_.schedule(estimateFitDelay, [self = QPointer(this)] {
        if (!self) return;
        self->pendingEstimateFit_.reset();
        self->fitWindowHeight(true);
    });
}

std::optional<qreal> PreferencesWindowController::measuredHeight(SettingsTab tab) const {
    const auto known = measuredHeights_.find(tab);
    return known == measuredHeights_.end() ? std::nullopt : std::optional(known->second);
}

}  // namespace tavlin::preferences
