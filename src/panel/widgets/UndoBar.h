#pragma once

#include "panel/PanelTypes.h"

#include <QWidget>

class QLabel;
class QPushButton;

namespace tavlin::rows {
class ElidedLabel;
}

namespace tavlin::panel::widgets {

// The undo bar's row: what was done ("Completed “Buy milk”", "Deleted 3
// reminders"), after a completion the count done today in green, and a
// flat "Undo" in the accent colour.
class UndoBar : public QWidget {
    Q_OBJECT

public:
    explicit UndoBar(QWidget* parent = nullptr);

    void show(const UndoItem& item, int completedToday);

    rows::ElidedLabel* message() const { return message_; }
    // Shown only after a completion.
    QLabel* count() const { return count_; }
    QPushButton* undoButton() const { return undo_; }

signals:
    void undoRequested();

private:
    rows::ElidedLabel* message_;
    QLabel* count_;
    QPushButton* undo_;
};

}  // namespace tavlin::panel::widgets
