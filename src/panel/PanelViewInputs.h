#pragma once

#include <QString>

#include <functional>
#include <optional>

namespace tavlin::store {
class LocationProvider;
class ReminderStore;
class Settings;
}  // namespace tavlin::store

namespace tavlin::panel {

// The heights of the reminder list that the panel's view reports: of its
// content, and of the room it takes now.
struct ListMetrics {
    double content = 0;
    double frame = 0;
    friend bool operator==(const ListMetrics&, const ListMetrics&) = default;
};

// What the controller hands the panel's root view each time the panel
// opens. The closures hold the controller weakly: once it is gone they do
// nothing.
struct PanelViewInputs {
    store::ReminderStore* store = nullptr;
    store::Settings* settings = nullptr;
    store::LocationProvider* locationProvider = nullptr;
    std::function<void()> onClose;
    std::function<void()> onOpenPreferences;
    std::function<void()> onCheckForUpdates;  // empty without an updater
    std::function<std::optional<QString>()> pendingUpdateVersion;
    std::function<void(double)> onHeightChange;  // the height the content wants
    std::function<void(ListMetrics)> onListMetricsChange;
    double panelWidth = 0;
    bool followsStoredWidth = false;  // the width follows the stored one when there is one
    double cornerRadius = 0;
    double searchFieldPadding = 0;
    std::optional<QString> captureText;  // text captured from a selection
};

}  // namespace tavlin::panel
