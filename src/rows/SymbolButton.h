#pragma once

#include "rows/Look.h"
#include "rows/Symbol.h"

#include <QAbstractButton>

namespace tavlin::rows {

// A symbol that is a button, as a plain button is drawn: no frame and no
// fill, the symbol in one tone of the palette, dimmed while pressed. As
// large as the text style's font, centred in whatever height it is given.
// It never takes the keyboard: the fields beside it keep it.
class SymbolButton : public QAbstractButton {
    Q_OBJECT

public:
    SymbolButton(Symbol symbol, TextStyle size, Tone tone, QWidget* parent = nullptr);

    Symbol symbol() const { return symbol_; }
    Tone tone() const { return tone_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Symbol symbol_;
    int side_;
    Tone tone_;
};

}  // namespace tavlin::rows
