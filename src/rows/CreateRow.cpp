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

void CreateRow::mousePressEvent(QMouseEvent* event) { click_.press(*event); }

void CreateRow::mouseReleaseEvent(QMouseEvent* event) {
    if (click_.released(*event, rect()) && onCreate) onCreate();
}

}  // namespace tavlin::rows
