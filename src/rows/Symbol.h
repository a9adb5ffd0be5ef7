#pragma once

#include "rows/Look.h"

#include <QColor>
#include <QIcon>
#include <QRectF>
#include <QWidget>

class QPainter;

namespace tavlin::rows {

// The small pictures of the panel's views, drawn here rather than taken
// from an icon theme (there may be none, and offscreen there is none).
enum class Symbol {
    magnifyingGlass,      // the search field
    checklist,            // the request for access to the reminders
    exclamationTriangle,  // access refused
    gearShape,            // the footer's menu
    listBullet,           // a reminder list
    locationArrow,        // a place: the filled arrow of a position
    locationSlash,        // no place found: the arrow's outline, struck through
    mapPin,               // a place on a map: a white pin on a disc of the colour given
    checkmark,            // the chosen item of a menu
    plusCircle,           // a reminder to be created
    xmarkCircleFill,      // drops what it stands beside: a cross cut out of a disc
    textBadgePlus,        // reminders made from a text: lines of text with a plus
    calendar,             // a due date
    repeat,               // a reminder that repeats
    location,             // a reminder's place
    exclamationCircle,    // a priority
    sparkles,             // the language model at work
    pencil,               // edits what it stands beside
    pencilCircle,         // a reminder being edited: a pencil in a ring
    trash,                // deletes what it stands beside
};

// Draws `symbol` in `color`, centred in the largest square of `box`.
void paintSymbol(QPainter& painter, Symbol symbol, const QRectF& box, const QColor& color);

// `symbol` as an icon of `side` × `side`, sharp at the screens' pixel ratio.
QIcon symbolIcon(Symbol symbol, const QColor& color, int side);

// The side of a symbol that stands beside text of `font`.
int symbolSide(const QFont& font);

// A symbol beside text: as large as the text style's font, in one tone of
// the palette.
class SymbolView : public QWidget {
    Q_OBJECT

public:
    SymbolView(Symbol symbol, TextStyle size, Tone tone, QWidget* parent = nullptr);

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
