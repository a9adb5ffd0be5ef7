#include "rows/ElidedLabel.h"

#include <QEvent>
#include <QFontMetrics>

#include <cmath>

namespace tavlin::rows {

ElidedLabel::ElidedLabel(QWidget* parent) : QLabel(parent) {
    setTextFormat(Qt::PlainText);
    setWordWrap(false);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void ElidedLabel::setFullText(const QString& text) {
    if (text == fullText_) return;
    fullText_ = text;
    elide();
    updateGeometry();
}

QSize ElidedLabel::sizeHint() const {
    // Rounded up: at a width rounded down, the whole text would be cut short.
    const int text = int(std::ceil(QFontMetricsF(font()).horizontalAdvance(fullText_)));
    const QMargins margins = contentsMargins();
    return {text + margins.left() + margins.right() + 2 * margin(), QLabel::sizeHint().height()};
}

QSize ElidedLabel::minimumSizeHint() const { return {0, QLabel::minimumSizeHint().height()}; }

void ElidedLabel::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    elide();
}

void ElidedLabel::changeEvent(QEvent* event) {
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange) elide();
}

void ElidedLabel::elide() {
    const int width = contentsRect().width() - 2 * margin();
    // The single line of a text that has several: its line breaks become
    // spaces.
    QString line = fullText_;
    line.replace(u'\n', u' ');
    setText(QFontMetrics(font()).elidedText(line, Qt::ElideRight, std::max(0, width)));
}

}  // namespace tavlin::rows
