#pragma once

#include "rows/PermissionView.h"

namespace tavlin::rows {

// When Tavlin may not use the reminders (their folder cannot be read or
// written): what to check, and a button that opens the folder.
class PermissionDeniedView : public PermissionView {
    Q_OBJECT

public:
    // `folder`: the reminders folder, as the user knows it.
    explicit PermissionDeniedView(const QString& folder, QWidget* parent = nullptr);

signals:
    // "Open Reminders Folder" was pressed.
    void openFolderRequested();
};

}  // namespace tavlin::rows
