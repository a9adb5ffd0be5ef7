#include "rows/Symbol.h"

#include <QFontInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QPixmap>
#include <QPolygonF>

#include <cmath>
#include <numbers>

namespace tavlin::rows {

namespace {

// Each symbol is drawn in a unit square (0…1 on both axes), scaled to its box.
QPen strokePen(const QColor& color, double width) {
    QPen pen(color, width);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

void magnifyingGlass(QPainter& painter, const QColor& color) {
    painter.setPen(strokePen(color, 0.11));
    painter.setBrush(Qt::NoBrush);
    const QPointF centre(0.42, 0.42);
    const double radius = 0.3;
    painter.drawEllipse(centre, radius, radius);
    const double edge = radius / std::numbers::sqrt2;
    painter.drawLine(centre + QPointF(edge, edge), QPointF(0.9, 0.9));
}

void checklist(QPainter& painter, const QColor& color) {
    painter.setPen(strokePen(color, 0.085));
    painter.setBrush(Qt::NoBrush);
    for (const double y : {0.2, 0.5, 0.8}) {
        const QPointF tick[] = {{0.06, y - 0.01}, {0.14, y + 0.07}, {0.3, y - 0.1}};
        painter.drawPolyline(tick, 3);
        painter.drawLine(QPointF(0.44, y), QPointF(0.95, y));
    }
}

void exclamationTriangle(QPainter& painter, const QColor& color) {
    painter.setPen(strokePen(color, 0.085));
    painter.setBrush(Qt::NoBrush);
    const QPointF corners[] = {{0.5, 0.08}, {0.95, 0.88}, {0.05, 0.88}};
    painter.drawPolygon(corners, 3);
    painter.setPen(strokePen(color, 0.1));
    painter.drawLine(QPointF(0.5, 0.37), QPointF(0.5, 0.6));
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    painter.drawEllipse(QPointF(0.5, 0.75), 0.055, 0.055);
}

void gearShape(QPainter& painter, const QColor& color) {
    // Eight teeth around a ring, with a hole in the middle.
    constexpr int teeth = 8;
    constexpr double outer = 0.49, root = 0.38, hole = 0.15;
    const QPointF centre(0.5, 0.5);
    QPainterPath gear;
    const double step = 2 * std::numbers::pi / teeth;
    for (int tooth = 0; tooth < teeth; ++tooth) {
        const double middle = tooth * step;
        const auto at = [&](double angle, double radius) {
            return centre + QPointF(std::cos(angle) * radius, std::sin(angle) * radius);
        };
        const QPointF points[] = {at(middle - step * 0.3, root), at(middle - step * 0.17, outer),
                                  at(middle + step * 0.17, outer), at(middle + step * 0.3, root)};
        if (tooth == 0) gear.moveTo(points[0]);
        else gear.lineTo(points[0]);
        for (int i = 1; i < 4; ++i) gear.lineTo(points[i]);
    }
    gear.closeSubpath();
    gear.addEllipse(centre, hole, hole);
    gear.setFillRule(Qt::OddEvenFill);
    painter.setPen(strokePen(color, 0.04));
    painter.setBrush(color);
    painter.drawPath(gear);
}

// Three dots, each with its line.
void listBullet(QPainter& painter, const QColor& color) {
    for (const double y : {0.22, 0.5, 0.78}) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(color);
        painter.drawEllipse(QPointF(0.12, y), 0.075, 0.075);
        painter.setPen(strokePen(color, 0.085));
        painter.drawLine(QPointF(0.34, y), QPointF(0.94, y));
    }
}

// The arrow that points to the north-east, as a position's mark.
QPolygonF locationArrowShape() { return QPolygonF({{0.9, 0.1}, {0.1, 0.46}, {0.5, 0.52}, {0.56, 0.9}}); }

void locationArrow(QPainter& painter, const QColor& color) {
    painter.setPen(strokePen(color, 0.06));
    painter.setBrush(color);
    painter.drawPolygon(locationArrowShape());
}

void locationSlash(QPainter& painter, const QColor& color) {
    painter.setPen(strokePen(color, 0.08));
    painter.setBrush(Qt::NoBrush);
    painter.drawPolygon(locationArrowShape());
    painter.drawLine(QPointF(0.1, 0.1), QPointF(0.9, 0.9));
}

void mapPin(QPainter& painter, const QColor& color) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    painter.drawEllipse(QPointF(0.5, 0.5), 0.5, 0.5);
    painter.setBrush(Qt::white);
    painter.drawEllipse(QPointF(0.5, 0.38), 0.15, 0.15);
    painter.setPen(strokePen(Qt::white, 0.08));
    painter.drawLine(QPointF(0.5, 0.45), QPointF(0.5, 0.78));
}

void checkmark(QPainter& painter, const QColor& color) {
    painter.setPen(strokePen(color, 0.11));
    painter.setBrush(Qt::NoBrush);
    const QPointF tick[] = {{0.14, 0.54}, {0.4, 0.8}, {0.88, 0.2}};
    painter.drawPolyline(tick, 3);
}

// A page of a calendar: two rings over the top, a band, and days below.
void calendar(QPainter& painter, const QColor& color) {
    painter.setPen(strokePen(color, 0.08));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(0.1, 0.16, 0.8, 0.74), 0.12, 0.12);
    painter.drawLine(QPointF(0.1, 0.38), QPointF(0.9, 0.38));
    painter.drawLine(QPointF(0.32, 0.06), QPointF(0.32, 0.24));
    painter.drawLine(QPointF(0.68, 0.06), QPointF(0.68, 0.24));
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    for (const double y : {0.55, 0.74})
        for (const double x : {0.3, 0.5, 0.7}) painter.drawEllipse(QPointF(x, y), 0.055, 0.055);
}

