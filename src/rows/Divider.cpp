#include "rows/Divider.h"

#include "rows/Look.h"

#include <QPainter>

namespace tavlin::rows {

Divider::Divider(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setFixedHeight(1);
}

void Divider::paintEvent(QPaintEvent*) { QPainter(this).fillRect(rect(), color(palette(), Tone::quaternary)); }

}  // namespace tavlin::rows
