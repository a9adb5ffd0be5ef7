#pragma once

#include "platform/Clock.h"
#include "preferences/PreferencesViewModel.h"
#include "preferences/PreferencesWindowPort.h"
#include "preferences/SettingsTab.h"

#include <QObject>

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace tavlin::preferences {

class SettingsTabSelection;

// Owns the one settings window: made at the first show(), then hidden on
// close and shown again, never rebuilt. It fits the window's height to the
// selected tab's content (an estimate until the tab has measured itself),
// and works to give the window the keyboard although the application lives
// in the tray: it activates, checks at 0.15 s and retries, and at 0.4 s
// floats the window above the others until it gets the keyboard or closes.
// Main thread only.
class PreferencesWindowController : public QObject {
    Q_OBJECT

public:
    static constexpr int contentWidth = 460;
    static constexpr int minimumContentHeight = 220;
    // Kept free below the window on the screen.
    static constexpr int bottomMargin = 40;
    // The screen height assumed when there is no screen at all.
    static constexpr int fallbackScreenHeight = 800;
    // Smaller changes of height leave the window where it is.
    static constexpr qreal fitThreshold = 0.5;
    static constexpr std::chrono::milliseconds estimateFitDelay{150};
    static constexpr std::chrono::milliseconds firstActivationCheck{150};
    static constexpr std::chrono::milliseconds secondActivationCheck{400};
    // The window's level: normal, or floating while the keyboard is refused.
    static constexpr int normalLevel = 0;
    static constexpr int floatingLevel = 3;

    using NotificationAuthorization = std::function<platform::Task<bool>()>;
    // Makes the window, with the settings view in it, wired to this
    // controller: its toolbar to selectTab, its view's heights to
    // contentHeightChanged, its activation and closing to windowDidBecomeKey
    // and windowWillClose. The real one is PreferencesWindow::factory(),
    // which whoever composes the application hands in; tests give fakes.
    using WindowFactory = std::function<std::unique_ptr<PreferencesWindowPort>(PreferencesWindowController&)>;

    // Makes no window. `ensureNotificationAuthorization` is the daily
    // summary's, `renderSegments` the tray's.
    PreferencesWindowController(store::ReminderStore& store, store::Settings& settings,
                                NotificationAuthorization ensureNotificationAuthorization,
                                store::LocationProvider& locationProvider, mcp::MCPServer& mcpServer,
                                std::function<void()> checkForUpdates, SettingsTabSelection& tabSelection,
                                platform::Contacts& contacts, SegmentRenderer renderSegments, WindowFactory makeWindow,
                                platform::Clock& clock = platform::Clock::main());
    ~PreferencesWindowController() override;

    // Makes the window the first time; then brings it to the front with the
    // keyboard and starts the two activation checks.
    void show();
    // The view's report of a tab's content height.
    void contentHeightChanged(SettingsTab tab, qreal height);
    // A toolbar item was clicked; an identifier of no tab does nothing.
    void selectTab(const QString& toolbarIdentifier);
    void windowDidBecomeKey() { endEscalation(); }
    void windowWillClose() { endEscalation(); }

    // The content height the window should have now.
    int targetHeight() const;
    // Moves the window's bottom edge to targetHeight (its top stays, and the
    // bottom stays on the screen); its width back to 460. Animated only when
    // asked and the desktop does not ask for reduced motion.
    void fitWindowHeight(bool animate);

    const PreferencesServices& services() const { return services_; }
    SettingsTabSelection& tabSelection() const { return tabSelection_; }
    // Nothing before the first show().
    PreferencesWindowPort* window() const { return window_.get(); }
    std::optional<qreal> measuredHeight(SettingsTab tab) const;
    bool isTemporarilyFloating() const { return isTemporarilyFloating_; }
    int windowLevel() const { return isTemporarilyFloating_ ? floatingLevel : normalLevel; }

private:
    void scheduleEscalation(std::chrono::milliseconds delay, void (PreferencesWindowController::*check)());
    void cancelEscalations();
    void ensureKeyWindow();
    void escalateActivation();
    void endEscalation();

    PreferencesServices services_;
    SettingsTabSelection& tabSelection_;
    WindowFactory makeWindow_;
    platform::Clock& clock_;
    std::unique_ptr<PreferencesWindowPort> window_;
    std::map<SettingsTab, qreal> measuredHeights_;
    std::optional<platform::ScheduledAction> pendingEstimateFit_;
    bool isTemporarilyFloating_ = false;
    std::vector<platform::ScheduledAction> escalations_;
};

}  // namespace tavlin::preferences
