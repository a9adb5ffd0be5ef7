#pragma once

#include "panel/PanelGeometry.h"
#include "panel/PanelKeys.h"
#include "platform/Task.h"

#include <QString>

#include <functional>
#include <optional>
#include <utility>
#include <vector>

namespace tavlin::panel {
class PanelController;
}

namespace tavlin::devmodes {

// What the panel tells of itself for the developer switches: its
// activation line under a tag, and its geometry line.
struct PanelDiagnostics {
    std::function<void(const QString& tag)> activationState;
    std::function<void()> printGeometry;
};

PanelDiagnostics panelDiagnostics(panel::PanelController& controller);

// How the panel switches drive the panel: through the controller, the
// panel's own key routing and the application's list keys, as the shell
// and the keyboard do.
struct PanelDriver {
    // An absent anchor keeps the controller's current one.
    std::function<void(std::optional<QString> captureText, std::optional<panel::Anchor> anchor)> open;
    std::function<void()> close;
    // An Escape key press handed to the panel's own key routing, as the
    // window system would deliver it; nothing while there is no panel.
    std::function<void()> sendEscape;
    // A list key, posted application-wide as the panel's window posts it.
    std::function<void(panel::PanelListKey key)> postListKey;
    std::function<platform::Task<>()> typeAndReport;
    // The phases of the last opening, each with its milliseconds.
    std::function<std::vector<std::pair<QString, double>>()> lastOpenTimings;
    PanelDiagnostics diagnostics;
};

PanelDriver panelDriver(panel::PanelController& controller);

}  // namespace tavlin::devmodes
