#pragma once

#include "keybindings/Name.h"
#include "preferences/ShortcutRecorder.h"

#include <QWidget>

class QLabel;
class QPushButton;
class QToolButton;

namespace tavlin::preferences {

// The settings' control for one Name's global shortcut: a button that shows
// the shortcut ("Record Shortcut" without one) and records a new one when
// pressed, and beside it, while a shortcut is set and nothing is recorded, a
// button that removes it; below them, while recording, a line that says when
// the combination pressed is taken by another program. Coming on screen
// loads the stored shortcut; going off screen (a tab switch, the window
// closed) cancels a recording. While recording, the field holds the keyboard,
// so that a combination another program grabbed reaches it too.
class ShortcutRecorderField : public QWidget {
    Q_OBJECT

public:
    explicit ShortcutRecorderField(KeyBindings::Name name, QWidget* parent = nullptr);

    ShortcutRecorder& recorder() { return recorder_; }
    QPushButton& recordButton() { return *record_; }
    QToolButton& removeButton() { return *remove_; }
    QLabel& takenNote() { return *taken_; }

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void render();

    ShortcutRecorder recorder_;
    QPushButton* record_;
    QToolButton* remove_;
    QLabel* taken_;
    bool holdsKeyboard_ = false;
};

}  // namespace tavlin::preferences
