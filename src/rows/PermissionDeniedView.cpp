#include "rows/PermissionDeniedView.h"

#include <QPushButton>

using namespace Qt::StringLiterals;

namespace tavlin::rows {

PermissionDeniedView::PermissionDeniedView(const QString& folder, QWidget* parent)
    : PermissionView(
          Symbol::exclamationTriangle, Tone::orange,
          u"Tavlin can’t read your reminders. Make sure you may read and write %1, then relaunch."_s.arg(folder),
          u"Open Reminders Folder"_s, parent) {
    connect(button(), &QPushButton::clicked, this, &PermissionDeniedView::openFolderRequested);
}

}  // namespace tavlin::rows
