#include "panel/PanelNotifications.h"

namespace tavlin::panel {

PanelNotifications& PanelNotifications::instance() {
    static PanelNotifications notifications;
    return notifications;
}

}  // namespace tavlin::panel
