#pragma once

#include "rows/Look.h"
#include "rows/Symbol.h"

#include <QWidget>

class QLabel;
class QPushButton;

namespace tavlin::rows {

// What the panel shows in place of its list while it may not read the
// reminders: a large symbol, a centred explanation and one button, which
// Return presses.
class PermissionView : public QWidget {
    Q_OBJECT

public:
    QLabel* text() const { return text_; }
    QPushButton* button() const { return button_; }

protected:
    PermissionView(Symbol symbol, Tone symbolTone, const QString& text, const QString& buttonTitle,
                   QWidget* parent = nullptr);

    // The button takes the keyboard, so that Return presses it.
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QLabel* text_;
    QPushButton* button_;
};

}  // namespace tavlin::rows
