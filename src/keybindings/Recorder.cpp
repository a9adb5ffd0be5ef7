#include "keybindings/Recorder.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>

namespace tavlin::KeyBindings {

namespace {

QLabel* textLabel(const QString& title) { return title.isEmpty() ? nullptr : new QLabel(title); }

}  // namespace

Recorder::Recorder(const Name& name, RecorderControl::OnChange onChange, QWidget* parent)
    : Recorder(static_cast<QWidget*>(nullptr), name, std::move(onChange), parent) {}

Recorder::Recorder(const QString& title, const Name& name, RecorderControl::OnChange onChange, QWidget* parent)
    : Recorder(textLabel(title), name, std::move(onChange), parent) {
    if (auto* text = qobject_cast<QLabel*>(label_)) text->setBuddy(control_);
}

Recorder::Recorder(QWidget* label, const Name& name, RecorderControl::OnChange onChange, QWidget* parent)
    : QWidget(parent), control_(new RecorderControl(name, std::move(onChange))), label_(label) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    if (label_) layout->addWidget(label_);
    layout->addWidget(control_);
    setFocusProxy(control_);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void Recorder::addRowTo(QFormLayout& form) {
    // Without a label, in the field column like the fields of other rows.
    if (!label_) {
        form.addRow(static_cast<QWidget*>(nullptr), this);
        return;
    }
    layout()->removeWidget(label_);
    form.addRow(label_, this);
}

}  // namespace tavlin::KeyBindings
