#include "rows/InterpretingIndicator.h"

#include "platform/ReduceMotion.h"
#include "rows/Look.h"
#include "rows/Symbol.h"

#include <QEasingCurve>
#include <QPainter>
#include <QVariantAnimation>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace tavlin::rows {

InterpretingIndicator::InterpretingIndicator(QWidget* parent) : QWidget(parent) {
    setAccessibleName(u"Still interpreting"_s);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setVisible(false);
}

InterpretingIndicator::~InterpretingIndicator() = default;

void InterpretingIndicator::setReduceMotion(std::function<bool()> reduceMotion) {
    reduceMotion_ = std::move(reduceMotion);
}

bool InterpretingIndicator::reducesMotion() const { return reduceMotion_ ? reduceMotion_() : platform::reduceMotion(); }

QSize InterpretingIndicator::sizeHint() const {
    const int side = symbolSide(rows::font(font(), TextStyle::caption));
    return {side, side};
}

double InterpretingIndicator::pulseOpacity(std::chrono::milliseconds elapsed) {
    const auto cycle = 2 * pulseHalf;
    const auto into = elapsed % cycle;
    // Down over the first half, up over the second.
    const double half = double(std::min(into, cycle - into).count()) / double(pulseHalf.count());
    return 1.0 - (1.0 - dimmest) * QEasingCurve(QEasingCurve::InOutSine).valueForProgress(half);
}

double InterpretingIndicator::opacity() const {
    const double pulsed = pulse_ ? pulseOpacity(std::chrono::milliseconds(pulse_->currentTime())) : 1.0;
    return pulsed * fadeOpacity_;
}

void InterpretingIndicator::setShown(bool shown) {
    if (shown == shown_) return;
    shown_ = shown;
    if (fade_) fade_->stop();
    const double from = isHidden() ? 0.0 : fadeOpacity_;
    if (reducesMotion()) {
        fadeOpacity_ = 1;
        setVisible(shown);
        return;
    }
    if (shown) setVisible(true);
    auto* animation = new QVariantAnimation(this);
    animation->setDuration(int(fade.count()));
    animation->setEasingCurve(QEasingCurve::InOutQuad);
    animation->setStartValue(from);
    animation->setEndValue(shown ? 1.0 : 0.0);
    fadeOpacity_ = from;
    connect(animation, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        fadeOpacity_ = value.toDouble();
        update();
    });
    connect(animation, &QVariantAnimation::finished, this, [this, shown] {
        fadeOpacity_ = 1;
        if (!shown) setVisible(false);
    });
    fade_ = animation;
    animation->start(QAbstractAnimation::DeleteWhenStopped);
}

void InterpretingIndicator::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    startPulse();
}

void InterpretingIndicator::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    stopPulse();
}

void InterpretingIndicator::startPulse() {
    stopPulse();
    if (reducesMotion()) return;
    // From full opacity, each time anew.
    auto* animation = new QVariantAnimation(this);
    animation->setStartValue(0.0);
    animation->setEndValue(1.0);
    animation->setDuration(int((2 * pulseHalf).count()));
    animation->setLoopCount(-1);
    connect(animation, &QVariantAnimation::valueChanged, this, qOverload<>(&QWidget::update));
    pulse_ = animation;
    animation->start(QAbstractAnimation::DeleteWhenStopped);
}

void InterpretingIndicator::stopPulse() {
    if (pulse_) pulse_->stop();
    pulse_ = nullptr;
}

void InterpretingIndicator::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setOpacity(opacity());
    paintSymbol(painter, Symbol::sparkles, QRectF(rect()), color(palette(), Tone::secondary));
}

}  // namespace tavlin::rows
