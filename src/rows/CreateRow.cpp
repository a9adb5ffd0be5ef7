#include "rows/CreateRow.h"

#include <QMouseEvent>

using namespace Qt::StringLiterals;

namespace tavlin::rows {

CreateRow::CreateRow(QWidget* parent) : PreviewLine(parent) { setHint(u"↩"_s); }

void CreateRow::setInputs(const Inputs& inputs) {
    setTitle(inputs.title);
    setChips(inputs.chips);
    setSelected(inputs.isSelected);
    setInterpreting(inputs.isInterpreting);
}

void CreateRow::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
    event->setAccepted(pressed_);
}

void CreateRow::mouseReleaseEvent(QMouseEvent* event) {
    const bool tapped = pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    pressed_ = false;
    if (tapped && onCreate) onCreate();
}

}  // namespace tavlin::rows
