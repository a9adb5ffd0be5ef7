#pragma once

#include "keybindings/RecorderControl.h"

#include <QWidget>

class QFormLayout;

namespace tavlin::KeyBindings {

// A RecorderControl with an optional label before it. Added to a form with
// addRowTo(), the label takes the form's label column and the field its
// field column, so that the fields of several recorders line up.
class Recorder : public QWidget {
public:
    // No label.
    explicit Recorder(const Name& name, RecorderControl::OnChange onChange = {}, QWidget* parent = nullptr);
    // A text label; an empty one takes no space.
    Recorder(const QString& title, const Name& name, RecorderControl::OnChange onChange = {},
             QWidget* parent = nullptr);
    // Any widget as the label; the recorder takes it over.
    Recorder(QWidget* label, const Name& name, RecorderControl::OnChange onChange = {}, QWidget* parent = nullptr);

    // Shows another Name's shortcut in the same field; the first onChange
    // stays.
    void setName(const Name& name) { control_->setShortcutName(name); }

    RecorderControl* control() const { return control_; }
    // Null without one.
    QWidget* label() const { return label_; }

    // One row of the form: the label (or none) and this recorder's field.
    void addRowTo(QFormLayout& form);

private:
    RecorderControl* control_;
    QWidget* label_;
};

}  // namespace tavlin::KeyBindings
