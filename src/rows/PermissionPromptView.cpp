#include "rows/PermissionPromptView.h"

#include "platform/Task.h"
#include "store/ReminderStore.h"

#include <QPushButton>

using namespace Qt::StringLiterals;

namespace tavlin::rows {

PermissionPromptView::PermissionPromptView(store::ReminderStore& store, QWidget* parent)
    : PermissionView(
          Symbol::checklist, Tone::secondary,
          u"Tavlin puts your reminder counts in the system tray. Allow access to your reminders to get started."_s,
          u"Allow Access"_s, parent),
      store_(store) {
    connect(button(), &QPushButton::clicked, this, [this] { requestAccess(); });
}

void PermissionPromptView::requestAccess() { platform::detach(store_.requestAccess()); }

}  // namespace tavlin::rows
