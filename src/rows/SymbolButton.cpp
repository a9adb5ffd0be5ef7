#include "rows/SymbolButton.h"

#include <QPainter>

namespace tavlin::rows {

namespace {

constexpr double pressedOpacity = 0.5;

}  // namespace

SymbolButton::SymbolButton(Symbol symbol, TextStyle size, Tone tone, QWidget* parent)
    : QAbstractButton(parent), symbol_(symbol), side_(symbolSide(rows::font(size))), tone_(tone) {
    setFocusPolicy(Qt::NoFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QSize SymbolButton::sizeHint() const { return {side_, side_}; }

void SymbolButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (isDown()) painter.setOpacity(pressedOpacity);
    const QRectF box((width() - side_) / 2.0, (height() - side_) / 2.0, side_, side_);
    paintSymbol(painter, symbol_, box, color(palette(), tone_));
}

}  // namespace tavlin::rows
