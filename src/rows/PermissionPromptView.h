#pragma once

#include "rows/PermissionView.h"

namespace tavlin::store {
class ReminderStore;
}

namespace tavlin::rows {

// While the user has not yet answered whether Tavlin may use the reminders:
// why it asks, and "Allow Access", which asks the store for access. The
// store's new state, not this view, decides what the panel shows next.
class PermissionPromptView : public PermissionView {
    Q_OBJECT

public:
    explicit PermissionPromptView(store::ReminderStore& store, QWidget* parent = nullptr);

    // Asks again on every press; the outcome is the store's.
    void requestAccess();

private:
    store::ReminderStore& store_;
};

}  // namespace tavlin::rows
