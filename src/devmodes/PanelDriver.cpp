#include "devmodes/PanelDriver.h"

#include "panel/PanelController.h"
#include "panel/PanelNotifications.h"
#include "panel/widgets/KeyPanel.h"

#include <QKeyEvent>

namespace tavlin::devmodes {

using namespace Qt::StringLiterals;

PanelDiagnostics panelDiagnostics(panel::PanelController& controller) {
    return {
        .activationState = [&controller](const QString& tag) { controller.activationState(tag); },
        .printGeometry = [&controller] { controller.printGeometry(); },
    };
}

PanelDriver panelDriver(panel::PanelController& controller) {
    return {
        .open = [&controller](std::optional<QString> captureText,
                              std::optional<panel::Anchor> anchor) { controller.open(std::move(captureText), anchor); },
        .close = [&controller] { controller.close(); },
        .sendEscape =
            [&controller] {
                auto* window = dynamic_cast<panel::widgets::KeyPanel*>(controller.panel());
                if (!window) return;
                QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier, u"\x1b"_s);
                window->routeEvent(&escape);
            },
        .postListKey = [](panel::PanelListKey key) { emit panel::PanelNotifications::instance().tavlinListKey(key); },
        .typeAndReport = [&controller] { return controller.typeAndReport(); },
        .lastOpenTimings = [&controller] { return controller.lastOpenTimings(); },
        .diagnostics = panelDiagnostics(controller),
    };
}

}  // namespace tavlin::devmodes
