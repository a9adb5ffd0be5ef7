#include "rows/Spinner.h"

#include "platform/ReduceMotion.h"
#include "rows/Look.h"

#include <QPainter>
#include <QTimer>

#include <cmath>
#include <numbers>

namespace tavlin::rows {

namespace {

constexpr int side = 16;

}  // namespace

void paintSpinner(QPainter& painter, QPointF centre, int phase, const QColor& spoke) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    for (int index = 0; index < spinnerSpokes; ++index) {
        const int age = (phase - index + spinnerSpokes) % spinnerSpokes;
        const double angle = 2 * std::numbers::pi * index / spinnerSpokes - std::numbers::pi / 2;
        const QPointF direction(std::cos(angle), std::sin(angle));
        QColor faded = spoke;
        faded.setAlphaF(float(spoke.alphaF() * (0.85 - 0.09 * age)));
        QPen pen(faded, 1.6);
        pen.setCapStyle(Qt::RoundCap);
        painter.setPen(pen);
        painter.drawLine(centre + direction * 3.5, centre + direction * 7);
    }
    painter.restore();
}

Spinner::Spinner(QWidget* parent) : QWidget(parent), turn_(new QTimer(this)) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    turn_->setInterval(spinnerStep);
    connect(turn_, &QTimer::timeout, this, [this] {
        phase_ = (phase_ + 1) % spinnerSpokes;
        update();
    });
}

QSize Spinner::sizeHint() const { return {side, side}; }

void Spinner::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintSpinner(painter, QRectF(rect()).center(), phase_, color(palette(), Tone::primary));
}

void Spinner::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Without motion it stands still, its spokes still telling of the work.
    if (!platform::reduceMotion()) turn_->start();
}

void Spinner::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    turn_->stop();
}

}  // namespace tavlin::rows
