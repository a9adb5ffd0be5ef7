#pragma once

#include "panel/PanelKeys.h"

#include <QObject>

namespace tavlin::panel {

// The three notices between the panel's window and its view, one object
// for the whole application. The panel's window emits them, and so do the
// shell (Delete Reminder) and the developer switches; the panel's view
// listens. Main thread only.
class PanelNotifications : public QObject {
    Q_OBJECT

public:
    static PanelNotifications& instance();

signals:
    // A list key for the selection.
    void tavlinListKey(tavlin::panel::PanelListKey key);
    // Delete the selected reminders.
    void tavlinDeleteSelection();
    // The panel got the keyboard while no text input has the focus.
    void tavlinPanelDidBecomeKey();

private:
    PanelNotifications() = default;
};

}  // namespace tavlin::panel