// Two arrows chasing each other round a loop.
void repeat(QPainter& painter, const QColor& color) {
    painter.setPen(strokePen(color, 0.09));
    painter.setBrush(Qt::NoBrush);
    QPainterPath upper;
    upper.moveTo(0.12, 0.55);
    upper.lineTo(0.12, 0.45);
    upper.quadTo(0.12, 0.28, 0.3, 0.28);
    upper.lineTo(0.82, 0.28);
    painter.drawPath(upper);
    const QPointF upperHead[] = {{0.7, 0.16}, {0.84, 0.28}, {0.7, 0.4}};
    painter.drawPolyline(upperHead, 3);
    QPainterPath lower;
    lower.moveTo(0.88, 0.45);
    lower.lineTo(0.88, 0.55);
    lower.quadTo(0.88, 0.72, 0.7, 0.72);
    lower.lineTo(0.18, 0.72);
    painter.drawPath(lower);
    const QPointF lowerHead[] = {{0.3, 0.6}, {0.16, 0.72}, {0.3, 0.84}};
    painter.drawPolyline(lowerHead, 3);
}

// A pin: a round head narrowing to its point, with a hole.
void location(QPainter& painter, const QColor& color) {
    QPainterPath pin;
    pin.moveTo(0.5, 0.95);
    pin.cubicTo(0.32, 0.7, 0.16, 0.55, 0.16, 0.38);
    pin.arcTo(QRectF(0.16, 0.04, 0.68, 0.68), 180, -180);
    pin.cubicTo(0.84, 0.55, 0.68, 0.7, 0.5, 0.95);
    pin.closeSubpath();
    pin.addEllipse(QPointF(0.5, 0.38), 0.12, 0.12);
    pin.setFillRule(Qt::OddEvenFill);
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    painter.drawPath(pin);
}

// An exclamation mark in a ring.
void exclamationCircle(QPainter& painter, const QColor& color) {
    painter.setPen(strokePen(color, 0.08));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(QPointF(0.5, 0.5), 0.42, 0.42);
    painter.setPen(strokePen(color, 0.1));
    painter.drawLine(QPointF(0.5, 0.27), QPointF(0.5, 0.55));
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    painter.drawEllipse(QPointF(0.5, 0.72), 0.055, 0.055);
}

// A plus in a ring.
void plusCircle(QPainter& painter, const QColor& color) {
    painter.setPen(strokePen(color, 0.08));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(QPointF(0.5, 0.5), 0.42, 0.42);
    painter.drawLine(QPointF(0.5, 0.29), QPointF(0.5, 0.71));
    painter.drawLine(QPointF(0.29, 0.5), QPointF(0.71, 0.5));
}

void xmarkCircleFill(QPainter& painter, const QColor& color) {
    QPainterPath disc;
    disc.addEllipse(QPointF(0.5, 0.5), 0.45, 0.45);
    QPainterPathStroker stroker(strokePen(color, 0.1));
    QPainterPath cross;
    cross.moveTo(0.34, 0.34);
    cross.lineTo(0.66, 0.66);
    cross.moveTo(0.66, 0.34);
    cross.lineTo(0.34, 0.66);
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    painter.drawPath(disc.subtracted(stroker.createStroke(cross)));
}

// Three lines of text, the last short, and a plus beside it.
void textBadgePlus(QPainter& painter, const QColor& color) {
    painter.setPen(strokePen(color, 0.085));
    painter.setBrush(Qt::NoBrush);
    painter.drawLine(QPointF(0.08, 0.2), QPointF(0.92, 0.2));
    painter.drawLine(QPointF(0.08, 0.44), QPointF(0.92, 0.44));
    painter.drawLine(QPointF(0.08, 0.68), QPointF(0.46, 0.68));
    painter.drawLine(QPointF(0.76, 0.56), QPointF(0.76, 0.94));
    painter.drawLine(QPointF(0.57, 0.75), QPointF(0.95, 0.75));
}

// A large four-pointed star with two small ones beside it.
void sparkles(QPainter& painter, const QColor& color) {
    const auto star = [&](QPointF centre, double radius) {
        // Each point's sides curve in towards the centre.
        QPainterPath path;
        const QPointF tips[] = {{0, -radius}, {radius, 0}, {0, radius}, {-radius, 0}};
        path.moveTo(centre + tips[0]);
        for (int i = 1; i <= 4; ++i) path.quadTo(centre, centre + tips[i % 4]);
        painter.drawPath(path);
    };
    painter.setPen(strokePen(color, 0.04));
    painter.setBrush(color);
    star({0.42, 0.58}, 0.36);
    star({0.8, 0.2}, 0.16);
    star({0.82, 0.76}, 0.11);
}

// A pencil lying from the lower left to the upper right, inside `box`.
void pencilIn(QPainter& painter, const QColor& color, const QRectF& box) {
    const auto at = [&](double x, double y) {
        return QPointF(box.left() + x * box.width(), box.top() + y * box.height());
    };
    painter.setPen(strokePen(color, 0.085));
    painter.setBrush(Qt::NoBrush);
    const QPointF body[] = {at(0.16, 0.66), at(0.66, 0.16), at(0.84, 0.34), at(0.34, 0.84), at(0.1, 0.9)};
    painter.drawPolygon(body, 5);
    painter.drawLine(at(0.56, 0.26), at(0.74, 0.44));
}

void pencil(QPainter& painter, const QColor& color) { pencilIn(painter, color, QRectF(0.05, 0.05, 0.9, 0.9)); }

void pencilCircle(QPainter& painter, const QColor& color) {
    painter.setPen(strokePen(color, 0.08));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(QPointF(0.5, 0.5), 0.45, 0.45);
    pencilIn(painter, color, QRectF(0.24, 0.24, 0.52, 0.52));
}

// A bin with a lid and three grooves.
void trash(QPainter& painter, const QColor& color) {
    painter.setPen(strokePen(color, 0.08));
    painter.setBrush(Qt::NoBrush);
    painter.drawLine(QPointF(0.14, 0.22), QPointF(0.86, 0.22));
    const QPointF handle[] = {{0.38, 0.22}, {0.4, 0.1}, {0.6, 0.1}, {0.62, 0.22}};
    painter.drawPolyline(handle, 4);
    const QPointF bin[] = {{0.22, 0.22}, {0.28, 0.9}, {0.72, 0.9}, {0.78, 0.22}};
    painter.drawPolyline(bin, 4);
    for (const double x : {0.4, 0.5, 0.6}) painter.drawLine(QPointF(x, 0.36), QPointF(x, 0.76));
}

}  // namespace

void paintSymbol(QPainter& painter, Symbol symbol, const QRectF& box, const QColor& color) {
    const double side = std::min(box.width(), box.height());
    if (side <= 0) return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(box.center() - QPointF(side / 2, side / 2));
    painter.scale(side, side);
    switch (symbol) {
    case Symbol::magnifyingGlass: magnifyingGlass(painter, color); break;
    case Symbol::checklist: checklist(painter, color); break;
    case Symbol::exclamationTriangle: exclamationTriangle(painter, color); break;
    case Symbol::gearShape: gearShape(painter, color); break;
    case Symbol::listBullet: listBullet(painter, color); break;
    case Symbol::locationArrow: locationArrow(painter, color); break;
    case Symbol::locationSlash: locationSlash(painter, color); break;
    case Symbol::mapPin: mapPin(painter, color); break;
    case Symbol::checkmark: checkmark(painter, color); break;
    case Symbol::plusCircle: plusCircle(painter, color); break;
    case Symbol::xmarkCircleFill: xmarkCircleFill(painter, color); break;
    case Symbol::textBadgePlus: textBadgePlus(painter, color); break;
    case Symbol::calendar: calendar(painter, color); break;
    case Symbol::repeat: repeat(painter, color); break;
    case Symbol::location: location(painter, color); break;
    case Symbol::exclamationCircle: exclamationCircle(painter, color); break;
    case Symbol::sparkles: sparkles(painter, color); break;
    case Symbol::pencil: pencil(painter, color); break;
    case Symbol::pencilCircle: pencilCircle(painter, color); break;
    case Symbol::trash: trash(painter, color); break;
    }
    painter.restore();
}

QIcon symbolIcon(Symbol symbol, const QColor& color, int side) {
    const qreal ratio = qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
    QPixmap pixmap(QSize(side, side) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    paintSymbol(painter, symbol, QRectF(0, 0, side, side), color);
    painter.end();
    return QIcon(pixmap);
}

int symbolSide(const QFont& font) { return QFontInfo(font).pixelSize() + 2; }

SymbolView::SymbolView(Symbol symbol, TextStyle size, Tone tone, QWidget* parent)
    : QWidget(parent), symbol_(symbol), side_(symbolSide(rows::font(size))), tone_(tone) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QSize SymbolView::sizeHint() const { return {side_, side_}; }

void SymbolView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintSymbol(painter, symbol_, QRectF(rect()), color(palette(), tone_));
}

}  // namespace tavlin::rows
